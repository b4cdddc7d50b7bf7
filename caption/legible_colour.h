#pragma once
// Title texts must stay readable over the gradient. The system caption text
// colour was made for the solid caption colour; current systems make it
// black, which vanishes over the black end of the gradient, just where the
// texts are.
#include <cstdint>
#include <vector>

namespace sorv::caption {

// The contrast ratio of two colours (0x00BBGGRR), from 1 to 21.
double ContrastRatio(std::uint32_t a, std::uint32_t b);

// Below it a text colour gives way to black or white.
inline constexpr double kLegibleContrast = 3.0;

// `wanted` when it contrasts enough with every background under the text,
// else black or white, whichever contrasts more with the worst of them.
std::uint32_t LegibleTextColour(std::uint32_t wanted, const std::vector<std::uint32_t>& backgrounds);

}  // namespace sorv::caption
