#include "deferred_layout.h"

#include <cassert>

namespace sorv::tk {

void DeferredLayout::Request() {
    requested_ = true;
    RunRequested();
}

void DeferredLayout::EndUpdate() {
    assert(depth_ > 0 && "an update ended that never began");
    if (depth_ > 0 && --depth_ == 0) RunRequested();
}

void DeferredLayout::RunRequested() {
    for ([[maybe_unused]] int pass = 1; requested_ && depth_ == 0; ++pass) {
        assert(pass <= kDebugPassLimit && "a layout that never settles");
        requested_ = false;
        const CounterScope running(depth_);
        layout_();
    }
}

}  // namespace sorv::tk
