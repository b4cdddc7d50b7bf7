#include "canvas.h"

#include "utf16.h"

namespace sorv::tk {

COLORREF ColorToRgb(std::uint32_t color) {
    if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

void Canvas::FillRect(const RECT& rect, COLORREF color) {
    BrushHandle brush(CreateSolidBrush(color));
    ::FillRect(dc_, &rect, brush.get());
}

void Canvas::FrameRect(const RECT& rect, COLORREF color) {
    BrushHandle brush(CreateSolidBrush(color));
    ::FrameRect(dc_, &rect, brush.get());
}

int Canvas::DrawText(std::string_view text, RECT& rect, UINT format, COLORREF color) {
    const std::wstring wide = Widen(text);
    SetTextColor(dc_, color);
    SetBkMode(dc_, TRANSPARENT);
    return ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

SIZE Canvas::TextExtent(std::string_view text) {
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

OffscreenBitmap::OffscreenBitmap(HDC compatibleWith, int width, int height)
    : dc_(CreateCompatibleDC(compatibleWith)), bitmap_(CreateCompatibleBitmap(compatibleWith, width, height)) {
    if (dc_ && bitmap_) previous_ = SelectObject(dc_.get(), bitmap_.get());
}

OffscreenBitmap::~OffscreenBitmap() {
    if (previous_) SelectObject(dc_.get(), previous_);
}

void OffscreenBitmap::CopyTo(HDC target, const RECT& rect) const {
    BitBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dc_.get(), rect.left, rect.top,
           SRCCOPY);
}

}  // namespace sorv::tk
