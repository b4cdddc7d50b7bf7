#include "label.h"

#include "handles.h"
#include "text_fit.h"
#include "utf16.h"

namespace sorv::tk {

Label::Label(Window& parent, std::string name, const Rect& bounds, std::string_view caption, bool autoSize)
    : Control(parent, std::move(name), bounds), autoSize_(autoSize) {
    CreateControl(L"STATIC", WS_VISIBLE | WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, caption);
    FitToText();
}

void Label::SetCaption(std::string_view caption) {
    if (autoSize_ && maxWidth_ > 0)
        SetText(FitInTheMiddle(caption, maxWidth_, [this](std::string_view text) { return TextSize(text).cx; }));
    else
        SetText(caption);
    FitToText();
}

Size Label::TextSize(std::string_view text) const {
    WindowDc dc(Handle());
    Selection font(dc.get(), GetFont()->Handle());
    const std::wstring wide = Widen(text);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    return {r.right, r.bottom};
}

void Label::FitToText() {
    if (!autoSize_) return;
    const std::string text = Text();
    // An empty label keeps the height of a line.
    const Size size = TextSize(text.empty() ? " " : text);
    SetBounds(Rect::FromOrigin({Left(), Top()}, {text.empty() ? 0 : size.cx, size.cy}));
}

}  // namespace sorv::tk
