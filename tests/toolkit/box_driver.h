#pragma once
// Test help for modal windows: a timer that waits for a window of a given
// class to show up on this thread, then acts on it (reads it, presses its
// buttons) while the modal loop that shows it runs.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sorv::tk {
class Timer;
}

namespace sorv::test {

// What a message box shows.
struct BoxContents {
    std::wstring title;
    std::wstring text;
    std::vector<std::wstring> buttons;  // in creation order
    std::vector<int> buttonIds;
    HICON icon = nullptr;  // null when the box has none
    LONG_PTR defaultId = 0;
};

BoxContents ReadBox(HWND box);

// The first visible top-level window of this thread with that class.
HWND FindThreadWindow(const wchar_t* className);

class WhenWindowAppears {
public:
    WhenWindowAppears(const wchar_t* className, std::function<void(HWND)> action);
    ~WhenWindowAppears();
    int Count() const { return count_; }
    // Act on every appearance, not just the first.
    void Repeat() { repeat_ = true; }

private:
    std::wstring className_;
    std::function<void(HWND)> action_;
    std::unique_ptr<tk::Timer> timer_;
    HWND last_ = nullptr;
    int count_ = 0;
    bool repeat_ = false;
};

// Message boxes are dialogs of class #32770.
class WhenBoxAppears : public WhenWindowAppears {
public:
    explicit WhenBoxAppears(std::function<void(HWND)> action) : WhenWindowAppears(L"#32770", std::move(action)) {}
};

// Presses a dialog button the way a click does.
void Press(HWND dialog, int id);
// Posts a key press to the window that has the focus in `window`'s thread.
void PostKey(HWND target, WPARAM virtualKey);
// Lets pending messages run until `done` or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);

}  // namespace sorv::test
