#include "links.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>

#include "utf16.h"
#else
#include <unistd.h>
#endif

namespace sorv::test {

#ifdef _WIN32
namespace {

// The Unix name Wine gives a Windows path; empty outside Wine.
std::string UnixName(const std::string& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) return {};
    char* name = toUnix(Widen(path).c_str());
    if (name == nullptr) return {};
    std::string unix(name);
    HeapFree(GetProcessHeap(), 0, name);
    return unix;
}

// Wine starts a Unix program named by its Unix path as it would a Windows one.
bool RunUnix(const std::string& commandLine) {
    std::wstring command = Widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10'000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool EntryThere(const std::string& path, bool wanted) {
    // The Unix process may end after its handle says so: look a while.
    for (int i = 0; i < 100; ++i) {
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW(Widen(path).c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        if ((search != INVALID_HANDLE_VALUE) == wanted) return true;
        Sleep(50);
    }
    return false;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

bool MakeSymlink(const std::string& target, const std::string& link) {
    const std::string unixTarget = UnixName(target), unixLink = UnixName(link);
    if (unixTarget.empty() || unixLink.empty()) return false;
    return RunUnix("/bin/ln -s " + Quoted(unixTarget) + " " + Quoted(unixLink)) && EntryThere(link, true);
}

void RemoveSymlink(const std::string& link) {
    const std::string unixLink = UnixName(link);
    if (!unixLink.empty() && RunUnix("/bin/rm -f " + Quoted(unixLink))) EntryThere(link, false);
}
#else
bool MakeSymlink(const std::string& target, const std::string& link) {
    return ::symlink(target.c_str(), link.c_str()) == 0;
}

void RemoveSymlink(const std::string& link) { ::unlink(link.c_str()); }
#endif

}  // namespace sorv::test
