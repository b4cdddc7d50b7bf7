#pragma once
// Hooks of the user-interface thread (SetWindowsHookEx for this thread): one
// system hook per kind, installed while at least one ThreadHook of that kind
// lives. Callbacks see every event; exceptions in them are dropped, since
// nothing may unwind through the system's hook chain.
#include <windows.h>

#include <functional>

namespace sorv::tk {

class ThreadHook {
public:
    // kind: WH_CALLWNDPROC, WH_CBT or WH_GETMESSAGE.
    using Callback = std::function<void(int code, WPARAM wParam, LPARAM lParam)>;
    ThreadHook(int kind, Callback callback);
    ~ThreadHook();
    ThreadHook(const ThreadHook&) = delete;
    ThreadHook& operator=(const ThreadHook&) = delete;

    int Kind() const { return kind_; }

private:
    friend struct ThreadHookAccess;
    int kind_;
    Callback callback_;
};

}  // namespace sorv::tk
