#include "drag_outline.h"

#include "handles.h"
#include "pattern_brush.h"

namespace sorv {
namespace {

// The rectangle less its inside (the rectangle shrunk by the thickness).
tk::RegionHandle FrameRegion(const std::optional<OutlineFrame>& frame) {
    tk::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    if (!frame || frame->rect.IsEmpty()) return region;
    const Rect& r = frame->rect;
    tk::RegionHandle outer(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    const Rect inside = Intersect(r.Inflate(-frame->thickness, -frame->thickness), r);
    tk::RegionHandle inner(CreateRectRgn(inside.left, inside.top, inside.right, inside.bottom));
    CombineRgn(region.get(), outer.get(), inner.get(), RGN_DIFF);
    return region;
}

}  // namespace

void DrawDragOutline(HDC dc, HBRUSH pattern, const std::optional<OutlineFrame>& newFrame,
                     const std::optional<OutlineFrame>& oldFrame) {
    tk::RegionHandle change = FrameRegion(newFrame);
    tk::RegionHandle before = FrameRegion(oldFrame);
    CombineRgn(change.get(), change.get(), before.get(), RGN_XOR);
    const int saved = SaveDC(dc);
    SelectClipRgn(dc, change.get());
    RECT box{};
    if (GetClipBox(dc, &box) != NULLREGION) {
        tk::Selection brush(dc, pattern);
        PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    }
    RestoreDC(dc, saved);
}

}  // namespace sorv

namespace sorv {

void PumpPendingPaints() {
    MSG msg;
    // Bounded: a window that never validates itself must not hang the drag.
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchMessageW(&msg);
    }
}

DesktopOutline::DesktopOutline() = default;

DesktopOutline::~DesktopOutline() { MoveTo(std::nullopt); }

void DesktopOutline::MoveTo(const std::optional<OutlineFrame>& next) {
    // Rows of 0x55 and 0xAA: every other pixel inverts.
    static const tk::PatternBrush checkerboard =
        tk::PatternBrush::Monochrome({0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA});
    if (desktop_) DrawDragOutline(desktop_.get(), checkerboard.get(), next, current_);
    current_ = next;
}

}  // namespace sorv
