#pragma once
// Where a tool bar puts its buttons and separators: one line when docked,
// centred across the dock's row; when floating with a wrap width, lines broken
// before a group that does not fit (a 6-pixel gap that holds an etched line,
// the separator ending the line collapsed to nothing) and inside a group that
// is longer than the whole line. Plain data in, bounds out.
//
// Resizing a floating tool bar by one of its edges snaps from one wrapped
// layout to the next: the sizes it can take are listed when the resize
// starts, and each cursor move picks one of them. A dead zone round the
// current size keeps small tremors of the hand from changing anything.
#include <functional>
#include <optional>
#include <vector>

#include "geometry.h"

namespace sorv::toolbar {

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

enum class SizingEdge { Left, Right, Top, Bottom };

// The client size of the floating layout for a wrap width (0 = one line).
using MeasureFloating = std::function<Size(int floatRightX)>;

// Every distinct outer size (client plus `frame`) the bar takes for wrap
// widths from one line down to `thickness` + 8, a narrower width of the same
// height replacing the wider one; the one-line size comes first.
std::vector<Size> BuildSizeList(const MeasureFloating& measure, Size frame, int thickness);

// Largest first: by height for the top and bottom edges, else by width.
void SortSizeList(std::vector<Size>& sizes, SizingEdge edge);

// 12, or less so as not to reach the neighbours of the entry that equals
// `current` (the list sorted for `edge`); never below 0.
int DeadZone(const std::vector<Size>& sorted, SizingEdge edge, Size current);

class FloatingResize {
public:
    // `floatRightX`: the bar's wrap width when the resize starts.
    FloatingResize(const MeasureFloating& measure, Size frame, int thickness, SizingEdge edge, Size current,
                   int floatRightX);

    // The window rectangle for the cursor at `cursor` (screen), the window
    // being at `window`; `start` is its rectangle when the resize began.
    Rect Moved(Point cursor, const Rect& window, const Rect& start);
    // The wrap width of the last size chosen (0 for the one-line size).
    int ChosenFloatRightX() const { return chosenFloatRightX_; }
    const std::vector<Size>& Sizes() const { return sizes_; }
    int DeadZoneWidth() const { return deadZone_; }

private:
    bool ByHeight() const { return edge_ == SizingEdge::Top || edge_ == SizingEdge::Bottom; }

    SizingEdge edge_;
    Size frame_;
    std::vector<Size> sizes_;
    int deadZone_;
    int chosenFloatRightX_;
    bool changed_ = false;
    bool lastShrinking_ = false;
};

}  // namespace sorv::toolbar
