#pragma once
// 8 x 8 pattern brushes: the checkerboard that inverts a drag outline, the
// checkered face of a button held down.
#include <windows.h>

#include <array>
#include <cstdint>

#include "handles.h"

namespace sorv::tk {

// Eight rows of eight pixels, the leftmost in the high bit.
using PatternRows = std::array<std::uint8_t, 8>;

// A checkerboard starting with a set pixel at the top-left corner.
inline constexpr PatternRows kCheckerboard{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};

class PatternBrush {
public:
    // A monochrome pattern: it paints clear bits in the DC's text colour and
    // set bits in its background colour (black and white by default, so
    // PATINVERT inverts the set pixels only).
    static PatternBrush Monochrome(const PatternRows& rows);
    // Set bits in `set`, clear bits in `clear`.
    static PatternBrush TwoColour(const PatternRows& rows, COLORREF set, COLORREF clear);

    HBRUSH get() const { return brush_.get(); }
    explicit operator bool() const { return static_cast<bool>(brush_); }

private:
    PatternBrush(BitmapHandle bitmap);
    BitmapHandle bitmap_;  // kept while the brush lives
    BrushHandle brush_;
};

}  // namespace sorv::tk
