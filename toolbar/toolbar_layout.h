#pragma once
// Where a tool bar puts its buttons and separators: one line when docked,
// centred across the dock's row; when floating with a wrap width, lines broken
// before a group that does not fit (a 6-pixel gap that holds an etched line,
// the separator ending the line collapsed to nothing) and inside a group that
// is longer than the whole line. Plain data in, bounds out.
#include <optional>
#include <vector>

#include "geometry.h"

namespace sorv::tb97 {

// One child of the bar, in layout order.
struct BarChild {
    bool separator = false;
    bool visible = true;
    Size size;          // a control's own size; the bar never changes it
    int sizeHorz = 6;   // a separator's length along a horizontal line
    int sizeVert = 6;   // along a vertical one
    bool blank = false; // a separator without etched line
};

struct BarPlacement {
    std::vector<BarChild> children;
    bool docked = false;
    bool vertical = false;  // docked in a left or right dock
    int floatRightX = 0;    // floating wrap width in client pixels, 0 = one line
    // The thickness of the bar's row when laid out in the dock it is in (the
    // row may be thicker than the bar); otherwise the bar's own thickness.
    std::optional<int> rowSize;
};

// A break between two lines of a floating bar: y of the new line, and whether
// the separator that ended the line before was blank (no etched line).
struct LineBreak {
    int y = 0;
    bool blank = false;
    friend bool operator==(const LineBreak&, const LineBreak&) = default;
};

struct BarLayout {
    Size client;
    // Per child, same order; none for the children that are not laid out.
    std::vector<std::optional<Rect>> bounds;
    std::vector<LineBreak> lineBreaks;
};

// The largest height (width across a vertical dock) of the visible controls,
// separators not counted; at least 8.
int MeasureThickness(const std::vector<BarChild>& children, bool vertical);

BarLayout PlaceChildren(const BarPlacement& placement);

}  // namespace sorv::tb97
