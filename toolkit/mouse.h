#pragma once
// Mouse input as the toolkit hands it to controls.
#include <windows.h>

namespace sorv::tk {

enum class MouseButton { Left, Right, Middle };

struct MouseEvent {
    MouseButton button = MouseButton::Left;  // presses and releases only
    int x = 0;  // relative to the control
    int y = 0;
    WPARAM keys = 0;  // MK_ flags
    // The press is the second of a double click (it is still a press).
    bool doubleClick = false;
};

}  // namespace sorv::tk
