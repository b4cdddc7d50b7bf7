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
    struct Expected {
        TToolbarButton97& button;
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

}  // namespace
}  // namespace sorv::test
