#include "tb97_frame_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "tb97_dock_rules.h"

namespace sorv::toolbar {

int DragHandleSize(TDragHandleStyle style) {
    switch (style) {
        case TDragHandleStyle::dhDouble: return 9;
        case TDragHandleStyle::dhSingle: return 6;
        default: return 0;
    }
}

Insets DockedFrame(DockKind kind, bool allowDrag, TDragHandleStyle style) {
    Insets frame{kDockedBorder, kDockedBorder, kDockedBorder, kDockedBorder};
    if (!allowDrag) return frame;
    if (kind == DockKind::dkHorizontal) frame.left += DragHandleSize(style);
    if (kind == DockKind::dkVertical) frame.top += DragHandleSize(style);
    return frame;
}

int CaptionHeight(int systemMajorVersion, int smallCaptionMetric, int captionMetric) {
    return systemMajorVersion >= 4 ? smallCaptionMetric : captionMetric - 1;
}

Insets FloatingFrame(Size border, int captionHeight) {
    return {border.cx, border.cy + captionHeight, border.cx, border.cy};
}

Rect FloatingCaptionRect(Size border, int clientWidth, int captionHeight, bool closeButton) {
    const int width = clientWidth - (closeButton ? captionHeight - 1 : 0);
    return Rect::FromOrigin({border.cx, border.cy}, {width, captionHeight - 1});
}

Rect CloseButtonRect(Size border, int clientWidth, int captionHeight) {
    const int side = captionHeight - 1;
    return Rect::FromOrigin({border.cx + clientWidth - side, border.cy}, {side, side});
}

FrameHit HitTestFloating(const FloatingHitTest& frame, Point p) {
    const Insets insets = FloatingFrame(frame.border, frame.captionHeight);
    const int clientWidth = frame.window.cx - insets.left - insets.right;
    const Rect client{insets.left, insets.top, frame.window.cx - insets.right, frame.window.cy - insets.bottom};
    if (client.Contains(p)) return FrameHit::Client;
    if (FloatingCaptionRect(frame.border, clientWidth, frame.captionHeight, false).Contains(p)) {
        const bool onClose =
            frame.closeButton && CloseButtonRect(frame.border, clientWidth, frame.captionHeight).Contains(p);
        return onClose ? FrameHit::Close : FrameHit::Client;
    }
    if (!frame.resizable) return FrameHit::Nowhere;

    const int w = frame.window.cx;
    const int h = frame.window.cy;
    const bool top = p.y >= 0 && p.y < frame.border.cy;
    const bool bottom = p.y >= h - frame.border.cy - 1 && p.y < h;
    const bool left = p.x >= 0 && p.x < frame.border.cx;
    const bool right = p.x >= w - frame.border.cx - 1 && p.x < w;
    if (!frame.eightWay) {
        if (top) return FrameHit::Top;
        if (bottom) return FrameHit::Bottom;
        if (left) return FrameHit::Left;
        if (right) return FrameHit::Right;
        return FrameHit::Nowhere;
    }
    // Near either end of an edge the corner is meant.
    const int corner = frame.captionHeight - 1 + frame.border.cx;
    const auto along = [corner](int at, int length, FrameHit low, FrameHit middle, FrameHit high) {
        if (at < corner) return low;
        if (at >= length - corner) return high;
        return middle;
    };
    if (left) return along(p.y, h, FrameHit::TopLeft, FrameHit::Left, FrameHit::BottomLeft);
    if (right) return along(p.y, h, FrameHit::TopRight, FrameHit::Right, FrameHit::BottomRight);
    if (top) return along(p.x, w, FrameHit::TopLeft, FrameHit::Top, FrameHit::TopRight);
    if (bottom) return along(p.x, w, FrameHit::BottomLeft, FrameHit::Bottom, FrameHit::BottomRight);
    return FrameHit::Nowhere;
}

std::vector<HandlePart> DragHandleParts(DockKind kind, TDragHandleStyle style, Size clientSize) {
    std::vector<HandlePart> parts;
    if (style == TDragHandleStyle::dhNone || kind == DockKind::dkFloating) return parts;
    const bool vertical = kind == DockKind::dkVertical;
    // Strips run across the handle from `from` to `to` along the bar's edge.
    const int along = vertical ? clientSize.cx : clientSize.cy;
    const auto strip = [&](HandlePart::Kind partKind, int from, int to) {
        HandlePart part;
        part.kind = partKind;
        part.rect = vertical ? Rect{kDockedBorder, from, along + kDockedBorder, to}
                             : Rect{from, kDockedBorder, to, along + kDockedBorder};
        part.endPixel = vertical ? Point{along + 1, from} : Point{from, along + 1};
        parts.push_back(part);
    };
    strip(HandlePart::Kind::Background, 2, 4);
    strip(HandlePart::Kind::Grip, 4, 7);
    int end = 7;
    if (style == TDragHandleStyle::dhDouble) {
        strip(HandlePart::Kind::Grip, 7, 10);
        end = 10;
    }
    strip(HandlePart::Kind::Background, end, end + 1);
    return parts;
}

namespace {

// Removes the last character (a whole UTF-8 sequence) of `text`.
void DropLastCharacter(std::string& text) {
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((last & 0xC0) != 0x80) return;
    }
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace

std::string FitCaption(std::string_view text, int width, const std::function<int(std::string_view)>& measure) {
    if (measure(text) <= width) return std::string(text);
    std::string kept(text);
    const std::string_view dots = "...";
    while (CharacterCount(kept) + dots.size() > 4 && measure(kept + std::string(dots)) > width) DropLastCharacter(kept);
    return kept + std::string(dots);
}

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

namespace {

std::int64_t Area(const Rect& r) { return r.IsEmpty() ? 0 : static_cast<std::int64_t>(r.Width()) * r.Height(); }

// The squared distance between two rectangles that do not meet (0 when they do).
std::int64_t Distance(const Rect& a, const Rect& b) {
    const std::int64_t dx = std::max({0, a.left - b.right, b.left - a.right});
    const std::int64_t dy = std::max({0, a.top - b.bottom, b.top - a.bottom});
    return dx * dx + dy * dy;
}

const MonitorArea* Nearest(const std::vector<MonitorArea>& monitors, const Rect& window) {
    const MonitorArea* nearest = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const MonitorArea& m : monitors) {
        const std::int64_t d = Distance(m.monitor, window);
        if (d < best) {
            best = d;
            nearest = &m;
        }
    }
    return nearest;
}

}  // namespace

Rect WorkAreaAt(const std::vector<MonitorArea>& monitors, Point point, const Rect& fallback) {
    for (const MonitorArea& m : monitors)
        if (m.monitor.Contains(point)) return m.workArea;
    const MonitorArea* nearest = Nearest(monitors, Rect::FromOrigin(point, {1, 1}));
    return nearest ? nearest->workArea : fallback;
}

Rect WorkAreaFor(const std::vector<MonitorArea>& monitors, const Rect& window, const Rect& fallback) {
    const MonitorArea* most = nullptr;
    std::int64_t best = 0;
    for (const MonitorArea& m : monitors) {
        const std::int64_t shared = Area(Intersect(m.monitor, window));
        if (shared > best) {
            best = shared;
            most = &m;
        }
    }
    if (!most) most = Nearest(monitors, window);
    return most ? most->workArea : fallback;
}

}  // namespace sorv::toolbar
