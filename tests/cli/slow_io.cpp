// A test tool, preloaded into sorv-cli: every read, write and
// copy_file_range moves 64 KiB at most and takes 2 ms more, as on a slow
// device, so that a test can act while a split or join is surely running.
#include <dlfcn.h>
#include <sys/types.h>
#include <time.h>

namespace {

constexpr size_t kMaxBytes = 64 * 1024;

void Pause() {
    const timespec twoMs = {0, 2 * 1000 * 1000};
    nanosleep(&twoMs, nullptr);
}

size_t Capped(size_t count) { return count > kMaxBytes ? kMaxBytes : count; }

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
    return real(fd, buffer, fd > 2 ? Capped(count) : count);
}

ssize_t copy_file_range(int in, loff_t* inOffset, int out, loff_t* outOffset, size_t count, unsigned flags) {
    static const auto real = Real<ssize_t (*)(int, loff_t*, int, loff_t*, size_t, unsigned)>("copy_file_range");
    Pause();
    return real(in, inOffset, out, outOffset, Capped(count), flags);
}

}  // extern "C"
