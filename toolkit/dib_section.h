#pragma once
// Bitmaps whose pixels the program reads and writes itself: 32-bit
// device-independent sections, the pixels of any bitmap, and monochrome
// bitmaps made from rows of bits.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "handles.h"

namespace sorv::tk {

// A 32-bit top-down section, selected into a memory DC of its own so that
// GDI can draw on it too.
class DibSection {
public:
    DibSection(int width, int height);
    ~DibSection();
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    explicit operator bool() const { return static_cast<bool>(bitmap_); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC Dc() const { return dc_.get(); }
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // Colours as COLORREF values (0x00BBGGRR); GDI drawing is flushed first.
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF color);
    // The raw pixels, 0x00RRGGBB, row after row from the top.
    std::uint32_t* Bits() { return bits_; }
    // Gives the bitmap away (out of the DC); the section is empty afterwards.
    BitmapHandle TakeBitmap();

private:
    int width_;
    int height_;
    MemoryDcHandle dc_;
    BitmapHandle bitmap_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// The pixels of a bitmap as COLORREF values, row after row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> values;
    COLORREF At(int x, int y) const { return values[static_cast<std::size_t>(y * width + x)]; }
};
Pixels ReadPixels(HBITMAP bitmap);

// A monochrome bitmap from rows of bits, the leftmost pixel in the high bit
// and each row padded to a multiple of 4 bytes: 0 is black, 1 white.
BitmapHandle MonochromeBitmap(int width, int height, const std::vector<std::uint8_t>& rows);

}  // namespace sorv::tk
