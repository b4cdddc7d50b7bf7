#include "unit2_controls_win.h"

#include "resource_ids.h"
#include "win_geometry.h"

namespace sorv {

namespace {

void Fill(HDC dc, const Rect& rect, int systemColor) {
    const RECT r = ToRECT(rect);
    if (!rect.IsEmpty()) FillRect(dc, &r, GetSysColorBrush(systemColor));
}

// One bevel: the first colour on the top row and left column, the second on
// the right column and bottom row, which take the corners they share.
void Frame(HDC dc, Rect& rect, Bevel bevel) {
    if (bevel == Bevel::None) return;
    const int upper = bevel == Bevel::Raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW;
    const int lower = bevel == Bevel::Raised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    Fill(dc, {rect.left, rect.top, rect.right - 1, rect.top + 1}, upper);
    Fill(dc, {rect.left, rect.top, rect.left + 1, rect.bottom - 1}, upper);
    Fill(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, lower);
    Fill(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, lower);
    rect = rect.Inflate(-1, -1);
}

}  // namespace

Rect DrawBevels(HDC dc, Rect rect, Bevel inner, Bevel outer) {
    Frame(dc, rect, outer);
    Frame(dc, rect, inner);
    return rect;
}

BevelPanel::BevelPanel(tk::Window& parent, std::string name, const Rect& bounds, Bevel inner, Bevel outer)
    : CustomControl(parent, std::move(name), bounds), inner_(inner), outer_(outer) {
    Create();
}

void BevelPanel::CreateParams(tk::ControlParams& params) const {
    CustomControl::CreateParams(params);
    params.windowClass.name = L"TPanel";
}

void BevelPanel::Paint(HDC dc, const Rect& /*updateRect*/) {
    Fill(dc, DrawBevels(dc, ClientRect(), inner_, outer_), COLOR_BTNFACE);
}

IconImage::IconImage(tk::Window& parent, Rect bounds, tk::IconHandle icon)
    : GraphicControl(parent, bounds), icon_(std::move(icon)) {}

void IconImage::Paint(HDC dc) {
    if (!icon_) return;
    DrawIconEx(dc, 0, 0, icon_.get(), Bounds().Width(), Bounds().Height(), 0, nullptr, DI_NORMAL);
}

tk::IconHandle LoadProgramIcon() {
    return tk::IconHandle(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(SORV_MAIN_ICON), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
}

}  // namespace sorv
