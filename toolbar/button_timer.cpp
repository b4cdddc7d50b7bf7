#include "button_timer.h"

#include "timer.h"

namespace sorv {
namespace {

class ToolkitTimer : public ButtonTimer {
public:
    ToolkitTimer(unsigned intervalMs, std::function<void()> onTick) : timer_(intervalMs, std::move(onTick), false) {}
    bool Enabled() const override { return timer_.Enabled(); }
    void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }
    void SetInterval(unsigned intervalMs) override { timer_.SetInterval(intervalMs); }

private:
    tk::Timer timer_;
};

}  // namespace

ButtonTimerFactory& ButtonTimers() {
    static ButtonTimerFactory factory = [](unsigned intervalMs, std::function<void()> onTick) {
        return std::unique_ptr<ButtonTimer>(std::make_unique<ToolkitTimer>(intervalMs, std::move(onTick)));
    };
    return factory;
}

}  // namespace sorv
