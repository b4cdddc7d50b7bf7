#pragma once
// A top-level window of the program: one C++ class per window, its controls
// as named members. The window class is registered under the form's class
// name (TForm1, TForm3...) so that tests and accessibility tools find it.
// Each form is created once, hidden, and shown normally or modally on demand.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "font.h"
#include "window.h"

namespace sorv::tk {

class Button;
class Component;
class Control;
class MainMenu;

enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };

struct BorderIcons {
    bool systemMenu = true;
    bool minimize = true;
    bool maximize = true;
    bool help = false;
};

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = IDOK;
inline constexpr int mrCancel = IDCANCEL;
inline constexpr int mrYes = IDYES;
inline constexpr int mrNo = IDNO;

struct FormDescription {
    std::string className;
    std::string caption;
    int clientWidth = 0;
    int clientHeight = 0;
    BorderStyle border = BorderStyle::Sizeable;
    BorderIcons icons;
    FontDescription font;
    int helpContext = 0;
    bool screenCenter = true;  // centred on the screen when first shown
};

class Form : public Window {
public:
    // The window is made at once, with the form's own handlers.
    explicit Form(FormDescription design);
    ~Form() override;

    const std::string& ClassName() const { return design_.className; }
    std::string Caption() const;
    void SetCaption(std::string_view caption);
    void SetClientSize(int width, int height);
    BorderStyle GetBorderStyle() const { return design_.border; }
    // Re-creates the window with the new style.
    void SetBorderStyle(BorderStyle border);
    const BorderIcons& GetBorderIcons() const { return design_.icons; }
    // Destroys the window and creates it again with the current style; the
    // controls, menu, owned windows and hooks carry over.
    void RecreateWindow();

    void Show();
    void Hide();
    bool Visible() const { return Handle() && IsWindowVisible(Handle()); }
    // Shows the form with the program's other windows disabled and runs a
    // nested message loop until a modal result is set or the form is closed.
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Modal: ends with mrCancel. The main form: ends the program. Others hide.
    // Nothing happens when OnCloseQuery says no.
    void Close();

    // The form shows the menu; the menu must outlive its use by the form.
    void SetMenu(MainMenu* menu);
    MainMenu* Menu() const { return menu_; }

    // Looks through the form's controls and their children.
    Control* FindControl(std::string_view name) const;
    Component* FindComponent(std::string_view name) const;
    void AddComponent(Component& component) { components_.push_back(&component); }
    void RemoveComponent(Component& component) { std::erase(components_, &component); }

    // Raised when the form becomes the program's active form; returning from
    // a modal window does not raise it again.
    std::function<void()> OnActivate;
    // Asked before the form closes (close box, Alt+F4, Close, the end of the
    // session); false keeps it.
    std::function<bool()> OnCloseQuery;
    // Keys typed on the form itself, and with KeyPreview on its controls too.
    std::function<void(wchar_t& key)> OnKeyPress;
    bool KeyPreview = false;
    std::string HelpFile;
    int HelpContext = 0;

    // Enter and Escape for the default and cancel buttons; false when the key
    // should go on as a character.
    bool HandleDialogKey(const MSG& msg);
    // Gives the default frame to the push button that has the focus, or,
    // with the focus elsewhere, to the default button; called as the focus
    // moves between the form's controls.
    void UpdateDefaultFrame();

protected:
    // For a form that answers creation messages itself (WM_NCCREATE,
    // WM_NCCALCSIZE, WM_CREATE...): no window until the most-derived
    // constructor calls Create().
    struct CreateLater {};
    Form(FormDescription design, CreateLater);
    void Create();

    LRESULT HandleMessage(const Message& message) override;
    LRESULT Activate(const Message& message, UINT state, bool minimized, HWND other) override;
    void InputArrives() override { RunPendingActivation(); }

private:
    DWORD Style() const;
    DWORD ExStyle() const;
    void CreateAt(int x, int y);
    void Centre();
    void RestoreFocus();
    void RunPendingActivation();
    Button* FindButton(bool defaultButton) const;

    FormDescription design_;
    std::vector<Component*> components_;
    MainMenu* menu_ = nullptr;
    HWND savedFocus_ = nullptr;
    bool shownOnce_ = false;
    bool modal_ = false;
    bool activationPending_ = false;  // the activation event is on its way
    int modalResult_ = mrNone;
};

}  // namespace sorv::tk
