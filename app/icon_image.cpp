#include "icon_image.h"

#include "resource_ids.h"

namespace sorv {

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
