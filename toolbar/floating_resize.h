#pragma once
// Resizing a floating tool bar by one of its edges snaps from one wrapped
// layout to the next: the sizes it can take are listed when the resize
// starts, and each cursor move picks one of them. A dead zone round the
// current size keeps small tremors of the hand from changing anything.
#include <functional>
#include <vector>

#include "geometry.h"

namespace sorv::tb97 {

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

}  // namespace sorv::tb97
