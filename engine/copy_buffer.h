#pragma once
#include <cstddef>
#include <span>
#include <vector>

namespace sorv {

// One buffer per split or join. Slices are written in large transfers; what
// the user sees (slice contents, progress at each message run) still follows
// 2048-byte blocks. When the bytes pass through it to be fingerprinted, a
// buffer that stays in the processor's cache between the read, the
// fingerprints and the write is fastest: 256 KiB beat 128 KiB and 1 MiB.
inline constexpr std::size_t kCopyBufferSize = std::size_t{1} << 18;

// Allocated the first time a copy needs it: one the system makes in the
// kernel never does.
class CopyBuffer {
public:
    std::span<std::byte> Bytes() {
        if (bytes_.empty()) bytes_.resize(kCopyBufferSize);
        return bytes_;
    }
    bool Allocated() const { return !bytes_.empty(); }

private:
    std::vector<std::byte> bytes_;
};

}  // namespace sorv
