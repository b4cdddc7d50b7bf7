#include "progress_bar.h"

#include <commctrl.h>

#include "progress_scale.h"

namespace sorv::tk {

ProgressBar::ProgressBar(Window& parent, std::string name, const Rect& bounds) : Control(parent, std::move(name), bounds) {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)registered;
    CreateControl(PROGRESS_CLASSW, WS_VISIBLE | WS_GROUP, 0, "");
    SetMax(100);
}

void ProgressBar::SetMax(std::int64_t maximum) {
    max_ = maximum < 0 ? 0 : maximum;
    shift_ = ProgressShift(max_);
    SendMessageW(Handle(), PBM_SETRANGE32, 0, ScaleProgress(max_, max_, shift_));
    SetPosition(position_);
}

void ProgressBar::SetPosition(std::int64_t position) {
    position_ = position < 0 ? 0 : (position > max_ ? max_ : position);
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(ScaleProgress(position_, max_, shift_)), 0);
}

}  // namespace sorv::tk
