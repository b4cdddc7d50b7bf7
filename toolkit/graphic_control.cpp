#include "graphic_control.h"

#include <algorithm>

#include "win_geometry.h"
#include "window.h"

namespace sorv::tk {

GraphicControl::GraphicControl(Window& parent, Rect bounds, std::string name)
    : parent_(parent), name_(std::move(name)), bounds_(bounds) {
    parent_.graphics_.push_back(this);
    parent_.GraphicEntered(*this);
    Invalidate();
}

GraphicControl::~GraphicControl() {
    std::erase(parent_.graphics_, this);
    if (parent_.mouseGraphic_ == this) parent_.mouseGraphic_ = nullptr;
    parent_.GraphicLeft(*this);
    Invalidate();
}

void GraphicControl::SetBounds(Rect bounds) {
    if (bounds == bounds_) return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void GraphicControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (!visible) parent_.CancelPress(*this);
    Invalidate();
}

void GraphicControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!enabled) parent_.CancelPress(*this);
    EnabledChanged();
    Invalidate();
}

void GraphicControl::Invalidate(bool erase) const {
    if (!parent_.Handle()) return;
    const RECT r = ToRECT(bounds_);
    InvalidateRect(parent_.Handle(), &r, erase ? TRUE : FALSE);
}

bool GraphicControl::Pressed() const { return parent_.mouseGraphic_ == this; }

}  // namespace sorv::tk
