#pragma once
// While a modal window is up, the program's other top-level windows are
// disabled; afterwards they are enabled again and the window that had the
// focus gets it back, without a new activation event for its form. Every
// modal call of the program (our forms, the common dialogs, the message
// boxes) runs in one, so that its end is said to the windows the same way.
#include <windows.h>

#include <vector>

namespace sorv::tk {

class Form;

class ModalScope {
public:
    // Disables the thread's visible, enabled top-level windows except `keep`.
    explicit ModalScope(HWND keep = nullptr);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    // Enables the windows again; do it before hiding the modal window so that
    // the activation returns to them.
    void EnableWindows();
    // Gives the activation and the focus back to where they were, then says
    // the modal window has gone (kModalEndedMessage).
    void RestoreFocus();

private:
    std::vector<HWND> disabled_;
    HWND active_;
    HWND focus_;
    Form* activeForm_;
    bool enabled_ = false;
    bool restored_ = false;
};

}  // namespace sorv::tk
