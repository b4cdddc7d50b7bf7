#include "floating_resize.h"

#include <algorithm>
#include <climits>

namespace sorv::tb97 {
namespace {

int Along(Size size, SizingEdge edge) {
    return edge == SizingEdge::Top || edge == SizingEdge::Bottom ? size.cy : size.cx;
}

Size Plus(Size a, Size b) { return {a.cx + b.cx, a.cy + b.cy}; }

}  // namespace

std::vector<Size> BuildSizeList(const MeasureFloating& measure, Size frame, int thickness) {
    const Size oneLine = measure(0);
    std::vector<Size> sizes{Plus(oneLine, frame)};
    int lastHeight = oneLine.cy;
    int skip = INT_MAX;
    for (int w = oneLine.cx - 1; w >= thickness + 8; --w) {
        if (skip < w) continue;
        const Size size = measure(w);
        if (size.cx != w) {
            // Every width down to the one this layout really takes gives it again.
            skip = size.cx;
            continue;
        }
        if (size.cy == lastHeight && !sizes.empty()) sizes.pop_back();
        const Size outer = Plus(size, frame);
        if (std::find(sizes.begin(), sizes.end(), outer) == sizes.end()) sizes.push_back(outer);
        lastHeight = size.cy;
    }
    return sizes;
}

void SortSizeList(std::vector<Size>& sizes, SizingEdge edge) {
    std::stable_sort(sizes.begin(), sizes.end(), [edge](Size a, Size b) { return Along(a, edge) > Along(b, edge); });
}

int DeadZone(const std::vector<Size>& sorted, SizingEdge edge, Size current) {
    const int now = Along(current, edge);
    int zone = 12;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (Along(sorted[i], edge) != now) continue;
        if (i > 0) zone = std::min(zone, Along(sorted[i - 1], edge) - now - 1);
        if (i + 1 < sorted.size()) zone = std::min(zone, now - Along(sorted[i + 1], edge) - 1);
        break;
    }
    return std::max(zone, 0);
}

FloatingResize::FloatingResize(const MeasureFloating& measure, Size frame, int thickness, SizingEdge edge,
                               Size current, int floatRightX)
    : edge_(edge), frame_(frame), sizes_(BuildSizeList(measure, frame, thickness)), chosenFloatRightX_(floatRightX) {
    SortSizeList(sizes_, edge_);
    deadZone_ = DeadZone(sizes_, edge_, current);
}

Rect FloatingResize::Moved(Point cursor, const Rect& window, const Rect& start) {
    const int current = ByHeight() ? window.Height() : window.Width();
    int reach = 0;  // where the cursor puts the moving edge, from the fixed one
    switch (edge_) {
        case SizingEdge::Right: reach = cursor.x - window.left; break;
        case SizingEdge::Left: reach = window.right - cursor.x; break;
        case SizingEdge::Bottom: reach = cursor.y - window.top; break;
        case SizingEdge::Top: reach = window.bottom - cursor.y; break;
    }
    const bool shrinking = reach < current;
    if (!changed_ || shrinking != lastShrinking_) {
        changed_ = false;
        lastShrinking_ = shrinking;
        if (reach >= current - deadZone_ && reach < current + deadZone_) reach = current;
    }
    const bool growing = reach > current;
    const auto along = [this](Size size) { return Along(size, edge_); };
    // Growing: the smallest size beyond the cursor (the largest if none is);
    // otherwise the largest size within it (the smallest if none is).
    std::size_t chosen = 0;
    if (growing) {
        for (std::size_t i = 0; i < sizes_.size(); ++i) {
            if (i == 0 || along(sizes_[i]) > reach) chosen = i;
        }
    } else {
        chosen = sizes_.size() - 1;
        for (std::size_t i = sizes_.size(); i-- > 0;) {
            if (i == sizes_.size() - 1 || along(sizes_[i]) <= reach) chosen = i;
        }
    }
    const Size size = sizes_[chosen];
    const bool oneLine = ByHeight() ? size.cy == sizes_.back().cy : size.cx == sizes_.front().cx;
    chosenFloatRightX_ = oneLine ? 0 : size.cx - frame_.cx;

    Rect rect = start;
    switch (edge_) {
        case SizingEdge::Right: rect.right = rect.left + size.cx; rect.bottom = rect.top + size.cy; break;
        case SizingEdge::Left: rect.left = rect.right - size.cx; rect.bottom = rect.top + size.cy; break;
        case SizingEdge::Bottom: rect.bottom = rect.top + size.cy; rect.right = rect.left + size.cx; break;
        case SizingEdge::Top: rect.top = rect.bottom - size.cy; rect.right = rect.left + size.cx; break;
    }
    changed_ = rect != start;
    return rect;
}

}  // namespace sorv::tb97
