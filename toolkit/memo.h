#pragma once
// A multi-line text control: the log area. Lines wrap at the control's width
// (vertical scroll bar only) and there is no length limit.
#include <string>
#include <string_view>
#include <vector>

#include "control.h"

namespace sorv::tk {

class Memo : public Control {
public:
    Memo(Window& parent, std::string name, Bounds bounds, bool readOnly);

    // Adds a new last line after those already there.
    void AppendLine(std::string_view line);
    void Clear();
    std::vector<std::string> Lines() const;

    HBRUSH ControlColor(HDC dc) override;

protected:
    LRESULT HandleMessage(const Message& message) override;
};

}  // namespace sorv::tk
