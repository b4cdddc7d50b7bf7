#include "pump_cadence.h"

#include <algorithm>

namespace sorv {

void PieceSizer::Took(std::uint64_t bytes, std::int64_t elapsed) {
    if (bytes == 0) return;
    // As many bytes as the device moves in kTarget, at most twice the last
    // piece, in whole blocks.
    std::uint64_t next = 2 * bytes;
    if (elapsed > 0) next = std::min(next, bytes * static_cast<std::uint64_t>(kTarget) / static_cast<std::uint64_t>(elapsed));
    next -= next % kSmallest;
    next_ = std::clamp(next, kSmallest, kLargest);
}

}  // namespace sorv
