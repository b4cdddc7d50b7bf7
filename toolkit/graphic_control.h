#pragma once
// A control without a window of its own (the tool-bar button, the About
// box's icon): its parent paints it and feeds it the mouse input that falls
// on it. A press, or the second press of a double click, gives the control
// the mouse until the button is released or the press is cancelled.
#include <windows.h>

#include <string>

#include "geometry.h"
#include "mouse.h"

namespace sorv::tk {

class Window;

class GraphicControl {
public:
    GraphicControl(Window& parent, Rect bounds, std::string name = {});
    virtual ~GraphicControl();
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;

    Window& Parent() const { return parent_; }
    const std::string& Name() const { return name_; }
    // The tip shown for the control.
    std::string Hint;

    // In the parent's client coordinates.
    Rect Bounds() const { return bounds_; }
    void SetBounds(Rect bounds);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // An opaque control paints all of its rectangle: its parent leaves that
    // part alone when it paints itself.
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool opaque) { opaque_ = opaque; }
    // Asks the parent to repaint this control's rectangle; without erasing,
    // the parent's background is not painted first (no flicker).
    void Invalidate(bool erase = true) const;
    // The control holds the mouse after a press.
    bool Pressed() const;

    // Draws with the origin at the control's top-left corner, clipped to it.
    virtual void Paint(HDC dc) = 0;
    // Coordinates relative to the control.
    virtual void MouseDown(const MouseEvent& /*event*/) {}
    virtual void MouseMove(const MouseEvent& /*event*/) {}
    virtual void MouseUp(const MouseEvent& /*event*/) {}
    // The press was cancelled (WM_CANCELMODE, the capture lost, the control
    // disabled or hidden): the mouse is no longer the control's.
    virtual void CancelMode() {}
    // After SetEnabled changed the state.
    virtual void EnabledChanged() {}
    // The system's colours changed (broadcast by the parent).
    virtual void SysColorChanged() {}

private:
    Window& parent_;
    std::string name_;
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    bool opaque_ = false;
};

}  // namespace sorv::tk
