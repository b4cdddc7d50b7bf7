#include "Unit4.h"

#include "guard.h"
#include "help_request_win.h"
#include "message_box.h"
#include "settings.h"
#include "unit4_shell_rules.h"

namespace sorv {
namespace {

constexpr int kRowHeight = 32;

tk::FormDescription Design() {
    tk::FormDescription design;
    design.className = "TForm4";
    design.clientWidth = 241;
    // The frame grew by one row for the recovery slices' box.
    design.clientHeight = 183 + kRowHeight;
    design.border = tk::BorderStyle::Dialog;
    design.helpContext = 50;
    return design;
}

// The toolkit's frame is not a container: the boxes are its siblings, placed
// at the frame's origin (8, 8) plus their place inside it.
constexpr int kFrameLeft = 8;
constexpr int kFrameTop = 8;

Rect InFrame(int left, int top, int width, int height) {
    return Rect::FromOrigin({kFrameLeft + left, kFrameTop + top}, {width, height});
}

}  // namespace

// Created in tab order: the frame and its boxes, then "&Ok", then
// "A&nnuler". Neither button is default nor cancel, so that a stray Enter
// never rewrites the shell's registrations: Enter presses only the button
// that has the focus, Escape none.
TForm4::TForm4(const tk::Form& mainForm, TFileDrag& fileDrag, RegistryStore& registry, FileSystem& fileSystem)
    : tk::Form(Design()),
      GroupBox1(*this, "GroupBox1", Rect::FromOrigin({kFrameLeft, kFrameTop}, {225, 121 + kRowHeight}), "Options"),
      CheckBox1(*this, "CheckBox1", InFrame(8, 24, 209, 25), "&Ajout de sorv dans le menu contextuel."),
      CheckBox2(*this, "CheckBox2", InFrame(8, 56, 209, 17), "&Enregistrer *.d comme type de fichier."),
      CheckBox3(*this, "CheckBox3", InFrame(8, 88, 193, 17), "Utiliser le drag and drop."),
      CheckBox4(*this, "CheckBox4", InFrame(8, 120, 209, 17), "Ajouter des tranches de &secours."),
      Button1(*this, "Button1", Rect::FromOrigin({158, 144 + kRowHeight}, {75, 25}), "&Ok"),
      Button2(*this, "Button2", Rect::FromOrigin({8, 144 + kRowHeight}, {75, 25}), "A&nnuler"),
      MSOfficeCaption1(*this, {caption::TFontKind::fkSystemB, caption::TFontKind::fkSystem,
                                caption::TFontKind::fkSystemBI}),
      mainForm_(mainForm),
      fileDrag_(fileDrag),
      registry_(registry),
      fileSystem_(fileSystem) {
    OnActivate = [this] { FormActivate(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    tk::Guard([this] { FormCreate(); });
}

void TForm4::FormCreate() {
    HelpFile = ProgramHelpFile(registry_);
    SetCaption(mainForm_.Caption());
}

// The command line does not matter for reading.
void TForm4::FormActivate() {
    CheckBox1.SetChecked(IsRegistered(registry_, ContextMenuRegistration("")));
    CheckBox2.SetChecked(IsRegistered(registry_, ScriptTypeRegistration("")));
    CheckBox3.SetChecked(fileDrag_.EnableDrop());
    CheckBox4.SetChecked(RecoverySlicesOn(ReadSetting(kRecoverySetting, registry_)));
}

// A failed write ends the handler in the error box with the dialog still
// open; what was written before stays.
void TForm4::Button1Click() {
    const std::string folder = ReadSetting(kInstallFolderSetting, registry_);
    const std::string executable = ExecutablePath(folder);
    // With no folder stored the path would be relative ("Nonesorv.exe"): a
    // command line the shell could not run.
    if (folder != kRegNone && fileSystem_.Exists(executable)) {
        const std::string commandLine = ShellCommandLine(executable);
        ApplyRegistration(registry_, ContextMenuRegistration(commandLine), CheckBox1.Checked());
        ApplyRegistration(registry_, ScriptTypeRegistration(commandLine), CheckBox2.Checked());
    } else {
        tk::ShowMessageBox(tk::BoxKind::Message, kExecutableMissingText);
    }
    const bool drop = CheckBox3.Checked();
    WriteSetting(kDropSetting, drop ? kSettingOn : kSettingOff, registry_);
    fileDrag_.SetEnableDrop(drop);
    WriteSetting(kRecoverySetting, CheckBox4.Checked() ? kSettingOn : kSettingOff, registry_);
    Close();
}

void TForm4::Button2Click() { Close(); }

}  // namespace sorv
