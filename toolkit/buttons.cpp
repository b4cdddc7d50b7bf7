#include "buttons.h"

#include "form.h"

namespace sorv::tk {
namespace {

// The first radio button after other controls opens a group, and the first
// other control after radio buttons closes it.
DWORD GroupStyle(const Window& parent, bool isRadio) {
    const auto& siblings = parent.Controls();
    const bool afterRadio = !siblings.empty() && dynamic_cast<const RadioButton*>(siblings.back()) != nullptr;
    return isRadio && afterRadio ? 0 : WS_GROUP;
}

}  // namespace

Button::Button(Window& parent, std::string name, const Rect& bounds, std::string_view caption)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | GroupStyle(parent, false), 0, caption);
}

void Button::SetDefault(bool isDefault) {
    default_ = isDefault;
    if (Form* form = OwnerForm())
        form->UpdateDefaultFrame();
    else
        ShowDefaultFrame(isDefault);
}

void Button::ShowDefaultFrame(bool shown) {
    const bool showing = (GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    if (showing != shown) SendMessageW(Handle(), BM_SETSTYLE, shown ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::Click() {
    if (ModalResult != 0)
        if (Form* form = OwnerForm()) form->SetModalResult(ModalResult);
    if (OnClick) OnClick();
}

void Button::HandleCommand(WORD code) {
    if (code == BN_CLICKED) Click();
}

RadioButton::RadioButton(Window& parent, std::string name, const Rect& bounds, std::string_view caption)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"BUTTON", WS_VISIBLE | BS_RADIOBUTTON | GroupStyle(parent, true), 0, caption);
}

bool RadioButton::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RadioButton::SetChecked(bool checked) {
    if (Checked() == checked) return;
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    SetWindowLongPtrW(Handle(), GWL_STYLE, checked ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    if (!checked) return;
    for (Control* sibling : Parent().Controls())
        if (auto* radio = dynamic_cast<RadioButton*>(sibling); radio && radio != this) radio->SetChecked(false);
    if (OnClick) OnClick();
}

void RadioButton::HandleCommand(WORD code) {
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) SetChecked(true);
}

CheckBox::CheckBox(Window& parent, std::string name, const Rect& bounds, std::string_view caption)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX | GroupStyle(parent, false), 0, caption);
}

bool CheckBox::Checked() const { return checked_; }

void CheckBox::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick) OnClick();
}

void CheckBox::HandleCommand(WORD code) {
    if (code == BN_CLICKED) SetChecked(!checked_);
}

GroupBox::GroupBox(Window& parent, std::string name, const Rect& bounds, std::string_view caption)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"BUTTON", WS_VISIBLE | BS_GROUPBOX | GroupStyle(parent, false), 0, caption);
}

LRESULT GroupBox::HandleMessage(const Message& message) {
    if (message.msg != WM_ERASEBKGND) return Control::HandleMessage(message);
    const auto dc = reinterpret_cast<HDC>(message.wParam);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(Handle()), WM_CTLCOLORSTATIC, message.wParam, reinterpret_cast<LPARAM>(Handle())));
    if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, brush);
    return 1;
}

}  // namespace sorv::tk
