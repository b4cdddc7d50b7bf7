// Forms: class names, geometry, modal showing, activation, keys, help, hooks
// on a live window and re-creation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "application.h"
#include "box_driver.h"
#include "buttons.h"
#include "form.h"
#include "memo.h"
#include "menu.h"

namespace sorv::tk {
namespace {

using test::PumpUntil;

FormDescription MainDescription() {
    FormDescription design;
    design.className = "TForm1";
    design.caption = "Sorv";
    design.clientWidth = 304;
    design.clientHeight = 253;
    design.border = BorderStyle::Single;
    design.icons = BorderIcons{true, true, false, false};
    design.helpContext = 10;
    return design;
}

FormDescription DialogDescription() {
    FormDescription design;
    design.className = "TForm3";
    design.caption = "Sorv";
    design.clientWidth = 267;
    design.clientHeight = 202;
    design.border = BorderStyle::Dialog;
    design.helpContext = 40;
    return design;
}

// A main window with a log area and a dialog with two buttons, as the program
// has them.
struct TwoForms {
    Form main{MainDescription()};
    Memo memo{main, "Memo1", Rect::FromOrigin({8, 56}, {289, 169}), true};
    Form dialog{DialogDescription()};
    Button ok{dialog, "Button1", Rect::FromOrigin({184, 168}, {73, 25}), "&Ok"};
    Button cancel{dialog, "Button2", Rect::FromOrigin({8, 168}, {73, 25}), "&Annuler"};
    int mainActivations = 0;
    int dialogActivations = 0;

    TwoForms() {
        main.OnActivate = [this] { ++mainActivations; };
        dialog.OnActivate = [this] { ++dialogActivations; };
        main.Show();
        PumpUntil([this] { return mainActivations > 0; });
    }
};

TEST(Forms, WindowClassesCarryTheFormNames) {
    Form main(MainDescription());
    Form dialog(DialogDescription());
    EXPECT_EQ(FindWindowW(L"TForm1", L"Sorv"), main.Handle());
    EXPECT_EQ(FindWindowW(L"TForm3", nullptr), dialog.Handle());
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
    EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), main.Handle());
    EXPECT_EQ(App().MainForm(), &main);
}

TEST(Forms, FixedBorderFormHasTheExactClientSizeWithItsMenuAndIsCentred) {
    Form main(MainDescription());
    MainMenu menu;
    menu.Add("fichier1", "&Fichier").Add("Quitter1", "&Quitter");
    main.SetMenu(&menu);
    RECT client{};
    GetClientRect(main.Handle(), &client);
    EXPECT_EQ(client.right, 304);
    EXPECT_EQ(client.bottom, 253);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(main.Handle(), GWL_STYLE));
    EXPECT_EQ(style & WS_THICKFRAME, 0u);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0u);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0u);
    EXPECT_NE(style & WS_SYSMENU, 0u);
    RECT outer{0, 0, 304, 253};
    AdjustWindowRectEx(&outer, style, TRUE, static_cast<DWORD>(GetWindowLongPtrW(main.Handle(), GWL_EXSTYLE)));
    RECT window{};
    GetWindowRect(main.Handle(), &window);
    EXPECT_EQ(window.right - window.left, outer.right - outer.left);
    main.Show();
    GetWindowRect(main.Handle(), &window);
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    Form dialog(DialogDescription());
    GetClientRect(dialog.Handle(), &client);
    EXPECT_EQ(client.right, 267);
    EXPECT_EQ(client.bottom, 202);
    EXPECT_NE(GetWindowLongPtrW(dialog.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    EXPECT_EQ(GetWindowLongPtrW(dialog.Handle(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
}

TEST(Forms, FirstActivationRaisesTheEventOnce) {
    TwoForms forms;
    EXPECT_EQ(forms.mainActivations, 1);
    EXPECT_EQ(GetActiveWindow(), forms.main.Handle());
    EXPECT_EQ(GetFocus(), forms.memo.Handle());  // first in the tab order
}

TEST(Forms, ModalShowDisablesTheOwnerAndGivesTheFocusBackWithoutASecondActivation) {
    TwoForms forms;
    bool mainEnabledDuringModal = true;
    bool dialogActiveDuringModal = false;
    forms.ok.ModalResult = mrOk;
    test::WhenWindowAppears driver(L"TForm3", [&](HWND dialog) {
        mainEnabledDuringModal = IsWindowEnabled(forms.main.Handle()) != FALSE;
        dialogActiveDuringModal = GetActiveWindow() == dialog;
        test::Press(forms.dialog.Handle(), forms.ok.Id());
    });
    EXPECT_EQ(forms.dialog.ShowModal(), mrOk);
    EXPECT_FALSE(mainEnabledDuringModal);
    EXPECT_TRUE(dialogActiveDuringModal);
    EXPECT_EQ(forms.dialogActivations, 1);
    EXPECT_FALSE(IsWindowVisible(forms.dialog.Handle()));
    EXPECT_TRUE(IsWindowEnabled(forms.main.Handle()));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(GetActiveWindow(), forms.main.Handle());
    EXPECT_EQ(GetFocus(), forms.memo.Handle());
    EXPECT_EQ(forms.mainActivations, 1);

    // Each showing activates the dialog again.
    test::WhenWindowAppears again(L"TForm3", [&](HWND) { PostMessageW(forms.dialog.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(forms.dialog.ShowModal(), mrCancel);
    EXPECT_EQ(forms.dialogActivations, 2);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(forms.mainActivations, 1);
}

TEST(Forms, ShowingAVisibleFormModallyIsRefused) {
    TwoForms forms;
    EXPECT_THROW(forms.main.ShowModal(), std::logic_error);
}

TEST(Forms, TheEndOfTheSessionWaitsForTheCloseQuery) {
    TwoForms forms;
    for (const bool agrees : {false, true}) {
        forms.main.OnCloseQuery = [agrees] { return agrees; };
        EXPECT_EQ(SendMessageW(forms.main.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != 0, agrees);
    }
    EXPECT_TRUE(IsWindowVisible(forms.main.Handle()));
}

TEST(Forms, KeysOfTheFormAndOfItsLogAreaReachOneHandler) {
    TwoForms forms;
    std::vector<wchar_t> keys;
    const auto handler = [&](wchar_t& key) { keys.push_back(key); };
    forms.main.OnKeyPress = handler;
    forms.memo.OnKeyPress = handler;

    test::PostKey(forms.memo.Handle(), VK_ESCAPE);
    PumpUntil([&] { return !keys.empty(); });
    ASSERT_EQ(keys, std::vector<wchar_t>{27});
    EXPECT_EQ(forms.memo.Text(), "");
    // The log area ignores Escape: it must not close the window it sits on.
    test::PumpUntil([] { return false; }, 50);
    EXPECT_FALSE(App().Terminated());
    EXPECT_TRUE(IsWindowVisible(forms.main.Handle()));

    PostMessageW(forms.main.Handle(), WM_CHAR, 27, 0);
    PumpUntil([&] { return keys.size() == 2; });
    EXPECT_EQ(keys, (std::vector<wchar_t>{27, 27}));

    // With KeyPreview the form sees its controls' keys first, and may eat them.
    forms.main.KeyPreview = true;
    forms.main.OnKeyPress = [&](wchar_t& key) {
        keys.push_back(L'F');
        key = 0;
    };
    PostMessageW(forms.memo.Handle(), WM_CHAR, L'a', 0);
    PumpUntil([&] { return keys.size() == 3; });
    EXPECT_EQ(keys.back(), L'F');
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(keys.size(), 3u);
}

bool Framed(const Button& button) {
    return (GetWindowLongPtrW(button.Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

TEST(Forms, EscapeAndEnterPressTheCancelAndDefaultButtonsAndTheDefaultFrameFollowsTheFocus) {
    TwoForms forms;
    CheckBox box{forms.dialog, "CheckBox1", Rect::FromOrigin({8, 8}, {120, 17}), "Case"};
    int cancels = 0;
    int oks = 0;
    forms.cancel.Cancel = true;
    forms.cancel.OnClick = [&] { ++cancels; };
    forms.ok.SetDefault(true);
    forms.ok.OnClick = [&] { ++oks; };
    std::vector<wchar_t> keys;
    forms.dialog.OnKeyPress = [&](wchar_t& key) { keys.push_back(key); };
    forms.dialog.Show();
    PumpUntil([&] { return forms.dialogActivations > 0; });
    forms.cancel.SetFocus();
    // The focused push button shows the default frame, and only it.
    EXPECT_TRUE(Framed(forms.cancel));
    EXPECT_FALSE(Framed(forms.ok));
    test::PostKey(forms.cancel.Handle(), VK_ESCAPE);
    PumpUntil([&] { return cancels > 0; });
    EXPECT_EQ(cancels, 1);
    // Enter on a focused push button presses that button.
    test::PostKey(forms.cancel.Handle(), VK_RETURN);
    PumpUntil([&] { return cancels > 1; });
    EXPECT_EQ(oks, 0);
    // The focus on another control, the default button has the frame back
    // and Enter presses it.
    box.SetFocus();
    EXPECT_TRUE(Framed(forms.ok));
    EXPECT_FALSE(Framed(forms.cancel));
    test::PostKey(box.Handle(), VK_RETURN);
    PumpUntil([&] { return oks > 0; });
    EXPECT_EQ(oks, 1);
    EXPECT_EQ(cancels, 2);
    EXPECT_TRUE(keys.empty());
    forms.dialog.Hide();
}

TEST(Forms, F1AsksForTheFocusedControlsHelpContextOrTheForms) {
    TwoForms forms;
    std::vector<HelpRequest> requests;
    App().OnHelp = [&](const HelpRequest& request) { requests.push_back(request); };
    App().HelpFile = "C:\\Sorv\\sorv.hlp";
    forms.memo.SetFocus();
    test::PostKey(forms.memo.Handle(), VK_F1);
    PumpUntil([&] { return !requests.empty(); });
    forms.memo.HelpContext = 77;
    test::PostKey(forms.memo.Handle(), VK_F1);
    PumpUntil([&] { return requests.size() == 2; });
    // The form's own help file wins over the application's.
    forms.main.HelpFile = "D:\\Aide\\sorv.hlp";
    App().HelpKeyword(HELP_PARTIALKEY, "Nouveaut\u00e9s");
    App().OnHelp = nullptr;
    App().HelpFile.clear();

    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(requests[0].data, 10u);
    EXPECT_EQ(requests[0].file, "C:\\Sorv\\sorv.hlp");
    EXPECT_EQ(requests[0].owner, forms.main.Handle());
    EXPECT_EQ(requests[1].data, 77u);
    EXPECT_EQ(requests[2].command, static_cast<UINT>(HELP_PARTIALKEY));
    EXPECT_EQ(requests[2].keyword, "Nouveaut\u00e9s");
    EXPECT_EQ(requests[2].file, "D:\\Aide\\sorv.hlp");
}

TEST(Forms, MenusShowTheirCaptionsStatesAndRunTheirHandlers) {
    Form main(MainDescription());
    MainMenu menu;
    int clears = 0;
    MenuItem& outils = menu.Add("Outils1", "&Outils");
    outils.Add("Effacerlecran1", "&Effacer l'ecran", [&] { ++clears; });
    MenuItem& show = outils.Add("Afficherlesicones1", "&Afficher les icones", [&] { clears += 100; });
    outils.AddSeparator("Options1");
    show.SetEnabled(false);
    main.SetMenu(&menu);

    HMENU bar = GetMenu(main.Handle());
    ASSERT_EQ(bar, menu.Handle());
    wchar_t text[64];
    GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Outils");
    HMENU sub = GetSubMenu(bar, 0);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(GetMenuItemCount(sub), 3);
    GetMenuStringW(sub, 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Afficher les icones");
    EXPECT_NE(GetMenuState(sub, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(sub, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(menu.FindByName("Afficherlesicones1"), &show);

    SendMessageW(main.Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(sub, 0), 0), 0);
    SendMessageW(main.Handle(), WM_COMMAND, MAKEWPARAM(show.CommandId(), 0), 0);
    EXPECT_EQ(clears, 1);  // the disabled item does nothing
    show.SetEnabled(true);
    EXPECT_EQ(GetMenuState(sub, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
    SendMessageW(main.Handle(), WM_COMMAND, MAKEWPARAM(show.CommandId(), 0), 0);
    EXPECT_EQ(clears, 101);
}

TEST(Forms, HooksOnAFormComeAndGoInAnyOrder) {
    Form form(MainDescription());
    std::string order;
    const UINT probe = WM_APP + 5;
    auto tag = [&](char c) {
        return [&order, c](const Message& m, const NextHook& next) {
            if (m.msg == WM_APP + 5) order += c;
            return next(m);
        };
    };
    HookRegistration drop = form.AddHook(tag('d'));
    HookRegistration caption = form.AddHook(tag('c'));
    HookRegistration tool = form.AddHook([&](const Message& m, const NextHook& next) {
        if (m.msg == WM_APP + 5 && m.wParam == 1) return LRESULT{5};  // answered alone
        if (m.msg == WM_APP + 5) order += 't';
        return next(m);
    });
    EXPECT_EQ(SendMessageW(form.Handle(), probe, 1, 0), 5);
    EXPECT_EQ(order, "");
    SendMessageW(form.Handle(), probe, 0, 0);
    EXPECT_EQ(order, "tcd");
    order.clear();
    drop.Remove();  // the first installed goes first
    SendMessageW(form.Handle(), probe, 0, 0);
    EXPECT_EQ(order, "tc");
    order.clear();
    tool.Remove();
    caption.Remove();
    SendMessageW(form.Handle(), probe, 0, 0);
    EXPECT_EQ(order, "");
    EXPECT_EQ(form.HookCount(), 0u);
}

TEST(Forms, RecreatingTheWindowKeepsControlsMenuOwnedFormsAndHooks) {
    Form main(MainDescription());
    Memo memo(main, "Memo1", Rect::FromOrigin({8, 56}, {289, 169}), true);
    memo.AppendLine("ligne");
    MainMenu menu;
    menu.Add("fichier1", "&Fichier");
    main.SetMenu(&menu);
    Form dialog(DialogDescription());
    std::vector<UINT> destroyed;
    int painted = 0;
    HookRegistration hook = main.AddHook([&](const Message& m, const NextHook& next) {
        if (m.msg == WM_DESTROY) destroyed.push_back(m.msg);
        if (m.msg == WM_APP + 6) ++painted;
        return next(m);
    });
    main.Show();
    const HWND old = main.Handle();
    main.SetBorderStyle(BorderStyle::Sizeable);
    EXPECT_NE(main.Handle(), old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(destroyed.size(), 1u);
    EXPECT_NE(GetWindowLongPtrW(main.Handle(), GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(GetParent(memo.Handle()), main.Handle());
    EXPECT_EQ(memo.Lines(), std::vector<std::string>{"ligne"});
    EXPECT_EQ(GetMenu(main.Handle()), menu.Handle());
    EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), main.Handle());
    EXPECT_EQ(main.Caption(), "Sorv");
    EXPECT_EQ(main.ClientSize().cx, 304);
    EXPECT_EQ(main.ClientSize().cy, 253);
    EXPECT_TRUE(IsWindowVisible(main.Handle()));
    SendMessageW(main.Handle(), WM_APP + 6, 0, 0);
    EXPECT_EQ(painted, 1);
}

TEST(Forms, TheApplicationWindowSeesItsMessagesThroughHooks) {
    std::vector<LPARAM> seen;
    HookRegistration hook = App().AddHook([&](const Message& m, const NextHook& next) {
        if (m.msg == 0x498C) seen.push_back(m.lParam);
        return next(m);
    });
    PostMessageW(App().Handle(), 0x498C, 0, 1234);
    PumpUntil([&] { return !seen.empty(); });
    EXPECT_EQ(seen, std::vector<LPARAM>{1234});
    EXPECT_FALSE(IsWindowVisible(App().Handle()));
}

}  // namespace
}  // namespace sorv::tk
