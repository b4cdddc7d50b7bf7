#include "canvas.h"

#include "utf16.h"
#include "win_geometry.h"

namespace sorv::tk {

COLORREF ColorToRgb(TColor color) {
    if (color.IsSystem()) return GetSysColor(color.SystemIndex());
    return static_cast<COLORREF>(color.RgbValue());
}

void Canvas::FillRect(const Rect& rect, COLORREF color) {
    BrushHandle brush(CreateSolidBrush(color));
    FillRect(rect, brush.get());
}

void Canvas::FillRect(const Rect& rect, HBRUSH brush) {
    const RECT r = ToRECT(rect);
    ::FillRect(dc_, &r, brush);
}

void Canvas::FrameRect(const Rect& rect, COLORREF color) {
    BrushHandle brush(CreateSolidBrush(color));
    const RECT r = ToRECT(rect);
    ::FrameRect(dc_, &r, brush.get());
}

void Canvas::PatternFill(const Rect& rect, HBRUSH brush, DWORD rop) {
    const Selection selected(dc_, brush);
    PatBlt(dc_, rect.left, rect.top, rect.Width(), rect.Height(), rop);
}

void Canvas::Line(Point from, Point to, COLORREF color) {
    PenHandle pen(CreatePen(PS_SOLID, 1, color));
    const Selection selected(dc_, pen.get());
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x, to.y);
}

void Canvas::SetPixel(Point at, COLORREF color) { ::SetPixel(dc_, at.x, at.y, color); }

void Canvas::Polygon(const std::vector<Point>& points, COLORREF color) {
    std::vector<POINT> corners;
    corners.reserve(points.size());
    for (const Point& p : points) corners.push_back(ToPOINT(p));
    PenHandle pen(CreatePen(PS_SOLID, 1, color));
    BrushHandle brush(CreateSolidBrush(color));
    const Selection selectedPen(dc_, pen.get());
    const Selection selectedBrush(dc_, brush.get());
    ::Polygon(dc_, corners.data(), static_cast<int>(corners.size()));
}

Rect Canvas::DrawEdge(const Rect& rect, UINT edge, UINT flags) {
    RECT r = ToRECT(rect);
    ::DrawEdge(dc_, &r, edge, flags | BF_ADJUST);
    return FromRECT(r);
}

int Canvas::DrawText(std::string_view text, Rect& rect, UINT format, COLORREF color) {
    const std::wstring wide = Widen(text);
    SetTextColor(dc_, color);
    SetBkMode(dc_, TRANSPARENT);
    RECT r = ToRECT(rect);
    const int height = ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, format);
    rect = FromRECT(r);
    return height;
}

Size Canvas::TextExtent(std::string_view text) {
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
}

OffscreenBitmap::OffscreenBitmap(HDC compatibleWith, int width, int height)
    : dc_(CreateCompatibleDC(compatibleWith)), bitmap_(CreateCompatibleBitmap(compatibleWith, width, height)) {
    if (dc_ && bitmap_) previous_ = SelectObject(dc_.get(), bitmap_.get());
}

OffscreenBitmap::~OffscreenBitmap() {
    if (previous_) SelectObject(dc_.get(), previous_);
}

void OffscreenBitmap::CopyTo(HDC target, const Rect& rect) const {
    BitBlt(target, rect.left, rect.top, rect.Width(), rect.Height(), dc_.get(), rect.left, rect.top, SRCCOPY);
}

}  // namespace sorv::tk
