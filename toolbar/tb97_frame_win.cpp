#include "tb97_frame_win.h"

#include <windows.h>
#include <windowsx.h>

#include "canvas.h"
#include "handles.h"
#include "pattern_brush.h"
#include "private_messages.h"
#include "win_geometry.h"

namespace sorv::toolbar {
namespace {

COLORREF System(int index) { return GetSysColor(index); }

bool GradientCaptions() {
    BOOL on = FALSE;
    return SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &on, 0) && on;
}

tk::FontHandle SmallCaptionFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
    return tk::FontHandle(CreateFontIndirectW(&metrics.lfSmCaptionFont));
}

COLOR16 Channel(BYTE value) { return static_cast<COLOR16>(value << 8); }

void FillCaption(tk::Canvas& canvas, const Rect& r, bool active, bool gradient) {
    const COLORREF from = System(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    if (!gradient) {
        canvas.FillRect(r, from);
        return;
    }
    const COLORREF to = System(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    TRIVERTEX vertices[2] = {
        {r.left, r.top, Channel(GetRValue(from)), Channel(GetGValue(from)), Channel(GetBValue(from)), 0},
        {r.right, r.bottom, Channel(GetRValue(to)), Channel(GetGValue(to)), Channel(GetBValue(to)), 0},
    };
    GRADIENT_RECT span{0, 1};
    GradientFill(canvas.Handle(), vertices, 2, &span, 1, GRADIENT_FILL_RECT_H);
}

void DrawCaptionText(tk::Canvas& canvas, const Rect& caption, const std::string& text, bool active) {
    tk::FontHandle font = SmallCaptionFont();
    // Deselected before the font is deleted: a selected font cannot be.
    const tk::Selection selected(canvas.Handle(), font.get());
    Rect r{caption.left + 1, caption.top, caption.right - 1, caption.bottom};
    const std::string shown = FitCaption(text, r.Width(),
                                               [&canvas](std::string_view part) { return canvas.TextExtent(part).cx; });
    canvas.DrawText(shown, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                    System(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
}

}  // namespace

void DrawDockedFrame(HDC dc, const DockedFramePaint& frame) {
    tk::Canvas canvas(dc);
    const Rect whole{0, 0, frame.window.cx, frame.window.cy};
    const Rect inner = whole.Inflate(-1, -1);
    if (frame.raisedBorder)
        canvas.DrawEdge(whole, BDR_RAISEDINNER, BF_RECT);
    else
        canvas.FrameRect(whole, frame.color);
    const bool tiles = static_cast<bool>(frame.background);
    if (tiles) {
        frame.background(dc, inner, &frame.client);
    } else {
        canvas.FrameRect(inner, frame.color);
    }

    if (!frame.allowDrag) return;
    for (const HandlePart& part : DragHandleParts(frame.kind, frame.handle, frame.client.Extent())) {
        if (part.kind == HandlePart::Kind::Background) {
            if (!tiles) canvas.FillRect(part.rect, frame.color);
            continue;
        }
        canvas.DrawEdge(part.rect, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        canvas.SetPixel(part.endPixel, System(COLOR_BTNHIGHLIGHT));
    }
}

void DrawFloatingFrame(HDC dc, const FloatingFramePaint& frame, FloatingParts parts) {
    const Rect fullCaption = FloatingCaptionRect(frame.border, frame.clientWidth, frame.captionHeight, false);
    const Rect closeRect = CloseButtonRect(frame.border, frame.clientWidth, frame.captionHeight);
    const bool gradient = GradientCaptions();

    if (parts.border) {
        tk::Canvas canvas(dc);
        const Rect whole{0, 0, frame.window.cx, frame.window.cy};
        canvas.DrawEdge(whole, EDGE_RAISED, BF_RECT);
        // Between the edge and the client area and caption.
        const Insets insets = FloatingFrame(frame.border, frame.captionHeight);
        const Rect client{insets.left, insets.top, whole.right - insets.right, whole.bottom - insets.bottom};
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        ExcludeClipRect(dc, fullCaption.left, fullCaption.top, fullCaption.right, fullCaption.bottom);
        canvas.FillRect(whole.Inflate(-2, -2), System(COLOR_BTNFACE));
    }
    if (parts.caption) {
        {
            tk::Canvas canvas(dc);
            if (parts.closeButton) ExcludeClipRect(dc, closeRect.left, closeRect.top, closeRect.right, closeRect.bottom);
            const Rect caption =
                FloatingCaptionRect(frame.border, frame.clientWidth, frame.captionHeight, frame.closeButton);
            FillCaption(canvas, caption, frame.active, gradient);
            DrawCaptionText(canvas, caption, frame.caption, frame.active);
        }
        tk::Canvas(dc).FillRect(Rect{fullCaption.left, fullCaption.bottom, fullCaption.right, fullCaption.bottom + 1},
                                System(COLOR_BTNFACE));
    }
    if (frame.closeButton && parts.closeButton) {
        RECT glyph{closeRect.left + 1, closeRect.top + 1, closeRect.right - 1, closeRect.bottom - 1};
        DrawFrameControl(dc, &glyph, DFC_CAPTION, DFCS_CAPTIONCLOSE | (frame.closePressed ? DFCS_PUSHED : 0));
    }
    if (frame.closeButton && parts.caption) {
        const int ring = gradient ? (frame.active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION)
                                  : (frame.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        tk::Canvas(dc).FrameRect(closeRect, System(ring));
    }
}

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
    // A window that painted under the outline meanwhile (a caption turning
    // active) is left half inverted once the outline is drawn away: what
    // lay under it paints anew.
    if (!next && current_) {
        const RECT under = ToRECT(current_->rect);
        RedrawWindow(nullptr, &under, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
    }
    current_ = next;
}

namespace {

// The whole primary screen, when the monitors cannot be read.
Rect WholeScreen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

std::vector<MonitorArea> MonitorAreas() {
    std::vector<MonitorArea> areas;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM param) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info))
                reinterpret_cast<std::vector<MonitorArea>*>(param)->push_back(
                    {FromRECT(info.rcMonitor), FromRECT(info.rcWork)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
    return areas;
}

Rect WorkAreaAt(Point point) { return WorkAreaAt(MonitorAreas(), point, WholeScreen()); }

Rect WorkAreaFor(const Rect& window) { return WorkAreaFor(MonitorAreas(), window, WholeScreen()); }

// Hit-test codes.

namespace {

struct HitCode {
    FrameHit hit;
    int code;
};
constexpr HitCode kHitCodes[] = {
    {FrameHit::Nowhere, HTNOWHERE},   {FrameHit::Client, HTCLIENT},
    {FrameHit::Close, HTCLOSE},       {FrameHit::Left, HTLEFT},
    {FrameHit::Right, HTRIGHT},       {FrameHit::Top, HTTOP},
    {FrameHit::Bottom, HTBOTTOM},     {FrameHit::TopLeft, HTTOPLEFT},
    {FrameHit::TopRight, HTTOPRIGHT}, {FrameHit::BottomLeft, HTBOTTOMLEFT},
    {FrameHit::BottomRight, HTBOTTOMRIGHT},
};

}  // namespace

int HitTestCode(FrameHit hit) {
    for (const HitCode& c : kHitCodes)
        if (c.hit == hit) return c.code;
    return HTNOWHERE;
}

FrameHit FrameHitOfCode(int hitTest) {
    for (const HitCode& c : kHitCodes)
        if (c.code == hitTest) return c.hit;
    return FrameHit::Nowhere;
}

// Messages of the modal mouse loops.

bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

std::optional<bool> ControlKeyDown(const MSG& msg) {
    if ((msg.message != WM_KEYDOWN && msg.message != WM_KEYUP) || msg.wParam != VK_CONTROL) return std::nullopt;
    return msg.message == WM_KEYDOWN;
}

bool IsOtherButton(UINT msg) {
    return msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN ||
           msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK;
}

Point ScreenPoint(HWND window, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &p);
    return FromPOINT(p);
}

Point ClientPoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// Floating windows among the desktop's.

namespace {

bool OwnedBy(HWND window, HWND owner) {
    for (HWND w = GetWindow(window, GW_OWNER); w; w = GetWindow(w, GW_OWNER))
        if (w == owner) return true;
    return false;
}

}  // namespace

bool MayRaiseOverOwned(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ACTIVATE: return LOWORD(wParam) != WA_INACTIVE;
        case WM_ENABLE: return wParam != 0;
        case tk::kModalEndedMessage: return true;
        case WM_WINDOWPOSCHANGED: return !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER);
        default: return false;
    }
}

HWND ZOrderPlaceAbove(HWND form) {
    // An active form is on top, or about to be: under Wine the X server
    // raises it when the focus goes in, and Wine learns of the new order
    // only later, so the order read here may still show the window it was
    // raised over.
    if (GetActiveWindow() == form) return HWND_TOP;
    for (HWND w = GetWindow(form, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (!OwnedBy(w, form)) return w;
    return HWND_TOP;
}

HWND FindActivatableTopWindow(HWND except, HWND application) {
    HWND topMost = nullptr;
    const DWORD thread = GetCurrentThreadId();
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == except || w == application || GetWindowThreadProcessId(w, nullptr) != thread) continue;
        if (!IsWindowVisible(w) || !IsWindowEnabled(w)) continue;
        if (!(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) return w;
        if (!topMost) topMost = w;
    }
    return topMost;
}

}  // namespace sorv::toolbar
