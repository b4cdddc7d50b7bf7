// Tool windows on real windows under Wine: docked and floating geometry,
// docking by double click, the events of a parent change, hidden bars.
// The drag loop driven by mouse and key messages with the capture held:
// between docks and rows, onto the desktop, cancelled.
// The floating frame: hit tests, resizing through the sizing callbacks and
// the close button, driven with the capture held.
#include <gtest/gtest.h>

#include <optional>

#include "docking_fixture.h"
#include "handles.h"
#include "tb97_frame_win.h"

namespace sorv::toolbar::test {
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
    const Rect exclude{4, 4, 6, 6};
    // Tiles start one pixel up and left of the area, as a bar 1 pixel in from
    // the parent's origin draws them.
    top.DrawBackground(dc.get(), Rect{0, 0, 6, 6}, Rect{-1, -1, 6, 6}, &exclude);
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 2, 1), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc.get(), 1, 2), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc.get(), 5, 5), RGB(0, 0, 0));  // excluded

    top.SetColor(TColor::Rgb(10, 20, 30));
    top.SetBackgroundTransparent(true);
    top.DrawBackground(dc.get(), Rect{0, 0, 6, 6}, Rect{0, 0, 6, 6}, nullptr);
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
        TDock97 inner(top, "Inner", Rect::FromOrigin({0, 0}, {10, 10}));
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

namespace {

LPARAM ScreenLParam(Point p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

void PostMoves(HWND window, const std::vector<Point>& screen) {
    for (const Point& s : screen) {
        POINT p{s.x, s.y};
        ScreenToClient(window, &p);
        PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    }
}

LRESULT HitTest(HWND window, Point screen) { return SendMessageW(window, WM_NCHITTEST, 0, ScreenLParam(screen)); }

TEST_F(DockingTest, TheFloatingFrameAnswersItsOwnHitTests) {
    auto bar = MakeBar(form, "Bar1");
    const Rect r = ScreenRect(bar->Handle());
    const int border = GetSystemMetrics(SM_CXFRAME);
    const int caption = GetSystemMetrics(SM_CYSMCAPTION);
    ASSERT_GE(caption, 6);
    EXPECT_EQ(ClientSizeOf(bar->Handle()), (Size{60, 20}));
    EXPECT_EQ(r.Extent(), (Size{60 + 2 * border, 20 + 2 * GetSystemMetrics(SM_CYFRAME) + caption}));
    HWND w = bar->Handle();
    EXPECT_EQ(HitTest(w, {r.left + border + 2, r.top + border + 2}), HTCLIENT);  // the caption
    EXPECT_EQ(HitTest(w, {r.right - border - 3, r.top + border + 2}), HTCLOSE);
    const int middle = (r.top + r.bottom) / 2;
    EXPECT_EQ(HitTest(w, {r.left + 1, r.top + 5}), HTTOPLEFT);  // eight-way by default
    EXPECT_EQ(HitTest(w, {r.left + 1, middle}), HTLEFT);
    EXPECT_EQ(HitTest(w, {r.right - 1, middle}), HTRIGHT);
    EXPECT_EQ(HitTest(w, {(r.left + r.right) / 2, r.bottom - 1}), HTBOTTOM);
    bar->SetCloseButton(false);
    EXPECT_EQ(HitTest(w, {r.right - border - 3, r.top + border + 2}), HTCLIENT);

    // Docked, the whole frame answers as client area.
    bar->SetDockedTo(&top);
    const Rect docked = ScreenRect(bar->Handle());
    EXPECT_EQ(HitTest(bar->Handle(), {docked.left + 3, docked.top + 3}), HTCLIENT);
}

TEST_F(DockingTest, ResizingGoesThroughTheSizingCallbacks) {
    auto bar = MakeBar(form, "Bar1");
    HWND w = bar->Handle();
    const Rect start = ScreenRect(w);
    const Point edge{start.right - 1, start.top + 30};
    bar->events.clear();
    PostMoves(w, {{edge.x - 10, edge.y}, {edge.x - 20, edge.y + 5}});
    PostMessageW(w, WM_LBUTTONUP, 0, 0);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTRIGHT, ScreenLParam(edge));
    Pump();
    const int frame = start.Width() - 60;
    const std::vector<std::string> expected{"sizing started " + std::to_string(static_cast<int>(FrameHit::Right)),
                                            "sizing moved " + std::to_string(start.Width() - 10),
                                            "sizing moved " + std::to_string(start.Width() - 20),
                                            "sizing ended accepted"};
    EXPECT_EQ(std::vector<std::string>(bar->events.begin(), bar->events.begin() + 4), expected);
    // 20 pixels narrower: the 60-pixel line wraps after two children.
    EXPECT_EQ(bar->wrapWidth, start.Width() - 20 - frame);
    EXPECT_EQ(ClientSizeOf(w), (Size{40, 40}));
    EXPECT_EQ(ScreenRect(w).TopLeft(), start.TopLeft());

    // Cancelled with Escape: the callbacks hear it, nothing changes.
    const Rect before = ScreenRect(w);
    bar->events.clear();
    PostMoves(w, {{before.right + 40, before.top + 30}});
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTRIGHT, ScreenLParam({before.right - 1, before.top + 30}));
    Pump();
    EXPECT_EQ(bar->events.back(), "sizing ended cancelled");
    EXPECT_EQ(ScreenRect(w), before);
}

TEST_F(DockingTest, TheCloseButtonClosesWhenReleasedOverIt) {
    auto bar = MakeBar(form, "Bar1");
    HWND w = bar->Handle();
    const Rect r = ScreenRect(w);
    const int border = GetSystemMetrics(SM_CXFRAME);
    const Point onClose{r.right - border - 3, r.top + border + 2};
    const Point away{r.left - 20, r.top - 20};
    PostMoves(w, {away});
    PostMessageW(w, WM_LBUTTONUP, 0, 0);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTCLOSE, ScreenLParam(onClose));
    Pump();
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(bar->events.empty() || bar->events.back() != "close");

    PostMoves(w, {away, onClose});
    PostMessageW(w, WM_LBUTTONUP, 0, 0);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTCLOSE, ScreenLParam(onClose));
    Pump();
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_FALSE(bar->Visible());
    ASSERT_GE(bar->events.size(), 2u);
    EXPECT_EQ(bar->events[bar->events.size() - 2], "visible changed");
    EXPECT_EQ(bar->events.back(), "close");
}

TEST(DragOutline, DrawnTwiceItIsGoneAndMovedItTouchesOnlyTheDifference) {
    tk::WindowDc screen(nullptr);
    tk::MemoryDcHandle dc(CreateCompatibleDC(screen.get()));
    tk::BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), 80, 60));
    tk::Selection selected(dc.get(), bitmap.get());
    RECT all{0, 0, 80, 60};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // A white brush stands for the pattern: every pixel of the frame inverts.
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const OutlineFrame frame{{10, 10, 50, 40}, 3};
    DrawDragOutline(dc.get(), white, frame, std::nullopt);
    EXPECT_EQ(GetPixel(dc.get(), 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 12, 20), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 13, 20), RGB(255, 255, 255));  // inside
    EXPECT_EQ(GetPixel(dc.get(), 49, 39), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 50, 40), RGB(255, 255, 255));

    const OutlineFrame moved{{12, 10, 52, 40}, 3};
    DrawDragOutline(dc.get(), white, moved, frame);
    EXPECT_EQ(GetPixel(dc.get(), 10, 20), RGB(255, 255, 255));  // left of the new frame
    EXPECT_EQ(GetPixel(dc.get(), 14, 20), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 30, 11), RGB(0, 0, 0));        // common part: still drawn
    DrawDragOutline(dc.get(), white, std::nullopt, moved);
    for (int x = 0; x < 80; x += 3)
        for (int y = 0; y < 60; y += 3) ASSERT_EQ(GetPixel(dc.get(), x, y), RGB(255, 255, 255)) << x << "," << y;
}

}  // namespace

}  // namespace sorv::toolbar::test
