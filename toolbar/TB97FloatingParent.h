#pragma once
// TFloatingWindowParent: the invisible, border-less form at the screen's
// origin that parents a floating tool window, so that the bar's bounds are
// screen coordinates. It shows its (empty) window only while its bar asks.
#include "form.h"

namespace sorv {

class TFloatingWindowParent : public tk::Form {
public:
    explicit TFloatingWindowParent(tk::Form& ownerForm);

    tk::Form* OwnerForm() const { return ownerForm_; }
    bool ShowRequested() const { return showRequested_; }
    // Shows or hides the window without activating, moving or raising it.
    void SetShowRequested(bool requested);

private:
    tk::Form* ownerForm_;
    bool showRequested_ = false;
};

}  // namespace sorv
