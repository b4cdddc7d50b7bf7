#pragma once
// A windowed control of a class of our own that paints itself (panels,
// docks, tool windows). The most-derived class calls Create() at the end of
// its constructor, so that its overrides see the creation messages
// (WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE); the window's class and styles come
// from CreateParams, which is asked again whenever the window is made anew.
#include <string>

#include "control.h"

namespace sorv::tk {

struct ControlParams {
    WindowClass windowClass;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string caption;
};

class CustomControl : public Control {
public:
    // Makes the window again from what CreateParams says now (a bar leaving a
    // dock, where it is a child, for the desktop, where it is a pop-up). The
    // bounds, visibility, text, child windows and hooks carry over.
    void RecreateWindow();

protected:
    CustomControl(Window& parent, std::string name, const Rect& bounds);
    // Creates the window, once.
    void Create();
    // The defaults: class "TCustomControl" (double clicks, the button face
    // behind), a visible child window clipping its siblings and children.
    virtual void CreateParams(ControlParams& params) const;
    bool PaintsItself() const override { return true; }
    // The window is made anew when the new parent makes it another kind
    // (child or pop-up).
    void ReparentWindow() override;

private:
    ControlParams Params() const;
};

}  // namespace sorv::tk
