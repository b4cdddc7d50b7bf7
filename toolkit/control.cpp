#include "control.h"

#include <algorithm>
#include <stdexcept>

#include "application.h"
#include "form.h"
#include "utf16.h"
#include "win_geometry.h"

namespace sorv::tk {

Control::Control(Window& parent, std::string name, const Rect& bounds)
    : parent_(&parent), name_(std::move(name)), initialBounds_(bounds), id_(parent.NextControlId()) {
    SetFont(parent.GetFont());
}

Control::~Control() {
    BeginDestroy();
    if (parent_ && std::erase(parent_->controls_, this)) {
        parent_->ControlLeft(*this);
        if (align_ != Align::None && !parent_->Destroying()) parent_->RequestLayout();
    }
    DestroyHandle();
}

void Control::SetParent(Window* parent) {
    if (parent == parent_) return;
    Window* const old = parent_;
    if (old && std::erase(old->controls_, this)) old->ControlLeft(*this);
    parent_ = parent;
    if (parent_) parent_->controls_.push_back(this);
    if (Handle()) ReparentWindow();
    if (parent_) parent_->ControlEntered(*this);
    if (align_ != Align::None) {
        if (old) old->RequestLayout();
        if (parent_) parent_->RequestLayout();
    }
}

void Control::ReparentWindow() {
    // Without a parent the window waits on the application's hidden one.
    HWND parent = parent_ && parent_->Handle() ? parent_->Handle() : App().Handle();
    if (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_CHILD)
        ::SetParent(Handle(), parent);
    else
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parent));
}

void Control::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, std::string_view text) {
    const std::wstring wide = Widen(text);
    HWND handle = CreateWindowExW(exStyle, className, wide.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style,
                                  initialBounds_.left, initialBounds_.top, initialBounds_.Width(),
                                  initialBounds_.Height(), parent_->Handle(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleW(nullptr),
                                  nullptr);
    if (!handle) throw std::runtime_error("CreateWindowEx failed for control " + name_);
    Adopt(handle);
    FinishCreation();
}

void Control::CreateOwnControl(const WindowClass& windowClass, DWORD style, DWORD exStyle, std::string_view text) {
    WindowDescription design{std::string(text), style, exStyle, initialBounds_.left, initialBounds_.top,
                             initialBounds_.Width(), initialBounds_.Height(), parent_->Handle(), nullptr};
    if (style & WS_CHILD) {
        design.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_));
    } else {
        // A pop-up control (a floating tool window) is placed on the screen.
        POINT origin{design.x, design.y};
        ClientToScreen(parent_->Handle(), &origin);
        design.x = origin.x;
        design.y = origin.y;
    }
    CreateHandle(windowClass, design);
    FinishCreation();
}

// The first window of a control takes its place in the parent's list, in
// the z-order after the controls made before it, and the parent's font.
void Control::FinishCreation() {
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->Handle()), FALSE);
    if (std::find(parent_->controls_.begin(), parent_->controls_.end(), this) != parent_->controls_.end()) return;
    HWND above = HWND_TOP;
    for (auto it = parent_->controls_.rbegin(); it != parent_->controls_.rend(); ++it) {
        if (!(*it)->LiesBeneathSiblings() && (*it)->Handle()) {
            above = (*it)->Handle();
            break;
        }
    }
    SetWindowPos(Handle(), LiesBeneathSiblings() ? HWND_BOTTOM : above, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    parent_->controls_.push_back(this);
    parent_->ControlEntered(*this);
}

Form* Control::OwnerForm() const {
    for (Window* window = parent_; window; window = window->ParentWindow())
        if (auto* form = dynamic_cast<Form*>(window)) return form;
    return nullptr;
}

Rect Control::BoundsRect() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    if (parent_) MapWindowPoints(HWND_DESKTOP, parent_->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return FromRECT(r);
}

int Control::Width() const { return BoundsRect().Width(); }

int Control::Height() const { return BoundsRect().Height(); }

void Control::SetBounds(const Rect& bounds) {
    SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetAlign(Align align) {
    align_ = align;
    if (parent_) parent_->RequestLayout();
}

std::string Control::Text() const { return WindowText(); }

void Control::SetText(std::string_view text) { ChangeWindowText(text); }

bool Control::Visible() const { return (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0; }

void Control::SetVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
    // Under a hidden parent the platform only flips the style: no
    // WM_WINDOWPOSCHANGED tells the parent.
    if (align_ != Align::None && parent_) parent_->RequestLayout();
}

bool Control::Enabled() const { return IsWindowEnabled(Handle()) != FALSE; }

void Control::SetEnabled(bool enabled) { EnableWindow(Handle(), enabled); }

void Control::SetFocus() { ::SetFocus(Handle()); }

bool Control::Focused() const { return GetFocus() == Handle(); }

void Control::SetControlFont(SharedFont font) {
    SetFont(std::move(font));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->Handle()), TRUE);
    FontChanged();
}

wchar_t Control::RunKeyPress(wchar_t key) {
    if (Form* form = OwnerForm(); form && form->KeyPreview && form->OnKeyPress) form->OnKeyPress(key);
    if (key && OnKeyPress) OnKeyPress(key);
    return key;
}

LRESULT Control::HandleMessage(const Message& message) {
    switch (message.msg) {
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = Window::HandleMessage(message);
            // An aligned control that changes its size or shows or hides
            // makes its parent align again.
            const auto& position = *reinterpret_cast<const WINDOWPOS*>(message.lParam);
            const bool changed = !(position.flags & SWP_NOSIZE) || (position.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW));
            if (changed && align_ != Align::None && parent_ && !Destroying()) parent_->RequestLayout();
            return result;
        }
        case WM_ENABLE: {
            const LRESULT result = Window::HandleMessage(message);
            EnabledChanged();
            return result;
        }
        case WM_SETFOCUS: {
            const LRESULT result = Window::HandleMessage(message);
            if (Form* form = OwnerForm()) form->UpdateDefaultFrame();
            return result;
        }
        case WM_CHAR: {
            const wchar_t key = RunKeyPress(static_cast<wchar_t>(message.wParam));
            if (!key) return 0;
            return DefaultHandling({message.window, message.msg, key, message.lParam});
        }
        default:
            return Window::HandleMessage(message);
    }
}

}  // namespace sorv::tk
