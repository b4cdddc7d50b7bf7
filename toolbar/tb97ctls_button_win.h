#pragma once
// Tooltips for windowless controls: one tooltip window per parent window,
// one tool per control, over the control's rectangle of the parent. A parent
// whose window was made again (a bar that docks or floats) gets its tools
// back the next time they are placed.
//
// The timers of the tool-bar buttons (hover tracking, auto-repeat), made
// through a factory that tests replace with a clock of their own.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "geometry.h"

namespace sorv::toolbar {

class ControlTip {
public:
    ControlTip() = default;
    ~ControlTip() { Remove(); }
    ControlTip(const ControlTip&) = delete;
    ControlTip& operator=(const ControlTip&) = delete;

    // Shows `text` over `rect` of `parent`; an empty text removes the tool.
    void Place(HWND parent, const Rect& rect, const std::wstring& text);
    void Remove();
    // An inactive tooltip window shows no tip, and hides the one it shows.
    // The setting holds for every tool of the parent's tooltip window.
    void SetActive(bool active);
    // Every tooltip window goes inactive (the program is no longer the
    // active one).
    static void DeactivateAll();
    // The tooltip window in use, for tests.
    HWND Window() const { return tip_; }

private:
    HWND parent_ = nullptr;
    HWND tip_ = nullptr;
    Rect rect_;
    std::wstring text_;
};

class ButtonTimer {
public:
    virtual ~ButtonTimer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // The next tick comes a whole interval after the change.
    virtual void SetInterval(unsigned intervalMs) = 0;
};

// Makes a timer, not running, that calls `onTick` every `intervalMs`.
using ButtonTimerFactory = std::function<std::unique_ptr<ButtonTimer>(unsigned intervalMs, std::function<void()> onTick)>;

// The factory in use: the toolkit's timers unless replaced.
ButtonTimerFactory& ButtonTimers();

}  // namespace sorv::toolbar
