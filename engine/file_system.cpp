// The parts of the file layer that every implementation shares.
#include "file_system.h"

#include <algorithm>

namespace sorv {

namespace {

// Shows each piece to the copy's observer, then writes it.
class WriteThrough final : public ByteObserver {
public:
    WriteThrough(File& dest, ByteObserver* observer) : dest_(dest), observer_(observer) {}
    void Observe(std::span<const std::byte> bytes) override {
        if (observer_ != nullptr) observer_->Observe(bytes);
        dest_.Write(bytes);
    }

private:
    File& dest_;
    ByteObserver* observer_;
};

}  // namespace

std::uint64_t File::CopyTo(File& dest, std::uint64_t maxBytes, CopyBuffer& copyBuffer, ByteObserver* observer) {
    WriteThrough writer(dest, observer);
    return ReadThrough(maxBytes, copyBuffer, writer);
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
