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

}  // namespace sorv
