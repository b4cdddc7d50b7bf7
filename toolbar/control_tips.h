#pragma once
// Tooltips for windowless controls: one tooltip window per parent window,
// one tool per control, over the control's rectangle of the parent. A parent
// whose window was made again (a bar that docks or floats) gets its tools
// back the next time they are placed.
#include <windows.h>

#include <string>

namespace sorv {

class ControlTip {
public:
    ControlTip() = default;
    ~ControlTip() { Remove(); }
    ControlTip(const ControlTip&) = delete;
    ControlTip& operator=(const ControlTip&) = delete;

    // Shows `text` over `rect` of `parent`; an empty text removes the tool.
    void Place(HWND parent, const RECT& rect, const std::wstring& text);
    void Remove();
    // The tooltip window in use, for tests.
    HWND Window() const { return tip_; }

private:
    HWND parent_ = nullptr;
    HWND tip_ = nullptr;
    RECT rect_{};
    std::wstring text_;
};

}  // namespace sorv
