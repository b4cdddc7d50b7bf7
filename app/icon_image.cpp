#include "icon_image.h"

#include "resource_ids.h"

namespace sorv {

IconImage::IconImage(tk::Window& parent, RECT bounds, tk::IconHandle icon)
    : GraphicControl(parent, bounds), icon_(std::move(icon)) {}

void IconImage::Paint(HDC dc) {
    if (!icon_) return;
    const RECT bounds = Bounds();
    DrawIconEx(dc, 0, 0, icon_.get(), bounds.right - bounds.left, bounds.bottom - bounds.top, 0, nullptr, DI_NORMAL);
}

tk::IconHandle LoadProgramIcon() {
    return tk::IconHandle(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(SORV_MAIN_ICON), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
}

}  // namespace sorv
