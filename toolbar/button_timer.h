#pragma once
// The timers of the tool-bar buttons (hover tracking, auto-repeat), made
// through a factory that tests replace with a clock of their own.
#include <functional>
#include <memory>

namespace sorv {

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

}  // namespace sorv
