#pragma once
// Reading back what a button or a separator painted on a DIB section, in the
// glyph rules' 0x00RRGGBB colours.
#include <cstdint>

#include "dib_section.h"
#include "tb97ctls_glyph_win.h"

namespace sorv::toolbar::test {

inline void Fill(tk::DibSection& section, std::uint32_t rgb) {
    for (int y = 0; y < section.Height(); ++y)
        for (int x = 0; x < section.Width(); ++x) section.SetPixel(x, y, ToColorRef(rgb));
}

inline std::uint32_t RgbAt(const tk::DibSection& section, int x, int y) { return ToPixel(section.Pixel(x, y)); }

}  // namespace sorv::toolbar::test
