#include "frame_paint.h"

#include "canvas.h"
#include "handles.h"

namespace sorv {
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
    if (font) canvas.SetFont(font.get());
    RECT r{caption.left + 1, caption.top, caption.right - 1, caption.bottom};
    const std::string shown = dock::FitCaption(text, r.right - r.left,
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
        const RECT area{inner.left, inner.top, inner.right, inner.bottom};
        const RECT client{frame.client.left, frame.client.top, frame.client.right, frame.client.bottom};
        frame.background(dc, area, &client);
    } else {
        canvas.FrameRect(inner, frame.color);
    }

    if (!frame.allowDrag) return;
    for (const dock::HandlePart& part : dock::DragHandleParts(frame.kind, frame.handle, frame.client.Extent())) {
        if (part.kind == dock::HandlePart::Kind::Background) {
            if (!tiles) canvas.FillRect(part.rect, frame.color);
            continue;
        }
        canvas.DrawEdge(part.rect, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        canvas.SetPixel(part.endPixel, System(COLOR_BTNHIGHLIGHT));
    }
}

void DrawFloatingFrame(HDC dc, const FloatingFramePaint& frame, FloatingParts parts) {
    const Rect fullCaption = dock::FloatingCaptionRect(frame.border, frame.clientWidth, frame.captionHeight, false);
    const Rect closeRect = dock::CloseButtonRect(frame.border, frame.clientWidth, frame.captionHeight);
    const bool gradient = GradientCaptions();

    if (parts.border) {
        tk::Canvas canvas(dc);
        const Rect whole{0, 0, frame.window.cx, frame.window.cy};
        canvas.DrawEdge(whole, EDGE_RAISED, BF_RECT);
        // Between the edge and the client area and caption.
        const dock::Insets insets = dock::FloatingFrame(frame.border, frame.captionHeight);
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
                dock::FloatingCaptionRect(frame.border, frame.clientWidth, frame.captionHeight, frame.closeButton);
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

}  // namespace sorv
