#include "message_box.h"

#include <algorithm>
#include <stdexcept>

#include "application.h"
#include "dialog_template.h"
#include "handles.h"
#include "modal_scope.h"
#include "utf16.h"

namespace sorv::tk {
namespace {

// The close box ends the dialog with this id: neither Yes nor No.
constexpr int kClosedId = IDCLOSE;

constexpr int kMargin = 12;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;

struct BoxDescription {
    std::wstring title;
    const wchar_t* icon;  // a system icon, or none
    bool yesNo;
    std::wstring text;
};

BoxDescription DescriptionFor(BoxKind kind, std::string_view text) {
    const std::wstring title = Widen(App().Title());
    switch (kind) {
        case BoxKind::Warning: return {L"Avertissement", IDI_WARNING, true, Widen(text)};
        case BoxKind::Confirmation: return {L"Confirmation", IDI_QUESTION, true, Widen(text)};
        case BoxKind::Question: return {title, nullptr, true, Widen(text)};
        case BoxKind::Error: return {title, IDI_HAND, false, Widen(text)};
        case BoxKind::Message: break;
    }
    return {title, nullptr, false, Widen(text)};
}

void Place(HWND dialog, int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Lays the box out in pixels: icon at the left, the text beside it, the
// buttons centred below, the whole centred on the screen.
void Layout(HWND dialog, const BoxDescription& design) {
    WindowDc dc(dialog);
    Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    RECT textRect{0, 0, std::min(GetSystemMetrics(SM_CXSCREEN) / 2, 480), 0};
    DrawTextW(dc.get(), design.text.empty() ? L" " : design.text.c_str(), -1, &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    const int iconSize = design.icon ? GetSystemMetrics(SM_CXICON) : 0;
    const int textLeft = kMargin + (design.icon ? iconSize + kIconGap : 0);
    const int buttons = design.yesNo ? 2 : 1;
    const int buttonsWidth = buttons * kButtonWidth + (buttons - 1) * kButtonGap;
    const int textWidth = textRect.right;
    const int textHeight = textRect.bottom;
    const int clientWidth = std::max(textLeft + textWidth + kMargin, buttonsWidth + 2 * kMargin);
    const int top = std::max(iconSize, textHeight);
    const int buttonTop = kMargin + top + kMargin;
    const int clientHeight = buttonTop + kButtonHeight + kMargin;

    if (design.icon) Place(dialog, kBoxIconId, kMargin, kMargin, iconSize, iconSize);
    Place(dialog, kBoxTextId, textLeft, kMargin + (top - textHeight) / 2, textWidth, textHeight);
    int x = (clientWidth - buttonsWidth) / 2;
    const int ids[] = {design.yesNo ? IDYES : IDOK, IDNO};
    for (int i = 0; i < buttons; ++i) {
        Place(dialog, ids[i], x, buttonTop, kButtonWidth, kButtonHeight);
        x += kButtonWidth + kButtonGap;
    }
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK BoxProcedure(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        switch (msg) {
            case WM_INITDIALOG: {
                const auto& design = *reinterpret_cast<const BoxDescription*>(lParam);
                SetPropW(dialog, L"sorv.tk.box", reinterpret_cast<HANDLE>(design.yesNo ? 1 : 0));
                SetWindowTextW(dialog, design.title.c_str());
                SetDlgItemTextW(dialog, kBoxTextId, design.text.c_str());
                if (design.icon)
                    SendDlgItemMessageW(dialog, kBoxIconId, STM_SETICON,
                                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, design.icon)), 0);
                Layout(dialog, design);
                const int first = design.yesNo ? IDYES : IDOK;
                SendMessageW(dialog, DM_SETDEFID, first, 0);
                SetFocus(GetDlgItem(dialog, first));
                return FALSE;  // the focus is set
            }
            case WM_COMMAND: {
                const int id = LOWORD(wParam);
                const bool yesNo = GetPropW(dialog, L"sorv.tk.box") != nullptr;
                if (id == IDOK || id == IDYES || id == IDNO) EndDialog(dialog, id);
                // Escape: No in a Yes/No box, OK otherwise.
                if (id == IDCANCEL) EndDialog(dialog, yesNo ? IDNO : IDOK);
                return TRUE;
            }
            case WM_CLOSE:
                EndDialog(dialog, kClosedId);
                return TRUE;
            case WM_DESTROY:
                RemovePropW(dialog, L"sorv.tk.box");
                return FALSE;
            default:
                return FALSE;
        }
    } catch (...) {
        EndDialog(dialog, -1);
        return TRUE;
    }
}

DialogTemplate BuildTemplate(const BoxDescription& design) {
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, L"", 8, L"MS Sans Serif");
    if (design.icon) dialog.AddItem(DialogTemplate::ItemClass::Static, kBoxIconId, L"", WS_CHILD | WS_VISIBLE | SS_ICON, 0, 0, 0, 0);
    dialog.AddItem(DialogTemplate::ItemClass::Static, kBoxTextId, L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0);
    const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (design.yesNo) {
        dialog.AddItem(DialogTemplate::ItemClass::Button, IDYES, L"&Oui", button | WS_GROUP | BS_DEFPUSHBUTTON, 0, 0, 0, 0);
        dialog.AddItem(DialogTemplate::ItemClass::Button, IDNO, L"&Non", button | BS_PUSHBUTTON, 0, 0, 0, 0);
    } else {
        dialog.AddItem(DialogTemplate::ItemClass::Button, IDOK, L"OK", button | WS_GROUP | BS_DEFPUSHBUTTON, 0, 0, 0, 0);
    }
    return dialog;
}

}  // namespace

BoxAnswer ShowMessageBox(BoxKind kind, std::string_view text) {
    App().FlushOutput();
    const BoxDescription design = DescriptionFor(kind, text);
    const DialogTemplate dialog = BuildTemplate(design);
    HWND owner = App().BoxOwner();
    INT_PTR result;
    {
        // The owner stays enabled for the dialog to disable and enable again,
        // so that the activation returns to it when the box closes.
        ModalScope modal(owner);
        result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, BoxProcedure,
                                         reinterpret_cast<LPARAM>(&design));
    }
    switch (result) {
        case IDOK: return BoxAnswer::Ok;
        case IDYES: return BoxAnswer::Yes;
        case IDNO: return BoxAnswer::No;
        case 0:  // ended by a quit message
        case kClosedId: return BoxAnswer::None;
        default: throw std::runtime_error("La boîte de message n'a pas pu être affichée");
    }
}

}  // namespace sorv::tk
