// The floating frame: hit tests, resizing through the sizing callbacks and
// the close button, driven with the capture held.
#include <gtest/gtest.h>

#include <optional>

#include "docking_fixture.h"
#include "drag_outline.h"
#include "handles.h"

namespace sorv::test {
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
    const std::vector<std::string> expected{"sizing started " + std::to_string(static_cast<int>(dock::FrameHit::Right)),
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
}  // namespace sorv::test
