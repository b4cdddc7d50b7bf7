#pragma once
// The outline that follows the cursor during a drag or a resize, inverted
// with a checkerboard pattern over the desktop: drawing the same outline
// twice erases it, and moving it only touches the difference.
#include <windows.h>

#include <optional>

#include "screen_scopes.h"
#include "geometry.h"

namespace sorv {

struct OutlineFrame {
    Rect rect;
    int thickness = 1;
};

// `pattern`: the 8 x 8 checkerboard brush.
void DrawDragOutline(HDC dc, HBRUSH pattern, const std::optional<OutlineFrame>& newFrame,
                     const std::optional<OutlineFrame>& oldFrame);

// Dispatches the thread's pending paint messages, so that the windows are
// drawn before the desktop is locked; a quit message is posted again.
void PumpPendingPaints();

// An outline on the desktop for the length of a loop: the desktop's updates
// are locked meanwhile, and the last outline is erased at the end.
class DesktopOutline {
public:
    DesktopOutline();
    ~DesktopOutline();
    DesktopOutline(const DesktopOutline&) = delete;
    DesktopOutline& operator=(const DesktopOutline&) = delete;

    void MoveTo(const std::optional<OutlineFrame>& next);
    const std::optional<OutlineFrame>& Current() const { return current_; }

private:
    tk::DesktopOutlineDc desktop_;
    std::optional<OutlineFrame> current_;
};

}  // namespace sorv
