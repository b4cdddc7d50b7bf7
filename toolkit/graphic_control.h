#pragma once
// A control without a window of its own (the tool-bar button): its parent
// paints it and feeds it the mouse input that falls on it.
#include <windows.h>

#include "mouse.h"

namespace sorv::tk {

class Window;

class GraphicControl {
public:
    GraphicControl(Window& parent, RECT bounds);
    virtual ~GraphicControl();
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;

    Window& Parent() const { return parent_; }
    // In the parent's client coordinates.
    RECT Bounds() const { return bounds_; }
    void SetBounds(RECT bounds);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Asks the parent to repaint this control's rectangle.
    void Invalidate() const;

    // Draws with the origin at the control's top-left corner, clipped to it.
    virtual void Paint(HDC dc) = 0;
    // Coordinates relative to the control; the control keeps the mouse from
    // a button press until its release.
    virtual void MouseDown(MouseButton, int /*x*/, int /*y*/, WPARAM /*keys*/) {}
    virtual void MouseMove(int /*x*/, int /*y*/, WPARAM /*keys*/) {}
    virtual void MouseUp(MouseButton, int /*x*/, int /*y*/, WPARAM /*keys*/) {}
    virtual void DoubleClick(int /*x*/, int /*y*/, WPARAM /*keys*/) {}

private:
    Window& parent_;
    RECT bounds_;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace sorv::tk
