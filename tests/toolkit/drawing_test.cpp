// Drawing and handle helpers read back pixel by pixel from device-independent
// bitmaps; the frame and screen scopes, timers whose handler changes, and a
// popup menu tracked for its command.
#include <gtest/gtest.h>

#include <windows.h>

#include "box_driver.h"
#include "canvas.h"
#include "dib_section.h"
#include "form.h"
#include "menu.h"
#include "nonclient_dc.h"
#include "pattern_brush.h"
#include "screen_scopes.h"
#include "test_forms.h"
#include "timer.h"

namespace sorv::tk {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A white section.
struct Sheet : DibSection {
    Sheet(int width, int height) : DibSection(width, height) {
        Canvas(Dc()).FillRect(Rect{0, 0, width, height}, kWhite);
    }
};

TEST(Drawing, PatternBrushesRepeatTheirEightRows) {
    Sheet dib(16, 8);
    const PatternBrush outline = PatternBrush::Monochrome(kCheckerboard);
    // Inverting twice through the same pattern leaves nothing behind.
    Canvas(dib.Dc()).PatternFill({0, 0, 16, 8}, outline.get(), PATINVERT);
    EXPECT_EQ(dib.Pixel(0, 0), kBlack);
    EXPECT_EQ(dib.Pixel(1, 0), kWhite);
    EXPECT_EQ(dib.Pixel(0, 1), kWhite);
    EXPECT_EQ(dib.Pixel(9, 1), kBlack);
    Canvas(dib.Dc()).PatternFill({0, 0, 16, 8}, outline.get(), PATINVERT);
    EXPECT_EQ(dib.Pixel(0, 0), kWhite);
    EXPECT_EQ(dib.Pixel(9, 1), kWhite);

    const PatternBrush checkered = PatternBrush::TwoColour(kCheckerboard, kRed, kBlue);
    Canvas(dib.Dc()).PatternFill({0, 0, 16, 8}, checkered.get());
    EXPECT_EQ(dib.Pixel(0, 0), kRed);
    EXPECT_EQ(dib.Pixel(1, 0), kBlue);
    EXPECT_EQ(dib.Pixel(8, 2), kRed);
    EXPECT_EQ(dib.Pixel(15, 7), kRed);
}

TEST(Drawing, LinesEdgesAndPolygonsOnTheCanvas) {
    Sheet dib(12, 12);
    {
        Canvas canvas(dib.Dc());
        canvas.Line({0, 0}, {4, 0}, kRed);
        const Rect inside = canvas.DrawEdge({0, 2, 10, 12}, BDR_RAISEDINNER, BF_RECT);
        EXPECT_EQ(inside, (Rect{1, 3, 9, 11}));
        canvas.Polygon({{4, 5}, {8, 5}, {6, 7}}, kBlue);
    }
    EXPECT_EQ(dib.Pixel(3, 0), kRed);
    EXPECT_EQ(dib.Pixel(4, 0), kWhite);  // the last pixel is left out
    EXPECT_EQ(dib.Pixel(0, 2), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dib.Pixel(9, 11), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(dib.Pixel(6, 6), kBlue);
    EXPECT_EQ(dib.Pixel(2, 8), kWhite);
}

TEST(Drawing, BitmapsReadBackAndMonochromeRows) {
    Sheet dib(3, 2);
    dib.SetPixel(2, 1, RGB(1, 2, 3));
    const BitmapHandle taken = dib.TakeBitmap();
    EXPECT_FALSE(dib);
    const Pixels read = ReadPixels(taken.get());
    ASSERT_EQ(read.width, 3);
    ASSERT_EQ(read.height, 2);
    EXPECT_EQ(read.At(2, 1), RGB(1, 2, 3));
    EXPECT_EQ(read.At(0, 0), kWhite);

    // Ten pixels a row, padded to four bytes: 1 is white.
    const BitmapHandle mono = MonochromeBitmap(10, 2, {0x80, 0x40, 0, 0, 0x01, 0, 0, 0});
    const Pixels bits = ReadPixels(mono.get());
    EXPECT_EQ(bits.At(0, 0), kWhite);
    EXPECT_EQ(bits.At(1, 0), kBlack);
    EXPECT_EQ(bits.At(9, 0), kWhite);
    EXPECT_EQ(bits.At(7, 1), kWhite);
    EXPECT_EQ(bits.At(0, 1), kBlack);
}

FormDescription Design() { return test::FormDesign("TDrawing", 200, 100, BorderStyle::Single); }

Rect ClipBox(HDC dc) {
    RECT r{};
    GetClipBox(dc, &r);
    return {r.left, r.top, r.right, r.bottom};
}

TEST(Drawing, TheFrameDcIsClippedToTheUpdateRegionOrTheWholeWindow) {
    Form form(Design());
    form.Show();
    RECT window{};
    GetWindowRect(form.Handle(), &window);
    const Rect whole{0, 0, window.right - window.left, window.bottom - window.top};
    {
        RegionHandle update(CreateRectRgn(window.left + 2, window.top + 3, window.left + 40, window.top + 9));
        NonClientDc dc(form.Handle(), update.get());
        EXPECT_TRUE(dc.ClippedToUpdate());
        EXPECT_EQ(ClipBox(dc.get()), (Rect{2, 3, 40, 9}));
        EXPECT_EQ(dc.Bounds(), whole);
    }
    {
        NonClientDc dc(form.Handle(), nullptr);  // wParam 1: the whole frame
        EXPECT_FALSE(dc.ClippedToUpdate());
        EXPECT_EQ(ClipBox(dc.get()), whole);
    }
    {
        HRGN gone = CreateRectRgn(0, 0, 5, 5);
        DeleteObject(gone);
        NonClientDc dc(form.Handle(), gone);
        EXPECT_FALSE(dc.ClippedToUpdate());
        EXPECT_EQ(ClipBox(dc.get()), whole);
    }
}

TEST(Drawing, ScreenScopesLockTheDesktopAndConfineTheCursorMeanwhile) {
    Form form(Design());
    RECT before{};
    GetClipCursor(&before);
    {
        DesktopOutlineDc outline;
        EXPECT_TRUE(outline);
        EXPECT_FALSE(LockWindowUpdate(form.Handle()));  // one window only, the desktop
        CursorClip clip({10, 20, 110, 220});
        RECT now{};
        GetClipCursor(&now);
        EXPECT_EQ(now.left, 10);
        EXPECT_EQ(now.bottom, 220);
    }
    RECT after{};
    GetClipCursor(&after);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_TRUE(LockWindowUpdate(form.Handle()));
    LockWindowUpdate(nullptr);
}

TEST(Timers, AHandlerCanHandTheTimerToAnother) {
    int first = 0;
    int second = 0;
    Timer timer(10, {});
    timer.SetHandler([&] {
        ++first;
        timer.SetHandler([&] { ++second; });
    });
    EXPECT_TRUE(test::PumpUntil([&] { return second >= 2; }));
    EXPECT_EQ(first, 1);
}

TEST(PopupMenus, TrackingGivesTheCommandBackWithoutRunningIt) {
    Form form(Design());
    form.Show();
    PopupMenu menu;
    int clicks = 0;
    menu.Add("Item1", "Premier", [&] { ++clicks; });
    MenuItem& second = menu.Add("Item2", "Second", [&] { ++clicks; });
    menu.Alignment = PopupAlignment::Right;
    RECT shown{};
    test::WhenWindowAppears driver(L"#32768", [&](HWND window) {
        GetWindowRect(window, &shown);
        test::PostKey(window, VK_DOWN);
        test::PostKey(window, VK_DOWN);
        test::PostKey(window, VK_RETURN);
    });
    const UINT command = menu.Track(form.Handle(), {300, 200});
    EXPECT_EQ(driver.Count(), 1);
    EXPECT_EQ(command, second.CommandId());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(shown.right, 300);  // right-aligned: the menu ends at the point
    EXPECT_EQ(shown.top, 200);
}

}  // namespace
}  // namespace sorv::tk
