#pragma once
// The slice-size dialog: the name and size of the file to split, and the
// seven slice sizes to choose from. Created once at start-up and shown
// modally before every split; the last choice stays selected.
#include <functional>
#include <string>

#include "Wordcap.h"
#include "buttons.h"
#include "engine_state.h"
#include "form.h"
#include "label.h"

namespace sorv {

class TForm3 : public tk::Form {
public:
    // `mainForm` gives the caption; `state` is the engine state the radio
    // buttons and "&Ok" set; `helpFile` names the dialog's help file when it
    // is created (the program's: in the install folder).
    TForm3(EngineState& state, const tk::Form& mainForm, std::function<std::string()> helpFile);
    ~TForm3() override { BeginDestroy(); }

    tk::Label Label1;
    tk::Label Label2;
    tk::GroupBox RadioGroup1;
    tk::RadioButton RadioButton1;
    tk::RadioButton RadioButton2;
    tk::RadioButton RadioButton3;
    tk::RadioButton RadioButton4;
    tk::RadioButton RadioButton5;
    tk::RadioButton RadioButton6;
    tk::RadioButton RadioButton7;
    // Made in the order Tab takes them: left to right.
    tk::Button Button2;
    tk::Button Button1;
    caption::TMSOfficeCaption MSOfficeCaption1;

    void FormCreate();
    void FormActivate();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void RadioButton7Click();
    void Button1Click();
    void Button2Click();

    // Shows the dialog modally with its two label texts; afterwards
    // state.DialogAccepted tells whether "&Ok" closed it.
    void Execute(EngineState& state, const std::string& fileLabel, const std::string& sizeLabel);

private:
    EngineState* state_;
    const tk::Form& mainForm_;
    std::function<std::string()> helpFile_;
};

}  // namespace sorv
