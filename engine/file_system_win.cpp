// Win32 file system: UTF-8 names are widened at each call; GetLastError()
// codes go to IoError as they are, except the two "disk full" codes.
#include "file_system.h"
#include "io_error.h"
#include "temporary_files.h"
#include "utf16.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace sorv {
namespace {

constexpr int kBadName = 3;  // "Nom de fichier incorrect"
constexpr int kDiskFull = 101;
constexpr int kInvalidName = ERROR_INVALID_NAME;
constexpr std::size_t kNameMax = 255;  // UTF-16 units in one name

int CodeFromWin32(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return kDiskFull;
    return static_cast<int>(error);
}

[[noreturn]] void ThrowLastError(const std::string& path) { throw IoError(CodeFromWin32(GetLastError()), path); }

// An embedded NUL would silently name another file.
bool NameIsSound(const std::string& path) { return !path.empty() && path.find('\0') == std::string::npos; }

std::wstring_view NamePart(std::wstring_view path) {
    const auto last = path.find_last_of(L"\\/:");
    return last == std::wstring_view::npos ? path : path.substr(last + 1);
}

// Windows drops trailing dots and blanks from a name: "a.d." opens "a.d".
bool SystemWouldChange(std::wstring_view name) {
    return !name.empty() && (name.back() == L'.' || name.back() == L' ');
}

// For the calls that change or open a file: a name Windows would read as
// another one is refused rather than acted on.
std::wstring WideName(const std::string& path) {
    if (!NameIsSound(path)) throw IoError(kInvalidName, path);
    std::wstring wide = Widen(path);
    if (SystemWouldChange(NamePart(wide))) throw IoError(kBadName, path);
    return wide;
}

std::wstring FullWidePath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return path;
        if (n < full.size()) {
            full.resize(n);
            return full;
        }
        full.resize(n);
    }
}

// What the file calls are given. Past MAX_PATH they need the whole path
// marked "\\?\", which also turns off their own rewriting of it (dots, "..",
// slashes): GetFullPathNameW has done that here first. Shorter paths go
// as they are.
std::wstring SystemPath(const std::wstring& path) {
    constexpr std::size_t kShortPathMax = MAX_PATH - 12;  // what CreateDirectory allows
    const std::wstring full = FullWidePath(path);
    if (full.size() < kShortPathMax || full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return path;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// "NUL", "CON", "COM1.txt"...: the system resolves them to a device.
bool NamesADevice(const std::wstring& path) { return FullWidePath(path).starts_with(L"\\\\.\\"); }

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

// The volume serial and file index of an open handle; none when the system cannot tell.
std::optional<FileId> IdentityIfKnown(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info)) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

FileId IdentityOfHandle(HANDLE h, const std::string& path) {
    const std::optional<FileId> id = IdentityIfKnown(h);
    if (!id) ThrowLastError(path);
    return *id;
}

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
// Files this program opens can be renamed and deleted while open: its own
// clean-up removes an output before closing the handle that holds its lock.
constexpr DWORD kShareAll = kShareReadWrite | FILE_SHARE_DELETE;

class WinFile final : public File {
public:
    WinFile(HANDLE h, std::string path) : handle_(h), path_(std::move(path)) {}

    std::size_t Read(std::span<std::byte> buffer) override {
        const auto want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), MAXDWORD));
        DWORD got = 0;
        if (!ReadFile(handle_.get(), buffer.data(), want, &got, nullptr)) ThrowLastError(path_);
        return got;
    }

    void Write(std::span<const std::byte> bytes) override {
        while (!bytes.empty()) {
            const auto want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(handle_.get(), bytes.data(), want, &written, nullptr)) ThrowLastError(path_);
            if (written < want) throw IoError(kDiskFull, path_);
            bytes = bytes.subspan(written);
        }
    }

    bool AtEnd() override {
        LARGE_INTEGER position{};
        LARGE_INTEGER size{};
        if (!SetFilePointerEx(handle_.get(), LARGE_INTEGER{}, &position, FILE_CURRENT)) ThrowLastError(path_);
        if (!GetFileSizeEx(handle_.get(), &size)) ThrowLastError(path_);
        return position.QuadPart >= size.QuadPart;
    }

    std::uint64_t Size() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_.get(), &size)) ThrowLastError(path_);
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    void Seek(std::uint64_t offset) override {
        LARGE_INTEGER to{};
        to.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(handle_.get(), to, nullptr, FILE_BEGIN)) ThrowLastError(path_);
    }

    FileId Identity() override { return IdentityOfHandle(handle_.get(), path_); }

    FileStamp Stamp() override {
        FILE_BASIC_INFO basic{};
        if (!GetFileInformationByHandleEx(handle_.get(), FileBasicInfo, &basic, sizeof basic)) ThrowLastError(path_);
        return {Size(), basic.LastWriteTime.QuadPart, basic.ChangeTime.QuadPart};
    }

    // One byte far beyond any end of file: a token that excludes the other
    // runs without keeping anybody from reading the file.
    bool TryLock() override {
        OVERLAPPED at{};
        at.OffsetHigh = 0x40000000;
        if (LockFileEx(handle_.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return true;
        if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING) return false;
        ThrowLastError(path_);
    }

    void Rewrite(std::span<const std::byte> bytes) override {
        if (!SetFilePointerEx(handle_.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_.get()))
            ThrowLastError(path_);
        Write(bytes);
    }

    void Close() override {
        if (!handle_.Release()) ThrowLastError(path_);
    }

    // A lock belongs to the handle that took it: a reading handle takes it
    // again as soon as this one has closed.
    std::unique_ptr<File> CloseKeepingLock() override {
        const HANDLE reader = ReOpenFile(handle_.get(), GENERIC_READ, kShareAll, 0);
        if (reader == INVALID_HANDLE_VALUE) ThrowLastError(path_);
        auto kept = std::make_unique<WinFile>(reader, path_);
        Close();
        if (!kept->TryLock()) return nullptr;
        return kept;
    }

    HANDLE get() const { return handle_.get(); }

private:
    Handle handle_;
    std::string path_;
};

std::wstring FinalPathOf(HANDLE h) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(h, path.data(), static_cast<DWORD>(path.size()), 0);
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(n);
    }
}

// The handle's path within its volume. Wine's GetFinalPathNameByHandleW
// fails past MAX_PATH; this one does not, and Wine resolves it alike.
std::wstring NameInVolume(HANDLE h) {
    std::vector<std::byte> buffer(sizeof(FILE_NAME_INFO) + 32768 * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
    if (!GetFileInformationByHandleEx(h, FileNameInfo, info, static_cast<DWORD>(buffer.size()))) return {};
    return std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t));
}

bool SameWidePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// The entry itself, for removal: a link on Windows, and under Wine what a
// Unix link points to (Wine opens through it whatever the flags say).
HANDLE OpenEntry(const std::wstring& path) {
    return CreateFileW(SystemPath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// An entry in the way, a bad name, a missing folder, or a file replaced that
// is read-only or held by a program: the new name is what refuses. Anything
// else (the file gone, access refused or a sharing violation when nothing is
// replaced) is about the file that could not be moved.
bool RenameErrorIsAboutNewName(DWORD error, const std::wstring& from, const std::wstring& to, bool replace) {
    const bool fromThere = GetFileAttributesW(SystemPath(from).c_str()) != INVALID_FILE_ATTRIBUTES;
    const DWORD toAttributes = GetFileAttributesW(SystemPath(to).c_str());
    const bool toThere = toAttributes != INVALID_FILE_ATTRIBUTES;
    const bool notFound = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    // Our own file moves freely (we made it in this folder): a refusal to
    // replace is the other file's, held open by a program even when it
    // shares what it can.
    const bool refusal = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
    const bool toRefuses = replace && toThere && fromThere &&
                           (refusal || (toAttributes & FILE_ATTRIBUTE_READONLY) || !Handle(OpenEntry(to)).valid());
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS || error == ERROR_INVALID_NAME ||
           error == ERROR_FILENAME_EXCED_RANGE || (notFound && fromThere) ||
           (error == ERROR_ACCESS_DENIED && toThere && (toAttributes & FILE_ATTRIBUTE_DIRECTORY)) || toRefuses;
}

// Whether the handle has the entry of that name open, rather than a file
// that a link under that name leads to. Under Wine a Unix link looks like
// its target in every attribute; only the path the handle resolved to shows
// it. When this cannot be told, the answer is no.
bool IsTheEntryItself(HANDLE h, const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(SystemPath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    const std::wstring full = FullWidePath(path);
    const auto slash = full.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return false;
    const Handle folder(CreateFileW(SystemPath(full.substr(0, slash + 1)).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.valid()) return false;
    // Both paths found the same way: whole where the system gives them, else within the volume.
    std::wstring expected = FinalPathOf(folder.get());
    std::wstring actual = FinalPathOf(h);
    if (expected.empty() || actual.empty()) {
        expected = NameInVolume(folder.get());
        actual = NameInVolume(h);
    }
    if (expected.empty() || actual.empty()) return false;
    if (expected.back() != L'\\') expected += L'\\';
    return SameWidePath(actual, expected + found.cFileName);
}

bool MarkForDeletion(HANDLE h) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

std::unique_ptr<WinFile> Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    const std::wstring name = WideName(path);
    if (NamesADevice(name)) throw IoError(kBadName, path);
    HANDLE h = CreateFileW(SystemPath(name).c_str(), access, share, nullptr, disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) ThrowLastError(path);
    auto file = std::make_unique<WinFile>(h, path);
    // Only files on a disk: a pipe or a device would hang or never end.
    if (GetFileType(h) != FILE_TYPE_DISK) throw IoError(kAccessDenied, path);
    return file;
}

void RemoveNow(const char* path) {
    // A console control handler runs on a thread of its own: any call is allowed.
    wchar_t wide[4096];
    if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, 4096) > 0) DeleteFileW(SystemPath(wide).c_str());
}

class WinFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override {
        if (!NameIsSound(path)) return false;
        // "CON", "NUL": a device answers as a file would.
        const std::wstring wide = Widen(path);
        const DWORD attributes = GetFileAttributesW(SystemPath(wide).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
               !NamesADevice(wide);
    }

    EntryKind KindOf(const std::string& path) override {
        if (!NameIsSound(path)) return EntryKind::None;
        const std::wstring wide = Widen(path);
        const DWORD attributes = GetFileAttributesW(SystemPath(wide).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::None;
        if ((attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0 || NamesADevice(wide))
            return EntryKind::Other;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::Folder : EntryKind::File;
    }

    std::optional<FileId> IdentityOf(const std::string& path) override {
        if (!NameIsSound(path)) return std::nullopt;
        const std::wstring wide = SystemPath(Widen(path));
        // A name that is not there is known from its attributes at a
        // fraction of the cost of a failed open (the split asks it of every
        // slice name before writing any).
        if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        // No access asked for: only the file's information is read. Backup
        // semantics let a folder be looked at too.
        Handle h(CreateFileW(wide.c_str(), 0, kShareReadWrite | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return h.valid() ? IdentityIfKnown(h.get()) : std::nullopt;
    }

    std::string FullPath(const std::string& path) override {
        return NameIsSound(path) ? Narrow(FullWidePath(Widen(path))) : path;
    }

    // Names are compared as the file system compares them: case folded
    // beyond ASCII ("É" is "é").
    bool SamePath(const std::string& fullA, const std::string& fullB) override {
        const std::wstring a = Widen(fullA);
        const std::wstring b = Widen(fullB);
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                    TRUE) == CSTR_EQUAL;
    }

    void CheckNewName(const std::string& path) override {
        const std::wstring wide = WideName(path);
        const std::wstring_view name = NamePart(wide);
        const bool forbidden = name.find_first_of(L"<>\"|?*") != std::wstring_view::npos ||
                               std::any_of(name.begin(), name.end(), [](wchar_t c) { return c < 32; });
        if (name.size() > kNameMax) throw IoError(kNameTooLong, path);
        if (name.empty() || name == L"." || name == L".." || forbidden || NamesADevice(wide)) throw IoError(kBadName, path);
    }

    std::uint32_t GetAttributes(const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(SystemPath(WideName(path)).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) ThrowLastError(path);
        return attributes;
    }

    void SetAttributes(const std::string& path, std::uint32_t attributes) override {
        if (!SetFileAttributesW(SystemPath(WideName(path)).c_str(), attributes)) ThrowLastError(path);
    }

    // The entry's attributes, not a directory search: the same size, without
    // a search handle (a tenth of the cost under Wine). Wildcards never name
    // a file.
    std::int64_t SizeOf(const std::string& path) override {
        if (!NameIsSound(path) || path.find_first_of("*?") != std::string::npos) return -1;
        const std::wstring wide = SystemPath(Widen(path));
        WIN32_FILE_ATTRIBUTE_DATA found{};
        if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &found)) return -1;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
            return static_cast<std::int64_t>((static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
        // A link's entry holds its own size (none): the file it leads to has the bytes.
        const Handle h(CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER size{};
        return h.valid() && GetFileSizeEx(h.get(), &size) ? static_cast<std::int64_t>(size.QuadPart) : -1;
    }

    // Through a handle on the entry itself: DeleteFileW under Wine removes
    // what a Unix link points to.
    bool Delete(const std::string& path) override {
        if (!NameIsSound(path) || SystemWouldChange(NamePart(Widen(path)))) return false;
        const std::wstring wide = Widen(path);
        const Handle entry(OpenEntry(wide));
        if (!entry.valid() || !IsTheEntryItself(entry.get(), wide) || !MarkForDeletion(entry.get())) return false;
        temporary_files::Forget(path);
        return true;
    }

    Removal RemoveExactly(const std::string& path, const FileId& expected) override {
        if (!NameIsSound(path) || SystemWouldChange(NamePart(Widen(path)))) return Removal::Replaced;
        const std::wstring wide = Widen(path);
        const Handle entry(OpenEntry(wide));
        if (!entry.valid()) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Removal::Missing : Removal::Failed;
        }
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(entry.get(), &info)) return Removal::Failed;
        const bool plainFile = (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
        if (!plainFile || !(IdentityOfHandle(entry.get(), path) == expected) || !IsTheEntryItself(entry.get(), wide))
            return Removal::Replaced;
        if (!MarkForDeletion(entry.get())) return Removal::Failed;
        temporary_files::Forget(path);
        return Removal::Removed;
    }

    std::unique_ptr<File> OpenRead(const std::string& path) override {
        return Open(path, GENERIC_READ, kShareAll, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    }

    // CREATE_NEW fails on any existing name, a link included.
    std::unique_ptr<File> CreateNew(const std::string& path) override {
        return Open(path, GENERIC_READ | GENERIC_WRITE, kShareAll, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    }

    // The interrupt handler removes it by name while it is open.
    std::unique_ptr<File> CreateTemporary(const std::string& path) override {
        auto file = CreateNew(path);
        temporary_files::Add(path);
        return file;
    }

    void Rename(const std::string& from, const std::string& to, bool replace) override {
        const std::wstring wideFrom = WideName(from);
        const std::wstring wideTo = WideName(to);
        if (NamesADevice(wideTo)) throw IoError(kBadName, to);
        // MoveFileExW under Wine moves what a Unix link leads to, from
        // wherever it is: a name that may be such a link is left as it is.
        if (const Handle entry(OpenEntry(wideFrom)); entry.valid() && !IsTheEntryItself(entry.get(), wideFrom))
            throw IoError(kAccessDenied, from, "pas renommé, ce nom peut mener à un autre fichier (un lien ?)");
        if (!MoveFileExW(SystemPath(wideFrom).c_str(), SystemPath(wideTo).c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
            const DWORD error = GetLastError();
            throw IoError(CodeFromWin32(error), RenameErrorIsAboutNewName(error, wideFrom, wideTo, replace) ? to : from);
        }
        temporary_files::Forget(from);
    }

    bool MakeDurable(const std::string& path, const FileId& expected) override {
        if (!NameIsSound(path)) return false;
        // FlushFileBuffers asks for writing access; the entry itself, not what a link leads to.
        const Handle h(CreateFileW(SystemPath(Widen(path)).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        return h.valid() && IdentityIfKnown(h.get()) == expected && FlushFileBuffers(h.get()) != 0;
    }

    std::string CurrentDirectory() override {
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
            if (n == 0) ThrowLastError({});
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

void RemoveTemporaryFilesNow() { temporary_files::RemoveAll(RemoveNow); }

}  // namespace sorv
