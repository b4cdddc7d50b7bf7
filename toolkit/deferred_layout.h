#pragma once
// The one way a container's layout is asked for. Callers only request it;
// it runs at once unless an update is open, else when the outermost update
// ends. A request that arrives while the layout runs (a placed child
// changing its container's size, a bar changing its dock's rows) runs it
// again afterwards, as long as requests come. A layout that never settles
// is a fault: a debug build stops on an assertion after kDebugPassLimit
// passes of one run; a release build runs it while it is requested.
#include <functional>

#include "scope_guards.h"

namespace sorv::tk {

class DeferredLayout {
public:
    // Debug builds only: the passes one run may take before the layout is
    // taken for one that never settles (two containers that keep asking
    // each other for a new size). Real layouts take two or three.
    static constexpr int kDebugPassLimit = 1000;

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
