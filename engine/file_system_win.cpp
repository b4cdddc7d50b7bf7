// Win32 file system: UTF-8 names are widened at each call; GetLastError()
// codes go to IoError as they are, except the two "disk full" codes.
#include "file_system.h"
#include "io_error.h"
#include "utf16.h"

#include <windows.h>

#include <algorithm>

namespace sorv {
namespace {

constexpr int kDiskFull = 101;
constexpr int kInvalidName = ERROR_INVALID_NAME;

int CodeFromWin32(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return kDiskFull;
    return static_cast<int>(error);
}

[[noreturn]] void ThrowLastError() { throw IoError(CodeFromWin32(GetLastError())); }

// An embedded NUL would silently name another file.
bool NameIsSound(const std::string& path) { return !path.empty() && path.find('\0') == std::string::npos; }

std::wstring WideName(const std::string& path) {
    if (!NameIsSound(path)) throw IoError(kInvalidName);
    return Widen(path);
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Release(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    // Closes now and tells whether that worked; the handle is gone either way.
    bool Release() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h == INVALID_HANDLE_VALUE || h == nullptr || CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

class WinFile final : public File {
public:
    explicit WinFile(HANDLE h) : handle_(h) {}

    std::size_t Read(std::span<std::byte> buffer) override {
        const auto want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), MAXDWORD));
        DWORD got = 0;
        if (!ReadFile(handle_.get(), buffer.data(), want, &got, nullptr)) ThrowLastError();
        return got;
    }

    void Write(std::span<const std::byte> bytes) override {
        while (!bytes.empty()) {
            const auto want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(handle_.get(), bytes.data(), want, &written, nullptr)) ThrowLastError();
            if (written < want) throw IoError(kDiskFull);
            bytes = bytes.subspan(written);
        }
    }

    bool AtEnd() override {
        LARGE_INTEGER position{};
        LARGE_INTEGER size{};
        if (!SetFilePointerEx(handle_.get(), LARGE_INTEGER{}, &position, FILE_CURRENT)) ThrowLastError();
        if (!GetFileSizeEx(handle_.get(), &size)) ThrowLastError();
        return position.QuadPart >= size.QuadPart;
    }

    void Close() override {
        if (!handle_.Release()) ThrowLastError();
    }

private:
    Handle handle_;
};

std::unique_ptr<File> Open(const std::string& path, DWORD access, DWORD disposition, DWORD flags) {
    const std::wstring name = WideName(path);
    HANDLE h = CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) ThrowLastError();
    return std::make_unique<WinFile>(h);
}

class WinFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override {
        if (!NameIsSound(path)) return false;
        const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    std::uint32_t GetAttributes(const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(WideName(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError();
        return attributes;
    }

    void SetAttributes(const std::string& path, std::uint32_t attributes) override {
        if (!SetFileAttributesW(WideName(path).c_str(), attributes)) ThrowLastError();
    }

    // A directory search for that one name; wildcards would match other files.
    std::int64_t SizeOf(const std::string& path) override {
        if (!NameIsSound(path) || path.find_first_of("*?") != std::string::npos) return -1;
        WIN32_FIND_DATAW found{};
        FindHandle find(FindFirstFileW(Widen(path).c_str(), &found));
        if (!find.valid()) return -1;
        return static_cast<std::int64_t>((static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
    }

    bool Delete(const std::string& path) override {
        return NameIsSound(path) && DeleteFileW(Widen(path).c_str()) != 0;
    }

    std::unique_ptr<File> OpenRead(const std::string& path) override {
        return Open(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    }

    std::unique_ptr<File> Create(const std::string& path) override {
        return Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    }

    std::string CurrentDirectory() override {
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
            if (n == 0) ThrowLastError();
            if (n < buffer.size()) {
                buffer.resize(n);
                return Narrow(buffer);
            }
            buffer.resize(n);  // n counts the terminating NUL here
        }
    }
};

}  // namespace

FileSystem& NativeFileSystem() {
    static WinFileSystem fileSystem;
    return fileSystem;
}

}  // namespace sorv
