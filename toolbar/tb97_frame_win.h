#pragma once
// Painting of the tool window's frames on its window DC: the docked border
// with its drag handle, and the floating frame with its small caption and
// close button. Geometry comes from tb97_frame_rules.h.
//
// The outline that follows the cursor during a drag or a resize, inverted
// with a checkerboard pattern over the desktop: drawing the same outline
// twice erases it, and moving it only touches the difference.
//
// The work areas of the screens attached to the desktop, for keeping drags
// and floating windows on the screen that holds them.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "geometry.h"
#include "screen_scopes.h"
#include "tb97_frame_rules.h"

namespace sorv::toolbar {

// Fills `area` (window coordinates) with the dock's background, `exclude`
// left alone; empty when the dock's background does not show on its bars.
using BackgroundFill = std::function<void(HDC dc, const Rect& area, const Rect* exclude)>;

struct DockedFramePaint {
    Size window;  // outer size
    Rect client;  // window coordinates
    DockKind kind = DockKind::dkHorizontal;
    bool allowDrag = true;
    TDragHandleStyle handle = TDragHandleStyle::dhDouble;
    bool raisedBorder = true;  // BorderStyle single
    COLORREF color = 0;
    BackgroundFill background;
};
void DrawDockedFrame(HDC windowDc, const DockedFramePaint& frame);

struct FloatingFramePaint {
    Size window;
    Size border;
    int captionHeight = 0;
    int clientWidth = 0;
    bool closeButton = true;
    bool closePressed = false;
    bool active = true;
    std::string caption;
};
struct FloatingParts {
    bool border = true;
    bool closeButton = true;
    bool caption = true;
};
void DrawFloatingFrame(HDC windowDc, const FloatingFramePaint& frame, FloatingParts parts);

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

std::vector<MonitorArea> MonitorAreas();
// The work area of the screen holding the point (else the nearest one).
Rect WorkAreaAt(Point point);
// The work area of the screen holding most of the window (else the nearest).
Rect WorkAreaFor(const Rect& window);

// The platform's hit-test code of a frame part, and back.
int HitTestCode(FrameHit hit);
FrameHit FrameHitOfCode(int hitTest);

// Messages of the modal mouse loops.
bool IsKeyMessage(UINT msg);
// For a Control key message, whether the key is now down.
std::optional<bool> ControlKeyDown(const MSG& msg);
// Right and middle button messages.
bool IsOtherButton(UINT msg);
// The mouse position of a message of the capture window, on the screen.
Point ScreenPoint(HWND window, LPARAM lParam);
// The mouse position of a message, in the window's client coordinates.
Point ClientPoint(LPARAM lParam);

// Floating windows among the desktop's.
// Messages after which a form may stand over the windows it owns: its
// activation, its enabling at the end of a modal loop, the end of any modal
// call (a common dialog, a message box), a change of its place in the z-order.
bool MayRaiseOverOwned(UINT msg, WPARAM wParam, LPARAM lParam);
// The window a floating window goes directly below to be above `form`: the
// first window above the form that the form does not own (HWND_TOP when
// there is none, or when the form is the active window).
HWND ZOrderPlaceAbove(HWND form);
// The first visible, enabled top-level window of the thread other than
// `except` and the application window, preferring those not top-most.
HWND FindActivatableTopWindow(HWND except, HWND application);

}  // namespace sorv::toolbar
