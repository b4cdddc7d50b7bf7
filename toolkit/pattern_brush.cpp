#include "pattern_brush.h"

#include <stdexcept>

#include "dib_section.h"

namespace sorv::tk {

PatternBrush::PatternBrush(BitmapHandle bitmap)
    : bitmap_(std::move(bitmap)), brush_(bitmap_ ? CreatePatternBrush(bitmap_.get()) : nullptr) {
    if (!brush_) throw std::runtime_error("CreatePatternBrush failed");
}

PatternBrush PatternBrush::Monochrome(const PatternRows& rows) {
    // A monochrome bitmap's rows are word-aligned.
    WORD words[8];
    for (int y = 0; y < 8; ++y) words[y] = rows[static_cast<std::size_t>(y)];
    return PatternBrush(BitmapHandle(CreateBitmap(8, 8, 1, 1, words)));
}

PatternBrush PatternBrush::TwoColour(const PatternRows& rows, COLORREF set, COLORREF clear) {
    DibSection cells(8, 8);
    if (!cells) throw std::runtime_error("CreateDIBSection failed");
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            cells.SetPixel(x, y, (rows[static_cast<std::size_t>(y)] & (0x80 >> x)) ? set : clear);
    return PatternBrush(cells.TakeBitmap());
}

}  // namespace sorv::tk
