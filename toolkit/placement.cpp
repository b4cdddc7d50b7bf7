#include "placement.h"

#include <algorithm>

namespace sorv::tk {
namespace {

int Within(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

}  // namespace

Point PlaceBeside(const Rect& owner, Size size, const Rect& workArea) {
    Point at{owner.left + (owner.Width() - size.cx) / 2, owner.top + (owner.Height() - size.cy) / 2};
    if (owner.right + size.cx <= workArea.right) {
        at = {owner.right, owner.top};
    } else if (owner.left - size.cx >= workArea.left) {
        at = {owner.left - size.cx, owner.top};
    }
    return {Within(at.x, size.cx, workArea.left, workArea.right), Within(at.y, size.cy, workArea.top, workArea.bottom)};
}

}  // namespace sorv::tk
