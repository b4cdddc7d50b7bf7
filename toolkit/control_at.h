#pragma once
// The control under a point of the screen, as hover tracking asks for it:
// the deepest window of ours there and, on it, the graphic control.
#include "geometry.h"

namespace sorv::tk {

class GraphicControl;
class Window;

struct ControlAtPoint {
    Window* window = nullptr;            // null when no window of ours is there
    GraphicControl* graphic = nullptr;   // on `window`, when one is there
};

// Hidden controls never count; disabled ones (windowed or not) only when
// asked, since a disabled button still has to know it is under the cursor.
ControlAtPoint FindControlAt(Point screen, bool includeDisabled);

}  // namespace sorv::tk
