#pragma once
// The one way a container's layout is asked for. Callers only request it;
// it runs at once unless an update is open, else when the outermost update
// ends. A request that arrives while the layout runs (a placed child
// changing its container's size, a bar changing its dock's rows) runs it
// again afterwards, until no request comes: a layout that never settles is
// a fault, caught by an assertion in debug builds and cut short otherwise.
#include <functional>

#include "scope_guards.h"

namespace sorv::tk {

class DeferredLayout {
public:
    // More passes than any real layout takes: two containers that keep
    // asking each other for a new size.
    static constexpr int kMaxPasses = 16;

    explicit DeferredLayout(std::function<void()> layout) : layout_(std::move(layout)) {}
    DeferredLayout(const DeferredLayout&) = delete;
    DeferredLayout& operator=(const DeferredLayout&) = delete;

    void Request();
    void BeginUpdate() { ++depth_; }
    // Runs the layout asked for meanwhile when the outermost update ends.
    void EndUpdate();
    // An update is open or the layout is running: a request waits.
    bool Held() const { return depth_ > 0; }
    bool Requested() const { return requested_; }

private:
    void RunRequested();

    std::function<void()> layout_;
    int depth_ = 0;  // open updates, plus one while the layout runs
    bool requested_ = false;
};

// An update for the life of a scope, on a layout or on a window (none for a
// null pointer): the layouts asked for meanwhile run once when the outermost
// update ends, also when it ends by an error. As it ends in a destructor, a
// layout that fails then is dropped; the next request runs it again.
template <typename Target>
class LayoutUpdate {
public:
    explicit LayoutUpdate(Target& target) : LayoutUpdate(&target) {}
    explicit LayoutUpdate(Target* target) : end_(Begin(target)) {}

private:
    struct End {
        Target* target;
        void operator()() const {
            if (target) target->EndUpdate();
        }
    };
    static End Begin(Target* target) {
        if (target) target->BeginUpdate();
        return {target};
    }

    ScopeExit<End> end_;
};

}  // namespace sorv::tk
