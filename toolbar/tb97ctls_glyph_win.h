#pragma once
// Bitmaps read into pixels and pixels made into bitmaps, at the edge between
// the glyph rules (plain pixel arrays) and the platform's image lists.
#include <windows.h>

#include "handles.h"
#include "tb97ctls_glyph_rules.h"

namespace sorv::toolbar {

// Any bitmap as 0x00RRGGBB pixels, top-down; empty for no bitmap.
PixelImage ReadPixels(HBITMAP bitmap);
// A mask bitmap's white pixels as set bits.
Bitmask ReadMask(HBITMAP bitmap);

// A device-independent bitmap of the pixels.
tk::BitmapHandle MakeColourBitmap(const PixelImage& image);
// A monochrome bitmap, white where the bits are set.
tk::BitmapHandle MakeMaskBitmap(const Bitmask& mask);

// 0x00RRGGBB from a COLORREF (0x00BBGGRR) and back.
std::uint32_t ToPixel(COLORREF colour);
COLORREF ToColorRef(std::uint32_t pixel);

}  // namespace sorv::toolbar
