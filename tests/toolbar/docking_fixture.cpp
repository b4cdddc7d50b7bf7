#include "docking_fixture.h"

#include "win_geometry.h"

namespace sorv::toolbar::test {

DockingTest::DockingTest()
    : form(HostDesign()),
      top(form, "Dock971", Rect::FromOrigin({0, 0}, {304, 42})),
      bottom(form, "Dock972", Rect::FromOrigin({0, 191}, {304, 9}), TDockPosition::dpBottom) {
    SetWindowPos(form.Handle(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form.Show();
    Pump();
}

DockingTest::~DockingTest() { Pump(); }

std::unique_ptr<TestBar> DockingTest::MakeBar(tk::Window& parent, const std::string& name,
                                              std::vector<Size> children) {
    auto bar = std::make_unique<TestBar>(parent, name, children);
    Pump();
    return bar;
}

Rect DockingTest::BoundsOf(const tk::Control& control) { return control.BoundsRect(); }

Rect DockingTest::ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return FromRECT(r);
}

Size DockingTest::ClientSizeOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

Point DockingTest::OnForm(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(form.Handle(), &p);
    return FromPOINT(p);
}

void DockingTest::Drag(TCustomToolWindow97& bar, Point grab, const std::vector<Point>& path, std::vector<MSG> last) {
    HWND window = bar.Handle();
    for (const Point& screen : path) {
        POINT p = ToPOINT(screen);
        ScreenToClient(window, &p);
        PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    }
    for (const MSG& msg : last) PostMessageW(msg.hwnd ? msg.hwnd : window, msg.message, msg.wParam, msg.lParam);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    Pump();
}

void DockingTest::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace sorv::toolbar::test
