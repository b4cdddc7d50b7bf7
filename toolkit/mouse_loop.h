#pragma once
// A modal mouse loop (dragging, resizing, pressing a caption button): the
// window holds the mouse capture while the handler looks at each message.
#include <windows.h>

#include <functional>

namespace sorv::tk {

enum class LoopStep {
    Continue,  // handled; go on
    Dispatch,  // not the handler's: handle it normally and go on
    Accept,    // end the loop, accepted
    Cancel,    // end the loop, cancelled
};

// Runs until the handler accepts or cancels; losing the capture cancels, and a
// quit message cancels and is posted again for the outer loop. True when
// accepted. The capture is released on every exit.
bool RunMouseLoop(HWND window, const std::function<LoopStep(const MSG& msg)>& handler);

}  // namespace sorv::tk
