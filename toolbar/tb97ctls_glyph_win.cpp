#include "tb97ctls_glyph_win.h"

#include <algorithm>

#include "dib_section.h"

namespace sorv::toolbar {

std::uint32_t ToPixel(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

COLORREF ToColorRef(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

PixelImage ReadPixels(HBITMAP bitmap) {
    const tk::Pixels read = tk::ReadPixels(bitmap);
    if (read.width <= 0 || read.height <= 0) return {};
    PixelImage image(read.width, read.height);
    for (std::size_t i = 0; i < read.values.size(); ++i) image.pixels[i] = ToPixel(read.values[i]);
    return image;
}

Bitmask ReadMask(HBITMAP bitmap) {
    const PixelImage pixels = ReadPixels(bitmap);
    Bitmask mask(pixels.width, pixels.height);
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) mask.Set(x, y, pixels.At(x, y) == kWhite);
    }
    return mask;
}

tk::BitmapHandle MakeColourBitmap(const PixelImage& image) {
    tk::DibSection section(image.width, image.height);
    if (!section) return {};
    // A section's pixel read as a number is 0x00RRGGBB, as ours.
    std::copy(image.pixels.begin(), image.pixels.end(), section.Bits());
    GdiFlush();
    return section.TakeBitmap();
}

tk::BitmapHandle MakeMaskBitmap(const Bitmask& mask) {
    const int stride = (mask.width + 31) / 32 * 4;
    std::vector<std::uint8_t> rows(std::size_t(stride) * mask.height, 0);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (mask.At(x, y)) rows[std::size_t(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return tk::MonochromeBitmap(mask.width, mask.height, rows);
}

}  // namespace sorv::toolbar
