#pragma once
// The slice-size table, the size text shown in the slice-size dialog and the
// slice count.
#include <cstdint>
#include <string>

namespace sorv {

inline constexpr std::int32_t kDefaultSizeChoice = 4;
inline constexpr std::int64_t kBlockSize = 2048;

// Bytes of a slice for a choice 1..7; any other choice counts as 4.
std::int64_t SliceSizeFor(std::int32_t choice);
// "360 Ko", "720 Ko", "1,1 Mo", "1,4 Mo", "1,7 Mo", "1,9 Mo", "99 Mo".
std::string SliceLabelFor(std::int32_t choice);
// The dialog's radio caption for a choice 1..7 ("1.4 Mo", "Lecteur Iomega Zip").
std::string SliceCaptionFor(std::int32_t choice);
// Whole units, ",", the first two digits of the remainder in bytes, " Ko"/" Mo".
std::string FormatSizeText(std::int64_t size);
// The quotient rounded up; 0 for a negative quotient.
std::int64_t CountSlices(std::int64_t size, std::int64_t sliceSize);

}  // namespace sorv
