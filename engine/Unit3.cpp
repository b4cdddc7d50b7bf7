#include "Unit3.h"

#include "guard.h"
#include "sizes.h"

namespace sorv {
namespace {

tk::FormDescription Design() {
    tk::FormDescription design;
    design.className = "TForm3";
    design.clientWidth = 267;
    design.clientHeight = 202;
    design.border = tk::BorderStyle::Dialog;
    design.helpContext = 40;
    return design;
}

// Every control but the Zip choice is in Arial.
const tk::SharedFont& Arial() {
    static const tk::SharedFont font = tk::MakeFont({"Arial", -11});
    return font;
}

}  // namespace

TForm3::TForm3(EngineState& state, const tk::Form& mainForm, std::function<std::string()> helpFile)
    : tk::Form(Design()),
      Label1(*this, "Label1", Rect::FromOrigin({8, 8}, {0, 0}), "Fichier: "),
      Label2(*this, "Label2", Rect::FromOrigin({8, 24}, {0, 0}), "Taille:"),
      RadioGroup1(*this, "RadioGroup1", Rect::FromOrigin({8, 48}, {249, 105}), "Taille Maximum"),
      RadioButton1(*this, "RadioButton1", Rect::FromOrigin({24, 80}, {57, 17}), SliceCaptionFor(1)),
      RadioButton2(*this, "RadioButton2", Rect::FromOrigin({24, 104}, {57, 17}), SliceCaptionFor(2)),
      RadioButton3(*this, "RadioButton3", Rect::FromOrigin({104, 80}, {57, 17}), SliceCaptionFor(3)),
      RadioButton4(*this, "RadioButton4", Rect::FromOrigin({104, 104}, {57, 17}), SliceCaptionFor(4)),
      RadioButton5(*this, "RadioButton5", Rect::FromOrigin({184, 80}, {57, 17}), SliceCaptionFor(5)),
      RadioButton6(*this, "RadioButton6", Rect::FromOrigin({184, 104}, {57, 17}), SliceCaptionFor(6)),
      RadioButton7(*this, "RadioButton7", Rect::FromOrigin({24, 128}, {145, 17}), SliceCaptionFor(7)),
      Button2(*this, "Button2", Rect::FromOrigin({8, 168}, {73, 25}), "&Annuler"),
      Button1(*this, "Button1", Rect::FromOrigin({184, 168}, {73, 25}), "&Ok"),
      MSOfficeCaption1(*this, {caption::TFontKind::fkSystemB, caption::TFontKind::fkSystem,
                                caption::TFontKind::fkSystemBI}),
      state_(&state),
      mainForm_(mainForm),
      helpFile_(std::move(helpFile)) {
    for (tk::Control* control : Controls())
        if (control != &RadioButton7) control->SetControlFont(Arial());
    RadioButton4.SetChecked(true);  // the stored layout's selection
    // Enter is "&Ok" (unless the focus is on "&Annuler"), Escape "&Annuler".
    Button1.SetDefault(true);
    Button2.Cancel = true;
    // A long file name is shortened within the dialog (the log has it whole).
    Label1.SetMaxWidth(ClientSize().cx - 2 * Label1.Left());

    OnActivate = [this] { FormActivate(); };
    RadioButton1.OnClick = [this] { RadioButton1Click(); };
    RadioButton2.OnClick = [this] { RadioButton2Click(); };
    RadioButton3.OnClick = [this] { RadioButton3Click(); };
    RadioButton4.OnClick = [this] { RadioButton4Click(); };
    RadioButton5.OnClick = [this] { RadioButton5Click(); };
    RadioButton6.OnClick = [this] { RadioButton6Click(); };
    RadioButton7.OnClick = [this] { RadioButton7Click(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    tk::Guard([this] { FormCreate(); });
}

void TForm3::FormCreate() {
    SetCaption(mainForm_.Caption());
    state_->SizeChoice = 4;
    if (helpFile_) HelpFile = helpFile_();
}

// Every showing starts unaccepted.
void TForm3::FormActivate() { state_->DialogAccepted = false; }

void TForm3::RadioButton1Click() { state_->SizeChoice = 1; }
void TForm3::RadioButton2Click() { state_->SizeChoice = 2; }
void TForm3::RadioButton3Click() { state_->SizeChoice = 3; }
void TForm3::RadioButton4Click() { state_->SizeChoice = 4; }
void TForm3::RadioButton5Click() { state_->SizeChoice = 5; }
void TForm3::RadioButton6Click() { state_->SizeChoice = 6; }
void TForm3::RadioButton7Click() { state_->SizeChoice = 7; }

void TForm3::Button1Click() {
    state_->DialogAccepted = true;
    Close();
}

void TForm3::Button2Click() { Close(); }

void TForm3::Execute(EngineState& state, const std::string& fileLabel, const std::string& sizeLabel) {
    state_ = &state;
    Label1.SetCaption(fileLabel);
    Label2.SetCaption(sizeLabel);
    ShowModal();
}

}  // namespace sorv
