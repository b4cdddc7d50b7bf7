#include "drag_geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "dock_layout.h"

namespace sorv::dock {

int MulDivRound(int a, int b, int c) {
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor == 0) return -1;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t quotient = product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
    return static_cast<int>(quotient);
}

Size DragExtent(Size barSize) { return {std::max(barSize.cx - 1, 1), std::max(barSize.cy - 1, 1)}; }

Rect DragOutline(Point cursor, Size size, Point grab, Size extent) {
    const int left = cursor.x - MulDivRound(size.cx - 1, grab.x, std::max(extent.cx, 1));
    const int top = cursor.y - MulDivRound(size.cy - 1, grab.y, std::max(extent.cy, 1));
    return Rect::FromOrigin({left, top}, size);
}

bool CanDropOn(const DropCandidate& dock, Point cursor, Point grab, Size extent) {
    Rect d = dock.bounds;
    if (d.Width() == 0 || d.Height() == 0) d = IsVertical(dock.position) ? d.Inflate(1, 0) : d.Inflate(0, 1);
    // The catch zone reaches further on the side of the bar the cursor holds.
    const int ax = MulDivRound(32, grab.x, std::max(extent.cx, 1));
    const int ay = MulDivRound(20, grab.y, std::max(extent.cy, 1));
    if (cursor.x < d.left - (32 - ax) || cursor.x > d.right - 1 + ax) return false;
    if (IsVertical(dock.position) && (cursor.y < d.top || cursor.y >= d.bottom)) return false;
    if (cursor.y < d.top - (20 - ay) || cursor.y > d.bottom - 1 + ay) return false;
    return !Intersect(DragOutline(cursor, dock.outlineSize, grab, extent), d).IsEmpty();
}

Point ClampInto(Point point, const Rect& area) {
    return {std::clamp(point.x, area.left, std::max(area.left, area.right - 1)),
            std::clamp(point.y, area.top, std::max(area.top, area.bottom - 1))};
}

Rect ClampFloatingOutline(Rect outline, const Rect& workArea, Size border, int captionHeight) {
    const Rect inner = workArea.Inflate(-(border.cx + 4), -(border.cy + 4));
    if (outline.bottom < inner.top) outline = outline.Offset(0, inner.top - outline.bottom);
    if (outline.top > inner.bottom) outline = outline.Offset(0, inner.bottom - outline.top);
    if (outline.right < inner.left) outline = outline.Offset(inner.left - outline.right, 0);
    if (outline.left > inner.right) outline = outline.Offset(inner.right - outline.left, 0);
    const int highest = workArea.top + 4 - border.cy - captionHeight;
    if (outline.top < highest) outline = outline.Offset(0, highest - outline.top);
    return outline;
}

DropPlacement PlaceDrop(const Rect& outline, TDockPosition position, const std::vector<int>& rowThickness,
                        int highestRow, bool fullSize, const std::vector<int>& otherRows) {
    const bool vertical = IsVertical(position);
    const int middle = vertical ? (outline.left + outline.right) / 2 : (outline.top + outline.bottom) / 2;
    const DropRow drop = DropRowAt(rowThickness, highestRow, middle);
    DropPlacement placement;
    placement.dockRow = drop.row;
    placement.dockPos = vertical ? outline.top : outline.left;
    if (drop.insertBefore) {
        placement.insertRowAt = drop.row;
    } else if (fullSize && std::count(otherRows.begin(), otherRows.end(), drop.row) > 0) {
        placement.dockRow = drop.row + 1;
        placement.insertRowAt = drop.row + 1;
    }
    return placement;
}

Rect KeepOnScreen(const Rect& bounds, const Rect& workArea, bool onlyWhenFullyOff) {
    if (onlyWhenFullyOff && !Intersect(bounds, workArea).IsEmpty()) return bounds;
    Rect r = bounds;
    if (r.right > workArea.right) r = r.Offset(workArea.right - r.right, 0);
    if (r.bottom > workArea.bottom) r = r.Offset(0, workArea.bottom - r.bottom);
    if (r.left < workArea.left) r = r.Offset(workArea.left - r.left, 0);
    if (r.top < workArea.top) r = r.Offset(0, workArea.top - r.top);
    return r;
}

ResizeSides SidesFor(FrameHit hit) {
    ResizeSides sides;
    sides.left = hit == FrameHit::Left || hit == FrameHit::TopLeft || hit == FrameHit::BottomLeft;
    sides.right = hit == FrameHit::Right || hit == FrameHit::TopRight || hit == FrameHit::BottomRight;
    sides.top = hit == FrameHit::Top || hit == FrameHit::TopLeft || hit == FrameHit::TopRight;
    sides.bottom = hit == FrameHit::Bottom || hit == FrameHit::BottomLeft || hit == FrameHit::BottomRight;
    return sides;
}

Rect ResizedRect(const Rect& start, ResizeSides sides, Point travel, Size minimum) {
    Rect r = start;
    if (sides.left) r.left += travel.x;
    if (sides.right) r.right += travel.x;
    if (sides.top) r.top += travel.y;
    if (sides.bottom) r.bottom += travel.y;
    if (r.Width() < minimum.cx) {
        if (sides.left)
            r.left = r.right - minimum.cx;
        else
            r.right = r.left + minimum.cx;
    }
    if (r.Height() < minimum.cy) {
        if (sides.top)
            r.top = r.bottom - minimum.cy;
        else
            r.bottom = r.top + minimum.cy;
    }
    return r;
}

}  // namespace sorv::dock
