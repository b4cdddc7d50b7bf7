#pragma once
// A windowed control: on a standard Win32 class (Edit, Button, Static,
// msctls_progress32) or one of our own, child of a form or of another
// container window, which may change (a bar moving from a dock to the
// desktop).
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "align_layout.h"
#include "window.h"

namespace sorv::tk {

class Form;

class Control : public Window {
public:
    ~Control() override;

    const std::string& Name() const { return name_; }
    // Only for a control that has a parent.
    Window& Parent() const { return *parent_; }
    Window* ParentWindow() const override { return parent_; }
    // Moves the control to another parent's list (or none, where its window
    // waits unseen); both parents are told (ControlLeft, ControlEntered) and
    // an aligned control's old and new parents align again. The window
    // follows: moved, or made anew when its kind must change
    // (ReparentWindow).
    void SetParent(Window* parent);
    // The form the control sits on, through any containers.
    Form* OwnerForm() const;
    int Id() const { return id_; }

    // In the parent's client coordinates.
    Rect BoundsRect() const;
    int Left() const { return BoundsRect().left; }
    int Top() const { return BoundsRect().top; }
    int Width() const;
    int Height() const;
    void SetBounds(const Rect& bounds);
    Align GetAlign() const { return align_; }
    void SetAlign(Align align);

    std::string Text() const;
    void SetText(std::string_view text);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFocus();
    bool Focused() const;
    // Replaces the parent's font for this control.
    void SetControlFont(SharedFont font);

    // F1 on this control asks for this context; 0 defers to the parent.
    int HelpContext = 0;
    // The tip shown for the control.
    std::string Hint;
    // WM_CHAR: the key may be changed, or cleared (0) to swallow it. With the
    // form's KeyPreview, the form sees the key first.
    std::function<void(wchar_t& key)> OnKeyPress;

    // Notifications from the parent (WM_COMMAND, WM_CTLCOLOR*).
    virtual void HandleCommand(WORD /*code*/) {}
    virtual HBRUSH ControlColor(HDC /*dc*/) { return nullptr; }
    // Frames lie beneath the controls placed over them (siblings clip one
    // another); every other control keeps its creation order, the tab order.
    virtual bool LiesBeneathSiblings() const { return false; }
    // The arrow keys moved the focus here, among the controls of a group.
    virtual void FocusedByArrowKey() {}

protected:
    Control(Window& parent, std::string name, const Rect& bounds);
    // Where the next window of the control goes (its re-creation).
    void SetCreationBounds(const Rect& bounds) { initialBounds_ = bounds; }
    // After the font changed (auto-sized controls measure again).
    virtual void FontChanged() {}
    // WM_ENABLE: the control was enabled or disabled.
    virtual void EnabledChanged() {}
    // Puts the existing window under the new parent's window; a control
    // whose kind of window depends on its parent makes it anew instead.
    virtual void ReparentWindow();
    // Creates the control's window of a standard class and takes it over;
    // called by each kind's constructor.
    void CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, std::string_view text);
    // Creates the control's window of one of our own classes, bound to this
    // object from its first message. Without WS_CHILD the window is a pop-up
    // owned by the parent's window, placed on the screen.
    void CreateOwnControl(const WindowClass& windowClass, DWORD style, DWORD exStyle, std::string_view text);
    LRESULT HandleMessage(const Message& message) override;
    // The key after the form's preview and this control's handler.
    wchar_t RunKeyPress(wchar_t key);

private:
    void FinishCreation();

    Window* parent_;
    std::string name_;
    Rect initialBounds_;
    Align align_ = Align::None;
    int id_;
};

}  // namespace sorv::tk
