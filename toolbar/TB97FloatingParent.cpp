#include "TB97FloatingParent.h"

namespace sorv {
namespace {

tk::FormDescription Design() {
    tk::FormDescription design;
    design.className = "TFloatingWindowParent";
    design.border = tk::BorderStyle::None;
    design.screenCenter = false;
    return design;
}

}  // namespace

TFloatingWindowParent::TFloatingWindowParent(tk::Form& ownerForm) : tk::Form(Design()), ownerForm_(&ownerForm) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFloatingWindowParent::SetShowRequested(bool requested) {
    showRequested_ = requested;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     (requested ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

}  // namespace sorv
