// POSIX file system: names are UTF-8 bytes as they are; errno values are
// turned into the Windows error codes the rest of the program speaks.
#include "file_system.h"
#include "io_error.h"
#include "temporary_files.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <dirent.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace sorv {
namespace {

constexpr int kPathNotFound = 3;
constexpr int kFileExists = 80;    // ERROR_FILE_EXISTS
constexpr int kInvalidName = 123;  // ERROR_INVALID_NAME

// errno → Windows code. Anything else keeps its errno number ("Erreur E/S
// <errno>"), unless that number has a French text of its own (EIO is 5,
// ENETDOWN 100...), which would lie: those become ERROR_IO_DEVICE.
int CodeFromErrno(int err) {
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR: return kPathNotFound;
    case ENAMETOOLONG: return kNameTooLong;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR: return 5;
    case EROFS: return 19;  // ERROR_WRITE_PROTECT: a locked floppy or a read-only mount
    case ENOSPC: return 101;
    // Not a full disk: freeing room would not help.
    case EFBIG: return 223;    // ERROR_FILE_TOO_LARGE
    case EDQUOT: return 1295;  // ERROR_DISK_QUOTA_EXCEEDED
    case ETXTBSY:
    case EBUSY: return 32;  // ERROR_SHARING_VIOLATION
    case EEXIST: return kFileExists;
    default: return IoErrorText(err).starts_with("Erreur E/S") ? err : 1117;
    }
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Windows tells a missing file (2) from a missing folder (3); ENOENT covers
// both, so look at the folder part.
int CodeForPath(int err, const std::string& path) {
    if (err == ENOENT) {
        const auto slash = path.find_last_of('/');
        if (slash != std::string::npos && !IsFolder(slash == 0 ? "/" : path.substr(0, slash)))
            return kPathNotFound;
    }
    return CodeFromErrno(err);
}

[[noreturn]] void ThrowForPath(int err, const std::string& path) {
    throw IoError(CodeForPath(err, path), path);
}

// Not found: the file renamed, when it is what is gone, else the new name.
// An entry in the way, a bad name or a missing folder is about the new name;
// anything else (the file gone, access refused, a busy or read-only medium)
// is about the file that could not be moved.
[[noreturn]] void ThrowRenameError(int err, const std::string& from, const std::string& to) {
    struct stat st {};
    const bool aboutNewName = err == EEXIST || err == ENOTEMPTY || err == EISDIR || err == ENAMETOOLONG ||
                              err == ENOTDIR || (err == ENOENT && ::lstat(from.c_str(), &st) == 0);
    ThrowForPath(err, aboutNewName ? to : from);
}

// An embedded NUL would silently name another file.
bool NameIsSound(const std::string& path) { return !path.empty() && path.find('\0') == std::string::npos; }

void CheckName(const std::string& path) {
    if (!NameIsSound(path)) throw IoError(kInvalidName, path);
}

FileId IdOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::string FolderPart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class PosixFile final : public File {
public:
    PosixFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixFile() override {
        if (fd_ < 0) return;
        ReleaseUnusedReservation();
        ::close(fd_);
    }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::size_t Read(std::span<std::byte> buffer) override {
        for (;;) {
            const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
            if (n >= 0) return static_cast<std::size_t>(n);
            if (errno != EINTR) Fail(errno);
        }
    }

    void Write(std::span<const std::byte> bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                Fail(errno);
            }
            if (n == 0) throw IoError(101, path_);
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        }
    }

    bool AtEnd() override {
        const off_t pos = ::lseek(fd_, 0, SEEK_CUR);
        struct stat st {};
        if (pos < 0 || ::fstat(fd_, &st) != 0) Fail(errno);
        return pos >= st.st_size;
    }

    std::uint64_t Size() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) Fail(errno);
        return static_cast<std::uint64_t>(st.st_size);
    }

    void Seek(std::uint64_t offset) override {
        if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) Fail(errno);
    }

    FileId Identity() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) Fail(errno);
        return IdOf(st);
    }

    FileStamp Stamp() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) Fail(errno);
        return {static_cast<std::uint64_t>(st.st_size), Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
    }

    // flock: its lock belongs to the open file, so two opens in one process
    // exclude each other too, and a file open for reading can hold it. The
    // Windows build run by Wine locks one byte at 2^62 with a POSIX lock
    // instead: that byte is looked at too, and taken where the file is open
    // for writing, so that either build sees the other's live run.
    bool TryLock() override {
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) return false;
            if (errno != EINTR) Fail(errno);
        }
        if (TokenByteFree()) return true;
        ::flock(fd_, LOCK_UN);
        return false;
    }

    bool RunLockFree() override {
        struct flock token = TokenByte();
        return ::fcntl(fd_, F_OFD_GETLK, &token) != 0 || token.l_type == F_UNLCK;
    }

    static struct flock TokenByte() {
        struct flock token {};
        token.l_type = F_WRLCK;
        token.l_whence = SEEK_SET;
        token.l_start = off_t{1} << 62;
        token.l_len = 1;
        return token;
    }

    bool TokenByteFree() {
        struct flock token = TokenByte();
        const bool writable = (::fcntl(fd_, F_GETFL) & O_ACCMODE) != O_RDONLY;
        // Where the file system keeps no such locks (ENOLCK, EINVAL), Wine
        // could not have taken one either: flock alone decides.
        if (writable) return ::fcntl(fd_, F_OFD_SETLK, &token) == 0 || (errno != EAGAIN && errno != EACCES);
        return RunLockFree();
    }

    void Rewrite(std::span<const std::byte> bytes) override {
        if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) Fail(errno);
        Write(bytes);
    }

    void Reserve(std::uint64_t bytes) override {
        // Beyond the end without changing the size: a reader sees nothing of
        // it. A reservation that fails half-way may still hold blocks, so
        // every attempt is given back at close.
        if (bytes == 0) return;
        reserved_ = true;
        (void)::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes));
    }

    // The same open file description: its flock and its token lock stay
    // with the copy when this descriptor closes.
    std::unique_ptr<File> CloseKeepingLock() override {
        const int copy = ::dup(fd_);
        if (copy < 0) Fail(errno);
        auto kept = std::make_unique<PosixFile>(copy, path_);
        Close();
        return kept;
    }

    void Close() override {
        ReleaseUnusedReservation();
        const int fd = fd_;
        fd_ = -1;
        // Linux releases the descriptor even when close fails: never retry.
        if (::close(fd) != 0 && errno != EINTR) Fail(errno);
    }

    std::uint64_t CopyTo(File& dest, std::uint64_t maxBytes, CopyBuffer& buffer,
                         ByteObserver* observer) override;

private:
    static std::int64_t Nanoseconds(const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    }

    // A full disk (or a file too large, a quota) shows on the writing side: name that file.
    void FailIfFull(int err) const {
        if (err == ENOSPC || err == EDQUOT || err == EFBIG) Fail(err);
    }

    [[noreturn]] void Fail(int err) const { throw IoError(CodeFromErrno(err), path_); }

    // Cutting the file at its own size frees the blocks reserved past it.
    void ReleaseUnusedReservation() {
        if (!reserved_) return;
        struct stat st {};
        if (::fstat(fd_, &st) == 0) (void)::ftruncate(fd_, st.st_size);
        reserved_ = false;
    }

    int fd_;
    std::string path_;
    bool reserved_ = false;
};

// In the kernel, without passing the bytes through user space (and a reflink
// where the file system offers one). Falls back to the buffered loop when the
// pair of files does not allow it, or when the bytes must be seen: read into
// the buffer, shown and written from it while it is still in the processor's
// cache. (Mapping the source would save one copy, but a file that another
// program cuts short while it is mapped kills the process with SIGBUS.)
std::uint64_t PosixFile::CopyTo(File& dest, std::uint64_t maxBytes, CopyBuffer& buffer,
                                ByteObserver* observer) {
    auto* posixDest = dynamic_cast<PosixFile*>(&dest);
    if (posixDest == nullptr || observer != nullptr) return File::CopyTo(dest, maxBytes, buffer, observer);
    std::uint64_t copied = 0;
    while (copied < maxBytes) {
        const auto want = static_cast<std::size_t>(
            std::min<std::uint64_t>(maxBytes - copied, std::size_t{1} << 30));
        const ssize_t n = ::copy_file_range(fd_, nullptr, posixDest->fd_, nullptr, want, 0);
        if (n > 0) {
            copied += static_cast<std::uint64_t>(n);
            continue;
        }
        if (n == 0) break;  // the source ran out
        const int err = errno;
        if (err == EINTR) continue;
        // A full disk can only be the writer's. Any other error may be the
        // reader's or the writer's: the buffered loop reads and writes apart,
        // so it meets the error again and blames the right file (or goes on,
        // where the pair of files merely does not allow the kernel copy).
        posixDest->FailIfFull(err);
        return copied + File::CopyTo(dest, maxBytes - copied, buffer);
    }
    return copied;
}

std::unique_ptr<File> Open(const std::string& path, int flags) {
    CheckName(path);
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) ThrowForPath(errno, path);
    auto file = std::make_unique<PosixFile>(fd, path);
    // Only regular files: a FIFO would hang the copy, a device take or give
    // endless bytes, and Windows refuses to open a folder.
    struct stat st {};
    if (::fstat(fd, &st) != 0) ThrowForPath(errno, path);
    if (!S_ISREG(st.st_mode)) throw IoError(kAccessDenied, path);
    if ((flags & O_NONBLOCK) != 0) (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return file;
}

void RemoveNow(const char* path) { (void)::unlink(path); }

// The descriptors open now, those inherited included (Linux lists them; 3,
// the standard streams, elsewhere).
std::uint64_t OpenFileCount() {
    DIR* folder = ::opendir("/proc/self/fd");
    if (folder == nullptr) return 3;
    std::uint64_t count = 0;
    while (const dirent* entry = ::readdir(folder))
        if (entry->d_name[0] != '.') ++count;
    ::closedir(folder);
    return count > 0 ? count - 1 : 0;  // not the one that lists them
}

bool Synced(int fd) {
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

// The entry a rename made is on the medium once its folder is synced.
// Some file systems cannot sync a folder (EINVAL): theirs is as good as done.
bool FolderSynced(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = Synced(fd) || errno == EINVAL;
    (void)::close(fd);
    return synced;
}

class PosixFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override {
        struct stat st {};
        return NameIsSound(path) && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    EntryKind KindOf(const std::string& path) override {
        struct stat st {};
        if (!NameIsSound(path) || ::lstat(path.c_str(), &st) != 0) return EntryKind::None;
        if (S_ISREG(st.st_mode)) return EntryKind::File;
        return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::Other;
    }

    std::optional<FileId> IdentityOf(const std::string& path) override {
        struct stat st {};
        if (!NameIsSound(path) || ::stat(path.c_str(), &st) != 0) return std::nullopt;
        return IdOf(st);
    }

    // The folder resolved by the system (links, "." and ".."), the name as it is.
    std::string FullPath(const std::string& path) override {
        std::string absolute = path;
        if (absolute.empty() || absolute.front() != '/') absolute = CurrentDirectory() + "/" + path;
        const std::string name = NamePart(absolute);
        std::unique_ptr<char, decltype(&std::free)> folder(::realpath(FolderPart(absolute).c_str(), nullptr), &std::free);
        if (!folder) return absolute;
        const std::string resolved = folder.get();
        return (resolved == "/" ? "" : resolved) + "/" + name;
    }

    bool SamePath(const std::string& fullA, const std::string& fullB) override { return fullA == fullB; }

    void CheckNewName(const std::string& path) override {
        CheckName(path);
        const std::string name = NamePart(path);
        if (name.empty() || name == "." || name == "..") throw IoError(kPathNotFound, path);
        const long nameMax = ::pathconf(FolderPart(path).c_str(), _PC_NAME_MAX);
        const auto limit = static_cast<std::size_t>(nameMax > 0 ? nameMax : NAME_MAX);
        if (name.size() > limit || FullPath(path).size() >= PATH_MAX) throw IoError(kNameTooLong, path);
    }

    std::uint32_t GetAttributes(const std::string& path) override {
        CheckName(path);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) ThrowForPath(errno, path);
        std::uint32_t attributes = S_ISDIR(st.st_mode) ? 16u : kAttrArchive;
        if ((st.st_mode & S_IWUSR) == 0) attributes |= kAttrReadOnly;
        return attributes;
    }

    void SetAttributes(const std::string& path, std::uint32_t attributes) override {
        CheckName(path);
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) ThrowForPath(errno, path);
        mode_t mode = st.st_mode & 07777;
        mode = (attributes & kAttrReadOnly) != 0 ? (mode & ~mode_t{S_IWUSR}) : (mode | S_IWUSR);
        if (::chmod(path.c_str(), mode) != 0) ThrowForPath(errno, path);
    }

    std::int64_t SizeOf(const std::string& path) override {
        struct stat st {};
        if (!NameIsSound(path) || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
        return static_cast<std::int64_t>(st.st_size);
    }

    bool Delete(const std::string& path) override {
        if (!NameIsSound(path) || ::unlink(path.c_str()) != 0) return false;
        temporary_files::Forget(path);
        return true;
    }

    Removal RemoveExactly(const std::string& path, const FileId& expected) override {
        struct stat st {};
        if (!NameIsSound(path) || ::lstat(path.c_str(), &st) != 0) return Removal::Missing;
        const FileId found = IdOf(st);
        if (!S_ISREG(st.st_mode) || !(found == expected)) return Removal::Replaced;
        return Delete(path) ? Removal::Removed : Removal::Failed;
    }

    // Non-blocking, so that opening a FIFO does not wait for a writer
    // before it is refused.
    std::unique_ptr<File> OpenRead(const std::string& path) override { return Open(path, O_RDONLY | O_NONBLOCK); }

    std::unique_ptr<File> CreateNew(const std::string& path) override {
        return Open(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW);
    }

    std::unique_ptr<File> CreateTemporary(const std::string& path) override {
        auto file = CreateNew(path);
        temporary_files::Add(path);
        return file;
    }

    void Rename(const std::string& from, const std::string& to, bool replace) override {
        CheckName(from);
        CheckName(to);
        if (replace) {
            if (::rename(from.c_str(), to.c_str()) != 0) ThrowRenameError(errno, from, to);
        } else if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
            if (errno != EINVAL && errno != ENOSYS) ThrowRenameError(errno, from, to);
            // A file system without the flag: a second name, then the old one
            // removed; link() never replaces.
            if (::link(from.c_str(), to.c_str()) != 0) ThrowRenameError(errno, from, to);
            (void)::unlink(from.c_str());
        }
        temporary_files::Forget(from);
    }

    std::optional<std::uint64_t> MoreFilesAllowed() override {
        struct rlimit limit {};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
        const auto open = OpenFileCount();
        return static_cast<std::uint64_t>(limit.rlim_cur) - std::min<std::uint64_t>(open, limit.rlim_cur);
    }

    bool MakeDurable(const std::string& path, const FileId& expected) override {
        if (!NameIsSound(path)) return false;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) return false;
        struct stat st {};
        const bool same = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && IdOf(st) == expected;
        const bool synced = same && Synced(fd);
        (void)::close(fd);
        return synced && FolderSynced(FolderPart(path));
    }

    std::string CurrentDirectory() override {
        std::vector<char> buffer(256);
        while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
            if (errno != ERANGE) throw IoError(CodeFromErrno(errno));
            buffer.resize(buffer.size() * 2);
        }
        return buffer.data();
    }
};

}  // namespace

FileSystem& NativeFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

void RemoveTemporaryFilesNow() { temporary_files::RemoveAll(RemoveNow); }

}  // namespace sorv
