// The commands from the user's side: a whole split through the menu, the
// file-open dialog and the slice-size dialog, a join by dropping the script,
// the start-up file, the Escape prompt, clearing the log and help.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "help_request_win.h"
#include "program_fixture.h"
#include "settings.h"
#include "temp_dir.h"
#include "user_driver.h"
#include "utf16.h"

namespace sorv::test {
namespace {

// A drop of these files as the shell hands it over (DragFinish frees it).
HDROP MakeDrop(const std::vector<std::string>& files, POINT point) {
    std::wstring names;
    for (const auto& file : files) names += Widen(file) + L'\0';
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point;
    drop->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

bool LastLineIs(const TForm1& form, const std::string& line) {
    const auto lines = form.Memo1.Lines();
    return !lines.empty() && lines.back() == line;
}

void PostCommand(const tk::Form& form, const tk::MenuItem& item) {
    PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(item.CommandId(), 0), 0);
}

// Chooses "360 Ko" and presses "&Ok".
void Choose360(Program& program) {
    Click(program.Form3.RadioButton1.Handle());
    Click(program.Form3.Button1.Handle());
}

TEST(Commands, SplitThroughTheMenuThenJoinByDroppingTheScript) {
    TempDir dir;
    const std::string source = dir.Path("archive.zip");
    const std::string bytes = PatternBytes(800'000);
    WriteFileBytes(source, bytes);
    Program program;
    TForm1& form = program.Form1;
    UserDriver user;
    user.onOpenDialog = [&](HWND dialog) {
        SetDlgItemTextW(dialog, cmb13, Widen(source).c_str());
        Press(dialog, IDOK);
    };
    user.onSliceDialog = [&](HWND) { Choose360(program); };

    PostCommand(form, form.Dcouper1);
    ASSERT_TRUE(PumpUntil([&] { return LastLineIs(form, "...Ok"); }, 10000));
    EXPECT_EQ(user.openDialogs, 1);
    EXPECT_EQ(user.sliceDialogs, 1);
    const std::string slice1 = form.engine.SliceFileName(source, 1);
    const std::string slice3 = form.engine.SliceFileName(source, 3);
    const std::string script = form.engine.ScriptFileName(source);
    EXPECT_EQ(form.Memo1.Lines(),
              (std::vector<std::string>{"Taille maximum de la tranche :360 Ko", "Nom du fichier : archive.zip",
                                        "Taille du fichier : 800000 octet(s).", "Nombre de tranche : 3",
                                        slice1 + ": 358400 octet(s)",
                                        form.engine.SliceFileName(source, 2) + ": 358400 octet(s)",
                                        slice3 + ": 83200 octet(s)", script, "...Ok"}));
    EXPECT_TRUE(FileExists(script));
    EXPECT_EQ(form.ProgressBar1.Position(), 0);
    EXPECT_EQ(form.OpenDialog1.FileName, source);

    // Join: the original goes, the script is dropped on the window.
    std::filesystem::remove(PathFromUtf8(source));
    form.ToolButton11Click();
    EXPECT_TRUE(form.Memo1.Lines().empty());
    PostMessageW(form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({script}, {20, 30})), 0);
    ASSERT_TRUE(PumpUntil([&] { return user.boxes.size() == 1; }, 10000));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(user.boxes[0].title, L"Confirmation");
    EXPECT_EQ(user.boxes[0].text, L"Effacer les tranches et le script ?");
    const auto lines = form.Memo1.Lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Fichier ouvert :" + script);
    EXPECT_EQ(lines[1], "Nom original :" + source);  // the full path at split time
    EXPECT_EQ(lines[2], "Taille originale :800000octet(s)");
    EXPECT_EQ(lines[3], "Nombre de tranches :3");
    EXPECT_TRUE(Contains(lines, "V\u00e9rification OK."));
    EXPECT_EQ(lines.back(), "...Ok");
    EXPECT_EQ(ReadFileBytes(source), bytes);
    // The box's first button, "&Oui", removed the slices and the script.
    EXPECT_FALSE(FileExists(slice1));
    EXPECT_FALSE(FileExists(slice3));
    EXPECT_FALSE(FileExists(script));
}

TEST(Commands, CancellingTheOpenDialogDoesNothing) {
    Program program;
    UserDriver user;
    user.onOpenDialog = [](HWND dialog) { Press(dialog, IDCANCEL); };
    PostCommand(program.Form1, program.Form1.Regrouper1);
    ASSERT_TRUE(PumpUntil([&] { return user.openDialogs == 1; }));
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(program.Form1.Memo1.Lines().empty());
    EXPECT_EQ(user.sliceDialogs, 0);
    EXPECT_TRUE(IsWindowEnabled(program.Form1.Handle()));
}

TEST(Commands, TheStartupFileIsHandledAtTheFirstActivationOnly) {
    TempDir dir;
    const std::string file = dir.Path("donnees.dat");
    WriteFileBytes(file, "12345");
    Program program({"premier", "second", file}, false);
    EXPECT_EQ(program.Form1.engine.state.StartupFile, file);
    UserDriver user;
    user.onSliceDialog = [&](HWND) { Click(program.Form3.Button2.Handle()); };
    program.Show();
    ASSERT_TRUE(PumpUntil([&] { return user.sliceDialogs == 1; }));
    // Back from the dialog, then from a message box: no second start.
    PumpUntil([] { return false; }, 100);
    program.Form1.ShowMessage("Pas besoin de couper");
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(user.sliceDialogs, 1);
    EXPECT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(GetActiveWindow(), program.Form1.Handle());
}

TEST(Commands, WithoutArgumentsNothingStartsAndOfThreeDroppedFilesOnlyTheFirstCounts) {
    TempDir dir;
    Program program;
    UserDriver user;
    user.onSliceDialog = [&](HWND) { Click(program.Form3.Button2.Handle()); };
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(program.Form1.engine.state.StartupFile.empty());
    EXPECT_EQ(user.sliceDialogs, 0);
    EXPECT_TRUE(program.Form1.Memo1.Lines().empty());

    // The first file names a script: a join starts, the two others are ignored.
    const std::string script = dir.Path("A.D");
    const std::string other = dir.Path("b.zip");
    WriteFileBytes(other, PatternBytes(400'000));
    // Its one slice is not there.
    WriteFileBytes(script, "[Sorv]\r\nNomOriginal=a.bin\r\nTailleOriginale=5\r\nTranches=1\r\n");
    PostMessageW(program.Form1.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({script, other, dir.Path("c.zip")}, {5, 5})), 0);
    ASSERT_TRUE(PumpUntil([&] { return program.Form1.Memo1.Lines().size() >= 6; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(program.Form1.FileDrag1.FileCount(), 3);
    EXPECT_EQ(program.Form1.Memo1.Lines().front(), "Fichier ouvert :" + script);
    EXPECT_EQ(program.Form1.Memo1.Lines().back(), "Il manque la tranche \u00b001");
    EXPECT_EQ(user.sliceDialogs, 0);
}

// Splits a file of 5 slices of 360 Ko; after the first slice the user presses
// Escape in the log area and answers the prompt with the given button.
struct EscapedSplit {
    TempDir dir;
    std::string source = dir.Path("gros.bin");
    Program program;
    UserDriver user;
    bool escapeSent = false;

    explicit EscapedSplit(int answerId) {
        WriteFileBytes(source, PatternBytes(5 * 358'400));
        user.onSliceDialog = [this](HWND) { Choose360(program); };
        user.onBox = [answerId](HWND box, const BoxContents&) { Press(box, answerId); };
        program.Form1.afterLine = [this](const std::string& line) {
            if (!escapeSent && line.starts_with(program.Form1.engine.SliceFileName(source, 1))) {
                escapeSent = true;
                PostKey(program.Form1.Memo1.Handle(), VK_ESCAPE);
            }
        };
        program.Form1.engine.StartSplit(source);
    }
};

TEST(Commands, EscapeDuringASplitAnsweredYesStopsItAndRemovesTheSlices) {
    EscapedSplit split(IDYES);
    TForm1& form = split.program.Form1;
    ASSERT_EQ(split.user.boxes.size(), 1u);
    const BoxContents& box = split.user.boxes[0];
    EXPECT_EQ(box.title, L"sorv");
    EXPECT_EQ(box.text, L"Voulez-vous arreter le traitement?");
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"&Oui", L"&Non"}));
    EXPECT_EQ(box.icon, nullptr);
    EXPECT_EQ(form.Memo1.Lines().back(), "Arr\u00eat.");
    EXPECT_FALSE(FileExists(form.engine.SliceFileName(split.source, 1)));
    EXPECT_FALSE(FileExists(form.engine.ScriptFileName(split.source)));
    EXPECT_FALSE(form.engine.state.Busy);
    EXPECT_FALSE(form.engine.state.CancelRequested);
    EXPECT_EQ(form.ProgressBar1.Position(), 0);
}

// The log holds its lines back between two paints: whatever is on screen when
// a box shows or a command runs is everything logged before it.
TEST(Commands, ABatchedLogShowsEveryEarlierLineBeforeTheStopQuestionAndAClearKeepsItsPlace) {
    TempDir dir;
    const std::string source = dir.Path("gros.bin");
    WriteFileBytes(source, PatternBytes(5 * 358'400));
    Program program;
    WatchedForm1& form = program.Form1;
    UserDriver user;
    user.onSliceDialog = [&](HWND) { Choose360(program); };
    std::string shownAtQuestion;
    user.onBox = [&](HWND box, const BoxContents&) {
        shownAtQuestion = form.Memo1.Text();  // the control's own text, nothing held back
        Press(box, IDNO);
    };
    const std::string slice1 = form.engine.SliceFileName(source, 1);
    const std::string slice2 = form.engine.SliceFileName(source, 2);
    form.afterLine = [&](const std::string& line) {
        if (line.starts_with(slice1)) PostKey(form.Memo1.Handle(), VK_ESCAPE);
        if (line.starts_with(slice2)) PostCommand(form, form.Effacerlecran1);
    };
    form.engine.StartSplit(source);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_TRUE(shownAtQuestion.ends_with(slice1 + ": 358400 octet(s)\r\n")) << shownAtQuestion;
    // Cleared after slice 2: the lines after it, in order, and the end shown.
    const std::vector<std::string> after{form.engine.SliceFileName(source, 3) + ": 358400 octet(s)",
                                         form.engine.SliceFileName(source, 4) + ": 358400 octet(s)",
                                         form.engine.SliceFileName(source, 5) + ": 358400 octet(s)",
                                         form.engine.ScriptFileName(source), "...Ok"};
    EXPECT_EQ(form.Memo1.Lines(), after);
    EXPECT_EQ(form.Memo1.Text(), [&] {
        std::string text;
        for (const auto& line : after) text += line + "\r\n";
        return text;
    }());
    EXPECT_EQ(form.ProgressBar1.Position(), 0);
}

TEST(Commands, EscapeDuringASplitAnsweredNoLetsItFinish) {
    EscapedSplit split(IDNO);
    TForm1& form = split.program.Form1;
    ASSERT_EQ(split.user.boxes.size(), 1u);
    EXPECT_EQ(form.Memo1.Lines().back(), "...Ok");
    EXPECT_TRUE(FileExists(form.engine.SliceFileName(split.source, 5)));
    EXPECT_TRUE(FileExists(form.engine.ScriptFileName(split.source)));
}

TEST(Commands, EscapeWhileIdleShowsNothing) {
    Program program;
    UserDriver user;
    PostKey(program.Form1.Memo1.Handle(), VK_ESCAPE);
    PostMessageW(program.Form1.Handle(), WM_CHAR, VK_ESCAPE, 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(user.boxes.empty());
    EXPECT_TRUE(program.Form1.Memo1.Lines().empty());
    EXPECT_TRUE(IsWindowVisible(program.Form1.Handle()));
    EXPECT_FALSE(tk::App().Terminated());
}

// "&Découper", "&Regrouper" or a drop while a split runs: no open dialog, a
// line in the log, and the running split goes on with its own file.
TEST(Commands, CommandsDuringASplitAreRefusedAloudAndChangeNothing) {
    TempDir dir;
    const std::string source = dir.Path("gros.zip");
    WriteFileBytes(source, PatternBytes(3 * 358'400));
    WriteFileBytes(dir.Path("rapport.zip"), PatternBytes(400'000));
    Program program;
    WatchedForm1& form = program.Form1;
    UserDriver user;
    user.onSliceDialog = [&](HWND) { Choose360(program); };
    bool sent = false;
    form.afterLine = [&](const std::string& line) {
        if (sent || !line.starts_with(form.engine.SliceFileName(source, 1))) return;
        sent = true;
        PostCommand(form, form.Dcouper1);
        PostCommand(form, form.Regrouper1);
        PostMessageW(form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir.Path("rapport.zip")}, {5, 5})), 0);
    };
    form.engine.StartSplit(source);
    const auto lines = form.Memo1.Lines();
    EXPECT_EQ(lines.back(), "...Ok");
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "Demande refus\u00e9e : un d\u00e9coupage ou un regroupement est en cours."), 3);
    EXPECT_EQ(user.openDialogs, 0);
    EXPECT_EQ(user.sliceDialogs, 1);
    EXPECT_TRUE(FileExists(form.engine.SliceFileName(source, 3)));
    EXPECT_FALSE(FileExists(form.engine.SliceFileName(dir.Path("rapport.zip"), 1)));
}

TEST(Commands, ClearingTheLogFromTheMenu) {
    Program program;
    program.Form1.AppendLog("Nom du fichier : a.zip");
    program.Form1.AppendLog("...Ok");
    PostCommand(program.Form1, program.Form1.Effacerlecran1);
    ASSERT_TRUE(PumpUntil([&] { return program.Form1.Memo1.Lines().empty(); }));
    program.Form1.AppendLog("V\u00e9rification OK.");
    EXPECT_EQ(program.Form1.Memo1.Lines(), std::vector<std::string>{"V\u00e9rification OK."});
}

TEST(Commands, FormatOptionsAndAboutOpenTheirWindows) {
    Program program;
    TForm1& form = program.Form1;
    std::vector<UINT> drives;
    HWND formatOwner = nullptr;
    form.Format1.FormatDrive = [&](HWND owner, UINT drive, UINT, UINT) {
        formatOwner = owner;
        drives.push_back(drive);
        return DWORD{0};
    };
    UserDriver user;
    user.onOtherWindow = [](HWND window, const std::wstring&) { PostMessageW(window, WM_CLOSE, 0, 0); };

    PostCommand(form, form.Formaterunedisquette1);
    ASSERT_TRUE(PumpUntil([&] { return !drives.empty(); }));
    EXPECT_EQ(drives, std::vector<UINT>{0});  // drive A:
    EXPECT_EQ(formatOwner, form.Handle());
    EXPECT_EQ(form.Format1.Capacity, TCapacity::capHigh);
    EXPECT_EQ(form.Format1.FormatType, TFmtType::fmtFull);

    PostCommand(form, form.Options2);
    ASSERT_TRUE(PumpUntil([&] { return user.shown[L"TForm4"] == 1 && !program.Form4.Visible(); }));
    PostCommand(form, form.Apropos2);
    ASSERT_TRUE(PumpUntil([&] { return user.shown[L"TAboutBox"] == 1 && !program.AboutBox.Visible(); }));
    PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));
    EXPECT_EQ(GetActiveWindow(), form.Handle());
    EXPECT_EQ(GetFocus(), form.Memo1.Handle());
}

TEST(Commands, HelpItemsAskForTheInstallFoldersHelpFile) {
    Program program;
    std::vector<tk::HelpRequest> requests;
    tk::App().OnHelp = [&](const tk::HelpRequest& request) { requests.push_back(request); };
    PostCommand(program.Form1, program.Form1.Rubriques);
    PostCommand(program.Form1, program.Form1.Recherche1);
    PostCommand(program.Form1, program.Form1.Nouveaut1);
    PumpUntil([&] { return requests.size() == 3; });
    tk::App().OnHelp = nullptr;
    const std::string helpFile = ProgramHelpFile();
    EXPECT_TRUE(FileExists(helpFile)) << helpFile;
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].command, static_cast<UINT>(HELP_CONTENTS));
    EXPECT_EQ(requests[1].command, static_cast<UINT>(HELP_FINDER));
    EXPECT_EQ(requests[2].command, static_cast<UINT>(HELP_PARTIALKEY));
    EXPECT_EQ(requests[2].keyword, "Nouveaut\u00e9s");
    for (const auto& request : requests) {
        EXPECT_EQ(request.file, helpFile);
        EXPECT_EQ(request.owner, program.Form1.Handle());
    }
    EXPECT_EQ(tk::App().HelpFile, helpFile);
}

}  // namespace
}  // namespace sorv::test
