// Tool windows on real windows under Wine: docked and floating geometry,
// docking by double click, the events of a parent change, hidden bars.
#include <gtest/gtest.h>

#include "docking_fixture.h"
#include "handles.h"

namespace sorv::test {
namespace {

using Events = std::vector<std::string>;
const Events kDockChange{"dock changing", "recreating", "move", "recreated", "dock changed"};

// From the first "dock changing" to the first "dock changed" after it.
Events DockingEvents(const Events& events) {
    Events docking;
    for (const std::string& e : events) {
        if (docking.empty() && e != "dock changing") continue;
        docking.push_back(e);
        if (e == "dock changed") break;
    }
    return docking;
}

TEST_F(DockingTest, ADockedBarHasItsFrameAndHandleAndTheDockFitsItsRow) {
    auto bar = MakeBar(top, "Bar1");
    EXPECT_TRUE(bar->Docked());
    EXPECT_EQ(bar->DockedTo(), &top);
    EXPECT_EQ(BoundsOf(*bar), (Rect{0, 0, 11 + 60 + 2, 24}));  // 2-pixel frame, 9-pixel handle
    EXPECT_EQ(ClientSizeOf(bar->Handle()), (Size{60, 20}));
    EXPECT_EQ(BoundsOf(top), (Rect{0, 0, 304, 24}));
    EXPECT_EQ(BoundsOf(bottom), (Rect{0, 200, 304, 200}));  // empty: 0 pixels on the form's bottom edge

    struct Case {
        TDragHandleStyle style;
        bool allowDrag;
        int width;
    } cases[] = {{TDragHandleStyle::dhSingle, true, 70}, {TDragHandleStyle::dhNone, true, 64},
                 {TDragHandleStyle::dhDouble, false, 64}, {TDragHandleStyle::dhDouble, true, 73}};
    for (const Case& c : cases) {
        bar->SetDragHandleStyle(c.style);
        top.SetAllowDrag(c.allowDrag);
        EXPECT_EQ(BoundsOf(*bar).Width(), c.width) << static_cast<int>(c.style) << c.allowDrag;
        EXPECT_EQ(ClientSizeOf(bar->Handle()), (Size{60, 20}));
    }
    // Bound lines take a pixel each from the dock's client area.
    top.SetBoundLines({TDockBoundLinesValues::blTop, TDockBoundLinesValues::blBottom});
    EXPECT_EQ(BoundsOf(top).Height(), 26);
    EXPECT_EQ(ClientSizeOf(top.Handle()), (Size{304, 24}));
}

TEST_F(DockingTest, TheBackgroundTilesFromTheParentsOriginWithItsCornerColourSeeThrough) {
    // A 2 x 2 background: red, green / blue (bottom-left), white.
    tk::WindowDc screen(nullptr);
    tk::MemoryDcHandle tileDc(CreateCompatibleDC(screen.get()));
    tk::BitmapHandle tile(CreateCompatibleBitmap(screen.get(), 2, 2));
    {
        tk::Selection selected(tileDc.get(), tile.get());
        SetPixel(tileDc.get(), 0, 0, RGB(255, 0, 0));
        SetPixel(tileDc.get(), 1, 0, RGB(0, 255, 0));
        SetPixel(tileDc.get(), 0, 1, RGB(0, 0, 255));
        SetPixel(tileDc.get(), 1, 1, RGB(255, 255, 255));
    }
    top.SetBackground(tile.get());
    ASSERT_TRUE(top.HasBackground());
    tk::MemoryDcHandle dc(CreateCompatibleDC(screen.get()));
    tk::BitmapHandle target(CreateCompatibleBitmap(screen.get(), 6, 6));
    tk::Selection selected(dc.get(), target.get());
    const RECT all{0, 0, 6, 6};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const RECT exclude{4, 4, 6, 6};
    // Tiles start one pixel up and left of the area, as a bar 1 pixel in from
    // the parent's origin draws them.
    top.DrawBackground(dc.get(), RECT{0, 0, 6, 6}, RECT{-1, -1, 6, 6}, &exclude);
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 2, 1), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc.get(), 1, 2), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc.get(), 5, 5), RGB(0, 0, 0));  // excluded

    top.SetColor(RGB(10, 20, 30));
    top.SetBackgroundTransparent(true);
    top.DrawBackground(dc.get(), RECT{0, 0, 6, 6}, RECT{0, 0, 6, 6}, nullptr);
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 0, 1), RGB(10, 20, 30));  // the bottom-left colour shows the dock's
    EXPECT_EQ(GetPixel(dc.get(), 2, 3), RGB(10, 20, 30));
    top.SetBackground(nullptr);
    EXPECT_FALSE(top.HasBackground());
}

TEST_F(DockingTest, DoubleClicksFloatTheBarAndDockItAgainFirstInItsDefaultDock) {
    auto bar = MakeBar(top, "Bar1");
    auto other = MakeBar(bottom, "Bar2");
    bar->SetDefaultDock(&bottom);
    bar->events.clear();

    SendMessageW(bar->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(-5, 5));  // on the handle
    Pump();
    EXPECT_FALSE(bar->Docked());
    EXPECT_EQ(DockingEvents(bar->events), kDockChange);
    const LONG_PTR style = GetWindowLongPtrW(bar->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(IsWindowVisible(bar->Handle()));
    EXPECT_EQ(GetWindow(bar->Handle(), GW_OWNER), form.Handle());
    EXPECT_EQ(ClientSizeOf(bar->Handle()), (Size{60, 20}));
    EXPECT_EQ(BoundsOf(top).Height(), 0);
    const Rect floating = ScreenRect(bar->Handle());
    EXPECT_EQ(floating.TopLeft(), bar->FloatingTopLeft());

    // The caption answers as client area: a double click there docks.
    bar->events.clear();
    SendMessageW(bar->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, -5));
    Pump();
    EXPECT_EQ(bar->DockedTo(), &bottom);
    EXPECT_EQ(DockingEvents(bar->events), kDockChange);
    EXPECT_EQ(bar->DockRow(), 0);
    EXPECT_EQ(BoundsOf(*bar).left, 0);
    EXPECT_EQ(BoundsOf(*other).left, 73);  // pushed to the right
    EXPECT_EQ(BoundsOf(bottom), (Rect{0, 176, 304, 200}));

    // Floating again: back where it floated last.
    SendMessageW(bar->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(-5, 5));  // on the handle
    Pump();
    EXPECT_EQ(ScreenRect(bar->Handle()).TopLeft(), floating.TopLeft());
}

TEST_F(DockingTest, SettingTheDockItIsInFiresNothing) {
    auto bar = MakeBar(top, "Bar1");
    bar->events.clear();
    bar->SetDockedTo(&top);
    EXPECT_TRUE(bar->events.empty());
    bar->SetDockedTo(&bottom);
    EXPECT_EQ(DockingEvents(bar->events), kDockChange);
    EXPECT_EQ(BoundsOf(bottom), (Rect{0, 176, 304, 200}));
    EXPECT_EQ(BoundsOf(top).Height(), 0);
}

TEST_F(DockingTest, AHiddenBarLeavesItsRowAndComesBackToIt) {
    auto first = MakeBar(top, "Bar1");
    auto second = MakeBar(top, "Bar2");
    EXPECT_EQ(BoundsOf(*second).left, 73);  // both asked for position 0
    second->SetDockPos(100);
    EXPECT_EQ(BoundsOf(*first).left, 0);
    first->events.clear();
    first->SetVisible(false);
    Pump();
    EXPECT_FALSE(IsWindowVisible(first->Handle()));
    EXPECT_EQ(top.BarList().size(), 1u);
    EXPECT_EQ(BoundsOf(*second).left, 100);
    second->SetVisible(false);
    EXPECT_EQ(BoundsOf(top).Height(), 0);
    second->SetVisible(true);
    first->SetVisible(true);
    Pump();
    EXPECT_TRUE(IsWindowVisible(first->Handle()));
    EXPECT_EQ(top.BarList().size(), 2u);
    EXPECT_EQ(BoundsOf(*first).left, 0);
    EXPECT_EQ(BoundsOf(*second).left, 100);
    EXPECT_EQ(std::count(first->events.begin(), first->events.end(), "visible changed"), 2);
}

TEST_F(DockingTest, AFloatingBarFollowsTheProgramsActivation) {
    auto bar = MakeBar(form, "Bar1");
    ASSERT_FALSE(bar->Docked());
    EXPECT_TRUE(IsWindowVisible(bar->Handle()));
    for (bool hide : {true, false}) {
        bar->SetHideWhenInactive(hide);
        SendMessageW(form.Handle(), WM_ACTIVATEAPP, FALSE, 0);
        EXPECT_EQ(IsWindowVisible(bar->Handle()) != FALSE, !hide) << hide;
        EXPECT_EQ(bar->InactiveCaption(), !hide) << hide;
        SendMessageW(form.Handle(), WM_ACTIVATEAPP, TRUE, 0);
        EXPECT_TRUE(IsWindowVisible(bar->Handle())) << hide;
        EXPECT_FALSE(bar->InactiveCaption());
    }
    // Hidden with its form.
    form.Hide();
    EXPECT_FALSE(IsWindowVisible(bar->Handle()));
    form.Show();
    EXPECT_TRUE(IsWindowVisible(bar->Handle()));
}

TEST_F(DockingTest, AClosedFloatingWindowClosesItsFormInstead) {
    auto bar = MakeBar(form, "Bar1");
    int closes = 0;
    auto hook = form.AddHook([&](const tk::Message& message, const tk::NextHook& next) -> LRESULT {
        if (message.msg != WM_CLOSE) return next(message);
        ++closes;
        return 0;
    });
    SendMessageW(bar->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(IsWindow(bar->Handle()));
    EXPECT_TRUE(IsWindowVisible(bar->Handle()));
}

TEST_F(DockingTest, PlacesThatAreRefused) {
    auto bar = MakeBar(top, "Bar1");
    try {
        top.SetPosition(TDockPosition::dpLeft);
        ADD_FAILURE() << "no error";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Cannot change Position of a TDock97 if it already contains controls");
    }
    EXPECT_EQ(top.Position(), TDockPosition::dpTop);
    try {
        TDock97 inner(top, "Inner", {0, 0, 10, 10});
        ADD_FAILURE() << "no error";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "A TDock97 control cannot be placed inside a tool window or another TDock97");
    }
    try {
        TestBar inner(*bar, "Inner", {});
        ADD_FAILURE() << "no error";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "A tool window can only be placed on a TDock97 or directly on the form");
    }
    bottom.SetPosition(TDockPosition::dpRight);  // empty: allowed
    EXPECT_EQ(bottom.Position(), TDockPosition::dpRight);
}

}  // namespace
}  // namespace sorv::test
