// The main window's tool bar: its buttons and their commands, where the log
// area goes for each place of the bar, and "Position" written and read.
// Runs alone (it changes a setting the other program tests read).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "program_fixture.h"
#include "registry.h"
#include "settings.h"
#include "user_driver.h"
#include "window_probe.h"

namespace sorv::test {
namespace {

Rect BoundsIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

// Puts "Position" to `text` (none: absent) for the test and back afterwards.
class PositionSetting {
public:
    explicit PositionSetting(const char* text) : saved_(ReadSetting(kDockSetting)) { Set(text); }
    ~PositionSetting() { Set(saved_ == kRegNone ? nullptr : saved_.c_str()); }
    static void Set(const char* text) {
        if (text) {
            WriteSetting(kDockSetting, text);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, L"SOFTWARE\\TQ\\sorv", L"Position");
        }
    }

private:
    std::string saved_;
};

TEST(MainToolbar, DockedAtTheTopWithItsSevenButtonsAndHints) {
    PositionSetting position(nullptr);
    Program program;
    TForm1& form = program.Form1;
    EXPECT_EQ(form.Toolbar971.DockedTo(), &form.Dock971);
    EXPECT_TRUE(IsWindowVisible(form.Toolbar971.Handle()));
    EXPECT_EQ(BoundsIn(form.Handle(), form.Dock971.Handle()), (Rect{0, 0, 304, 42}));
    EXPECT_EQ(BoundsIn(form.Handle(), form.Toolbar971.Handle()), (Rect{0, 0, 304, 42})) << "FullSize";
    EXPECT_EQ(form.Toolbar971.Caption(), "Barre d'ic\u00f4nes");
    wchar_t className[32] = {};
    GetClassNameW(form.Toolbar971.Handle(), className, 32);
    EXPECT_STREQ(className, L"TToolbar97");
    struct Expected {
        toolbar::TToolbarButton97& button;
        int left;
        const char* hint;
    };
    const Expected buttons[] = {
        {form.ToolbarButton971, 0, "D\u00e9couper"},   {form.ToolbarButton975, 38, "Regrouper"},
        {form.ToolbarButton974, 82, "Effacer"},        {form.ToolbarButton976, 120, "Formater une disquette"},
        {form.ToolbarButton977, 158, "Options"},       {form.ToolbarButton973, 202, "A propos"},
        {form.ToolbarButton972, 246, "Quitter"},
    };
    for (const Expected& e : buttons) {
        EXPECT_EQ(e.button.Bounds(), Rect::FromOrigin({e.left, 0}, {38, 38})) << e.hint;
        EXPECT_EQ(e.button.Hint, e.hint);
        EXPECT_EQ(e.button.NumGlyphs(), 1);
        EXPECT_NE(e.button.Glyph(), nullptr) << e.hint;
    }
    EXPECT_EQ(form.ToolbarSep971.Bounds(), Rect::FromOrigin({76, 0}, {6, 38}));
    EXPECT_EQ(form.ToolbarSep972.Bounds(), Rect::FromOrigin({196, 0}, {6, 38}));
    EXPECT_EQ(form.ToolbarSep973.Bounds(), Rect::FromOrigin({240, 0}, {6, 38}));
    EXPECT_EQ(BoundsIn(form.Handle(), form.Memo1.Handle()), (Rect{8, 56, 8 + 289, 56 + 169}));
}

// The user's press and release at the middle of a tool-bar button.
void ClickButton(const toolbar::TToolbarButton97& button) {
    const HWND bar = button.Parent().Handle();
    const Rect b = button.Bounds();
    POINT middle{b.left + b.Width() / 2, b.top + b.Height() / 2};
    const LPARAM at = MAKELPARAM(middle.x, middle.y);
    ClientToScreen(bar, &middle);
    SetCursorPos(middle.x, middle.y);
    PostMessageW(bar, WM_MOUSEMOVE, 0, at);
    PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(bar, WM_LBUTTONUP, 0, at);
}

TEST(MainToolbar, EachButtonRunsItsCommand) {
    PositionSetting position(nullptr);
    Program program;
    TForm1& form = program.Form1;
    UserDriver user;
    user.onOpenDialog = [](HWND dialog) { Press(dialog, IDCANCEL); };
    user.onOtherWindow = [](HWND window, const std::wstring&) { PostMessageW(window, WM_CLOSE, 0, 0); };
    int formats = 0;
    form.Format1.FormatDrive = [&](HWND, UINT, UINT, UINT) {
        ++formats;
        return DWORD{0};
    };

    ClickButton(form.ToolbarButton971);
    ASSERT_TRUE(PumpUntil([&] { return user.openDialogs == 1; })) << "D\u00e9couper: the file to cut";
    ClickButton(form.ToolbarButton975);
    ASSERT_TRUE(PumpUntil([&] { return user.openDialogs == 2; })) << "Regrouper: the script";
    form.AppendLog("une ligne");
    ClickButton(form.ToolbarButton974);
    ASSERT_TRUE(PumpUntil([&] { return form.Memo1.Lines().empty(); })) << "Effacer";
    ClickButton(form.ToolbarButton976);
    ASSERT_TRUE(PumpUntil([&] { return formats == 1; }));
    ClickButton(form.ToolbarButton977);
    ASSERT_TRUE(PumpUntil([&] { return user.shown[L"TForm4"] == 1 && !program.Form4.Visible(); }));
    ClickButton(form.ToolbarButton973);
    ASSERT_TRUE(PumpUntil([&] { return user.shown[L"TAboutBox"] == 1 && !program.AboutBox.Visible(); }));
    PumpUntil([] { return false; }, 30);
    EXPECT_EQ(GetActiveWindow(), form.Handle());
}

TEST(MainToolbar, TheButtonUnderTheMouseIsHot) {
    PositionSetting position(nullptr);
    Program program;
    TForm1& form = program.Form1;
    const HWND bar = form.Toolbar971.Handle();
    POINT over{100, 19};
    ClientToScreen(bar, &over);
    SetCursorPos(over.x, over.y);
    PostMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(100, 19));
    PumpUntil([&] { return toolbar::TToolbarButton97::HotButton() != nullptr; });
    EXPECT_EQ(toolbar::TToolbarButton97::HotButton(), &form.ToolbarButton974);
    EXPECT_EQ(form.ToolbarButton974.State(), toolbar::TButtonState::Hot);
    // Away from the bar: the hover timer notices.
    SetCursorPos(over.x, over.y + 150);
    ASSERT_TRUE(PumpUntil([&] { return toolbar::TToolbarButton97::HotButton() == nullptr; }));
    EXPECT_EQ(form.ToolbarButton974.State(), toolbar::TButtonState::Up);
}

TEST(MainToolbar, DockingMovesTheLogAreaAndRemembersTheDock) {
    PositionSetting position("Haut");
    Program program;
    TForm1& form = program.Form1;
    const auto logArea = [&] { return BoundsIn(form.Handle(), form.Memo1.Handle()); };
    // A log longer than the area: its end, "...Ok", stays in view.
    for (int i = 1; i <= 30; ++i) form.AppendLog("Tranche " + std::to_string(i));
    form.AppendLog("...Ok");
    form.Memo1.Flush();

    form.Toolbar971.SetDockedTo(&form.Dock972);
    EXPECT_EQ(logArea(), (Rect{8, 15, 8 + 289, 15 + 169}));
    EXPECT_EQ(ReadSetting(kDockSetting), "Bas");
    EXPECT_TRUE(ShowsLastLineOfText(form.Memo1.Handle()));
    form.Toolbar971.SetDockedTo(nullptr);
    EXPECT_EQ(logArea(), (Rect{8, 15, 8 + 289, 15 + 210})) << "floating";
    EXPECT_EQ(ReadSetting(kDockSetting), "Bas") << "a floating place is not remembered";
    EXPECT_TRUE(ShowsLastLineOfText(form.Memo1.Handle()));
    form.Toolbar971.SetDockedTo(&form.Dock971);
    EXPECT_EQ(logArea(), (Rect{8, 56, 8 + 289, 56 + 169}));
    EXPECT_EQ(ReadSetting(kDockSetting), "Haut");
    EXPECT_TRUE(ShowsLastLineOfText(form.Memo1.Handle()));
}

TEST(MainToolbar, DraggedToTheBottomDock) {
    PositionSetting position("Haut");
    Program program;
    TForm1& form = program.Form1;
    const HWND bar = form.Toolbar971.Handle();
    // From the drag handle down to the progress bar's top edge.
    POINT target{150, 236};
    ClientToScreen(form.Handle(), &target);
    ScreenToClient(bar, &target);
    for (int step = 1; step <= 4; ++step) {
        const int y = 5 + (target.y - 5) * step / 4;
        PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(150), static_cast<WORD>(y)));
    }
    PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(150), static_cast<WORD>(target.y)));
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 5));
    PumpUntil([] { return false; }, 30);
    EXPECT_EQ(form.Toolbar971.DockedTo(), &form.Dock972);
    EXPECT_EQ(BoundsIn(form.Handle(), form.Memo1.Handle()), (Rect{8, 15, 8 + 289, 15 + 169}));
    EXPECT_EQ(ReadSetting(kDockSetting), "Bas");
    EXPECT_EQ(BoundsIn(form.Handle(), form.Dock972.Handle()), (Rect{0, 238 - 42, 304, 238}));
}

TEST(MainToolbar, AClosedBarComesBackDockedWherePositionSays) {
    for (const char* stored : {"Haut", "Bas"}) {
        PositionSetting position(stored);
        Program program;
        TForm1& form = program.Form1;
        form.Toolbar971.SetDockedTo(nullptr);
        EXPECT_FALSE(form.Afficherlesicones1.Enabled());
        form.Toolbar971.CloseFromButton();
        EXPECT_FALSE(IsWindowVisible(form.Toolbar971.Handle()));
        EXPECT_TRUE(form.Afficherlesicones1.Enabled()) << "only while the bar is closed";
        EXPECT_EQ(BoundsIn(form.Handle(), form.Memo1.Handle()), (Rect{8, 15, 8 + 289, 15 + 210}));

        PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(form.Afficherlesicones1.CommandId(), 0), 0);
        PumpUntil([&] { return !form.Afficherlesicones1.Enabled(); });
        const bool bottom = std::string(stored) == "Bas";
        EXPECT_EQ(form.Toolbar971.DockedTo(), bottom ? &form.Dock972 : &form.Dock971) << stored;
        EXPECT_TRUE(IsWindowVisible(form.Toolbar971.Handle()));
        EXPECT_FALSE(form.Afficherlesicones1.Enabled());
        const int top = bottom ? 15 : 56;
        EXPECT_EQ(BoundsIn(form.Handle(), form.Memo1.Handle()), (Rect{8, top, 8 + 289, top + 169})) << stored;
    }
}

TEST(MainToolbar, AtStartUpOnlyBasDocksAtTheBottom) {
    struct Case {
        const char* stored;  // none: absent
        bool bottom;
    };
    const Case cases[] = {{"Bas", true}, {"bas", false}, {"Haut", false}, {nullptr, false}};
    for (const Case& c : cases) {
        PositionSetting position(c.stored);
        Program program;
        TForm1& form = program.Form1;
        const char* name = c.stored ? c.stored : "(none)";
        EXPECT_EQ(form.Toolbar971.DockedTo(), c.bottom ? &form.Dock972 : &form.Dock971) << name;
        const int top = c.bottom ? 15 : 56;
        EXPECT_EQ(BoundsIn(form.Handle(), form.Memo1.Handle()), (Rect{8, top, 8 + 289, top + 169})) << name;
    }
}

// Last: the program ends for good.
TEST(MainToolbar, QuitterEndsTheProgram) {
    PositionSetting position(nullptr);
    Program program;
    ClickButton(program.Form1.ToolbarButton972);
    ASSERT_TRUE(PumpUntil([] { return tk::App().Terminated(); }));
}

}  // namespace
}  // namespace sorv::test
