#pragma once
// The main window: the log area, the progress bar and the menus, the split
// and join commands (menu, drop, start-up file) and the Escape prompt. It is
// the engine's front end.
#include <string>
#include <vector>

#include "Format.h"
#include "TB97.h"
#include "TB97Ctls.h"
#include "TB97Tlbr.h"
#include "Wordcap.h"
#include "engine.h"
#include "pump_cadence.h"
#include "file_system.h"
#include "filedrag.h"
#include "unit1_toolbar_win.h"
#include "form.h"
#include "memo.h"
#include "menu.h"
#include "open_dialog.h"
#include "progress_bar.h"

namespace sorv {

class TAboutBox;
class TForm3;
class TForm4;

class TForm1 : public tk::Form, public FrontEnd {
public:
    // `arguments`: the command-line arguments after the program's name.
    explicit TForm1(std::vector<std::string> arguments, FileSystem& fileSystem = NativeFileSystem());
    ~TForm1() override;

    // The dialogs this window shows, created after it (start-up order).
    void SetDialogs(TAboutBox* aboutBox, TForm3* sliceSizeDialog, TForm4* optionsDialog);

    tk::MainMenu MainMenu1;
    tk::MenuItem& fichier1;
    tk::MenuItem& Dcouper1;
    tk::MenuItem& Regrouper1;
    tk::MenuItem& N1;
    tk::MenuItem& Quitter1;
    tk::MenuItem& Outils1;
    tk::MenuItem& Effacerlecran1;
    tk::MenuItem& Afficherlesicones1;
    tk::MenuItem& Formaterunedisquette1;
    tk::MenuItem& Options1;
    tk::MenuItem& Options2;
    tk::MenuItem& Aide1;
    tk::MenuItem& Rubriques;
    tk::MenuItem& Recherche1;
    tk::MenuItem& Nouveaut1;
    tk::MenuItem& N2;
    tk::MenuItem& Apropos2;
    tk::Memo Memo1;
    tk::ProgressBar ProgressBar1;
    // The tool bar's docks, made before the bar so that they outlive it.
    toolbar::TDock97 Dock971;
    toolbar::TDock97 Dock972;
    // The tool bar and its buttons in their order on it.
    toolbar::TToolbar97 Toolbar971;
    toolbar::TToolbarButton97 ToolbarButton971;
    toolbar::TToolbarButton97 ToolbarButton975;
    toolbar::TToolbarSep97 ToolbarSep971;
    toolbar::TToolbarButton97 ToolbarButton974;
    toolbar::TToolbarButton97 ToolbarButton976;
    toolbar::TToolbarButton97 ToolbarButton977;
    toolbar::TToolbarSep97 ToolbarSep972;
    toolbar::TToolbarButton97 ToolbarButton973;
    toolbar::TToolbarSep97 ToolbarSep973;
    toolbar::TToolbarButton97 ToolbarButton972;
    tk::OpenDialog OpenDialog1;
    tk::OpenDialog OpenDialog2;
    TFileDrag FileDrag1;
    TFormat Format1;
    caption::TMSOfficeCaption MSOfficeCaption1;
    // The engine and its state, program-wide.
    Engine engine;

    void FormCreate();
    void FormActivate();
    bool FormCloseQuery();
    void Memo1KeyPress(wchar_t& key);
    void FileDrag1Drop(TFileDrag* sender, int x, int y);
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton11Click();
    void ToolButton6Click();
    void Formaterunedisquette1Click();
    void ToolbarButton977Click();
    void Options2Click();
    void Apropos2Click();
    // The tool bar's buttons and its moves.
    void ToolbarButton971Click();
    void ToolbarButton975Click();
    void ToolbarButton974Click();
    void ToolbarButton976Click();
    void ToolbarButton973Click();
    void ToolbarButton972Click();
    void Toolbar971DockChanging();
    void Toolbar971DockChanged();
    void Toolbar971Close();
    void Afficherlesicones1Click();
    void RubriquesClick();
    void Recherche1Click();
    void Nouveaut1Click();

    // The engine's front end.
    void AppendLog(const std::string& line) override;
    void ClearLog() override;
    void SetProgressMax(std::int64_t maximum) override;
    void AdvanceProgress(std::int64_t bytes) override;
    void ResetProgress() override;
    void ShowMessage(const std::string& text) override;
    Answer AskWarning(const std::string& text) override;
    Answer AskConfirmation(const std::string& text) override;
    Answer AskPlain(const std::string& text) override;
    void ShowSliceSizeDialog(EngineState& state, const std::string& fileLabel, const std::string& sizeLabel) override;
    void ProcessMessages() override;
    std::optional<std::int64_t> ClockMicroseconds() override;
    void FlowEnded() override;

private:
    void FlushProgress();

    void SetUpControls();
    void ConnectEvents();
    void SetUpToolbar();
    // Left 8 and width 289 stay; top and height make room for the bar.
    void PlaceLogArea(BarPlace place);

    std::vector<std::string> arguments_;
    FileSystem& fileSystem_;
    TAboutBox* aboutBox_ = nullptr;
    TForm3* sliceSizeDialog_ = nullptr;
    TForm4* optionsDialog_ = nullptr;
    bool activated_ = false;
    // The window was asked to close during a flow and the user agreed to
    // stop it: it closes once the flow has ended.
    bool closeAfterFlow_ = false;
    // Progress steps held back until the next flush, as the log lines are.
    std::int64_t heldSteps_ = 0;
    int progressFlushKey_ = 0;
    // Message runs after a slice that would only repaint wait for this.
    PumpCadence paintCadence_;
};

}  // namespace sorv
