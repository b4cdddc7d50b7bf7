// Watches sorv.exe from outside, as the system and the user see it, and
// times it against a reference in the same run (bench/gui.sh runs it under
// Wine):
//
//   bench_probe startup RUNS PROGRAM REFERENCE
//       launch to the first visible window, closed again each time; runs
//       alternate between the two programs.
//   bench_probe split RUNS SORV SORV-CLI FILE
//       a split of FILE at 1.4 Mo: sorv.exe from "&Ok" in the slice-size
//       dialog to the script on disk, while a second thread sends WM_NULL to
//       the main window every 20 ms and times each answer; against
//       `sorv-cli -t 4 FILE` from launch to exit.
//
// Prints the medians and their ratio; the split also prints the longest
// answer to WM_NULL over all runs.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

double NowMs() {
    static const double msPerTick = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1000.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * msPerTick;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "probe: %s (error %lu)\n", what, GetLastError());
    std::exit(2);
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// A console program's output goes nowhere: a console that scrolls is not
// what is measured.
PROCESS_INFORMATION Launch(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = Quoted(program) + (arguments.empty() ? L"" : L" " + arguments);
    // In the program's own folder, as a user starting it from there.
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nowhere = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nowhere;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    CloseHandle(nowhere);
    if (!started) Fail("cannot start the program");
    return process;
}

void Finish(PROCESS_INFORMATION& process) {
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

struct WindowSearch {
    DWORD process;
    const wchar_t* className;  // any class when null
    HWND found = nullptr;
};

BOOL CALLBACK LookAt(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.process || !IsWindowVisible(window)) return TRUE;
    if (search.className) {
        wchar_t name[64] = L"";
        GetClassNameW(window, name, 64);
        if (wcscmp(name, search.className) != 0) return TRUE;
    }
    search.found = window;
    return FALSE;
}

// Polls every millisecond: the resolution of the measure.
HWND WaitForWindow(const PROCESS_INFORMATION& process, const wchar_t* className) {
    const double deadline = NowMs() + 30000;
    while (NowMs() < deadline) {
        WindowSearch search{process.dwProcessId, className};
        EnumWindows(LookAt, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) Fail("the program ended before its window showed");
    }
    Fail("no window showed");
}

void Close(HWND window, PROCESS_INFORMATION& process) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    Finish(process);
}

double StartupOnce(const std::wstring& program) {
    const double start = NowMs();
    PROCESS_INFORMATION process = Launch(program, L"");
    HWND window = WaitForWindow(process, nullptr);
    const double shown = NowMs() - start;
    Close(window, process);
    return shown;
}

int Startup(int runs, const std::wstring& program, const std::wstring& reference) {
    std::vector<double> programTimes, referenceTimes;
    StartupOnce(program);  // warm-up: the DLLs and the executable in the page cache
    StartupOnce(reference);
    for (int run = 0; run < runs; ++run) {
        programTimes.push_back(StartupOnce(program));
        referenceTimes.push_back(StartupOnce(reference));
    }
    const double a = Median(programTimes), b = Median(referenceTimes);
    std::printf("startup_ms %.1f reference_ms %.1f ratio %.2f\n", a, b, a / b);
    return 0;
}

// The slices "name.°NN" and the script "name.d" beside FILE.
void RemoveOutputs(const std::wstring& file) {
    const std::wstring stem = file.substr(0, file.find_last_of(L'.'));
    const std::wstring folder = file.substr(0, file.find_last_of(L"\\/") + 1);
    for (const std::wstring& pattern : {stem + L".\u00b0*", stem + L".d"}) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do DeleteFileW((folder + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

HWND ChildWithText(HWND parent, const wchar_t* text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t caption[64] = L"";
        GetWindowTextW(child, caption, 64);
        if (wcscmp(caption, text) == 0) return child;
    }
    Fail("no such button");
}

// Sends WM_NULL every 20 ms and keeps the longest wait for the answer.
class NullProbe {
public:
    explicit NullProbe(HWND window) : thread_([this, window] { Run(window); }) {}
    ~NullProbe() { Stop(); }
    double Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return longest_;
    }
    int Probes() const { return probes_; }

private:
    void Run(HWND window) {
        while (!stop_) {
            const double sent = NowMs();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
            longest_ = std::max(longest_, NowMs() - sent);
            ++probes_;
            const double next = sent + 20 - NowMs();
            if (next > 0) Sleep(static_cast<DWORD>(next));
        }
    }

    std::atomic<bool> stop_{false};
    double longest_ = 0;
    int probes_ = 0;
    std::thread thread_;
};

struct GuiSplit {
    double ms;
    double longestStall;
    int probes;
};

GuiSplit SplitInSorv(const std::wstring& sorv, const std::wstring& file, const std::wstring& script) {
    RemoveOutputs(file);
    PROCESS_INFORMATION process = Launch(sorv, Quoted(file));
    HWND main = WaitForWindow(process, L"TForm1");
    HWND dialog = WaitForWindow(process, L"TForm3");
    HWND ok = ChildWithText(dialog, L"&Ok");
    Sleep(200);  // the dialog settled, as a user would find it
    NullProbe probe(main);
    const double start = NowMs();
    PostMessageW(ok, BM_CLICK, 0, 0);
    while (!Exists(script)) {
        if (WaitForSingleObject(process.hProcess, 2) == WAIT_OBJECT_0) Fail("sorv.exe ended during the split");
    }
    const double ms = NowMs() - start;
    const double longest = probe.Stop();
    Close(main, process);
    return {ms, longest, probe.Probes()};
}

double SplitInCli(const std::wstring& cli, const std::wstring& file) {
    RemoveOutputs(file);
    const double start = NowMs();
    PROCESS_INFORMATION process = Launch(cli, L"-t 4 " + Quoted(file));
    WaitForSingleObject(process.hProcess, INFINITE);
    const double ms = NowMs() - start;
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    Finish(process);
    if (code != 0) Fail("sorv-cli did not split the file");
    return ms;
}

int Split(int runs, const std::wstring& sorv, const std::wstring& cli, const std::wstring& file) {
    const std::wstring script = file.substr(0, file.find_last_of(L'.')) + L".d";
    std::vector<double> gui, console, stalls;
    int probes = 0;
    for (int run = 0; run < runs; ++run) {
        const GuiSplit split = SplitInSorv(sorv, file, script);
        gui.push_back(split.ms);
        stalls.push_back(split.longestStall);
        probes += split.probes;
        console.push_back(SplitInCli(cli, file));
    }
    RemoveOutputs(file);
    const double a = Median(gui), b = Median(console);
    std::printf("split_ms %.1f cli_ms %.1f ratio %.2f longest_stall_ms %.1f median_stall_ms %.1f probes %d\n", a, b,
                a / b, *std::max_element(stalls.begin(), stalls.end()), Median(stalls), probes);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"startup" && argc == 5) return Startup(_wtoi(argv[2]), argv[3], argv[4]);
    if (mode == L"split" && argc == 6) return Split(_wtoi(argv[2]), argv[3], argv[4], argv[5]);
    std::fprintf(stderr,
                 "usage: bench_probe startup RUNS PROGRAM REFERENCE\n"
                 "       bench_probe split RUNS SORV SORV-CLI FILE\n");
    return 64;
}
