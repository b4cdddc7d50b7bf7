#include "frame_paint.h"

#include "canvas.h"
#include "handles.h"
#include "utf16.h"
#include "win_geometry.h"

namespace sorv {
namespace {

void Fill(HDC dc, const RECT& r, COLORREF color) {
    tk::BrushHandle brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.get());
}

void Ring(HDC dc, const RECT& r, COLORREF color) {
    tk::BrushHandle brush(CreateSolidBrush(color));
    FrameRect(dc, &r, brush.get());
}

RECT Shrunk(RECT r, int by) {
    InflateRect(&r, -by, -by);
    return r;
}

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

void FillCaption(HDC dc, const RECT& r, bool active, bool gradient) {
    const COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    if (!gradient) {
        Fill(dc, r, from);
        return;
    }
    const COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    TRIVERTEX vertices[2] = {
        {r.left, r.top, static_cast<COLOR16>(GetRValue(from) << 8), static_cast<COLOR16>(GetGValue(from) << 8),
         static_cast<COLOR16>(GetBValue(from) << 8), 0},
        {r.right, r.bottom, static_cast<COLOR16>(GetRValue(to) << 8), static_cast<COLOR16>(GetGValue(to) << 8),
         static_cast<COLOR16>(GetBValue(to) << 8), 0},
    };
    GRADIENT_RECT span{0, 1};
    GradientFill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_H);
}

void DrawCaptionText(HDC dc, const RECT& captionRect, const std::string& text, bool active) {
    tk::FontHandle font = SmallCaptionFont();
    tk::Canvas canvas(dc);
    if (font) canvas.SetFont(font.get());
    RECT r = captionRect;
    InflateRect(&r, -1, 0);
    const std::string shown = dock::FitCaption(text, r.right - r.left,
                                               [&canvas](std::string_view part) { return canvas.TextExtent(part).cx; });
    canvas.DrawText(shown, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                    GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
}

}  // namespace

void DrawDockedFrame(HDC dc, const DockedFramePaint& frame) {
    const RECT whole{0, 0, frame.window.cx, frame.window.cy};
    const RECT client = ToRECT(frame.client);
    if (frame.raisedBorder) {
        RECT r = whole;
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    } else {
        Ring(dc, whole, frame.color);
    }
    const bool tiles = static_cast<bool>(frame.background);
    if (tiles)
        frame.background(dc, Shrunk(whole, 1), &client);
    else
        Ring(dc, Shrunk(whole, 1), frame.color);

    if (!frame.allowDrag) return;
    const Size clientSize = frame.client.Extent();
    for (const dock::HandlePart& part : dock::DragHandleParts(frame.kind, frame.handle, clientSize)) {
        RECT r = ToRECT(part.rect);
        if (part.kind == dock::HandlePart::Kind::Background) {
            if (!tiles) Fill(dc, r, frame.color);
            continue;
        }
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        SetPixel(dc, part.endPixel.x, part.endPixel.y, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
}

void DrawFloatingFrame(HDC dc, const FloatingFramePaint& frame, FloatingParts parts) {
    const Rect fullCaption = dock::FloatingCaptionRect(frame.border, frame.clientWidth, frame.captionHeight, false);
    const Rect closeRect = dock::CloseButtonRect(frame.border, frame.clientWidth, frame.captionHeight);
    const bool gradient = GradientCaptions();

    if (parts.border) {
        RECT whole{0, 0, frame.window.cx, frame.window.cy};
        DrawEdge(dc, &whole, EDGE_RAISED, BF_RECT);
        // Between the edge and the client area and caption.
        const dock::Insets insets = dock::FloatingFrame(frame.border, frame.captionHeight);
        const RECT client{insets.left, insets.top, frame.window.cx - insets.right, frame.window.cy - insets.bottom};
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        ExcludeClipRect(dc, fullCaption.left, fullCaption.top, fullCaption.right, fullCaption.bottom);
        Fill(dc, Shrunk(whole, 2), GetSysColor(COLOR_BTNFACE));
        RestoreDC(dc, saved);
    }
    if (parts.caption) {
        const int saved = SaveDC(dc);
        if (parts.closeButton) ExcludeClipRect(dc, closeRect.left, closeRect.top, closeRect.right, closeRect.bottom);
        const RECT caption =
            ToRECT(dock::FloatingCaptionRect(frame.border, frame.clientWidth, frame.captionHeight, frame.closeButton));
        FillCaption(dc, caption, frame.active, gradient);
        DrawCaptionText(dc, caption, frame.caption, frame.active);
        RestoreDC(dc, saved);
        Fill(dc, RECT{fullCaption.left, fullCaption.bottom, fullCaption.right, fullCaption.bottom + 1},
             GetSysColor(COLOR_BTNFACE));
    }
    if (frame.closeButton && parts.closeButton) {
        RECT glyph = Shrunk(ToRECT(closeRect), 1);
        DrawFrameControl(dc, &glyph, DFC_CAPTION, DFCS_CAPTIONCLOSE | (frame.closePressed ? DFCS_PUSHED : 0));
    }
    if (frame.closeButton && parts.caption) {
        const int ringColor = gradient ? (frame.active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION)
                                       : (frame.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        Ring(dc, ToRECT(closeRect), GetSysColor(ringColor));
    }
}

}  // namespace sorv
