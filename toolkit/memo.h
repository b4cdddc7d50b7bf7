#pragma once
// A multi-line text control: the log area. Lines wrap at the control's width
// (vertical scroll bar only) and there is no length limit.
#include <string>
#include <string_view>
#include <vector>

#include "control.h"
#include "scroll_rules.h"

namespace sorv::tk {

class Memo : public Control {
public:
    Memo(Window& parent, std::string name, const Rect& bounds, bool readOnly);
    ~Memo() override;

    // Adds a new last line after those already there.
    void AppendLine(std::string_view line);
    void Clear();
    // The lines, those held back included.
    std::vector<std::string> Lines() const;

    // Batched, the lines that arrive between two paints are held back and
    // added in one edit when the application flushes its output (before any
    // message runs, any box shows, the loop waits): under Wine one edit
    // costs some 230 round trips to the window server, whatever its length.
    void SetBatched(bool batched);
    void Flush();

    // When the size changes, a view that showed the last line keeps showing
    // it (a log); otherwise it keeps its first line (a text read from the
    // start).
    bool KeepEndInView = false;

    HBRUSH ControlColor(HDC dc) override;

protected:
    LRESULT HandleMessage(const Message& message) override;

private:
    void AppendText(const std::wstring& text);
    LineView View() const;

    std::wstring held_;
    int flushKey_ = 0;
    bool keepEndInView_ = false;  // between the two messages of a size change
};

}  // namespace sorv::tk
