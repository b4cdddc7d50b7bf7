// Controls on their standard classes: fonts, texts, radio groups, the
// progress range, alignment, thread hooks.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "application.h"
#include "box_driver.h"
#include "buttons.h"
#include "form.h"
#include "label.h"
#include "memo.h"
#include "progress_bar.h"
#include "thread_hook.h"
#include "window_probe.h"

namespace sorv::tk {
namespace {

FormDescription Design(const char* className) {
    FormDescription design;
    design.className = className;
    design.caption = "Sorv";
    design.clientWidth = 267;
    design.clientHeight = 202;
    design.border = BorderStyle::Dialog;
    return design;
}

using test::ClassOf;
using test::FontOf;

TEST(Controls, ControlsTakeTheFormsFontOrTheirOwn) {
    Form form(Design("TFonts"));
    const SharedFont arial = MakeFont({"Arial", -11, FW_NORMAL, false, false, ANSI_CHARSET});
    RadioButton radio(form, "RadioButton4", Rect::FromOrigin({104, 104}, {57, 17}), "1.4 Mo");
    radio.SetControlFont(arial);
    RadioButton zip(form, "RadioButton7", Rect::FromOrigin({24, 128}, {145, 17}), "Lecteur Iomega Zip");
    Memo memo(form, "Memo1", Rect::FromOrigin({8, 56}, {289, 169}), true);
    memo.SetControlFont(arial);

    const LOGFONTW radioFont = FontOf(radio.Handle());
    EXPECT_EQ(radioFont.lfHeight, -11);
    EXPECT_STREQ(radioFont.lfFaceName, L"Arial");
    const LOGFONTW zipFont = FontOf(zip.Handle());
    EXPECT_EQ(zipFont.lfHeight, -11);
    EXPECT_STREQ(zipFont.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(FontOf(memo.Handle()).lfCharSet, ANSI_CHARSET);
}

TEST(Controls, StandardClassesStylesAndGeometry) {
    Form form(Design("TClasses"));
    Memo memo(form, "Memo1", Rect::FromOrigin({8, 56}, {289, 169}), true);
    GroupBox group(form, "RadioGroup1", Rect::FromOrigin({8, 48}, {249, 105}), "Taille Maximum");
    Button button(form, "Button1", Rect::FromOrigin({184, 168}, {73, 25}), "&Ok");
    Label label(form, "Label1", Rect::FromOrigin({8, 8}, {0, 0}), "Fichier: ");
    ProgressBar bar(form, "ProgressBar1", Rect::FromOrigin({0, 187}, {267, 15}));

    EXPECT_EQ(ClassOf(memo.Handle()), L"Edit");
    EXPECT_EQ(ClassOf(button.Handle()), L"Button");
    EXPECT_EQ(ClassOf(label.Handle()), L"Static");
    EXPECT_EQ(ClassOf(bar.Handle()), L"msctls_progress32");
    const auto memoStyle = GetWindowLongPtrW(memo.Handle(), GWL_STYLE);
    EXPECT_NE(memoStyle & ES_READONLY, 0);
    EXPECT_NE(memoStyle & ES_MULTILINE, 0);
    EXPECT_NE(memoStyle & WS_VSCROLL, 0);
    EXPECT_EQ(memoStyle & (WS_HSCROLL | ES_AUTOHSCROLL), 0);  // long lines wrap
    EXPECT_EQ(GetWindowLongPtrW(group.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(group.Text(), "Taille Maximum");
    EXPECT_EQ(memo.Left(), 8);
    EXPECT_EQ(memo.Top(), 56);
    EXPECT_EQ(memo.Width(), 289);
    EXPECT_EQ(memo.Height(), 169);
    EXPECT_EQ(form.FindControl("Button1"), &button);
    EXPECT_EQ(form.FindControl("Nothing"), nullptr);

    // An auto-sized label grows with its caption and shows "&" as typed.
    const int before = label.Width();
    EXPECT_GT(before, 0);
    label.SetCaption("Fichier: a&b_un_nom_de_fichier_assez_long.zip");
    EXPECT_GT(label.Width(), before);
    EXPECT_EQ(label.Caption(), "Fichier: a&b_un_nom_de_fichier_assez_long.zip");
    EXPECT_NE(GetWindowLongPtrW(label.Handle(), GWL_STYLE) & SS_NOPREFIX, 0);
}

TEST(Controls, LogLinesAreAddedAtTheEndAndCleared) {
    Form form(Design("TLog"));
    Memo memo(form, "Memo1", Rect::FromOrigin({8, 56}, {289, 169}), true);
    memo.AppendLine("Nom du fichier : essai.zip");
    memo.AppendLine(std::string(400, 'x'));  // wraps on screen, stays one line
    memo.AppendLine("Taille du fichier : 3000000 octet(s).");
    const auto lines = memo.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Nom du fichier : essai.zip");
    EXPECT_EQ(lines[1].size(), 400u);
    EXPECT_EQ(lines[2], "Taille du fichier : 3000000 octet(s).");
    memo.Clear();
    EXPECT_TRUE(memo.Lines().empty());
    memo.AppendLine("V\u00e9rification OK.");
    EXPECT_EQ(memo.Lines(), std::vector<std::string>{"V\u00e9rification OK."});
}

TEST(Controls, AResizedLogThatShowedItsLastLineStillShowsIt) {
    Form form(Design("TLogSizes"));
    Memo memo(form, "Memo1", Rect::FromOrigin({8, 15}, {289, 210}), true);
    memo.KeepEndInView = true;
    for (int i = 1; i <= 40; ++i) memo.AppendLine("Tranche " + std::to_string(i));
    memo.AppendLine("...Ok");
    for (const int height : {169, 210, 60}) {
        memo.SetBounds(Rect::FromOrigin({8, 56}, {289, height}));
        EXPECT_TRUE(test::ShowsLastLineOfText(memo.Handle())) << height;
    }
    // Scrolled back to the start, or a text read from its start (the help),
    // it keeps its first line.
    for (const bool keepEnd : {true, false}) {
        memo.KeepEndInView = keepEnd;
        SendMessageW(memo.Handle(), EM_LINESCROLL, 0, keepEnd ? -100 : 100);
        const auto first = SendMessageW(memo.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
        memo.SetBounds(Rect::FromOrigin({8, 15}, {289, keepEnd ? 210 : 169}));
        EXPECT_EQ(SendMessageW(memo.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), first) << keepEnd;
    }
}

TEST(Controls, RadioButtonsExcludeOneAnotherAndOnlyTheCheckedOneIsATabStop) {
    Form form(Design("TRadios"));
    GroupBox group(form, "RadioGroup1", Rect::FromOrigin({8, 48}, {249, 105}), "Taille Maximum");
    RadioButton one(form, "RadioButton1", Rect::FromOrigin({24, 80}, {57, 17}), "360 Ko");
    RadioButton two(form, "RadioButton2", Rect::FromOrigin({24, 104}, {57, 17}), "720 Ko");
    RadioButton three(form, "RadioButton3", Rect::FromOrigin({104, 80}, {57, 17}), "1.1 Mo");
    Button ok(form, "Button1", Rect::FromOrigin({184, 168}, {73, 25}), "&Ok");
    std::vector<int> clicks;
    one.OnClick = [&] { clicks.push_back(1); };
    two.OnClick = [&] { clicks.push_back(2); };
    three.OnClick = [&] { clicks.push_back(3); };

    three.SetChecked(true);
    SendMessageW(two.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(two.Checked());
    EXPECT_FALSE(three.Checked());
    EXPECT_FALSE(one.Checked());
    SendMessageW(two.Handle(), BM_CLICK, 0, 0);  // already checked: no new click
    EXPECT_EQ(clicks, (std::vector<int>{3, 2}));
    EXPECT_NE(GetWindowLongPtrW(two.Handle(), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongPtrW(three.Handle(), GWL_STYLE) & WS_TABSTOP, 0);
    // One keyboard group from the first radio to the next other control.
    EXPECT_NE(GetWindowLongPtrW(one.Handle(), GWL_STYLE) & WS_GROUP, 0);
    EXPECT_EQ(GetWindowLongPtrW(two.Handle(), GWL_STYLE) & WS_GROUP, 0);
    EXPECT_NE(GetWindowLongPtrW(ok.Handle(), GWL_STYLE) & WS_GROUP, 0);

    // Showing the form focuses the checked radio: the choice does not change.
    form.Show();
    test::PumpUntil([&] { return GetActiveWindow() == form.Handle(); });
    test::PumpUntil([] { return false; }, 50);
    EXPECT_TRUE(two.Checked());
    EXPECT_EQ(GetFocus(), two.Handle());
}

// Siblings clip one another: a frame above the boxes placed over it hid them,
// and its unerased interior showed whatever lay there before.
TEST(Controls, FramesLieBeneathTheirControlsAndPaintTheirInterior) {
    Form form(Design("TFrames"));
    Label label(form, "Label1", Rect::FromOrigin({8, 8}, {60, 13}), "Fichier:");
    GroupBox frame(form, "GroupBox1", Rect::FromOrigin({8, 24}, {225, 121}), "Options");
    CheckBox first(form, "CheckBox1", Rect::FromOrigin({16, 48}, {209, 25}), "&Ajout");
    CheckBox second(form, "CheckBox2", Rect::FromOrigin({16, 80}, {209, 17}), "&Enregistrer");
    Button ok(form, "Button1", Rect::FromOrigin({158, 150}, {75, 25}), "&Ok");

    std::vector<HWND> zOrder;
    for (HWND w = GetWindow(form.Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) zOrder.push_back(w);
    EXPECT_EQ(zOrder, (std::vector<HWND>{label.Handle(), first.Handle(), second.Handle(), ok.Handle(), frame.Handle()}));

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 225, 121);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 225, 121};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageW(frame.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetPixel(dc, 100, 60), GetSysColor(COLOR_BTNFACE));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST(Controls, CheckBoxToggles) {
    Form form(Design("TCheck"));
    CheckBox box(form, "CheckBox1", Rect::FromOrigin({8, 8}, {120, 17}), "Glisser-d\u00e9poser");
    int changes = 0;
    box.OnClick = [&] { ++changes; };
    SendMessageW(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box.SetChecked(false);
    EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(changes, 2);
}

struct Range {
    int low;
    int high;
    int position;
};

Range RangeOf(const ProgressBar& bar) {
    PBRANGE range{};
    SendMessageW(bar.Handle(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh, static_cast<int>(SendMessageW(bar.Handle(), PBM_GETPOS, 0, 0))};
}

TEST(Controls, ProgressBarTakesRangesBeyond16BitsAndClampsAtItsMaximum) {
    Form form(Design("TProgress"));
    ProgressBar bar(form, "ProgressBar1", Rect::FromOrigin({0, 187}, {267, 15}));
    EXPECT_EQ(RangeOf(bar).high, 100);
    EXPECT_EQ(RangeOf(bar).low, 0);

    bar.SetMax(99'123'200);
    EXPECT_EQ(RangeOf(bar).high, 99'123'200);
    bar.StepBy(2048);
    bar.StepBy(2048);
    EXPECT_EQ(RangeOf(bar).position, 4096);
    bar.SetPosition(99'123'200 - 1000);
    bar.StepBy(2048);
    EXPECT_EQ(bar.Position(), 99'123'200);
    EXPECT_EQ(RangeOf(bar).position, 99'123'200);
    bar.SetPosition(0);
    EXPECT_EQ(RangeOf(bar).position, 0);

    const std::int64_t fiveGiB = 5LL << 30;
    bar.SetMax(fiveGiB);
    EXPECT_EQ(RangeOf(bar).high, static_cast<int>(fiveGiB >> 2));
    bar.SetPosition(fiveGiB / 2);
    EXPECT_EQ(RangeOf(bar).position, static_cast<int>(fiveGiB >> 3));
    bar.StepBy(fiveGiB);
    EXPECT_EQ(bar.Position(), fiveGiB);
    EXPECT_EQ(RangeOf(bar).position, RangeOf(bar).high);
}

TEST(Controls, AlignedControlsFollowTheContainersEdges) {
    Form form(Design("TAlign"));
    ProgressBar bar(form, "ProgressBar1", Rect::FromOrigin({0, 0}, {10, 15}));
    bar.SetAlign(Align::Bottom);
    EXPECT_EQ(bar.Left(), 0);
    EXPECT_EQ(bar.Top(), 202 - 15);
    EXPECT_EQ(bar.Width(), 267);
    EXPECT_EQ(bar.Height(), 15);
    form.SetClientSize(304, 253);
    EXPECT_EQ(bar.Top(), 253 - 15);
    EXPECT_EQ(bar.Width(), 304);
}

TEST(Controls, ThreadHooksOfOneKindShareTheSystemHook) {
    std::vector<std::string> seen;
    auto watch = [&](const char* who) {
        return [&seen, who](int code, WPARAM, LPARAM lParam) {
            if (code != HCBT_CREATEWND) return;
            const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
            if (!IS_INTRESOURCE(create->lpcs->lpszClass) && std::wstring(create->lpcs->lpszClass) == L"TWatched")
                seen.push_back(who);
        };
    };
    {
        ThreadHook first(WH_CBT, watch("first"));
        auto second = std::make_unique<ThreadHook>(WH_CBT, [&](int code, WPARAM w, LPARAM l) {
            watch("second")(code, w, l);
            if (code == HCBT_CREATEWND) throw std::runtime_error("dropped");
        });
        { Form form(Design("TWatched")); }
        second.reset();
        { Form form(Design("TWatched")); }
    }
    { Form form(Design("TWatched")); }
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "second", "first"}));
}

}  // namespace
}  // namespace sorv::tk
