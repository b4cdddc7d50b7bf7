// The shared thread hooks on real windows: events reach the callbacks that
// asked for them while they are registered and some callback has work for
// them.
#include <algorithm>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "TB97Cmn.h"

namespace sorv::toolbar {
namespace {

struct Seen {
    THookProcType kind;
    HWND window;
    friend bool operator==(const Seen&, const Seen&) = default;
};
std::vector<Seen> seenByFirst;
std::vector<Seen> seenBySecond;

void First(THookProcType kind, HWND window, WPARAM, LPARAM) { seenByFirst.push_back({kind, window}); }
void Second(THookProcType kind, HWND window, WPARAM, LPARAM) {
    seenBySecond.push_back({kind, window});
    throw std::runtime_error("dropped");
}

HWND MakeWindow() {
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

void Move(HWND window, int x) { SetWindowPos(window, nullptr, x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }

constexpr THookProcTypes kAllKinds{THookProcType::hkActivateApp, THookProcType::hkWindowPosChanged,
                                   THookProcType::hkPreDestroy, THookProcType::hkMouseMove};

TEST(HookManager, CallbacksSeeTheirKindsWhileRegistered) {
    seenByFirst.clear();
    seenBySecond.clear();
    HWND window = MakeWindow();
    WantHooks(kAllKinds, true);
    InstallHookProc(First, {THookProcType::hkWindowPosChanged, THookProcType::hkPreDestroy});
    InstallHookProc(First, {THookProcType::hkMouseMove});  // counted again, kinds kept
    InstallHookProc(Second, {THookProcType::hkWindowPosChanged, THookProcType::hkMouseMove});

    Move(window, 5);
    EXPECT_EQ(seenByFirst, (std::vector<Seen>{{THookProcType::hkWindowPosChanged, window}}));
    EXPECT_EQ(seenBySecond, seenByFirst);  // it threw: the first callback ran all the same

    PostMessageW(window, WM_MOUSEMOVE, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, window, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    EXPECT_EQ(seenBySecond.back(), (Seen{THookProcType::hkMouseMove, window}));
    EXPECT_EQ(seenByFirst.size(), 1u);

    UninstallHookProc(First);  // one registration left
    UninstallHookProc(Second);
    Move(window, 10);
    EXPECT_EQ(seenByFirst.back(), (Seen{THookProcType::hkWindowPosChanged, window}));
    EXPECT_EQ(seenBySecond.size(), 2u);

    UninstallHookProc(First);
    Move(window, 15);
    EXPECT_EQ(seenByFirst.size(), 2u);

    // Registered, but nobody has work for the hooks: they are not in place.
    InstallHookProc(First, {THookProcType::hkWindowPosChanged});
    WantHooks(kAllKinds, false);
    Move(window, 20);
    EXPECT_EQ(seenByFirst.size(), 2u);
    WantHooks({THookProcType::hkPreDestroy}, true);  // another hook
    Move(window, 25);
    EXPECT_EQ(seenByFirst.size(), 2u);
    WantHooks({THookProcType::hkActivateApp}, true);  // the same hook
    Move(window, 30);
    EXPECT_EQ(seenByFirst.back(), (Seen{THookProcType::hkWindowPosChanged, window}));
    EXPECT_EQ(seenByFirst.size(), 3u);
    WantHooks({THookProcType::hkActivateApp}, false);
    UninstallHookProc(First);

    InstallHookProc(First, {THookProcType::hkPreDestroy});
    DestroyWindow(window);
    // The system may destroy helper windows of its own along with it.
    EXPECT_NE(std::find(seenByFirst.begin(), seenByFirst.end(), Seen{THookProcType::hkPreDestroy, window}),
              seenByFirst.end());
    UninstallHookProc(First);
    WantHooks({THookProcType::hkPreDestroy}, false);
}

}  // namespace

}  // namespace sorv::toolbar
