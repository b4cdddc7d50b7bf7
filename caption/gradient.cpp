#include "gradient.h"

#include <cstdlib>
#include <limits>

namespace sorv::caption {
namespace {

int Component(std::uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFFu); }

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = std::llabs(static_cast<long long>(denominator)) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
    const long long result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
    return static_cast<int>(result);
}

std::vector<Band> GradientBands(int left, int right, int numColors, std::uint32_t from, std::uint32_t to) {
    std::vector<Band> bands;
    if (numColors < 1) return bands;
    bands.reserve(static_cast<std::size_t>(numColors));
    const int width = right - left;
    for (int i = 0; i < numColors; ++i) {
        std::uint32_t color = from & 0x00FFFFFFu;
        if (numColors >= 2) {
            color = 0;
            for (int shift : {0, 8, 16}) {
                const int c1 = Component(from, shift);
                const int c2 = Component(to, shift);
                const int c = c1 + MulDiv(i, c2 - c1, numColors - 1);
                color |= static_cast<std::uint32_t>(c & 0xFF) << shift;
            }
        }
        bands.push_back({left + MulDiv(i, width, numColors), left + MulDiv(i + 1, width, numColors), color});
    }
    return bands;
}

bool GradientOn(TGradEnabled enabled, bool active, int bitsPerPixel) {
    switch (enabled) {
        case TGradEnabled::geAlways: return true;
        case TGradEnabled::geNever: return false;
        case TGradEnabled::geWhenActive: return active;
        case TGradEnabled::geSmart: return active ? bitsPerPixel >= 8 : bitsPerPixel > 8;
    }
    return false;
}

}  // namespace sorv::caption
