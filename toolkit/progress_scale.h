#pragma once
// The progress control takes a 32-bit range; byte counts of 2 GiB and more
// are scaled down by a power of two so that the maximum fits.
#include <cstdint>
#include <limits>

namespace sorv::tk {

// The smallest shift that brings `maximum` within INT32_MAX.
constexpr int ProgressShift(std::int64_t maximum) {
    int shift = 0;
    while (maximum > 0 && (maximum >> shift) > std::numeric_limits<std::int32_t>::max()) ++shift;
    return shift;
}

// `value` clamped to 0..maximum, then scaled by `shift`.
constexpr std::int32_t ScaleProgress(std::int64_t value, std::int64_t maximum, int shift) {
    if (maximum < 0) maximum = 0;
    if (value < 0) value = 0;
    if (value > maximum) value = maximum;
    return static_cast<std::int32_t>(value >> shift);
}

}  // namespace sorv::tk
