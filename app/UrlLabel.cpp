#include "UrlLabel.h"

#include <windowsx.h>

#include <shellapi.h>

#include <optional>

#include "canvas.h"
#include "urllabel_win.h"
#include "resource_ids.h"
#include "scope_guards.h"
#include "urllabel_rules.h"
#include "utf16.h"

namespace sorv {
namespace {

void ShellExecuteOpen(HWND owner, const std::string& verb, const std::string& file, int show) {
    // The shell shows its own message when the target cannot be opened.
    ShellExecuteW(owner, Widen(verb).c_str(), Widen(file).c_str(), nullptr, nullptr, show);
}

}  // namespace

TUrlLabel::TUrlLabel(tk::Window& parent, std::string name, const Rect& bounds, std::string_view caption,
                     bool autoSize)
    : Label(parent, std::move(name), bounds, caption, autoSize), OpenTarget(ShellExecuteOpen) {
    SetScreenCursor(crHand, LoadCursorW(GetModuleHandleW(nullptr), SORV_HAND_CURSOR_NAME));
    Cursor = crHand;
    tk::FontDescription font = GetFont()->Design();
    font.weight = FW_NORMAL;
    font.italic = false;
    font.underline = true;
    SetControlFont(tk::MakeFont(font));
    popupMenu_ = std::make_unique<tk::PopupMenu>();
    popupMenu_->Add("Copy1", "Copy", [this] { Copy(); });
}

TUrlLabel::~TUrlLabel() = default;

void TUrlLabel::SetFontColor(TColor color) {
    if (fontColor_ == color) return;
    fontColor_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TUrlLabel::Click() {
    if (OnClick) OnClick();
    const std::optional<std::string> target = LinkTarget(URL, Caption());
    if (target && OpenTarget) OpenTarget(GetDesktopWindow(), "open", *target, SW_SHOWNORMAL);
}

void TUrlLabel::Copy() { CopyTextToClipboard(Handle(), Caption()); }

HBRUSH TUrlLabel::ControlColor(HDC dc) {
    SetTextColor(dc, tk::ColorToRgb(fontColor_));
    SetBkColor(dc, tk::ColorToRgb(clBtnFace));
    return GetSysColorBrush(clBtnFace.SystemIndex());
}

void TUrlLabel::LeftDown(bool armClick) {
    if (!leftDown_) {
        savedColor_ = fontColor_;
        leftDown_ = true;
    }
    clickArmed_ = armClick;
    SetFontColor(ActiveColor);
    SetCapture(Handle());
}

void TUrlLabel::LeftUp(POINT point) {
    // A release without our press (the button went down elsewhere) changes
    // nothing.
    if (!leftDown_) return;
    const bool click = clickArmed_ && ClientRect().Contains({point.x, point.y});
    clickArmed_ = false;
    // The colour comes back and the mouse is let go even if the click fails.
    const ScopeExit release([this] { EndPress(); });
    if (click) Click();
}

void TUrlLabel::EndPress() {
    if (!leftDown_) return;
    leftDown_ = false;
    clickArmed_ = false;
    SetFontColor(savedColor_);
    if (GetCapture() == Handle()) ReleaseCapture();
}

void TUrlLabel::ShowContextMenu(LPARAM screenPoint) {
    const Rect r = WindowRect();
    // From the keyboard: at the label.
    const Point point = tk::ContextMenuPoint(screenPoint).value_or(Point{r.left, r.bottom});
    popupMenu_->Popup(Handle(), point.x, point.y);
}

LRESULT TUrlLabel::HandleMessage(const tk::Message& message) {
    switch (message.msg) {
        case WM_NCHITTEST:
            // A static text lets the mouse through to its parent; a link takes it.
            return HTCLIENT;
        case WM_SETCURSOR:
            if (LOWORD(message.lParam) != HTCLIENT) break;
            ::SetCursor(ScreenCursor(Cursor));
            return TRUE;
        case WM_LBUTTONDOWN:
            LeftDown(true);
            return 0;
        case WM_LBUTTONDBLCLK:
            // The first press of the pair was the click.
            LeftDown(false);
            return 0;
        case WM_LBUTTONUP:
            LeftUp({GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)});
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse mid-press: no click, colour back.
            if (reinterpret_cast<HWND>(message.lParam) != Handle()) EndPress();
            break;
        case WM_CONTEXTMENU:
            ShowContextMenu(message.lParam);
            return 0;
        default:
            break;
    }
    return Label::HandleMessage(message);
}

}  // namespace sorv
