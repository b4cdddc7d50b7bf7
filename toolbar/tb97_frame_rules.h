#pragma once
// The frames a tool window draws and hit-tests itself: a 2-pixel border with
// a drag handle when docked, a sizing frame with a small caption and a close
// button when floating. Metrics, rectangles and hit codes only; the window
// reads the system metrics and paints.
//
// The geometry of dragging a bar: the outline that follows the cursor, which
// dock accepts it, where it lands in a dock, keeping a floating window on
// screen, and resizing a floating window by its frame.
//
// Which screen's work area a drag or a floating window is kept in, on a
// desktop of one or more monitors.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry.h"
#include "tb97_dock_rules.h"

namespace sorv::toolbar {

struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr Size Total() const { return {left + right, top + bottom}; }
    friend bool operator==(const Insets&, const Insets&) = default;
};

inline constexpr int kDockedBorder = 2;

// 9 pixels for two grip bars, 6 for one, 0 for none.
int DragHandleSize(TDragHandleStyle style);
// The docked frame: 2 pixels on every side, and the drag handle on the left
// (horizontal dock) or the top (vertical dock) of a dock that allows drags.
Insets DockedFrame(DockKind kind, bool allowDrag, TDragHandleStyle style);
// The small caption's height from the system metrics.
int CaptionHeight(int systemMajorVersion, int smallCaptionMetric, int captionMetric);
// The floating frame: the border, and the caption on top.
Insets FloatingFrame(Size border, int captionHeight);

// In window coordinates; clientWidth is the floating window's client width.
Rect FloatingCaptionRect(Size border, int clientWidth, int captionHeight, bool closeButton);
Rect CloseButtonRect(Size border, int clientWidth, int captionHeight);

enum class FrameHit { Nowhere, Client, Close, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

struct FloatingHitTest {
    Size window;  // the window's outer size
    Size border;
    int captionHeight = 0;
    bool closeButton = true;
    bool resizable = true;
    bool eightWay = false;
};
// What a point (window coordinates) of a floating window is: the caption
// answers as client area so that it drags the bar.
FrameHit HitTestFloating(const FloatingHitTest& frame, Point point);

struct HandlePart {
    enum class Kind { Background, Grip } kind = Kind::Background;
    Rect rect;         // window coordinates
    Point endPixel{};  // grip bars: the pixel drawn in the highlight colour
};
// The strips of a drag handle, for a bar docked with this client size.
std::vector<HandlePart> DragHandleParts(DockKind kind, TDragHandleStyle style, Size clientSize);

// The caption text as drawn in `width` pixels: a text too wide loses
// characters before an appended "..." until it fits or is 4 characters long.
std::string FitCaption(std::string_view text, int width, const std::function<int(std::string_view)>& measure);

// a x b / c rounded to the nearest integer, halves away from zero.
int MulDivRound(int a, int b, int c);

// The extent of a bar being dragged (its size less one); a bar 1 pixel wide
// or high has an extent of 1, not 0.
Size DragExtent(Size barSize);

// The outline of size `size` placed so that the cursor at `cursor` keeps the
// relative place where the bar (of extent `extent`) was grabbed (`grab`, in
// window coordinates).
Rect DragOutline(Point cursor, Size size, Point grab, Size extent);

struct DropCandidate {
    Rect bounds;  // the dock's window rectangle, on the screen
    TDockPosition position = TDockPosition::dpTop;
    Size outlineSize;  // the bar's outer size in that dock
};
// Whether the cursor is close enough to the dock for the bar to dock there.
bool CanDropOn(const DropCandidate& dock, Point cursor, Point grab, Size extent);

// Keeps a point inside an area (half-open: right and bottom are outside).
Point ClampInto(Point point, const Rect& area);

// A floating outline is kept near the work area, with at least 4 pixels of
// its caption inside it.
Rect ClampFloatingOutline(Rect outline, const Rect& workArea, Size border, int captionHeight);

struct DropPlacement {
    int dockRow = 0;
    int dockPos = 0;
    std::optional<int> insertRowAt;  // rows from this one move down first
};
// Where a bar dropped with this outline (in the dock's client coordinates)
// goes. `otherRows`: the rows of the dock's other bars.
DropPlacement PlaceDrop(const Rect& outline, TDockPosition position, const std::vector<int>& rowThickness,
                        int highestRow, bool fullSize, const std::vector<int>& otherRows);

// A floating window moved back onto the work area; with onlyWhenFullyOff, a
// window that still shows a part of itself stays where it is.
Rect KeepOnScreen(const Rect& bounds, const Rect& workArea, bool onlyWhenFullyOff);

struct ResizeSides {
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    friend bool operator==(const ResizeSides&, const ResizeSides&) = default;
};
ResizeSides SidesFor(FrameHit hit);
// The start rectangle with its dragged sides moved by the cursor's travel,
// never smaller than `minimum` (the dragged side gives way).
Rect ResizedRect(const Rect& start, ResizeSides sides, Point travel, Size minimum);

struct MonitorArea {
    Rect monitor;
    Rect workArea;
};

// The work area of the monitor holding the point, else of the nearest one;
// `fallback` when there is no monitor at all.
Rect WorkAreaAt(const std::vector<MonitorArea>& monitors, Point point, const Rect& fallback);
// The work area of the monitor holding most of the window, else of the
// nearest one.
Rect WorkAreaFor(const std::vector<MonitorArea>& monitors, const Rect& window, const Rect& fallback);

}  // namespace sorv::toolbar
