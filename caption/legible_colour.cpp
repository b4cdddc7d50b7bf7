#include "legible_colour.h"

#include <algorithm>
#include <cmath>

namespace sorv::caption {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// Relative luminance of an sRGB colour.
double Luminance(std::uint32_t colour) {
    auto linear = [](std::uint32_t component) {
        const double c = static_cast<double>(component & 0xFFu) / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour) + 0.7152 * linear(colour >> 8) + 0.0722 * linear(colour >> 16);
}

double WorstContrast(std::uint32_t text, const std::vector<std::uint32_t>& backgrounds) {
    double worst = 21.0;
    for (std::uint32_t background : backgrounds) worst = std::min(worst, ContrastRatio(text, background));
    return worst;
}

}  // namespace

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t LegibleTextColour(std::uint32_t wanted, const std::vector<std::uint32_t>& backgrounds) {
    if (WorstContrast(wanted, backgrounds) >= kLegibleContrast) return wanted;
    return WorstContrast(kWhite, backgrounds) >= WorstContrast(kBlack, backgrounds) ? kWhite : kBlack;
}

}  // namespace sorv::caption
