// The link label on a real window: what a click opens, its colours while
// pressed, its context menu and the clipboard, its hand cursor. The shell
// call is captured: nothing is launched.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "UrlLabel.h"
#include "box_driver.h"
#include "form.h"
#include "urllabel_win.h"
#include "utf16.h"

namespace sorv {
namespace {

struct ShellCall {
    HWND owner;
    std::string verb;
    std::string file;
    int show;
    bool operator==(const ShellCall&) const = default;
};

tk::FormDescription HostDescription() {
    tk::FormDescription design;
    design.className = "TUrlHost";
    design.caption = "Liens";
    design.clientWidth = 227;
    design.clientHeight = 120;
    design.border = tk::BorderStyle::Dialog;
    return design;
}

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "(clipboard closed)";
    std::string text = "(no text)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Narrow(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

class LinkLabel : public testing::Test {
protected:
    LinkLabel() {
        link.OpenTarget = [this](HWND owner, const std::string& verb, const std::string& file, int show) {
            events.push_back("open");
            calls.push_back({owner, verb, file, show});
        };
        link.OnClick = [this] { events.push_back(link.FontColor() == link.ActiveColor ? "click, active" : "click"); };
        host.Show();
        test::PumpUntil([&] { return IsWindowVisible(host.Handle()) != FALSE; });
    }

    void Press(int x, int y) { SendMessageW(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Move(int x, int y) { SendMessageW(link.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Release(int x, int y) { SendMessageW(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    void ClickAt(int x, int y) {
        Press(x, y);
        Release(x, y);
    }
    // The text colour the label paints with, as its parent gives it.
    COLORREF PaintedColor() {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(GetParent(link.Handle()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(link.Handle()));
        const COLORREF color = GetTextColor(dc);
        DeleteDC(dc);
        return color;
    }

    tk::Form host{HostDescription()};
    TUrlLabel link{host, "UrlLabel1", Rect::FromOrigin({22, 20}, {158, 13}), "http://sorv.example.org/", false};
    std::vector<ShellCall> calls;
    std::vector<std::string> events;
};

TEST_F(LinkLabel, LooksLikeALink) {
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0xFF0000u));
    EXPECT_EQ(PaintedColor(), RGB(0, 0, 255));
    EXPECT_EQ(link.ActiveColor, TColor::FromValue(0x800080u));
    EXPECT_EQ(link.URL, "");
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_FALSE(font.lfItalic);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    // The mouse falls on the label itself, not through it to the form.
    POINT inside{30, 25};
    ClientToScreen(host.Handle(), &inside);
    EXPECT_EQ(SendMessageW(link.Handle(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
}

TEST_F(LinkLabel, TheHandIsScreenCursorFiveAndShowsOverTheLabel) {
    HCURSOR hand = InstalledScreenCursor(crHand);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(crHand, 5);
    EXPECT_EQ(link.Cursor, 5);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 0u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);

    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessageW(link.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link.Handle()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), hand);
}

TEST_F(LinkLabel, AClickOpensTheUrlWithTheActiveColourShowing) {
    link.URL = "http://sorv.example.org/";
    link.SetCaption("Accueil");
    Press(5, 5);
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0x800080u));
    EXPECT_EQ(PaintedColor(), RGB(0x80, 0, 0x80));
    EXPECT_EQ(GetCapture(), link.Handle());
    Release(5, 5);
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0xFF0000u));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"click, active", "open"}));
    EXPECT_EQ(calls, (std::vector<ShellCall>{{GetDesktopWindow(), "open", "http://sorv.example.org/", SW_SHOWNORMAL}}));
}

TEST_F(LinkLabel, ABlankUrlOpensTheCaptionAndBlanksEverywhereOpenNothing) {
    link.URL = "   ";
    ClickAt(5, 5);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].file, "http://sorv.example.org/");

    link.SetCaption("");
    ClickAt(5, 5);
    link.SetCaption(" \t ");
    ClickAt(5, 5);
    EXPECT_EQ(calls.size(), 1u);
    // The click event itself still runs.
    EXPECT_EQ(events, (std::vector<std::string>{"click, active", "open", "click, active", "click, active"}));
}

TEST_F(LinkLabel, PressingThenLeavingTheLabelGivesNoClick) {
    Press(5, 5);
    Move(300, 5);
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0x800080u));
    Release(300, 5);
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0xFF0000u));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(events.empty());

    // Losing the mouse mid-press: colour back, and the release is no click.
    Press(5, 5);
    SetCapture(host.Handle());
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0xFF0000u));
    ReleaseCapture();
    Release(5, 5);
    EXPECT_TRUE(events.empty());

    // A release with no press on the label (pressed elsewhere) changes nothing.
    Release(5, 5);
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0xFF0000u));
    EXPECT_TRUE(events.empty());
}

TEST_F(LinkLabel, TheRightButtonKeepsTheColourAndItsMenuCopiesTheCaption) {
    link.URL = "mailto:sorv@example.org?subject=Sorv ";
    link.SetCaption("sorv@example.org");
    PutOnClipboard(L"ancien contenu");
    ASSERT_EQ(link.PopupMenu().Items().size(), 1u);
    EXPECT_EQ(link.PopupMenu().Items()[0]->Caption(), "Copy");

    std::vector<std::wstring> seen;
    test::WhenWindowAppears menu(L"#32768", [&](HWND window) {
        seen.push_back(L"menu");
        test::PostKey(window, VK_DOWN);
        test::PostKey(window, VK_RETURN);
    });
    SendMessageW(link.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0xFF0000u));
    // The menu runs its own loop until the item is chosen.
    SendMessageW(link.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(menu.Count(), 1);
    EXPECT_EQ(link.FontColor(), TColor::FromValue(0xFF0000u));
    EXPECT_EQ(ClipboardText(), "sorv@example.org");
    EXPECT_TRUE(calls.empty());
}

TEST_F(LinkLabel, CopyPutsTheCaptionNotTheUrlOnTheClipboard) {
    link.URL = "mailto:sorv@example.org?subject=Sorv ";
    link.SetCaption("\u00e9quipe@sorv.example.org");
    link.Copy();
    EXPECT_EQ(ClipboardText(), "\u00e9quipe@sorv.example.org");
    link.PopupMenu().Items()[0]->Click();
    EXPECT_EQ(ClipboardText(), "\u00e9quipe@sorv.example.org");
}

}  // namespace
}  // namespace sorv
