#pragma once
// The two standard controls the help viewer needs beyond the toolkit's: a
// one-line text field and a list box of texts.
#include <functional>
#include <string>
#include <vector>

#include "control.h"

namespace sorv {

// A one-line edit field; OnChange follows every change of its text.
class EditField : public tk::Control {
public:
    EditField(tk::Window& parent, std::string name, const Rect& bounds);

    std::function<void()> OnChange;
    void HandleCommand(WORD code) override;
};

// A list of texts, one selectable; OnSelect follows a selection by the user.
class ListBox : public tk::Control {
public:
    ListBox(tk::Window& parent, std::string name, const Rect& bounds);

    void SetItems(const std::vector<std::string>& items);
    std::vector<std::string> Items() const;
    // -1 when nothing is selected.
    int ItemIndex() const;
    void SetItemIndex(int index);

    std::function<void()> OnSelect;
    void HandleCommand(WORD code) override;
};

}  // namespace sorv
