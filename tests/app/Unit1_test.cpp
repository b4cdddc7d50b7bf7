// The main window and the slice-size dialog as the user finds them: classes,
// geometry, menus, fonts, defaults, and the dialog's handlers.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "program_fixture.h"
#include "temp_dir.h"
#include "user_driver.h"
#include "window_probe.h"

namespace sorv::test {
namespace {

RECT ClientBounds(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectBounds(HWND control, int left, int top, int width, int height) {
    const RECT r = ClientBounds(control);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

TEST(MainWindow, IsTForm1WithItsFixedSizeAndCaption) {
    Program program;
    HWND main = FindWindowW(L"TForm1", L"Sorv");
    ASSERT_EQ(main, program.Form1.Handle());
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 304);
    EXPECT_EQ(client.bottom, 253);
    const auto style = GetWindowLongPtrW(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(program.Form1.HelpContext, 10);
    RECT window{};
    GetWindowRect(main, &window);
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_EQ(tk::App().MainForm(), &program.Form1);
}

struct Item {
    std::wstring caption;  // empty: separator
    bool enabled;
};

std::vector<Item> ItemsOf(HMENU menu) {
    std::vector<Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        // A separator has no state of its own to look at.
        const bool separator = (state & MF_SEPARATOR) != 0;
        items.push_back({separator ? L"" : text, separator || (state & (MF_GRAYED | MF_DISABLED)) == 0});
    }
    return items;
}

void ExpectItems(HMENU menu, const std::vector<Item>& expected) {
    const auto items = ItemsOf(menu);
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].caption, expected[i].caption) << "item " << i;
        EXPECT_EQ(items[i].enabled, expected[i].enabled) << "item " << i;
    }
}

TEST(MainWindow, MenusReadAsDesignedWithShowIconsDisabled) {
    Program program;
    HMENU bar = GetMenu(program.Form1.Handle());
    ExpectItems(bar, {{L"&Fichier", true}, {L"&Outils", true}, {L"&Aide", true}});
    ExpectItems(GetSubMenu(bar, 0), {{L"&D\u00e9couper", true}, {L"&Regrouper", true}, {L"", true}, {L"&Quitter", true}});
    ExpectItems(GetSubMenu(bar, 1), {{L"&Effacer l'ecran", true},
                                     {L"&Afficher les icones", false},
                                     {L"&Formater une disquette", true},
                                     {L"", true},
                                     {L"&Options", true}});
    ExpectItems(GetSubMenu(bar, 2), {{L"&Rubriques d'aide", true},
                                     {L"Recherche par &mot-cl\u00e9", true},
                                     {L"&Nouveaut\u00e9s", true},
                                     {L"", true},
                                     {L"&A propos", true}});
    EXPECT_NE(GetMenuState(GetSubMenu(bar, 0), 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
}

TEST(MainWindow, LogAreaAndProgressBarArePlacedAndSetUp) {
    Program program;
    HWND memo = program.Form1.Memo1.Handle();
    ExpectBounds(memo, 8, 56, 289, 169);
    const LOGFONTW memoFont = FontOf(memo);
    EXPECT_STREQ(memoFont.lfFaceName, L"Arial");
    EXPECT_EQ(memoFont.lfHeight, -11);
    EXPECT_EQ(memoFont.lfCharSet, ANSI_CHARSET);
    const auto memoStyle = GetWindowLongPtrW(memo, GWL_STYLE);
    EXPECT_NE(memoStyle & ES_READONLY, 0);
    EXPECT_NE(memoStyle & WS_VSCROLL, 0);
    EXPECT_EQ(memoStyle & WS_HSCROLL, 0);
    EXPECT_EQ(GetFocus(), memo);  // first in the tab order

    HWND bar = program.Form1.ProgressBar1.Handle();
    ExpectBounds(bar, 0, 238, 304, 15);
    PBRANGE range{};
    SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
}

TEST(MainWindow, EmptyDocksTakeNoRoomAboveTheLogAndAboveTheProgressBar) {
    Program program;
    if (program.Form1.Dock971.BarList().empty()) ExpectBounds(program.Form1.Dock971.Handle(), 0, 0, 304, 0);
    ExpectBounds(program.Form1.Dock972.Handle(), 0, 238, 304, 0);
    EXPECT_EQ(program.Form1.Dock972.Position(), toolbar::TDockPosition::dpBottom);
}

TEST(SliceSizeDialog, IsCreatedHiddenWithItsDesignedControls) {
    Program program;
    TForm3& dialog = program.Form3;
    ASSERT_EQ(FindWindowW(L"TForm3", L"Sorv"), dialog.Handle());
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
    EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), program.Form1.Handle());
    RECT client{};
    GetClientRect(dialog.Handle(), &client);
    EXPECT_EQ(client.right, 267);
    EXPECT_EQ(client.bottom, 202);
    EXPECT_NE(GetWindowLongPtrW(dialog.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    EXPECT_EQ(GetWindowLongPtrW(dialog.Handle(), GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(dialog.HelpContext, 40);
    EXPECT_EQ(program.Form1.engine.state.SizeChoice, 4);

    struct Expected {
        tk::Control* control;
        int left, top, width, height;
        const wchar_t* text;
    };
    const Expected controls[] = {
        {&dialog.RadioGroup1, 8, 48, 249, 105, L"Taille Maximum"},
        {&dialog.RadioButton1, 24, 80, 57, 17, L"360 Ko"},
        {&dialog.RadioButton2, 24, 104, 57, 17, L"720 Ko"},
        {&dialog.RadioButton3, 104, 80, 57, 17, L"1.1 Mo"},
        {&dialog.RadioButton4, 104, 104, 57, 17, L"1.4 Mo"},
        {&dialog.RadioButton5, 184, 80, 57, 17, L"1.7 Mo"},
        {&dialog.RadioButton6, 184, 104, 57, 17, L"1.9 Mo"},
        {&dialog.RadioButton7, 24, 128, 145, 17, L"Lecteur Iomega Zip"},
        {&dialog.Button1, 184, 168, 73, 25, L"&Ok"},
        {&dialog.Button2, 8, 168, 73, 25, L"&Annuler"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.control->Name());
        ExpectBounds(c.control->Handle(), c.left, c.top, c.width, c.height);
        EXPECT_EQ(TextOf(c.control->Handle()), c.text);
        EXPECT_EQ(FontOf(c.control->Handle()).lfHeight, -11);
        EXPECT_STREQ(FontOf(c.control->Handle()).lfFaceName,
                     c.control == &dialog.RadioButton7 ? L"MS Sans Serif" : L"Arial");
    }
    EXPECT_EQ(dialog.Label1.Left(), 8);
    EXPECT_EQ(dialog.Label1.Top(), 8);
    EXPECT_EQ(dialog.Label1.Caption(), "Fichier: ");
    EXPECT_EQ(dialog.Label2.Top(), 24);
    EXPECT_EQ(dialog.Label2.Caption(), "Taille:");
    EXPECT_STREQ(FontOf(dialog.Label1.Handle()).lfFaceName, L"Arial");
    EXPECT_TRUE(dialog.RadioButton4.Checked());
    for (tk::RadioButton* other : {&dialog.RadioButton1, &dialog.RadioButton2, &dialog.RadioButton3,
                                   &dialog.RadioButton5, &dialog.RadioButton6, &dialog.RadioButton7})
        EXPECT_FALSE(other->Checked());
}

TEST(SliceSizeDialog, AChoiceAcceptedStaysSelectedForTheNextShowing) {
    TempDir dir;
    const std::string empty = dir.Path("vide.bin");
    WriteFileBytes(empty, "");
    Program program;
    TForm3& dialog = program.Form3;
    UserDriver user;
    std::vector<std::wstring> labels;
    bool fourStillChecked = false;
    user.onSliceDialog = [&](HWND) {
        labels = {TextOf(dialog.Label1.Handle()), TextOf(dialog.Label2.Handle())};
        if (user.sliceDialogs == 1) {
            fourStillChecked = dialog.RadioButton4.Checked();
            Click(dialog.RadioButton2.Handle());
            Click(dialog.Button1.Handle());
        } else {
            fourStillChecked = dialog.RadioButton4.Checked();
            Click(dialog.Button2.Handle());
        }
    };
    program.Form1.engine.StartSplit(empty);
    EXPECT_TRUE(fourStillChecked);
    EXPECT_EQ(labels, (std::vector<std::wstring>{L"Fichier: vide.bin", L"Taille: 0,0 Ko"}));
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].text, L"Pas besoin de couper");
    EXPECT_EQ(user.boxes[0].title, L"sorv");
    EXPECT_EQ(program.Form1.Memo1.Lines(),
              (std::vector<std::string>{"Taille maximum de la tranche :720 Ko", "Nom du fichier : vide.bin",
                                        "Taille du fichier : 0 octet(s)."}));

    // Shown again: "720 Ko" is still the choice; "&Annuler" logs nothing.
    program.Form1.engine.StartSplit(empty);
    EXPECT_EQ(user.sliceDialogs, 2);
    EXPECT_FALSE(fourStillChecked);
    EXPECT_TRUE(dialog.RadioButton2.Checked());
    EXPECT_EQ(program.Form1.engine.state.SizeChoice, 2);
    EXPECT_FALSE(program.Form1.engine.state.DialogAccepted);
    EXPECT_EQ(program.Form1.Memo1.Lines().size(), 3u);
    EXPECT_EQ(user.boxes.size(), 1u);
}

TEST(SliceSizeDialog, TheCloseBoxLeavesItUnacceptedAndEveryShowingStartsSo) {
    TempDir dir;
    const std::string file = dir.Path("petit.bin");
    WriteFileBytes(file, "abc");
    Program program;
    UserDriver user;
    bool acceptedWhileShown = true;
    user.onSliceDialog = [&](HWND window) {
        acceptedWhileShown = program.Form1.engine.state.DialogAccepted;
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    program.Form1.engine.state.DialogAccepted = true;  // left over from an earlier showing
    program.Form1.engine.StartSplit(file);
    EXPECT_EQ(user.sliceDialogs, 1);
    EXPECT_FALSE(acceptedWhileShown);
    EXPECT_FALSE(program.Form1.engine.state.DialogAccepted);
    EXPECT_TRUE(program.Form1.Memo1.Lines().empty());
    EXPECT_TRUE(user.boxes.empty());
    EXPECT_TRUE(IsWindowEnabled(program.Form1.Handle()));
}

}  // namespace
}  // namespace sorv::test
