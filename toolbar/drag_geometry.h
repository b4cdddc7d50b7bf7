#pragma once
// The geometry of dragging a bar: the outline that follows the cursor, which
// dock accepts it, where it lands in a dock, keeping a floating window on
// screen, and resizing a floating window by its frame.
#include <optional>
#include <vector>

#include "dock_types.h"
#include "frame_geometry.h"
#include "geometry.h"

namespace sorv::dock {

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

}  // namespace sorv::dock
