#include "form.h"

#include <stdexcept>
#include <vector>

#include "application.h"
#include "buttons.h"
#include "component.h"
#include "control.h"
#include "menu.h"
#include "modal_scope.h"
#include "private_messages.h"
#include "scope_guards.h"
#include "utf16.h"

namespace sorv::tk {
namespace {

template <typename Match>
Control* FindIn(const std::vector<Control*>& controls, const Match& match) {
    for (Control* control : controls) {
        if (match(*control)) return control;
        if (Control* found = FindIn(control->Controls(), match)) return found;
    }
    return nullptr;
}

}  // namespace

Form::Form(FormDescription design) : Form(std::move(design), CreateLater{}) { Create(); }

Form::Form(FormDescription design, CreateLater) : design_(std::move(design)) {
    SetFont(MakeFont(design_.font));
    HelpContext = design_.helpContext;
}

void Form::Create() {
    if (Handle()) return;
    CreateAt(0, 0);
    App().AddForm(*this);
}

Form::~Form() {
    BeginDestroy();
    App().RemoveForm(*this);
    if (menu_ && Handle() && GetMenu(Handle()) == menu_->Handle()) ::SetMenu(Handle(), nullptr);
    if (menu_) menu_->window_ = nullptr;
    DestroyHandle();
}

DWORD Form::Style() const {
    DWORD style = WS_CLIPCHILDREN;
    switch (design_.border) {
        case BorderStyle::None: style |= WS_POPUP; break;
        case BorderStyle::Single:
        case BorderStyle::Dialog:
        case BorderStyle::ToolWindow: style |= WS_CAPTION; break;
        case BorderStyle::Sizeable:
        case BorderStyle::SizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    }
    if (design_.border == BorderStyle::None || !design_.icons.systemMenu) return style;
    style |= WS_SYSMENU;
    if (design_.border == BorderStyle::Single || design_.border == BorderStyle::Sizeable) {
        if (design_.icons.minimize) style |= WS_MINIMIZEBOX;
        if (design_.icons.maximize) style |= WS_MAXIMIZEBOX;
    }
    return style;
}

DWORD Form::ExStyle() const {
    DWORD style = 0;
    if (design_.border == BorderStyle::Dialog) style |= WS_EX_DLGMODALFRAME;
    if (design_.border == BorderStyle::ToolWindow || design_.border == BorderStyle::SizeToolWin)
        style |= WS_EX_TOOLWINDOW;
    const bool noBoxes = design_.border == BorderStyle::Dialog || (!design_.icons.minimize && !design_.icons.maximize);
    if (design_.icons.help && design_.icons.systemMenu && noBoxes) style |= WS_EX_CONTEXTHELP;
    return style;
}

void Form::CreateAt(int x, int y) {
    // Every form after the main one belongs to it: no task-bar button of its
    // own, and it stays above the main window.
    Form* main = App().MainForm();
    HWND owner = main && main != this ? main->Handle() : nullptr;
    // The program's icon through the class, not WM_SETICON: the system reads
    // a class icon when the window first shows, so a form that stays hidden
    // costs nothing for it (a window icon costs 4 ms a form under Wine).
    CreateHandle(WindowClass{Widen(design_.className), CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr,
                             App().Icon()},
                 WindowDescription{design_.caption, Style(), ExStyle(), x, y, 100, 100, owner});
    if (menu_) {
        ::SetMenu(Handle(), menu_->Handle());
        menu_->window_ = Handle();
    }
    SetClientSize(design_.clientWidth, design_.clientHeight);
}

std::string Form::Caption() const { return WindowText(); }

void Form::SetCaption(std::string_view caption) { ChangeWindowText(caption); }

void Form::SetClientSize(int width, int height) {
    design_.clientWidth = width;
    design_.clientHeight = height;
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, Style(), menu_ != nullptr, ExStyle());
    int outerWidth = r.right - r.left;
    int outerHeight = r.bottom - r.top;
    SetWindowPos(Handle(), nullptr, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps takes more than one line: correct by what is missing.
    const Size actual = ClientSize();
    if (actual.cx != width || actual.cy != height) {
        outerWidth += width - actual.cx;
        outerHeight += height - actual.cy;
        SetWindowPos(Handle(), nullptr, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (design_.screenCenter && !shownOnce_) Centre();
}

void Form::Centre() {
    const Size size = WindowRect().Extent();
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetBorderStyle(BorderStyle border) {
    if (design_.border == border) return;
    design_.border = border;
    RecreateWindow();
}

void Form::RecreateWindow() {
    if (!Handle()) return;
    const Rect r = WindowRect();
    const bool visible = IsWindowVisible(Handle()) != FALSE;
    const bool active = GetActiveWindow() == Handle();
    design_.caption = Caption();
    // The new window takes the menu back.
    if (menu_) ::SetMenu(Handle(), nullptr);
    RecreateHandle([&] {
        CreateAt(r.left, r.top);
        SetWindowPos(Handle(), nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    if (visible) ShowWindow(Handle(), active ? SW_SHOW : SW_SHOWNA);
}

void Form::Show() {
    if (!shownOnce_) {
        shownOnce_ = true;
        if (design_.screenCenter) Centre();
    }
    ShowWindow(Handle(), SW_SHOW);
}

void Form::Hide() { ShowWindow(Handle(), SW_HIDE); }

int Form::ShowModal() {
    if (modal_ || Visible()) throw std::logic_error("Impossible de rendre modale une fenêtre visible");
    ModalScope scope;
    const FlagScope modal(modal_);
    modalResult_ = mrNone;
    // Each showing starts on the first control, as the first one did: the
    // button that closed it last time must not take Enter this time.
    savedFocus_ = nullptr;
    Show();
    while (modalResult_ == mrNone) {
        if (!App().HandleMessage()) {
            modalResult_ = mrCancel;
            break;
        }
        if (modalResult_ == mrNone && !Visible()) modalResult_ = mrCancel;
    }
    modal_ = false;
    scope.EnableWindows();
    Hide();
    scope.RestoreFocus();
    return modalResult_;
}

void Form::Close() {
    if (OnCloseQuery && !OnCloseQuery()) return;
    if (modal_) {
        modalResult_ = mrCancel;
    } else if (App().MainForm() == this) {
        App().Terminate();
    } else {
        Hide();
    }
}

void Form::SetMenu(MainMenu* menu) {
    if (menu_ && Handle()) ::SetMenu(Handle(), nullptr);
    if (menu_) menu_->window_ = nullptr;
    menu_ = menu;
    if (menu_ && Handle()) {
        ::SetMenu(Handle(), menu_->Handle());
        menu_->window_ = Handle();
    }
    SetClientSize(design_.clientWidth, design_.clientHeight);
}

Control* Form::FindControl(std::string_view name) const {
    return FindIn(Controls(), [name](const Control& control) { return control.Name() == name; });
}

Component* Form::FindComponent(std::string_view name) const {
    for (Component* component : components_)
        if (component->Name() == name) return component;
    return nullptr;
}

Button* Form::FindButton(bool defaultButton) const {
    return static_cast<Button*>(FindIn(Controls(), [defaultButton](const Control& control) {
        auto* button = dynamic_cast<const Button*>(&control);
        return button && (defaultButton ? button->Default() : button->Cancel);
    }));
}

void Form::UpdateDefaultFrame() {
    auto* focused = dynamic_cast<Button*>(Window::FromHandle(GetFocus()));
    if (focused && focused->OwnerForm() != this) focused = nullptr;
    FindIn(Controls(), [focused](Control& control) {
        if (auto* button = dynamic_cast<Button*>(&control))
            button->ShowDefaultFrame(focused ? button == focused : button->Default());
        return false;  // every button
    });
}

bool Form::HandleDialogKey(const MSG& msg) {
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    Button* button = nullptr;
    if (msg.wParam == VK_RETURN) {
        button = dynamic_cast<Button*>(Window::FromHandle(msg.hwnd));
        if (!button) button = FindButton(true);
    } else {
        button = FindButton(false);
    }
    if (!button || !button->Visible() || !button->Enabled()) return false;
    button->Click();
    return true;
}

void Form::RestoreFocus() {
    if (savedFocus_ && IsWindow(savedFocus_) && IsChild(Handle(), savedFocus_)) {
        ::SetFocus(savedFocus_);
        return;
    }
    for (Control* control : Controls()) {
        const auto style = GetWindowLongPtrW(control->Handle(), GWL_STYLE);
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && control->Enabled()) {
            control->SetFocus();
            return;
        }
    }
    ::SetFocus(Handle());
}

LRESULT Form::Activate(const Message&, UINT state, bool minimized, HWND) {
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) savedFocus_ = focus;
        return 0;
    }
    if (!minimized) RestoreFocus();
    if (App().NoteActivation(*this)) {
        activationPending_ = true;
        PostMessageW(Handle(), kFormActivateMessage, 0, 0);
    }
    return 0;
}

void Form::RunPendingActivation() {
    if (!activationPending_) return;
    activationPending_ = false;
    if (App().ActiveForm() == this && OnActivate) OnActivate();
}

LRESULT Form::HandleMessage(const Message& message) {
    switch (message.msg) {
        case kFormActivateMessage:
            RunPendingActivation();
            return 0;
        case WM_SETFOCUS:
            UpdateDefaultFrame();
            break;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_QUERYENDSESSION:
            // Logging off ends the program as closing it would: not in the
            // middle of what OnCloseQuery protects.
            return !OnCloseQuery || OnCloseQuery() ? TRUE : FALSE;
        case WM_CHAR: {
            wchar_t key = static_cast<wchar_t>(message.wParam);
            if (OnKeyPress) OnKeyPress(key);
            return 0;
        }
        case WM_COMMAND:
            if (message.lParam == 0 && HIWORD(message.wParam) <= 1 && menu_ && menu_->Dispatch(LOWORD(message.wParam)))
                return 0;
            break;
        default:
            break;
    }
    return Window::HandleMessage(message);
}

}  // namespace sorv::tk
