#include "timer.h"

#include <map>
#include <stdexcept>

#include "guard.h"

namespace sorv::tk {
namespace {

std::map<UINT_PTR, Timer*>& Running() {
    static std::map<UINT_PTR, Timer*> timers;
    return timers;
}

}  // namespace

Timer::Timer(UINT intervalMs, std::function<void()> onTimer, bool enabled)
    : interval_(intervalMs), onTimer_(std::move(onTimer)) {
    SetEnabled(enabled);
}

Timer::~Timer() { SetEnabled(false); }

void Timer::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    if (enabled) {
        id_ = SetTimer(nullptr, 0, interval_, Fire);
        if (!id_) throw std::runtime_error("SetTimer failed");
        Running()[id_] = this;
    } else {
        KillTimer(nullptr, id_);
        Running().erase(id_);
        id_ = 0;
    }
}

void Timer::SetInterval(UINT intervalMs) {
    interval_ = intervalMs;
    if (Enabled()) {
        SetEnabled(false);
        SetEnabled(true);
    }
}

void CALLBACK Timer::Fire(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Running().find(id);
    if (it == Running().end() || !it->second->onTimer_) return;
    // A copy: the handler may destroy its timer.
    const std::function<void()> handler = it->second->onTimer_;
    Guard(handler);
}

}  // namespace sorv::tk
