#include "wordcap_paint_win.h"

#include "application.h"
#include "canvas.h"
#include "win_geometry.h"

namespace sorv::caption {
namespace {

constexpr UINT kMeasure = DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr UINT kDraw = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;

UINT FrameControlState(const PlacedButton& button) {
    UINT state = 0;
    switch (button.image) {
        case ButtonImage::Close: state = DFCS_CAPTIONCLOSE; break;
        case ButtonImage::Minimize: state = DFCS_CAPTIONMIN; break;
        case ButtonImage::Maximize: state = DFCS_CAPTIONMAX; break;
        case ButtonImage::Restore: state = DFCS_CAPTIONRESTORE; break;
        case ButtonImage::Help: state = DFCS_CAPTIONHELP; break;
    }
    return button.inactive ? state | DFCS_INACTIVE : state;
}

HICON IconOf(HWND window) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = tk::App().Icon();
    if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
    return icon;
}

}  // namespace

void PaintBackground(HDC dc, const FrameState& frame, const Rect& covered, const Rect& textRect,
                     const std::vector<Band>& bands, RgbColour coveredColour) {
    tk::Canvas canvas(dc);
    if (frame.newLook) canvas.FillRect(covered, coveredColour.value);
    for (const Band& band : bands)
        canvas.FillRect({band.left, textRect.top, band.right, textRect.bottom}, band.color.value);
}

void DrawWindowIcon(HDC dc, HWND window, const Rect& at) {
    const HICON icon = IconOf(window);
    // The small image of the icon's resource when it has one, else a scaled copy.
    tk::IconHandle copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, at.Width(), at.Height(), LR_COPYFROMRESOURCE)));
    if (!copy) copy.reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, at.Width(), at.Height(), 0)));
    DrawIconEx(dc, at.left, at.top, copy ? copy.get() : icon, at.Width(), at.Height(), 0, nullptr, DI_NORMAL);
}

void DrawCaptionButtons(HDC dc, const std::vector<PlacedButton>& buttons) {
    for (const PlacedButton& button : buttons) {
        RECT r = ToRECT(button.rect);
        DrawFrameControl(dc, &r, DFC_CAPTION, FrameControlState(button));
    }
}

int MeasureText(HDC dc, HFONT font, std::string_view text, const Rect& area) {
    tk::Canvas canvas(dc);
    canvas.SetFont(font);
    Rect measured = area;
    canvas.DrawText(text, measured, kMeasure, 0);
    return measured.Width();
}

void DrawPartText(HDC dc, HFONT font, std::string_view text, const Rect& area, COLORREF colour) {
    tk::Canvas canvas(dc);
    canvas.SetFont(font);
    Rect r = area;
    canvas.DrawText(text, r, kDraw, colour);
}

tk::RegionHandle FrameUpdateRegion(HWND window, WPARAM updateRegion, const Rect& covered) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    tk::RegionHandle region(CreateRectRgnIndirect(&bounds));
    if (updateRegion != 1 &&
        CombineRgn(region.get(), reinterpret_cast<HRGN>(updateRegion), nullptr, RGN_COPY) == ERROR)
        SetRectRgn(region.get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
    if (!covered.IsEmpty()) {
        const RECT painted = ToRECT(covered.Offset(bounds.left, bounds.top));
        const tk::RegionHandle cut(CreateRectRgnIndirect(&painted));
        CombineRgn(region.get(), region.get(), cut.get(), RGN_DIFF);
    }
    return region;
}

}  // namespace sorv::caption
