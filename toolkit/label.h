#pragma once
// A static text. Shown exactly as given ("&" is not an access key), and, when
// auto-sized, as large as its text in its font.
#include <string_view>

#include "control.h"

namespace sorv::tk {

class Label : public Control {
public:
    // Width or height 0 with autoSize: measured from the text.
    Label(Window& parent, std::string name, Bounds bounds, std::string_view caption, bool autoSize = true);

    void SetCaption(std::string_view caption);
    std::string Caption() const { return Text(); }

protected:
    void FontChanged() override { FitToText(); }

private:
    void FitToText();
    bool autoSize_;
};

}  // namespace sorv::tk
