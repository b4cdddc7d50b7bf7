#include "screen_scopes.h"

#include "win_geometry.h"

namespace sorv::tk {

DesktopOutlineDc::DesktopOutlineDc()
    : desktop_(GetDesktopWindow()),
      locked_(LockWindowUpdate(desktop_) != FALSE),
      dc_(GetDCEx(desktop_, nullptr, DCX_WINDOW | DCX_CACHE | (locked_ ? DCX_LOCKWINDOWUPDATE : 0))) {}

DesktopOutlineDc::~DesktopOutlineDc() {
    if (dc_) ReleaseDC(desktop_, dc_);
    if (locked_) LockWindowUpdate(nullptr);
}

CursorClip::CursorClip(const Rect& screen) : saved_(GetClipCursor(&previous_) != FALSE) {
    const RECT r = ToRECT(screen);
    ClipCursor(&r);
}

CursorClip::~CursorClip() { ClipCursor(saved_ ? &previous_ : nullptr); }

}  // namespace sorv::tk
