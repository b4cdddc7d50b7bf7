#include "help_controls.h"

#include <algorithm>

#include "handles.h"
#include "utf16.h"

namespace sorv {

EditField::EditField(tk::Window& parent, std::string name, const Rect& bounds)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"EDIT", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, "");
}

void EditField::HandleCommand(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange();
}

ListBox::ListBox(tk::Window& parent, std::string name, const Rect& bounds)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"LISTBOX", WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                  WS_EX_CLIENTEDGE, "");
}

void ListBox::SetItems(const std::vector<std::string>& items) {
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    // A title wider than the list gets a horizontal scroll bar rather than
    // being cut off.
    const tk::WindowDc dc(Handle());
    const tk::Selection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::string& item : items) {
        const std::wstring text = Widen(item);
        SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SIZE extent{};
        if (GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent))
            widest = std::max(widest, extent.cx);
    }
    SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 4), 0);
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

std::vector<std::string> ListBox::Items() const {
    std::vector<std::string> items;
    const auto count = SendMessageW(Handle(), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const auto copied = SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
        items.push_back(Narrow(text));
    }
    return items;
}

int ListBox::ItemIndex() const {
    const auto index = SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ListBox::SetItemIndex(int index) { SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ListBox::HandleCommand(WORD code) {
    if (code == LBN_SELCHANGE && OnSelect) OnSelect();
}

}  // namespace sorv
