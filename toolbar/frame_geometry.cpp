#include "frame_geometry.h"

namespace sorv::dock {

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

}  // namespace sorv::dock
