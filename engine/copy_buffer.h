#pragma once
#include <cstddef>
#include <vector>

namespace sorv {

// One buffer per split or join. Slices are written in large transfers; what
// the user sees (slice contents, progress at each message run) still follows
// 2048-byte blocks.
inline constexpr std::size_t kCopyBufferSize = std::size_t{1} << 20;

inline std::vector<std::byte> MakeCopyBuffer() { return std::vector<std::byte>(kCopyBufferSize); }

}  // namespace sorv
