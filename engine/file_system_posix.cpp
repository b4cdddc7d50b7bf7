// POSIX file system: names are UTF-8 bytes as they are; errno values are
// turned into the Windows error codes the rest of the program speaks.
#include "file_system.h"
#include "io_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace sorv {
namespace {

constexpr int kPathNotFound = 3;
constexpr int kInvalidName = 123;  // ERROR_INVALID_NAME

// errno → Windows code. Anything else keeps its errno number ("Erreur E/S
// <errno>"), unless that number has a French text of its own (EIO is 5,
// ENETDOWN 100...), which would lie: those become ERROR_IO_DEVICE.
int CodeFromErrno(int err) {
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG: return kPathNotFound;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return 101;
    case ETXTBSY:
    case EBUSY: return 32;  // ERROR_SHARING_VIOLATION
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
    throw IoError(CodeForPath(err, path));
}

void CheckName(const std::string& path) {
    // An embedded NUL would silently name another file.
    if (path.empty() || path.find('\0') != std::string::npos) throw IoError(kInvalidName);
}

class PosixFile final : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
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
            if (errno != EINTR) throw IoError(CodeFromErrno(errno));
        }
    }

    void Write(std::span<const std::byte> bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                throw IoError(CodeFromErrno(errno));
            }
            if (n == 0) throw IoError(101);
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        }
    }

    bool AtEnd() override {
        const off_t pos = ::lseek(fd_, 0, SEEK_CUR);
        struct stat st {};
        if (pos < 0 || ::fstat(fd_, &st) != 0) throw IoError(CodeFromErrno(errno));
        return pos >= st.st_size;
    }

    void Reserve(std::uint64_t bytes) override {
        // Beyond the end without changing the size: a reader sees nothing of it.
        if (bytes > 0 && ::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes)) == 0)
            reserved_ = std::max(reserved_, bytes);
    }

    void Close() override {
        ReleaseUnusedReservation();
        const int fd = fd_;
        fd_ = -1;
        // Linux releases the descriptor even when close fails: never retry.
        if (::close(fd) != 0 && errno != EINTR) throw IoError(CodeFromErrno(errno));
    }

    std::uint64_t CopyTo(File& dest, std::uint64_t maxBytes, std::span<std::byte> buffer) override;

private:
    // Cutting the file at its own size frees the blocks reserved past it.
    void ReleaseUnusedReservation() {
        if (reserved_ == 0) return;
        struct stat st {};
        if (::fstat(fd_, &st) == 0 && static_cast<std::uint64_t>(st.st_size) < reserved_)
            (void)::ftruncate(fd_, st.st_size);
        reserved_ = 0;
    }

    int fd_;
    std::uint64_t reserved_ = 0;
};

// In the kernel, without passing the bytes through user space (and a reflink
// where the file system offers one). Falls back to the buffered loop when the
// pair of files does not allow it.
std::uint64_t PosixFile::CopyTo(File& dest, std::uint64_t maxBytes, std::span<std::byte> buffer) {
    auto* posixDest = dynamic_cast<PosixFile*>(&dest);
    if (posixDest == nullptr) return File::CopyTo(dest, maxBytes, buffer);
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
        if (err == EXDEV || err == ENOSYS || err == EINVAL || err == EOPNOTSUPP)
            return copied + File::CopyTo(dest, maxBytes - copied, buffer);
        throw IoError(CodeFromErrno(err));
    }
    return copied;
}

std::unique_ptr<File> Open(const std::string& path, int flags) {
    CheckName(path);
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) ThrowForPath(errno, path);
    auto file = std::make_unique<PosixFile>(fd);
    // Opening a folder read-only succeeds here; Windows refuses it.
    struct stat st {};
    if (::fstat(fd, &st) != 0) throw IoError(CodeFromErrno(errno));
    if (S_ISDIR(st.st_mode)) throw IoError(5);
    return file;
}

class PosixFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override {
        struct stat st {};
        return path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
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
        if (path.find('\0') != std::string::npos || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return -1;
        return static_cast<std::int64_t>(st.st_size);
    }

    bool Delete(const std::string& path) override {
        return path.find('\0') == std::string::npos && ::unlink(path.c_str()) == 0;
    }

    std::unique_ptr<File> OpenRead(const std::string& path) override { return Open(path, O_RDONLY); }

    std::unique_ptr<File> Create(const std::string& path) override {
        return Open(path, O_RDWR | O_CREAT | O_TRUNC);
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

}  // namespace sorv
