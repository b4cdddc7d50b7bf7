#pragma once
// A static text on one line: it never wraps, so a text too long for a
// fixed-size label is cut at its edge rather than hiding a second line below
// it. Shown exactly as given ("&" is not an access key) and, when auto-sized,
// as large as its text in its font, or shortened in the middle to a maximum
// width.
#include <string_view>

#include "control.h"

namespace sorv::tk {

class Label : public Control {
public:
    // Width or height 0 with autoSize: measured from the text.
    Label(Window& parent, std::string name, const Rect& bounds, std::string_view caption, bool autoSize = true);

    void SetCaption(std::string_view caption);
    // What the label shows.
    std::string Caption() const { return Text(); }
    // An auto-sized label wider than this shows its caption's start and end
    // around "..." (0: no limit). Applies from the next caption on.
    void SetMaxWidth(int maxWidth) { maxWidth_ = maxWidth; }

protected:
    void FontChanged() override { FitToText(); }

private:
    void FitToText();
    Size TextSize(std::string_view text) const;
    bool autoSize_;
    int maxWidth_ = 0;
};

}  // namespace sorv::tk
