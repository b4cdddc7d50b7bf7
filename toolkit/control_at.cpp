#include "control_at.h"

#include <windows.h>

#include "win_geometry.h"
#include "window.h"

namespace sorv::tk {

ControlAtPoint FindControlAt(Point screen, bool includeDisabled) {
    const POINT point = ToPOINT(screen);
    // The top-level window there, then down through its children: the
    // platform's own lookup passes over disabled children.
    HWND window = GetAncestor(WindowFromPoint(point), GA_ROOT);
    const UINT skip = CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT | (includeDisabled ? 0u : CWP_SKIPDISABLED);
    while (window) {
        POINT client = point;
        ScreenToClient(window, &client);
        HWND child = ChildWindowFromPointEx(window, client, skip);
        if (!child || child == window) break;
        window = child;
    }
    ControlAtPoint found;
    found.window = Window::FromHandle(window);
    if (found.window) {
        POINT client = point;
        ScreenToClient(window, &client);
        found.graphic = found.window->GraphicAt(FromPOINT(client), includeDisabled);
    }
    return found;
}

}  // namespace sorv::tk
