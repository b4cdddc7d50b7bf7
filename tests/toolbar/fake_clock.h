#pragma once
// A clock for the buttons' timers: time passes only when a test says so, and
// the timers due fire in their order.
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "tb97ctls_button_win.h"

namespace sorv::toolbar::test {

class FakeClock {
public:
    FakeClock() : saved_(ButtonTimers()) {
        ButtonTimers() = [this](unsigned interval, std::function<void()> onTick) {
            return std::unique_ptr<ButtonTimer>(std::make_unique<Timer>(*this, interval, std::move(onTick)));
        };
    }
    ~FakeClock() { ButtonTimers() = saved_; }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    unsigned Now() const { return now_; }
    // Moves time on by `ms`, firing every tick that falls within.
    void Advance(unsigned ms) {
        const unsigned end = now_ + ms;
        for (;;) {
            Timer* next = nullptr;
            for (Timer* timer : timers_) {
                if (timer->Enabled() && timer->due_ <= end && (!next || timer->due_ < next->due_)) next = timer;
            }
            if (!next) break;
            now_ = next->due_;
            next->due_ = now_ + next->interval_;
            const std::function<void()> tick = next->onTick_;
            tick();
        }
        now_ = end;
    }
    std::size_t RunningTimers() const {
        return static_cast<std::size_t>(
            std::count_if(timers_.begin(), timers_.end(), [](const Timer* t) { return t->Enabled(); }));
    }

private:
    class Timer : public ButtonTimer {
    public:
        Timer(FakeClock& clock, unsigned interval, std::function<void()> onTick)
            : clock_(clock), interval_(interval), onTick_(std::move(onTick)) {
            clock_.timers_.push_back(this);
        }
        ~Timer() override { std::erase(clock_.timers_, this); }
        bool Enabled() const override { return enabled_; }
        void SetEnabled(bool enabled) override {
            if (enabled && !enabled_) due_ = clock_.now_ + interval_;
            enabled_ = enabled;
        }
        void SetInterval(unsigned interval) override {
            interval_ = interval;
            due_ = clock_.now_ + interval_;
        }

    private:
        friend class FakeClock;
        FakeClock& clock_;
        unsigned interval_;
        std::function<void()> onTick_;
        bool enabled_ = false;
        unsigned due_ = 0;
    };

    ButtonTimerFactory saved_;
    std::vector<Timer*> timers_;
    unsigned now_ = 0;
};

}  // namespace sorv::toolbar::test
