#pragma once
// The DC for painting a window's frame (WM_NCPAINT): the whole window's DC,
// in window coordinates, clipped to the message's update region; when that
// region cannot be selected (wParam 1 means the whole frame), to the whole
// window.
#include <windows.h>

#include "geometry.h"
#include "handles.h"

namespace sorv::tk {

class NonClientDc {
public:
    // `update`: the region in screen coordinates, or null.
    NonClientDc(HWND window, HRGN update);
    NonClientDc(const NonClientDc&) = delete;
    NonClientDc& operator=(const NonClientDc&) = delete;

    HDC get() const { return dc_.get(); }
    explicit operator bool() const { return static_cast<bool>(dc_); }
    // The window with its origin at (0, 0).
    Rect Bounds() const { return bounds_; }
    // The update region was used (not the whole window).
    bool ClippedToUpdate() const { return clippedToUpdate_; }

private:
    WindowDc dc_;
    Rect bounds_;
    bool clippedToUpdate_ = false;
};

}  // namespace sorv::tk
