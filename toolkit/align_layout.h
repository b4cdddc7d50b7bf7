#pragma once
// Controls aligned to a container's edges: docks, the progress bar.
#include <vector>

#include "geometry.h"

namespace sorv::tk {

enum class Align { None, Top, Bottom, Left, Right, Client };

struct AlignItem {
    Align align;
    Rect bounds;  // current bounds in the container's client coordinates
};

// New bounds for each item, in the items' order. Top items are stacked from
// the top edge in the order of their current tops, bottom items from the
// bottom edge starting with the lowest, then left and right items in the
// remaining height, and a client item takes what is left. Items that are not
// aligned keep their bounds.
std::vector<Rect> LayoutAligned(Rect client, const std::vector<AlignItem>& items);

}  // namespace sorv::tk
