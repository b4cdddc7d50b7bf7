#pragma once
// Where a window opens next to the window it serves.
#include "geometry.h"

namespace sorv::tk {

// The top-left corner for a window of `size` that belongs to `owner` (screen
// rectangles): beside it, to the right or else to the left, tops level, when
// it fits there in the work area; otherwise centred on it. Kept within the
// work area.
Point PlaceBeside(const Rect& owner, Size size, const Rect& workArea);

}  // namespace sorv::tk
