// A test tool, preloaded into sorv-cli: every read, write and
// copy_file_range moves 64 KiB at most and takes 2 ms more, as on a slow
// device, so that a test can act while a split or join is surely running.
// With SORV_TEST_EIO_WRITING=NAME set, writing to a file whose path ends
// with NAME fails with EIO, as on a damaged medium.
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxBytes = 64 * 1024;

void Pause() {
    const timespec twoMs = {0, 2 * 1000 * 1000};
    nanosleep(&twoMs, nullptr);
}

size_t Capped(size_t count) { return count > kMaxBytes ? kMaxBytes : count; }

bool WriteFails(int fd) {
    const char* name = getenv("SORV_TEST_EIO_WRITING");
    if (name == nullptr || fd <= 2) return false;
    char link[64];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length < 0) return false;
    path[length] = '\0';
    const size_t wanted = strlen(name);
    return static_cast<size_t>(length) >= wanted && strcmp(path + length - wanted, name) == 0;
}

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

ssize_t read(int fd, void* buffer, size_t count) {
    static const auto real = Real<ssize_t (*)(int, void*, size_t)>("read");
    Pause();
    return real(fd, buffer, Capped(count));
}

ssize_t write(int fd, const void* buffer, size_t count) {
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    // The log lines go through unslowed: the test reads them.
    if (fd > 2) Pause();
    if (WriteFails(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd, buffer, fd > 2 ? Capped(count) : count);
}

ssize_t copy_file_range(int in, loff_t* inOffset, int out, loff_t* outOffset, size_t count, unsigned flags) {
    static const auto real = Real<ssize_t (*)(int, loff_t*, int, loff_t*, size_t, unsigned)>("copy_file_range");
    Pause();
    if (WriteFails(out)) {
        errno = EIO;
        return -1;
    }
    return real(in, inOffset, out, outOffset, Capped(count), flags);
}

}  // extern "C"
