#pragma once
// A timer of the user-interface thread, firing while messages are handled
// (in the main loop, a modal loop or a message box).
#include <windows.h>

#include <functional>

namespace sorv::tk {

class Timer {
public:
    Timer(UINT intervalMs, std::function<void()> onTimer, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return id_ != 0; }
    void SetEnabled(bool enabled);
    void SetInterval(UINT intervalMs);
    // Points the timer at another handler (one shared timer serving several
    // owners in turn); a handler may change it while it runs.
    void SetHandler(std::function<void()> onTimer) { onTimer_ = std::move(onTimer); }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD);

    UINT interval_;
    std::function<void()> onTimer_;
    UINT_PTR id_ = 0;
};

}  // namespace sorv::tk
