#pragma once
// The program's private window messages, all in one place so that no two
// collide. Each says who sends it, to whom, and why.
#include <windows.h>

namespace sorv::tk {

// Posted by a form's gradient caption to the application's hidden window
// when the form's window is destroyed to be made anew; lParam is the
// caption, which hooks the new window when the message arrives (the new
// handle does not exist yet at WM_DESTROY).
inline constexpr UINT WM_CAPTIONREHOOK = 0x498C;

// Posted by a docked tool window to itself to repaint its frame; pending
// ones are removed before each post, so a burst of requests paints once.
inline constexpr UINT kDockedFrameRepaintMessage = 6063;

// Posted by a form to itself when it becomes the program's active form: its
// activation event runs once the window manager has finished activating it,
// or before the first input that reaches it, whichever comes first.
inline constexpr UINT kFormActivateMessage = WM_APP + 0x10;

// Sent by a modal scope, once its modal window (a form of ours, a common
// dialog, a message box) has gone and the activation is back, to each
// visible top-level window of the thread: the system may have raised a
// window over those it owns, which they put back above it.
inline constexpr UINT kModalEndedMessage = WM_APP + 0x11;

static_assert(WM_CAPTIONREHOOK >= WM_USER && kDockedFrameRepaintMessage >= WM_USER,
              "private messages stay clear of the system's");
static_assert(WM_CAPTIONREHOOK != kDockedFrameRepaintMessage && WM_CAPTIONREHOOK != kFormActivateMessage &&
              kDockedFrameRepaintMessage != kFormActivateMessage && kModalEndedMessage != kFormActivateMessage);

}  // namespace sorv::tk
