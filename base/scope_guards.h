#pragma once
#include <utility>

namespace sorv {

// Runs an action on every way out of a scope, failures included (the
// progress bar put back to 0 after an I/O error, for one). The action must
// not throw: an error is already on its way, or the work is done.
template <typename Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ~ScopeExit() {
        try {
            action_();
        } catch (...) {
        }
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action action_;
};

// Sets a flag for the life of a scope and clears it on every way out,
// failures included, so Busy and the running-flow mark never stick.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// Raises a depth counter for the life of a scope (an update, a nested
// loop) and lowers it on every way out, so a failure never leaves it raised.
class CounterScope {
public:
    explicit CounterScope(int& counter) : counter_(counter) { ++counter_; }
    ~CounterScope() { --counter_; }
    CounterScope(const CounterScope&) = delete;
    CounterScope& operator=(const CounterScope&) = delete;

private:
    int& counter_;
};

}  // namespace sorv
