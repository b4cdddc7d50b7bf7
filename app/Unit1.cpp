#include "Unit1.h"

#include <stdexcept>
#include <utility>

#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "application.h"
#include "guard.h"
#include "help_request_win.h"
#include "message_box.h"
#include "names.h"
#include "resource_ids.h"
#include "settings.h"

namespace sorv {
namespace {

constexpr char kProgramName[] = "Sorv";

tk::FormDescription Design() {
    tk::FormDescription design;
    design.className = "TForm1";
    design.clientWidth = 304;
    design.clientHeight = 253;
    design.border = tk::BorderStyle::Single;
    design.icons = tk::BorderIcons{true, true, false, false};
    design.helpContext = 10;
    return design;
}

Answer ToAnswer(tk::BoxAnswer answer) {
    switch (answer) {
        case tk::BoxAnswer::Yes: return Answer::Yes;
        case tk::BoxAnswer::No: return Answer::No;
        default: return Answer::None;
    }
}

}  // namespace

TForm1::TForm1(std::vector<std::string> arguments, FileSystem& fileSystem)
    : tk::Form(Design()),
      fichier1(MainMenu1.Add("fichier1", "&Fichier")),
      Dcouper1(fichier1.Add("Dcouper1", "&D\u00e9couper", [this] { ToolButton1Click(); })),
      Regrouper1(fichier1.Add("Regrouper1", "&Regrouper", [this] { ToolButton2Click(); })),
      N1(fichier1.AddSeparator("N1")),
      Quitter1(fichier1.Add("Quitter1", "&Quitter", [this] { ToolButton6Click(); })),
      Outils1(MainMenu1.Add("Outils1", "&Outils")),
      Effacerlecran1(Outils1.Add("Effacerlecran1", "&Effacer l'ecran", [this] { ToolButton11Click(); })),
      Afficherlesicones1(Outils1.Add("Afficherlesicones1", "&Afficher les icones")),
      Formaterunedisquette1(
          Outils1.Add("Formaterunedisquette1", "&Formater une disquette", [this] { Formaterunedisquette1Click(); })),
      Options1(Outils1.AddSeparator("Options1")),
      Options2(Outils1.Add("Options2", "&Options", [this] { Options2Click(); })),
      Aide1(MainMenu1.Add("Aide1", "&Aide")),
      Rubriques(Aide1.Add("Rubriques", "&Rubriques d'aide", [this] { RubriquesClick(); })),
      Recherche1(Aide1.Add("Recherche1", "Recherche par &mot-cl\u00e9", [this] { Recherche1Click(); })),
      Nouveaut1(Aide1.Add("Nouveaut1", "&Nouveaut\u00e9s", [this] { Nouveaut1Click(); })),
      N2(Aide1.AddSeparator("N2")),
      Apropos2(Aide1.Add("Apropos2", "&A propos", [this] { Apropos2Click(); })),
      Memo1(*this, "Memo1", Rect::FromOrigin({8, 56}, {289, 169}), true),
      ProgressBar1(*this, "ProgressBar1", Rect::FromOrigin({0, 238}, {304, 15})),
      Dock971(*this, "Dock971", Rect::FromOrigin({0, 0}, {304, 42})),
      Dock972(*this, "Dock972", Rect::FromOrigin({0, 229}, {304, 9}), toolbar::TDockPosition::dpBottom),
      Toolbar971(Dock971, "Toolbar971"),
      ToolbarButton971(Toolbar971, "ToolbarButton971", 0),
      ToolbarButton975(Toolbar971, "ToolbarButton975", 38),
      ToolbarSep971(Toolbar971, "ToolbarSep971", 76),
      ToolbarButton974(Toolbar971, "ToolbarButton974", 82),
      ToolbarButton976(Toolbar971, "ToolbarButton976", 120),
      ToolbarButton977(Toolbar971, "ToolbarButton977", 158),
      ToolbarSep972(Toolbar971, "ToolbarSep972", 196),
      ToolbarButton973(Toolbar971, "ToolbarButton973", 202),
      ToolbarSep973(Toolbar971, "ToolbarSep973", 240),
      ToolbarButton972(Toolbar971, "ToolbarButton972", 246),
      FileDrag1(this),
      Format1(this),
      MSOfficeCaption1(*this, {caption::TFontKind::fkSystemB, caption::TFontKind::fkSystem,
                                caption::TFontKind::fkSystemBI}),
      engine(*this, fileSystem),
      arguments_(std::move(arguments)),
      fileSystem_(fileSystem) {
    SetUpControls();
    ConnectEvents();
    SetUpToolbar();
    tk::Guard([this] { FormCreate(); });
}

// The properties the stored layout gives the controls beyond their places.
void TForm1::SetUpControls() {
    Afficherlesicones1.SetEnabled(false);  // until the tool bar is closed
    SetMenu(&MainMenu1);
    Memo1.SetControlFont(tk::MakeFont({"Arial", -11, FW_NORMAL, false, false, ANSI_CHARSET}));
    Memo1.SetBatched(true);
    Memo1.KeepEndInView = true;  // the last lines say how the operation ended
    progressFlushKey_ = tk::App().AddOutputFlush([this] { FlushProgress(); });
    ProgressBar1.SetAlign(tk::Align::Bottom);
    OpenDialog1.Filter =
        "Fichiers compress\u00e9s|*.zip;*.arj;*.lzh;*.rar|Fichiers executable (*.exe)|*.exe|"
        "Tout les fichiers (*.*)|*.*";
    OpenDialog2.Filter = "Fichier script (*.d)|*.d";
    Format1.Capacity = TCapacity::capHigh;
    Format1.FormatType = TFmtType::fmtFull;
    Format1.Drive = TDriveType::dtADrive;
}

void TForm1::ConnectEvents() {
    OnActivate = [this] { FormActivate(); };
    OnCloseQuery = [this] { return FormCloseQuery(); };
    OnKeyPress = [this](wchar_t& key) { Memo1KeyPress(key); };
    Memo1.OnKeyPress = [this](wchar_t& key) { Memo1KeyPress(key); };
    FileDrag1.OnDrop = [this](TFileDrag* sender, int x, int y) { FileDrag1Drop(sender, x, y); };
}

void TForm1::SetUpToolbar() {
    Toolbar971.SetCaption("Barre d'ic\u00f4nes");
    Toolbar971.SetDefaultDock(&Dock972);
    Toolbar971.SetDockPos(0);
    Toolbar971.SetFullSize(true);
    Toolbar971.SetActivateParent(false);
    Toolbar971.SetHideWhenInactive(false);
    SetUpCommandButton(ToolbarButton971, SORV_GLYPH_SPLIT, "D\u00e9couper", [this] { ToolbarButton971Click(); });
    SetUpCommandButton(ToolbarButton975, SORV_GLYPH_JOIN, "Regrouper", [this] { ToolbarButton975Click(); });
    SetUpCommandButton(ToolbarButton974, SORV_GLYPH_CLEAR, "Effacer", [this] { ToolbarButton974Click(); });
    SetUpCommandButton(ToolbarButton976, SORV_GLYPH_FORMAT, "Formater une disquette",
                       [this] { ToolbarButton976Click(); });
    SetUpCommandButton(ToolbarButton977, SORV_GLYPH_OPTIONS, "Options", [this] { ToolbarButton977Click(); });
    SetUpCommandButton(ToolbarButton973, SORV_GLYPH_ABOUT, "A propos", [this] { ToolbarButton973Click(); });
    SetUpCommandButton(ToolbarButton972, SORV_GLYPH_QUIT, "Quitter", [this] { ToolbarButton972Click(); });
    Toolbar971.Loaded();
    Toolbar971.OnDockChanging = [this] { Toolbar971DockChanging(); };
    Toolbar971.OnDockChanged = [this] { Toolbar971DockChanged(); };
    Toolbar971.OnClose = [this] { Toolbar971Close(); };
    Afficherlesicones1.OnClick = [this] { Afficherlesicones1Click(); };
}

TForm1::~TForm1() {
    tk::App().RemoveOutputFlush(progressFlushKey_);
    BeginDestroy();
}

void TForm1::SetDialogs(TAboutBox* aboutBox, TForm3* sliceSizeDialog, TForm4* optionsDialog) {
    aboutBox_ = aboutBox;
    sliceSizeDialog_ = sliceSizeDialog;
    optionsDialog_ = optionsDialog;
}

// The start-up routine. A registry error ends it where it happens; the window
// is created all the same.
void TForm1::FormCreate() {
    const std::string programName = kProgramName;
    engine.state.DialogAccepted = false;
    engine.state.CancelRequested = false;
    engine.state.Busy = false;
    engine.state.StartupFile = LastArgument(arguments_);
    RecordInstallFolder(fileSystem_.CurrentDirectory(), [this](const std::string& path) { return fileSystem_.Exists(path); });
    // The window's layout holds the bar in the top dock.
    if (StartsInBottomDock(ReadSetting(kDockSetting))) {
        Toolbar971.SetDockedTo(&Dock972);
        PlaceLogArea(BarPlace::Bottom);
    }
    FileDrag1.SetEnableDrop(DropEnabled(ReadSetting(kDropSetting)));
    HelpFile = ProgramHelpFile();
    SetCaption(programName);
}

// The start-up file is handled at the first activation only: coming back from
// a dialog must not start it again.
void TForm1::FormActivate() {
    if (activated_) return;
    activated_ = true;
    if (!engine.state.StartupFile.empty()) engine.Dispatch(engine.state.StartupFile);
}

// Closing ends the message loop: during a flow, whose message runs are on
// the stack, the flow is asked to stop first, and the window closes once it
// has stopped and cleaned up.
bool TForm1::FormCloseQuery() {
    if (!engine.FlowRunning()) return true;
    if (!closeAfterFlow_ && engine.AskToStop()) closeAfterFlow_ = true;
    return false;
}

void TForm1::Memo1KeyPress(wchar_t& key) {
    if (key == VK_ESCAPE) engine.EscapePressed();
}

void TForm1::FileDrag1Drop(TFileDrag* sender, int, int) {
    // A drop of no files raises the event too; there is nothing to take.
    if (sender->Files().empty()) return;
    engine.Dispatch(sender->Files().front());
}

// During an operation the request is refused before the open dialog shows:
// choosing a file would be for nothing.
void TForm1::ToolButton1Click() {
    if (engine.RefuseWhileRunning()) return;
    if (OpenDialog1.Execute(Handle())) engine.StartSplit(OpenDialog1.FileName);
}

void TForm1::ToolButton2Click() {
    if (engine.RefuseWhileRunning()) return;
    if (OpenDialog2.Execute(Handle())) engine.StartJoin(OpenDialog2.FileName);
}

void TForm1::ToolButton11Click() { ClearLog(); }

void TForm1::ToolButton6Click() { Close(); }

// The format dialog's answer is not looked at.
void TForm1::Formaterunedisquette1Click() { Format1.Execute(); }

void TForm1::ToolbarButton977Click() {
    if (optionsDialog_) optionsDialog_->ShowModal();
}

void TForm1::Options2Click() { ToolbarButton977Click(); }

void TForm1::Apropos2Click() {
    if (aboutBox_) aboutBox_->ShowModal();
}

void TForm1::ToolbarButton971Click() { ToolButton1Click(); }

void TForm1::ToolbarButton975Click() { ToolButton2Click(); }

void TForm1::ToolbarButton974Click() { ToolButton11Click(); }

void TForm1::ToolbarButton976Click() { Formaterunedisquette1Click(); }

void TForm1::ToolbarButton973Click() { Apropos2Click(); }

void TForm1::ToolbarButton972Click() { ToolButton6Click(); }

void TForm1::PlaceLogArea(BarPlace place) {
    const LogAreaPlace area = LogAreaFor(place);
    Memo1.SetBounds(Rect::FromOrigin({8, area.top}, {289, area.height}));
}

void TForm1::Toolbar971DockChanging() { PlaceLogArea(BarPlace::Away); }

// The dock the bar came to is remembered; a floating bar leaves the log area
// as the change began and "Position" as it was.
void TForm1::Toolbar971DockChanged() {
    if (Toolbar971.DockedTo() == &Dock972) {
        PlaceLogArea(BarPlace::Bottom);
        WriteSetting(kDockSetting, kDockBottom);
    }
    if (Toolbar971.DockedTo() == &Dock971) {
        PlaceLogArea(BarPlace::Top);
        WriteSetting(kDockSetting, kDockTop);
    }
}

void TForm1::Toolbar971Close() {
    PlaceLogArea(BarPlace::Away);
    Afficherlesicones1.SetEnabled(true);
}

// The bar always comes back docked, where "Position" says.
void TForm1::Afficherlesicones1Click() {
    Toolbar971.SetVisible(true);
    if (StartsInBottomDock(ReadSetting(kDockSetting))) {
        Toolbar971.SetDockedTo(&Dock972);
        PlaceLogArea(BarPlace::Bottom);
    } else {
        PlaceLogArea(BarPlace::Top);
        Toolbar971.SetDockedTo(&Dock971);
    }
    Afficherlesicones1.SetEnabled(false);
}

void TForm1::RubriquesClick() { ShowHelpContents(); }

void TForm1::Recherche1Click() { ShowHelpSearch(); }

void TForm1::Nouveaut1Click() { ShowWhatsNew(); }

void TForm1::AppendLog(const std::string& line) { Memo1.AppendLine(line); }

void TForm1::ClearLog() { Memo1.Clear(); }

void TForm1::SetProgressMax(std::int64_t maximum) {
    FlushProgress();
    ProgressBar1.SetMax(maximum);
}

// Each step would make the bar repaint: it moves when the log shows.
void TForm1::AdvanceProgress(std::int64_t bytes) { heldSteps_ += bytes; }

void TForm1::FlushProgress() {
    if (heldSteps_ != 0) ProgressBar1.StepBy(std::exchange(heldSteps_, 0));
}

void TForm1::ResetProgress() {
    heldSteps_ = 0;
    ProgressBar1.SetPosition(0);
}

void TForm1::ShowMessage(const std::string& text) { tk::ShowMessageBox(tk::BoxKind::Message, text); }

Answer TForm1::AskWarning(const std::string& text) {
    return ToAnswer(tk::ShowMessageBox(tk::BoxKind::Warning, text));
}

Answer TForm1::AskConfirmation(const std::string& text) {
    return ToAnswer(tk::ShowMessageBox(tk::BoxKind::Confirmation, text));
}

Answer TForm1::AskPlain(const std::string& text) { return ToAnswer(tk::ShowMessageBox(tk::BoxKind::Question, text)); }

void TForm1::ShowSliceSizeDialog(EngineState& state, const std::string& fileLabel, const std::string& sizeLabel) {
    if (!sliceSizeDialog_) throw std::logic_error("slice-size dialog not created");
    // Read at each split, like every setting.
    state.Recovery = RecoverySlicesOn(ReadSetting(kRecoverySetting)) ? RecoveryRequest{0, kRecoveryPercent}
                                                                      : RecoveryRequest{};
    tk::App().FlushOutput();
    sliceSizeDialog_->Execute(state, fileLabel, sizeLabel);
}

// After a slice: when nothing waits in the queue (no key, click, command,
// drop, message from another program, paint) the run would only repaint the
// log and the bar, which the held-back output then waits for, 50 ms at most.
void TForm1::ProcessMessages() {
    const std::int64_t now = *ClockMicroseconds();
    if (!paintCadence_.Due(now) && HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return;
    tk::App().ProcessMessages();
    paintCadence_.Ran(now);
}

std::optional<std::int64_t> TForm1::ClockMicroseconds() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<std::int64_t>(now.QuadPart / frequency * 1'000'000 + now.QuadPart % frequency * 1'000'000 / frequency);
}

void TForm1::FlowEnded() {
    tk::App().FlushOutput();
    // Handled once the flow has returned, from the message loop.
    if (std::exchange(closeAfterFlow_, false)) {
        engine.state.CancelRequested = false;
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
    }
}

}  // namespace sorv
