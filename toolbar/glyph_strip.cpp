#include "glyph_strip.h"

#include <algorithm>

namespace sorv::tb97 {

int GlyphCountFor(Size strip) {
    if (strip.cx <= 0 || strip.cy <= 0 || strip.cx % strip.cy != 0) return 1;
    const int count = strip.cx / strip.cy;
    return count < 6 ? count : 1;
}

int ClampNumGlyphs(int value) { return std::clamp(value, 1, kMaxGlyphs); }

ButtonState ImageState(ButtonState state, int numGlyphs) {
    if (state != ButtonState::Disabled && static_cast<int>(state) >= numGlyphs) return ButtonState::Up;
    return state;
}

int CellIndex(ButtonState state, int numGlyphs) {
    const int index = static_cast<int>(state);
    return index < numGlyphs ? index : 0;
}

Size CellSize(Size strip, int numGlyphs) { return {strip.cx / std::max(numGlyphs, 1), strip.cy}; }

}  // namespace sorv::tb97
