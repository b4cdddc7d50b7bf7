#pragma once
// Scopes over the whole screen for the modal mouse loops (dragging a bar's
// outline, resizing a floating window).
#include <windows.h>

#include "geometry.h"

namespace sorv::tk {

// A DC on the desktop window for drawing an outline over every window, with
// the desktop's updates locked meanwhile so that nothing repaints over it.
// At most one exists at a time (the platform locks one window only).
class DesktopOutlineDc {
public:
    DesktopOutlineDc();
    ~DesktopOutlineDc();
    DesktopOutlineDc(const DesktopOutlineDc&) = delete;
    DesktopOutlineDc& operator=(const DesktopOutlineDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND desktop_;
    bool locked_;
    HDC dc_;
};

// Keeps the cursor inside a screen rectangle; the previous confinement comes
// back at the end.
class CursorClip {
public:
    explicit CursorClip(const Rect& screen);
    ~CursorClip();
    CursorClip(const CursorClip&) = delete;
    CursorClip& operator=(const CursorClip&) = delete;

private:
    RECT previous_{};
    bool saved_;
};

}  // namespace sorv::tk
