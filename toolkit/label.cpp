#include "label.h"

#include "handles.h"
#include "utf16.h"

namespace sorv::tk {

Label::Label(Window& parent, std::string name, Bounds bounds, std::string_view caption, bool autoSize)
    : Control(parent, std::move(name), bounds), autoSize_(autoSize) {
    CreateControl(L"STATIC", WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0, caption);
    FitToText();
}

void Label::SetCaption(std::string_view caption) {
    SetText(caption);
    FitToText();
}

void Label::FitToText() {
    if (!autoSize_) return;
    WindowDc dc(Handle());
    Selection font(dc.get(), GetFont()->Handle());
    const std::wstring text = Widen(Text());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    if (text.empty()) r.right = 0;
    SetBounds(Left(), Top(), r.right, r.bottom);
}

}  // namespace sorv::tk
