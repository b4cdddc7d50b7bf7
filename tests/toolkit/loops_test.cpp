// Modal mouse loops and off-screen drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas.h"
#include "form.h"
#include "mouse_loop.h"
#include "test_forms.h"

namespace sorv::tk {
namespace {

FormDescription Design() { return test::FormDesign("TLoop", 100, 100); }

TEST(MouseLoop, FeedsMessagesUntilAcceptedAndReleasesTheCapture) {
    Form form(Design());
    form.Show();
    std::vector<std::string> seen;
    PostMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    PostMessageW(form.Handle(), WM_APP + 1, 0, 0);
    PostMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
    const bool accepted = RunMouseLoop(form.Handle(), [&](const MSG& msg) {
        EXPECT_EQ(GetCapture(), form.Handle());
        if (msg.message == WM_MOUSEMOVE) seen.push_back("move");
        if (msg.message == WM_LBUTTONUP) return LoopStep::Accept;
        return msg.message == WM_MOUSEMOVE ? LoopStep::Continue : LoopStep::Dispatch;
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(seen, std::vector<std::string>{"move"});
    EXPECT_NE(GetCapture(), form.Handle());
}

TEST(MouseLoop, AQuitMessageCancelsAndIsPostedAgain) {
    Form form(Design());
    form.Show();
    PostQuitMessage(3);
    EXPECT_FALSE(RunMouseLoop(form.Handle(), [](const MSG&) { return LoopStep::Continue; }));
    EXPECT_NE(GetCapture(), form.Handle());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(MouseLoop, LosingTheCaptureCancels) {
    Form form(Design());
    form.Show();
    PostMessageW(form.Handle(), WM_APP + 2, 0, 0);
    EXPECT_FALSE(RunMouseLoop(form.Handle(), [](const MSG& msg) {
        if (msg.message == WM_APP + 2) ReleaseCapture();
        return LoopStep::Continue;
    }));
}

TEST(OffscreenBitmap, DrawsIntoItsOwnBitmap) {
    WindowDc screen(nullptr);
    OffscreenBitmap bitmap(screen.get(), 20, 10);
    ASSERT_TRUE(bitmap);
    {
        Canvas canvas(bitmap.Dc());
        canvas.FillRect(Rect{0, 0, 20, 10}, ColorToRgb(clRed));
        canvas.FillRect(Rect{10, 0, 20, 10}, RGB(0, 255, 0));
        Rect measured{0, 0, 0, 0};
        canvas.DrawText("Sorv", measured, DT_CALCRECT | DT_SINGLELINE, RGB(0, 0, 0));
        EXPECT_GT(measured.right, 0);
        EXPECT_EQ(canvas.TextExtent("Sorv").cx, measured.right);
    }
    EXPECT_EQ(GetPixel(bitmap.Dc(), 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(bitmap.Dc(), 15, 2), RGB(0, 255, 0));
}

}  // namespace
}  // namespace sorv::tk
