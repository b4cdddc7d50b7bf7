#pragma once
// A button's glyph is a horizontal strip of one to five cells, cell i the
// image of state i (up, disabled, down, exclusive, hot). These rules say how
// many cells a strip holds and which cell a state shows.
#include "button_behaviour.h"
#include "geometry.h"

namespace sorv::tb97 {

inline constexpr int kMaxGlyphs = 5;

// A strip whose width is a whole multiple of its height, below 6, holds that
// many square cells; any other strip is one cell.
int GlyphCountFor(Size strip);

// A value written to NumGlyphs: 0 becomes 1, above 5 becomes 5.
int ClampNumGlyphs(int value);

// The state whose image a state shows: a state without a cell of its own
// shows the up image, except disabled, which gets one generated.
ButtonState ImageState(ButtonState state, int numGlyphs);

// The strip's cell for a state: its own, or the first.
int CellIndex(ButtonState state, int numGlyphs);

Size CellSize(Size strip, int numGlyphs);

}  // namespace sorv::tb97
