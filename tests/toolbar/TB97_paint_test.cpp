// The frames as painted, read back from the screen: the docked frame shows
// the dock's tiles aligned with the dock's own, the floating frame its
// caption and close button. And the floating window's place in the
// z-order, which the X11 driver keeps as the desktop's.
#include <gtest/gtest.h>

#include <functional>

#include "box_driver.h"
#include "docking_fixture.h"
#include "handles.h"
#include "message_box.h"
#include "open_dialog.h"

namespace sorv::toolbar::test {
namespace {

using sorv::test::PumpUntil;

// Tiles of 8 x 8 pixels: 4 x 4 squares of two colours.
constexpr COLORREF kLight = RGB(250, 200, 120);
constexpr COLORREF kDark = RGB(60, 90, 160);
COLORREF TileColour(int x, int y) { return ((x / 4 + y / 4) % 2) ? kDark : kLight; }

tk::BitmapHandle MakeTile() {
    tk::WindowDc screen(nullptr);
    tk::MemoryDcHandle dc(CreateCompatibleDC(screen.get()));
    tk::BitmapHandle tile(CreateCompatibleBitmap(screen.get(), 8, 8));
    tk::Selection selected(dc.get(), tile.get());
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y) SetPixel(dc.get(), x, y, TileColour(x, y));
    return tile;
}

void Settle() { PumpUntil([] { return false; }, 150); }

// The colour on the screen at a point of `window` (window coordinates).
COLORREF ScreenPixel(HWND window, int x, int y) {
    RECT r{};
    GetWindowRect(window, &r);
    tk::WindowDc screen(nullptr);
    return GetPixel(screen.get(), r.left + x, r.top + y);
}

TEST_F(DockingTest, ADockedFrameShowsTheDocksTilesAlignedWithTheDocksOwn) {
    tk::BitmapHandle tile = MakeTile();
    top.SetBackground(tile.get());
    auto bar = MakeBar(top, "Bar1");
    bar->SetDockPos(5);  // off the tiles' grid
    Settle();
    // In the form's client coordinates, where the tiles start.
    const auto expected = [&](HWND window, int x, int y) {
        POINT p{x, y};
        RECT r{};
        GetWindowRect(window, &r);
        p.x += r.left;
        p.y += r.top;
        ScreenToClient(form.Handle(), &p);
        return TileColour(p.x % 8, p.y % 8);
    };
    const Rect b = BoundsOf(*bar);
    struct Spot {
        HWND window;
        int x, y;
    } spots[] = {
        {top.Handle(), 2, 10},          {top.Handle(), b.right + 3, 7},  // the dock beside the bar
        {bar->Handle(), 1, 9},          {bar->Handle(), 1, 14},          // the inner ring
        {bar->Handle(), 2, 11},         {bar->Handle(), 3, 16},          // the handle's first strip
        {bar->Handle(), 10, 12},        {bar->Handle(), 40, 1},          // the strip after the grips, the top ring
    };
    for (const Spot& s : spots) EXPECT_EQ(ScreenPixel(s.window, s.x, s.y), expected(s.window, s.x, s.y)) << s.x << "," << s.y;
    // The grip bars keep their edges; their last row starts with a highlight.
    EXPECT_EQ(ScreenPixel(bar->Handle(), 4, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ScreenPixel(bar->Handle(), 4, 21), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ScreenPixel(bar->Handle(), 6, 10), GetSysColor(COLOR_BTNSHADOW));

    // Without the background on the bars, the ring and strips take the bar's colour.
    top.SetBackgroundOnToolbars(false);
    Settle();
    EXPECT_EQ(ScreenPixel(bar->Handle(), 1, 9), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixel(bar->Handle(), 2, 11), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixel(top.Handle(), 2, 10), expected(top.Handle(), 2, 10));
}

TEST_F(DockingTest, AFloatingFrameShowsItsCaptionAndCloseButton) {
    auto bar = MakeBar(form, "Bar1");
    SetForegroundWindow(form.Handle());
    Settle();
    HWND w = bar->Handle();
    const int border = GetSystemMetrics(SM_CXFRAME);
    const int caption = GetSystemMetrics(SM_CYSMCAPTION);
    const Rect r = ScreenRect(w);
    BOOL gradient = FALSE;
    SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    // The caption's first column, below any text, in the active colour.
    EXPECT_EQ(ScreenPixel(w, border, border), GetSysColor(COLOR_ACTIVECAPTION));
    // The line under the caption, and the frame around, in button face.
    EXPECT_EQ(ScreenPixel(w, border + 20, border + caption - 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixel(w, 2, r.Height() / 2), GetSysColor(COLOR_BTNFACE));
    // The ring around the close button in the caption's (end) colour.
    const int closeLeft = r.Width() - border - (caption - 1);
    EXPECT_EQ(ScreenPixel(w, closeLeft, border + 3),
              GetSysColor(gradient ? COLOR_GRADIENTACTIVECAPTION : COLOR_ACTIVECAPTION));
    // The raised edge: highlight at the top-left, dark shadow at the bottom-right.
    EXPECT_EQ(ScreenPixel(w, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ScreenPixel(w, r.Width() - 1, r.Height() - 1), GetSysColor(COLOR_3DDKSHADOW));

    // Inactive (the program without an active window, the bar staying): the
    // inactive caption colour.
    bar->SetHideWhenInactive(false);
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, FALSE, 0);
    Settle();
    EXPECT_EQ(ScreenPixel(w, border, border), GetSysColor(COLOR_INACTIVECAPTION));
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, TRUE, 0);
}

// Whether `window` is above `other` in the z-order.
bool Above(HWND window, HWND other) {
    for (HWND w = GetWindow(other, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (w == window) return true;
    return false;
}

TEST_F(DockingTest, AFloatingBarComesBackAboveItsFormAfterAModalDialogAndAnActivation) {
    auto bar = MakeBar(form, "Bar1");
    ASSERT_TRUE(Above(bar->Handle(), form.Handle()));
    tk::FormDescription design;
    design.className = "TModal";
    design.caption = "Dialogue";
    tk::Form dialog(design);
    PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);  // ends the modal loop once it runs
    dialog.ShowModal();
    Pump();
    EXPECT_TRUE(Above(bar->Handle(), form.Handle())) << "after the modal dialog";
    dialog.Show();
    SetActiveWindow(dialog.Handle());
    SetActiveWindow(form.Handle());
    Pump();
    EXPECT_TRUE(Above(bar->Handle(), form.Handle())) << "after the form's activation";
}

// The bar's caption shows on the screen where the bar is: nothing covers it.
bool BarShows(HWND bar) {
    const int border = GetSystemMetrics(SM_CXFRAME);
    const COLORREF caption = ScreenPixel(bar, border, border);
    return caption == GetSysColor(COLOR_ACTIVECAPTION) || caption == GetSysColor(COLOR_INACTIVECAPTION);
}

// The common dialogs and message boxes run their own modal loops: the bar
// must come back above its form when they end as when ours do.
TEST_F(DockingTest, AFloatingBarComesBackAboveItsFormAfterAFileDialogOrAMessageBox) {
    auto bar = MakeBar(form, "Bar1");
    // Over the form's middle, where the dialogs show.
    const Rect f = ScreenRect(form.Handle());
    SetWindowPos(bar->Handle(), nullptr, f.left + 20, f.top + 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetForegroundWindow(form.Handle());
    Settle();
    ASSERT_TRUE(BarShows(bar->Handle()));
    const std::function<void()> modals[] = {
        [&] {
            sorv::test::WhenBoxAppears cancel([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
            tk::OpenDialog().Execute(form.Handle());
        },
        [&] {
            sorv::test::WhenBoxAppears ok([](HWND box) { sorv::test::Press(box, IDOK); });
            tk::ShowMessageBox(tk::BoxKind::Message, "Bonjour");
        },
    };
    for (std::size_t i = 0; i < std::size(modals); ++i) {
        modals[i]();
        // A loaded machine repaints late: wait for the bar, within reason.
        PumpUntil([&] { return Above(bar->Handle(), form.Handle()) && BarShows(bar->Handle()); }, 3000);
        EXPECT_TRUE(Above(bar->Handle(), form.Handle())) << i;
        EXPECT_TRUE(BarShows(bar->Handle())) << i;
    }
}

}  // namespace

}  // namespace sorv::toolbar::test
