#include "graphic_control.h"

#include <algorithm>

#include "window.h"

namespace sorv::tk {

GraphicControl::GraphicControl(Window& parent, RECT bounds) : parent_(parent), bounds_(bounds) {
    parent_.graphics_.push_back(this);
    Invalidate();
}

GraphicControl::~GraphicControl() {
    std::erase(parent_.graphics_, this);
    if (parent_.mouseGraphic_ == this) parent_.mouseGraphic_ = nullptr;
    Invalidate();
}

void GraphicControl::SetBounds(RECT bounds) {
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void GraphicControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Invalidate();
}

void GraphicControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Invalidate();
}

void GraphicControl::Invalidate() const {
    if (parent_.Handle()) InvalidateRect(parent_.Handle(), &bounds_, TRUE);
}

}  // namespace sorv::tk
