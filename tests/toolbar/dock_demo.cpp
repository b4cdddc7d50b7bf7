// A window with two docks and a tool window, to look at under a display:
//   dock_demo.exe            the bar docked at the top
//   dock_demo.exe floating   the bar floating below the window
//   dock_demo.exe drag       a drag under way: the outline over the bottom dock
//   dock_demo.exe dragfloat  the same away from the docks: a floating outline
#include <windows.h>

#include <cstring>
#include <memory>

#include "TB97.h"
#include "application.h"
#include "form.h"
#include "test_bar.h"

namespace {

using namespace sorv;
using namespace sorv::toolbar;

void PostMouseMove(HWND window, POINT screen) {
    ScreenToClient(window, &screen);
    PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    tk::App().SetTitle("Docks");
    tk::Form form(test::HostDesign());
    SetWindowPos(form.Handle(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    TDock97 top(form, "Dock971", Rect::FromOrigin({0, 0}, {304, 42}));
    TDock97 bottom(form, "Dock972", Rect::FromOrigin({0, 191}, {304, 9}), TDockPosition::dpBottom);
    top.SetBoundLines({TDockBoundLinesValues::blBottom});
    toolbar::test::TestBar bar(top, "Barre d'ic\u00f4nes", {{38, 38}, {38, 38}, {38, 38}, {38, 38}});
    bar.SetCaption("Barre d'ic\u00f4nes");
    bar.SetDefaultDock(&bottom);
    form.Show();
    tk::App().ProcessMessages();

    if (std::wcscmp(commandLine, L"floating") == 0) {
        SendMessageW(bar.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(-5, 5));
        RECT r{};
        GetWindowRect(form.Handle(), &r);
        SetWindowPos(bar.Handle(), nullptr, r.left + 60, r.bottom + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (std::wcscmp(commandLine, L"drag") == 0 || std::wcscmp(commandLine, L"dragfloat") == 0) {
        // Pressed on the handle and moved over the bottom dock, or below the
        // window; the button is never released.
        POINT over{150, std::wcscmp(commandLine, L"drag") == 0 ? 190 : 260};
        ClientToScreen(form.Handle(), &over);
        PostMouseMove(bar.Handle(), over);
        SendMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 5));
    }
    tk::App().Run();
    return 0;
}
