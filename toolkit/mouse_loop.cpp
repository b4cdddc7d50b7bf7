#include "mouse_loop.h"

#include "scope_guards.h"

namespace sorv::tk {

bool RunMouseLoop(HWND window, const std::function<LoopStep(const MSG& msg)>& handler) {
    SetCapture(window);
    const ScopeExit release([window] {
        if (GetCapture() == window) ReleaseCapture();
    });

    MSG msg;
    while (GetCapture() == window) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) return false;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        switch (handler(msg)) {
            case LoopStep::Continue: break;
            case LoopStep::Dispatch:
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                break;
            case LoopStep::Accept: return true;
            case LoopStep::Cancel: return false;
        }
    }
    return false;
}

}  // namespace sorv::tk
