#include "modal_scope.h"

#include "application.h"
#include "private_messages.h"

namespace sorv::tk {
namespace {

struct Collect {
    HWND keep;
    std::vector<HWND>* windows;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM param) {
    auto* collect = reinterpret_cast<Collect*>(param);
    if (window != collect->keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        collect->windows->push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK SayModalEnded(HWND window, LPARAM) {
    if (IsWindowVisible(window)) SendMessageW(window, kModalEndedMessage, 0, 0);
    return TRUE;
}

}  // namespace

ModalScope::ModalScope(HWND keep)
    : active_(GetActiveWindow()), focus_(GetFocus()), activeForm_(App().ActiveForm()) {
    Collect collect{keep, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&collect));
}

ModalScope::~ModalScope() {
    EnableWindows();
    RestoreFocus();
}

void ModalScope::EnableWindows() {
    if (enabled_) return;
    enabled_ = true;
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it)
        if (IsWindow(*it)) EnableWindow(*it, TRUE);
    App().RestoreActiveForm(activeForm_);
}

void ModalScope::RestoreFocus() {
    if (restored_) return;
    restored_ = true;
    if (active_ && IsWindow(active_) && IsWindowVisible(active_)) SetActiveWindow(active_);
    if (focus_ && IsWindow(focus_) && IsWindowVisible(focus_)) SetFocus(focus_);
    // Wine's X11 driver restacks the windows from the events that the modal
    // window's end brings; they are handled in a wait, so wait once first.
    MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    EnumThreadWindows(GetCurrentThreadId(), SayModalEnded, 0);
}

}  // namespace sorv::tk
