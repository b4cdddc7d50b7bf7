// The tool-bar button on a real window under Wine: the mouse, hot tracking,
// repeats against a fake clock, groups, the dropdown menu, keys, painting.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "TB97Ctls.h"
#include "TB97Tlbr.h"
#include "box_driver.h"
#include "dib_pixels.h"
#include "fake_clock.h"
#include "form.h"
#include "menu.h"
#include "tb97ctls_glyph_win.h"
#include "timer.h"

namespace sorv::toolbar {
namespace {

tk::FormDescription Design(const char* className) {
    tk::FormDescription design;
    design.className = className;
    design.caption = "Boutons";
    design.clientWidth = 300;
    design.clientHeight = 120;
    design.border = tk::BorderStyle::Single;
    return design;
}

// A shown window with buttons of 38 x 38 along its top, driven through its
// mouse messages as the user would.
class ButtonTest : public testing::Test {
protected:
    ButtonTest() : form_(Design("TButtons")) {
        form_.Show();
        SetForegroundWindow(form_.Handle());
    }

    std::unique_ptr<TToolbarButton97> Add(const char* name, int left) {
        auto button = std::make_unique<TToolbarButton97>(form_, name, left, 0);
        button->SetSize(38, 38);
        button->OnClick = [this, b = button.get()] {
            clicks_.push_back(b->Name());
            statesInClick_.push_back(b->State());
        };
        return button;
    }

    LPARAM At(int x, int y) const { return MAKELPARAM(x, y); }
    void Send(UINT msg, int x, int y, WPARAM keys = 0) { SendMessageW(form_.Handle(), msg, keys, At(x, y)); }
    // The cursor goes there too, as the hover checks look at it.
    void Move(int x, int y, WPARAM keys = 0) {
        PutCursor(x, y);
        Send(WM_MOUSEMOVE, x, y, keys);
    }
    void Press(int x, int y) { Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON); }
    void Release(int x, int y) { Send(WM_LBUTTONUP, x, y); }
    void ClickAt(int x, int y) {
        Move(x, y);
        Press(x, y);
        Release(x, y);
    }
    POINT Screen(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(form_.Handle(), &p);
        return p;
    }
    void PutCursor(int x, int y) {
        const POINT p = Screen(x, y);
        SetCursorPos(p.x, p.y);
    }
    // The form's tooltip window, made when a button with a hint is painted.
    static HWND Tips() {
        HWND tips = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM found) {
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (std::wstring(name) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(found) = window;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&tips));
        return tips;
    }
    // Rests the mouse at a client point of `window` (the form's unless
    // told); whether a tip comes up.
    bool TipComesUpAt(int x, int y, HWND window = nullptr) {
        window = window ? window : form_.Handle();
        HWND tips = Tips();
        SendMessageW(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
        POINT screen{x, y};
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageW(window, WM_MOUSEMOVE, 0, At(x, y));
        return sorv::test::PumpUntil([tips] { return IsWindowVisible(tips) != FALSE; }, 400);
    }
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

    test::FakeClock clock_;  // before the buttons: their timers are its
    tk::Form form_;
    std::vector<std::string> clicks_;
    std::vector<ButtonState> statesInClick_;
};

TEST_F(ButtonTest, ClickRunsTheHandlerWithTheButtonShownPressed) {
    auto split = Add("ToolbarButton971", 0);
    auto join = Add("ToolbarButton975", 38);
    ClickAt(50, 10);
    ClickAt(5, 30);
    EXPECT_EQ(clicks_, (std::vector<std::string>{"ToolbarButton975", "ToolbarButton971"}));
    EXPECT_EQ(statesInClick_, (std::vector<ButtonState>{ButtonState::Down, ButtonState::Down}));
    EXPECT_EQ(split->State(), ButtonState::Hot) << "still under the mouse after the click";
    EXPECT_EQ(join->State(), ButtonState::Up);
    EXPECT_EQ(TToolbarButton97::HotButton(), split.get());
}

TEST_F(ButtonTest, HotTrackingFollowsTheMouseFromButtonToButton) {
    auto first = Add("first", 0);
    auto second = Add("second", 38);
    std::vector<std::string> events;
    first->OnMouseEnter = [&] { events.push_back("enter first"); };
    first->OnMouseExit = [&] { events.push_back("exit first"); };
    second->OnMouseEnter = [&] { events.push_back("enter second"); };

    Move(10, 10);
    EXPECT_EQ(first->State(), ButtonState::Hot);
    EXPECT_EQ(clock_.RunningTimers(), 1u) << "the hover timer watches the hot button";
    Move(40, 10);
    EXPECT_EQ(first->State(), ButtonState::Up);
    EXPECT_EQ(second->State(), ButtonState::Hot);
    EXPECT_EQ(TToolbarButton97::HotButton(), second.get());
    EXPECT_EQ(events, (std::vector<std::string>{"enter first", "exit first", "enter second"}));

    // Leaving for the bare window: the hover timer sees the cursor gone.
    PutCursor(40, 10);
    clock_.Advance(125);
    EXPECT_EQ(second->State(), ButtonState::Hot) << "the cursor is still on it";
    PutCursor(200, 100);
    clock_.Advance(125);
    EXPECT_EQ(second->State(), ButtonState::Up);
    EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);
    EXPECT_EQ(clock_.RunningTimers(), 0u) << "idle: the hover timer stops";

    // A mouse move queued for the window ends the hover too (the thread hook).
    Move(10, 10);
    PutCursor(200, 100);
    PostMessageW(form_.Handle(), WM_MOUSEMOVE, 0, At(200, 100));
    Pump();
    EXPECT_EQ(first->State(), ButtonState::Up);
}

TEST_F(ButtonTest, PressDragOffAndBackClicksOnlyWhenReleasedOnTheFace) {
    auto button = Add("button", 0);
    Move(10, 10);
    Press(10, 10);
    EXPECT_EQ(button->State(), ButtonState::Down);
    Move(60, 10, MK_LBUTTON);
    EXPECT_EQ(button->State(), ButtonState::Up);
    EXPECT_TRUE(button->MouseInControl()) << "still tracking: the raised border stays";
    Move(20, 20, MK_LBUTTON);
    EXPECT_EQ(button->State(), ButtonState::Down);
    Move(60, 10, MK_LBUTTON);
    Release(60, 10);
    EXPECT_TRUE(clicks_.empty());
    EXPECT_EQ(button->State(), ButtonState::Up);
    Move(10, 10);
    Press(10, 10);
    Move(60, 10, MK_LBUTTON);
    Move(30, 30, MK_LBUTTON);
    Release(30, 30);
    EXPECT_EQ(clicks_, std::vector<std::string>{"button"});
}

TEST_F(ButtonTest, RepeatingButtonClicksOnPressThenAfterTheDelayThenAtTheInterval) {
    auto button = Add("repeat", 0);
    button->SetRepeating(true);
    std::vector<unsigned> times;
    button->OnClick = [&] { times.push_back(clock_.Now()); };
    Move(10, 10);
    Press(10, 10);
    clock_.Advance(650);
    EXPECT_EQ(times, (std::vector<unsigned>{0, 400, 500, 600}));
    // Off the face the repeats pause; back on, they go on at the interval.
    Move(60, 10, MK_LBUTTON);
    clock_.Advance(400);
    EXPECT_EQ(times.size(), 4u);
    Move(10, 10, MK_LBUTTON);
    clock_.Advance(250);
    EXPECT_EQ(times, (std::vector<unsigned>{0, 400, 500, 600, 1150, 1250}));
    Release(10, 10);
    clock_.Advance(1000);
    EXPECT_EQ(times.size(), 6u) << "no click on release, no repeat after it";
}

TEST_F(ButtonTest, GroupMembersHoldDownUnlessAllUpIsAllowed) {
    for (const bool allowAllUp : {false, true}) {
        auto a = Add("a", 0);
        auto b = Add("b", 38);
        auto other = Add("other", 100);
        a->SetGroupIndex(1);
        b->SetGroupIndex(1);
        other->SetGroupIndex(2);
        other->SetDown(true);
        a->SetAllowAllUp(allowAllUp);
        ClickAt(10, 10);
        EXPECT_TRUE(a->Down());
        ClickAt(50, 10);
        EXPECT_TRUE(b->Down());
        EXPECT_FALSE(a->Down()) << "released by its mate";
        EXPECT_EQ(a->State(), ButtonState::Up);
        EXPECT_TRUE(other->Down());
        ClickAt(50, 10);
        EXPECT_EQ(b->Down(), !allowAllUp) << "AllowAllUp came from a: " << allowAllUp;
        PutCursor(250, 100);
        clock_.Advance(125);
        EXPECT_EQ(b->State(), allowAllUp ? ButtonState::Up : ButtonState::Exclusive);
    }
}

TEST_F(ButtonTest, DropdownComboWidensTheButtonByItsArrowPart) {
    auto button = Add("combo", 0);
    button->SetDropdownCombo(true);
    EXPECT_EQ(button->Width(), 49);
    button->SetDropdownCombo(true);
    EXPECT_EQ(button->Width(), 49);
    button->SetSize(5, 38);
    button->SetDropdownCombo(false);
    EXPECT_EQ(button->Width(), 1);
}

TEST_F(ButtonTest, ClosingTheMenuOnTheButtonDoesNotOpenItAgain) {
    tk::PopupMenu menu;  // outlives its button
    auto button = Add("menu", 0);
    int chosen = 0;
    menu.Add("Item1", "&Un", [&] { ++chosen; });
    button->SetDropdownMenu(&menu);
    int opened = 0;
    std::vector<POINT> elsewhere;
    auto probe = Add("probe", 100);
    probe->OnMouseDown = [&](tk::MouseButton, WPARAM, int x, int y) { elsewhere.push_back({x, y}); };
    // While the menu is open, the user presses the button again (which
    // closes the menu) and then the probe button: presses queued behind the
    // menu's end.
    static HWND window;
    window = form_.Handle();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        EndMenu();
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 12));
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(110, 12));
    });
    button->OnClick = [&] { ++opened; };
    Move(10, 10);
    Press(10, 10);
    KillTimer(nullptr, timer);
    Pump();
    EXPECT_EQ(opened, 1);
    ASSERT_EQ(elsewhere.size(), 1u) << "the press elsewhere reached its button";
    EXPECT_EQ(elsewhere[0].x, 10);
    EXPECT_EQ(button->State(), ButtonState::Hot);
    // The list's window hands a command to the menu it belongs to.
    SendMessageW(TDropdownList::Existing()->Owner(), WM_COMMAND, menu.Items()[0]->CommandId(), 0);
    EXPECT_EQ(chosen, 1);
    // The menu leaves the list with its last button.
    auto second = Add("second", 38);
    second->SetDropdownMenu(&menu);
    button.reset();
    EXPECT_TRUE(TDropdownList::Existing()->Holds(&menu));
    second->SetDropdownMenu(nullptr);
    EXPECT_FALSE(TDropdownList::Existing()->Holds(&menu));
}

TEST_F(ButtonTest, EnterAndEscapeClickDefaultAndCancelButtonsOnlyWithoutShiftStates) {
    auto ok = Add("ok", 0);
    auto cancel = Add("cancel", 38);
    ok->Default = true;
    cancel->Cancel = true;
    ok->SetCaption("&Ok");
    EXPECT_TRUE(ok->DialogKey(VK_RETURN, false, false, false));
    EXPECT_FALSE(ok->DialogKey(VK_RETURN, true, false, false));
    EXPECT_FALSE(ok->DialogKey(VK_RETURN, false, true, false));
    EXPECT_FALSE(ok->DialogKey(VK_ESCAPE, false, false, false));
    EXPECT_TRUE(cancel->DialogKey(VK_ESCAPE, false, false, false));
    EXPECT_TRUE(ok->DialogChar(L'o'));
    EXPECT_FALSE(cancel->DialogChar(L'c')) << "no accelerator in its caption";
    ok->SetDisplayMode(TButtonDisplayMode::dmGlyphOnly);
    EXPECT_FALSE(ok->DialogChar(L'o')) << "the caption is not shown";
    cancel->SetEnabled(false);
    EXPECT_FALSE(cancel->DialogKey(VK_ESCAPE, false, false, false));
    EXPECT_EQ(clicks_, (std::vector<std::string>{"ok", "cancel", "ok"}));
}

TEST_F(ButtonTest, DisablingEndsHotTrackingAndThePress) {
    auto button = Add("button", 0);
    Move(10, 10);
    Press(10, 10);
    button->SetEnabled(false);
    EXPECT_EQ(button->State(), ButtonState::Disabled);
    EXPECT_EQ(TToolbarButton97::HotButton(), nullptr);
    Release(10, 10);
    EXPECT_TRUE(clicks_.empty());
    button->SetEnabled(true);
    EXPECT_EQ(button->State(), ButtonState::Up);
}

TEST_F(ButtonTest, HintIsAToolOverTheButton) {
    auto button = Add("hint", 38);
    button->Hint = "Regrouper";
    RedrawWindow(form_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);  // painted, it places its tip
    HWND tips = Tips();
    ASSERT_NE(tips, nullptr);
    ASSERT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[80] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.lpszText = text;
    ASSERT_TRUE(SendMessageW(tips, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, L"Regrouper");
    EXPECT_EQ(info.rect.left, 38);
    EXPECT_EQ(info.rect.right, 76);
    button.reset();
    EXPECT_FALSE(IsWindow(tips)) << "the last tool takes the tooltip window with it";
}

TEST_F(ButtonTest, NoTipOverTheModalWindowTheButtonOpens) {
    // A floating bar: a modal window disables its form, not the bar.
    TToolbar97 bar(form_, "Barre", Rect::FromOrigin({-90, -90}, {60, 50}));
    TToolbarButton97 button(bar, "join");
    button.SetSize(38, 38);
    button.Hint = "Regrouper";
    bar.Loaded();
    RedrawWindow(bar.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(TipComesUpAt(10, 10, bar.Handle()));
    bool hiddenWhenOpened = false;
    bool upDuringModal = true;
    // Runs inside the message box's modal loop: the mouse rests on the button.
    tk::Timer during(
        10,
        [&] {
            during.SetEnabled(false);
            hiddenWhenOpened = !IsWindowVisible(Tips());
            upDuringModal = TipComesUpAt(12, 12, bar.Handle());
            sorv::test::Press(sorv::test::FindThreadWindow(L"#32770"), IDOK);
        },
        false);
    button.OnClick = [&] {
        during.SetEnabled(true);
        MessageBoxW(form_.Handle(), L"Modale", L"Boutons", MB_OK);
    };
    button.Click();  // as Enter or the accelerator gives it, the tip still up
    EXPECT_TRUE(hiddenWhenOpened);
    EXPECT_FALSE(upDuringModal);
    EXPECT_TRUE(TipComesUpAt(14, 14, bar.Handle())) << "the modal window gone, tips come back";
}

// A window of another thread takes the activation: the program is inactive.
class OtherProgram {
public:
    OtherProgram() {
        const HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
        thread_ = std::thread([this, desktop] {
            SetThreadDesktop(desktop);
            threadId_ = GetCurrentThreadId();
            window_ = CreateWindowExW(0, L"STATIC", L"Autre", WS_POPUP | WS_VISIBLE, 400, 300, 100, 50, nullptr,
                                      nullptr, nullptr, nullptr);
            ready_ = true;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            DestroyWindow(window_);
        });
        sorv::test::PumpUntil([this] { return ready_.load(); });
        SetForegroundWindow(window_);
        sorv::test::PumpUntil([] { return GetActiveWindow() == nullptr; });
    }
    ~OtherProgram() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

private:
    std::thread thread_;
    std::atomic<bool> ready_{false};
    std::atomic<DWORD> threadId_{0};
    HWND window_ = nullptr;
};

TEST_F(ButtonTest, NoTipWhileTheProgramIsInactive) {
    auto button = Add("join", 38);
    button->Hint = "Regrouper";
    RedrawWindow(form_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(TipComesUpAt(50, 10));
    {
        OtherProgram other;
        ASSERT_EQ(GetActiveWindow(), nullptr);
        EXPECT_FALSE(IsWindowVisible(Tips())) << "the shown tip goes with the activation";
        EXPECT_FALSE(TipComesUpAt(52, 12));
    }
    SetForegroundWindow(form_.Handle());
    Pump();
    EXPECT_TRUE(TipComesUpAt(54, 14)) << "active again, tips come back";
}

TEST_F(ButtonTest, FlatButtonShowsItsBorderOnlyWhileHotOrDown) {
    auto button = Add("paint", 0);
    const std::uint32_t face = ToPixel(GetSysColor(COLOR_BTNFACE));
    const std::uint32_t light = ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
    const std::uint32_t shadow = ToPixel(GetSysColor(COLOR_BTNSHADOW));
    struct Look {
        std::uint32_t topLeft;
        std::uint32_t bottomRight;
    };
    const auto look = [&] {
        tk::DibSection surface(38, 38);
        button->Paint(surface.Dc());
        return Look{test::RgbAt(surface, 0, 0), test::RgbAt(surface, 37, 37)};
    };
    const Look up = look();
    EXPECT_EQ(up.topLeft, face);
    EXPECT_EQ(up.bottomRight, face);
    Move(10, 10);
    const Look hot = look();
    EXPECT_EQ(hot.topLeft, light) << "raised";
    EXPECT_EQ(hot.bottomRight, shadow);
    Press(10, 10);
    const Look down = look();
    EXPECT_EQ(down.topLeft, shadow) << "sunken";
    EXPECT_EQ(down.bottomRight, light);
    Release(10, 10);
    // Held down in a group: the checkered background of a pressed button.
    button->SetGroupIndex(1);
    button->SetDown(true);
    PutCursor(200, 100);
    clock_.Advance(125);
    tk::DibSection held(38, 38);
    button->Paint(held.Dc());
    EXPECT_EQ(test::RgbAt(held, 0, 0), shadow);
    EXPECT_NE(held.Pixel(2, 2), held.Pixel(3, 2)) << "checkered";
}

}  // namespace

}  // namespace sorv::toolbar
