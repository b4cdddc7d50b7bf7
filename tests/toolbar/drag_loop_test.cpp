// The drag loop driven by mouse and key messages with the capture held:
// between docks and rows, onto the desktop, cancelled.
#include <gtest/gtest.h>

#include "docking_fixture.h"

namespace sorv::test {
namespace {

// Presses on the children go to them: the bars are grabbed by their handle
// (docked) or their caption (floating).
const Point kHandle{-5, 5};
const Point kCaption{5, -5};

MSG Key(UINT message, WPARAM key) { return {nullptr, message, key, 0, 0, {}}; }
const MSG kRelease{nullptr, WM_LBUTTONUP, 0, 0, 0, {}};

TEST_F(DockingTest, DraggingABarFromTheTopDockToTheEmptyBottomDock) {
    auto bar = MakeBar(top, "Bar1");
    bar->events.clear();
    // Grabbed by its handle, 6 pixels from its left edge; the empty bottom
    // dock lies on the form's bottom edge.
    Drag(*bar, kHandle, {OnForm(60, 120), OnForm(100, 199)});
    EXPECT_EQ(bar->DockedTo(), &bottom);
    EXPECT_EQ(bar->events.front(), "dock changing");
    EXPECT_EQ(bar->events.back(), "dock changed");
    EXPECT_EQ(BoundsOf(top).Height(), 0);
    EXPECT_EQ(BoundsOf(bottom), (Rect{0, 176, 304, 200}));
    // The cursor keeps its place in the bar.
    EXPECT_EQ(BoundsOf(*bar).left, 100 - 6);
}

TEST_F(DockingTest, DraggingWithinADockChangesOnlyRowAndPosition) {
    auto first = MakeBar(top, "Bar1");
    auto second = MakeBar(top, "Bar2");
    second->events.clear();
    // Just below the row: a new row opens.
    Drag(*second, kHandle, {OnForm(100, 20), OnForm(100, 28)});
    EXPECT_EQ(second->DockRow(), 1);
    EXPECT_EQ(BoundsOf(*second), (Rect{94, 24, 167, 48}));  // where the outline was
    EXPECT_EQ(BoundsOf(top).Height(), 48);
    EXPECT_EQ(std::count(second->events.begin(), second->events.end(), "dock changing"), 0);

    // Onto the middle of row 0, right of the first bar: the rows close up.
    Drag(*second, kHandle, {OnForm(120, 10)});
    EXPECT_EQ(second->DockRow(), 0);
    EXPECT_EQ(BoundsOf(*second), (Rect{114, 0, 187, 24}));
    EXPECT_EQ(BoundsOf(top).Height(), 24);
    EXPECT_EQ(BoundsOf(*first).left, 0);
}

TEST_F(DockingTest, DroppedAwayFromTheDocksTheBarFloatsWhereTheOutlineWas) {
    auto bar = MakeBar(top, "Bar1");
    Drag(*bar, kHandle, {OnForm(150, 100)});
    ASSERT_FALSE(bar->Docked());
    const Rect floating = ScreenRect(bar->Handle());
    const Point cursor = OnForm(150, 100);
    // Same relative place of the cursor in the floating window's frame.
    EXPECT_LE(floating.left, cursor.x);
    EXPECT_LE(floating.top, cursor.y);
    EXPECT_GT(floating.right, cursor.x);
    EXPECT_EQ(floating.TopLeft(), bar->FloatingTopLeft());

    // Floating to floating: only the position changes, by the cursor's travel.
    bar->events.clear();
    POINT grabbed{kCaption.x, kCaption.y};
    ClientToScreen(bar->Handle(), &grabbed);
    Drag(*bar, kCaption, {{grabbed.x + 30, grabbed.y + 10}});
    EXPECT_EQ(ScreenRect(bar->Handle()), floating.Offset(30, 10));
    EXPECT_EQ(std::count(bar->events.begin(), bar->events.end(), "dock changing"), 0);
}

TEST_F(DockingTest, ControlHeldNeverDocks) {
    auto bar = MakeBar(form, "Bar1");
    const Rect before = ScreenRect(bar->Handle());
    Drag(*bar, kCaption, {OnForm(100, 5)}, {Key(WM_KEYDOWN, VK_CONTROL), kRelease});
    EXPECT_FALSE(bar->Docked());
    EXPECT_NE(ScreenRect(bar->Handle()), before);
    // Released again before the drop: it docks.
    Drag(*bar, kCaption, {OnForm(100, 5)}, {Key(WM_KEYDOWN, VK_CONTROL), Key(WM_KEYUP, VK_CONTROL), kRelease});
    EXPECT_EQ(bar->DockedTo(), &top);
}

TEST_F(DockingTest, EscapeASecondPressOrALostCaptureCancelTheDrag) {
    auto bar = MakeBar(top, "Bar1");
    const std::vector<std::vector<MSG>> endings{
        {Key(WM_KEYDOWN, VK_ESCAPE), kRelease},
        {{nullptr, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {}}, kRelease},
        {{nullptr, WM_CANCELMODE, 0, 0, 0, {}}, kRelease},
        {Key(WM_KEYDOWN, 'A'), {nullptr, WM_RBUTTONDOWN, 0, 0, 0, {}}, Key(WM_KEYDOWN, VK_ESCAPE)},
    };
    for (const auto& ending : endings) {
        bar->events.clear();
        Drag(*bar, kHandle, {OnForm(100, 199)}, ending);
        EXPECT_EQ(bar->DockedTo(), &top) << ending.front().message;
        EXPECT_EQ(BoundsOf(*bar), (Rect{0, 0, 73, 24}));
        EXPECT_TRUE(bar->events.empty());
        EXPECT_NE(GetCapture(), bar->Handle());
    }
}

}  // namespace
}  // namespace sorv::test
