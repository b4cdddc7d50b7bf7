#pragma once
// A form with a top and a bottom dock, and mouse input driven into the
// tool windows' modal loops: messages posted first, the press sent last.
#include <windows.h>

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "TB97.h"
#include "form.h"
#include "test_bar.h"

namespace sorv::toolbar::test {

class DockingTest : public ::testing::Test {
protected:
    DockingTest();
    ~DockingTest() override;

    // Three 20 x 20 children unless told otherwise.
    std::unique_ptr<TestBar> MakeBar(tk::Window& parent, const std::string& name,
                                     std::vector<Size> children = {{20, 20}, {20, 20}, {20, 20}});

    // Bounds in the parent's client coordinates; the screen's for a floating bar.
    static Rect BoundsOf(const tk::Control& control);
    static Rect ScreenRect(HWND window);
    static Size ClientSizeOf(HWND window);
    // A point of the form's client area on the screen.
    Point OnForm(int x, int y) const;

    // Moves the mouse through screen points with the button held, then ends
    // with `last` (WM_LBUTTONUP, a key...) after pressing at `grab` (client).
    static void Drag(TCustomToolWindow97& bar, Point grab, const std::vector<Point>& path,
                     std::vector<MSG> last = {{nullptr, WM_LBUTTONUP, 0, 0, 0, {}}});
    // Runs what is left in the queue.
    static void Pump();

    tk::Form form;
    TDock97 top;
    TDock97 bottom;
};

}  // namespace sorv::toolbar::test
