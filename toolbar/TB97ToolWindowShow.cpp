// Keeping a floating tool window shown, hidden, owned and activated with its
// form, through the shared thread hooks.
#include <algorithm>

#include "TB97FloatingParent.h"
#include "TB97Cmn.h"
#include "TB97ToolWindow.h"
#include "application.h"

namespace sorv {
namespace {

// Whether the program is the active one, as the last activation message
// said; before the first one, whether this thread has an active window.
std::optional<bool>& LastApplicationActivation() {
    static std::optional<bool> active;
    return active;
}

bool ApplicationActive() {
    const std::optional<bool>& seen = LastApplicationActivation();
    return seen ? *seen : GetActiveWindow() != nullptr;
}

bool OwnedBy(HWND window, HWND owner) {
    for (HWND w = GetWindow(window, GW_OWNER); w; w = GetWindow(w, GW_OWNER))
        if (w == owner) return true;
    return false;
}

// Messages after which a form may stand over the windows it owns: its
// activation, its enabling at the end of a modal loop, a change of its place
// in the z-order.
bool MayRaiseOverOwned(const tk::Message& message) {
    switch (message.msg) {
        case WM_ACTIVATE: return LOWORD(message.wParam) != WA_INACTIVE;
        case WM_ENABLE: return message.wParam != 0;
        case WM_WINDOWPOSCHANGED:
            return !(reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_NOZORDER);
        default: return false;
    }
}

// The window the bar goes directly below: the first above the form that the
// form does not own (HWND_TOP when there is none).
HWND ZOrderPlaceAbove(HWND form) {
    for (HWND w = GetWindow(form, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (!OwnedBy(w, form)) return w;
    return HWND_TOP;
}

// The first visible, enabled top-level window of the thread other than
// `except` and the application window, preferring those not top-most.
HWND FindActivatableTopWindow(HWND except) {
    HWND topMost = nullptr;
    const DWORD thread = GetCurrentThreadId();
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == except || w == tk::App().Handle() || GetWindowThreadProcessId(w, nullptr) != thread) continue;
        if (!IsWindowVisible(w) || !IsWindowEnabled(w)) continue;
        if (!(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) return w;
        if (!topMost) topMost = w;
    }
    return topMost;
}

}  // namespace

bool TCustomToolWindow97::FloatingOnParent() const {
    return !docked_ && floatingParent_ && &Parent() == floatingParent_.get();
}

bool TCustomToolWindow97::ShouldBeVisible() const {
    if (!visible_ || transitionHide_ > 0) return false;
    // A docked bar's window shows with its dock and form.
    if (docked_) return true;
    HWND form = form_.Handle();
    if (!form || !IsWindowVisible(form) || IsIconic(form)) return false;
    if (tk::Form* main = tk::App().MainForm(); main && main->Handle() && IsIconic(main->Handle())) return false;
    return !hideWhenInactive_ || ApplicationActive();
}

// Only floating windows have work for the hooks.
void TCustomToolWindow97::ListAsFloating(bool floating) {
    auto& list = FloatingWindows();
    const bool hooked = !list.empty();
    const auto found = std::find(list.begin(), list.end(), this);
    if (floating && found == list.end()) {
        list.push_back(this);
        ownerHook_ = form_.AddHook([this](const tk::Message& message, const tk::NextHook& next) {
            const LRESULT result = next(message);
            if (MayRaiseOverOwned(message)) KeepAboveOwner();
            return result;
        });
    }
    if (!floating && found != list.end()) {
        list.erase(found);
        ownerHook_ = {};
    }
    if (hooked == !list.empty()) return;
    // Activation messages were not watched meanwhile.
    if (!hooked) LastApplicationActivation().reset();
    WantHooks({THookProcType::hkActivateApp, THookProcType::hkWindowPosChanged, THookProcType::hkPreDestroy},
              !hooked);
}

void TCustomToolWindow97::UpdateVisibility() {
    if (!Handle()) return;
    const bool inactive = !docked_ && !hideWhenInactive_ && !ApplicationActive();
    if (inactive != inactiveCaption_) {
        inactiveCaption_ = inactive;
        DrawFloatingFrame(nullptr, {false, false, true});
    }
    const bool shown = (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != ShouldBeVisible()) ShowingChanged();
}

void TCustomToolWindow97::ShowingChanged() {
    const bool show = ShouldBeVisible();
    if (FloatingOnParent()) {
        HWND form = form_.Handle();
        if (show && GetWindow(Handle(), GW_OWNER) != form) {
            SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(form));
            SetWindowPos(Handle(), ZOrderPlaceAbove(form), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        floatingParent_->SetShowRequested(show);
    }
    const bool wasActive = GetActiveWindow() == Handle();
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (!show && wasActive)
        if (HWND next = FindActivatableTopWindow(Handle())) SetActiveWindow(next);
}

void TCustomToolWindow97::KeepAboveOwner() {
    HWND form = form_.Handle();
    if (docked_ || !Handle() || !IsWindowVisible(Handle()) || GetWindow(Handle(), GW_OWNER) != form) return;
    // Placed again even when Wine's order already has it above: the X11
    // driver may have raised the form's own window over it.
    SetWindowPos(Handle(), ZOrderPlaceAbove(form), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT TCustomToolWindow97::Activate(const tk::Message& message, UINT state, bool minimized, HWND other) {
    if (docked_) return tk::CustomControl::Activate(message, state, minimized, other);
    HWND form = form_.Handle();
    // The form's caption follows the floating window's activation.
    SendMessageW(form, WM_NCACTIVATE, state != WA_INACTIVE, 0);
    if (state != WA_INACTIVE) {
        if (!IsWindowVisible(Handle())) {
            if (HWND next = FindActivatableTopWindow(Handle())) SetActiveWindow(next);
        } else if (other != form) {
            SetActiveWindow(form);
        }
    }
    return 0;
}

LRESULT TCustomToolWindow97::MouseActivate(const tk::Message& message, HWND topLevel, int hitTest,
                                           UINT mouseMessage) {
    if (docked_) return tk::CustomControl::MouseActivate(message, topLevel, hitTest, mouseMessage);
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (activateParent_ && GetActiveWindow() != Handle()) SetForegroundWindow(form_.Handle());
    return MA_NOACTIVATE;
}

void TCustomToolWindow97::HookProc(THookProcType kind, HWND window, WPARAM wParam, LPARAM lParam) {
    const std::vector<TCustomToolWindow97*> bars = FloatingWindows();
    switch (kind) {
        case THookProcType::hkActivateApp:
            LastApplicationActivation() = wParam != 0;
            for (TCustomToolWindow97* bar : bars) bar->UpdateVisibility();
            break;
        case THookProcType::hkWindowPosChanged: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!(pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) break;
            for (TCustomToolWindow97* bar : bars) {
                HWND form = bar->form_.Handle();
                if (form && (form == window || IsChild(window, form))) bar->UpdateVisibility();
            }
            break;
        }
        case THookProcType::hkPreDestroy:
            // Its owner going, the floating window waits on its own parent.
            for (TCustomToolWindow97* bar : bars)
                if (bar->Handle() && bar->floatingParent_ && GetWindow(bar->Handle(), GW_OWNER) == window)
                    SetWindowLongPtrW(bar->Handle(), GWLP_HWNDPARENT,
                                      reinterpret_cast<LONG_PTR>(bar->floatingParent_->Handle()));
            break;
        default: break;
    }
}

}  // namespace sorv
