#pragma once
// The controls of the Button class: push buttons, radio buttons, check boxes
// and group frames.
#include <functional>
#include <string_view>

#include "control.h"

namespace sorv::tk {

class Button : public Control {
public:
    Button(Window& parent, std::string name, const Rect& bounds, std::string_view caption);

    std::function<void()> OnClick;
    // A non-zero value becomes the form's modal result when pressed.
    int ModalResult = 0;
    // Enter presses the default button, Escape the cancel button. As in a
    // Windows dialog the default frame follows the focus: a push button that
    // has the focus shows it (Enter presses that one), and with the focus on
    // any other control the default button does.
    void SetDefault(bool isDefault);
    bool Default() const { return default_; }
    bool Cancel = false;
    // Draws the default frame or takes it away; the form says which button.
    void ShowDefaultFrame(bool shown);

    // As if pressed by the user.
    void Click();
    void HandleCommand(WORD code) override;

private:
    bool default_ = false;
};

// Radio buttons of one parent exclude one another. Only the checked one is a
// tab stop, so tabbing into the group never changes the choice.
class RadioButton : public Control {
public:
    RadioButton(Window& parent, std::string name, const Rect& bounds, std::string_view caption);

    // Raised when the button becomes checked, by the user or by the program.
    std::function<void()> OnClick;
    bool Checked() const;
    void SetChecked(bool checked);
    void HandleCommand(WORD code) override;
    // As in standard dialogs, the choice follows the focus.
    void FocusedByArrowKey() override { SetChecked(true); }
};

class CheckBox : public Control {
public:
    CheckBox(Window& parent, std::string name, const Rect& bounds, std::string_view caption);

    // Raised when the state changes, by the user or by the program.
    std::function<void()> OnClick;
    bool Checked() const;
    void SetChecked(bool checked);
    void HandleCommand(WORD code) override;

private:
    bool checked_ = false;
};

// A frame with a caption; the controls drawn inside it are its siblings.
// A frame with a caption. It lies beneath the controls placed over it and
// paints its own interior: the button class leaves it unerased, and forms
// clip their children, so it would otherwise show whatever was there before.
class GroupBox : public Control {
public:
    GroupBox(Window& parent, std::string name, const Rect& bounds, std::string_view caption);

    bool LiesBeneathSiblings() const override { return true; }

protected:
    LRESULT HandleMessage(const Message& message) override;
};

}  // namespace sorv::tk
