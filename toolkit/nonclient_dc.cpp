#include "nonclient_dc.h"

namespace sorv::tk {

NonClientDc::NonClientDc(HWND window, HRGN update) : dc_(window, WindowDc::Area::Whole) {
    RECT r{};
    GetWindowRect(window, &r);
    bounds_ = {0, 0, r.right - r.left, r.bottom - r.top};
    if (!dc_) return;
    if (update) {
        RegionHandle clip(CreateRectRgn(0, 0, 0, 0));
        if (clip && CombineRgn(clip.get(), update, nullptr, RGN_COPY) != ERROR) {
            OffsetRgn(clip.get(), -r.left, -r.top);
            clippedToUpdate_ = SelectClipRgn(dc_.get(), clip.get()) != ERROR;
        }
    }
    if (!clippedToUpdate_) {
        RegionHandle whole(CreateRectRgn(0, 0, bounds_.right, bounds_.bottom));
        SelectClipRgn(dc_.get(), whole.get());
    }
}

}  // namespace sorv::tk
