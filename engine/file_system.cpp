// The parts of the file layer that every implementation shares.
#include "file_system.h"

#include <algorithm>

namespace sorv {

std::uint64_t File::CopyTo(File& dest, std::uint64_t maxBytes, CopyBuffer& copyBuffer, ByteObserver* observer) {
    const std::span<std::byte> buffer = copyBuffer.Bytes();
    std::uint64_t copied = 0;
    while (copied < maxBytes) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), maxBytes - copied));
        const std::size_t got = Read(buffer.first(want));
        if (got == 0) break;
        if (observer != nullptr) observer->Observe(buffer.first(got));
        dest.Write(buffer.first(got));
        copied += got;
    }
    return copied;
}

std::uint64_t File::ReadThrough(std::uint64_t maxBytes, CopyBuffer& copyBuffer, ByteObserver& observer) {
    const std::span<std::byte> buffer = copyBuffer.Bytes();
    std::uint64_t read = 0;
    while (read < maxBytes) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), maxBytes - read));
        const std::size_t got = Read(buffer.first(want));
        if (got == 0) break;
        observer.Observe(buffer.first(got));
        read += got;
    }
    return read;
}

bool FileSystem::SameFile(const std::string& a, const std::string& b) {
    if (SamePath(FullPath(a), FullPath(b))) return true;
    const auto first = IdentityOf(a);
    if (!first) return false;
    const auto second = IdentityOf(b);
    return second && *first == *second;
}

}  // namespace sorv
