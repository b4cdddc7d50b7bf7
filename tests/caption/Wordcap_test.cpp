// The gradient caption on real windows, read back pixel by pixel: the bands,
// the text, the platform's frame around them, and the paths on which the
// platform could draw its own title bar over ours.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Wordcap.h"
#include "application.h"
#include "box_driver.h"
#include "form.h"
#include "wordcap_rules.h"
#include "wordcap_win.h"

namespace sorv::caption {
namespace {

using test::PumpUntil;

tk::FormDescription TestForm(tk::BorderStyle border, const char* caption = "Sorv") {
    tk::FormDescription design;
    design.className = "TCaptionTest";
    design.caption = caption;
    design.clientWidth = 304;
    design.clientHeight = 120;
    design.border = border;
    design.icons = tk::BorderIcons{true, true, false, false};
    return design;
}

void Settle() { PumpUntil([] { return false; }, 150); }

void ShowActive(tk::Form& form) {
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpUntil([&form] { return GetActiveWindow() == form.Handle(); });
    Settle();
}

struct Geometry {
    Rect bar;
    Rect text;
};

Geometry GeometryOf(const tk::Form& form) {
    const CaptionMetrics metrics = CurrentCaptionMetrics();
    const FrameState frame = FrameStateOf(form);
    const Rect bar = TitleBarRect(metrics, frame);
    return {bar, TextRect(metrics, frame, bar)};
}

std::vector<COLORREF> Row(HWND window, int y, int left, int right) {
    const tk::WindowDc dc(window, tk::WindowDc::Area::Whole);
    std::vector<COLORREF> row;
    for (int x = left; x < right; ++x) row.push_back(GetPixel(dc.get(), x, y));
    return row;
}

// The top row of the text area: the bands, undisturbed by the icon and text.
void ExpectBands(const tk::Form& form, int numColors, COLORREF from, COLORREF to) {
    const Geometry g = GeometryOf(form);
    const std::vector<COLORREF> row = Row(form.Handle(), g.bar.top, g.text.left, g.text.right);
    for (const Band& band : GradientBands(g.text.left, g.text.right, numColors, RgbColour{from}, RgbColour{to}))
        for (int x = band.left; x < band.right; ++x)
            ASSERT_EQ(row[static_cast<std::size_t>(x - g.text.left)], band.color.value) << "x " << x;
}

TEST(CaptionPaint, BandsFromBlackToTheCaptionColourActiveAndInactive) {
    tk::Form form(TestForm(tk::BorderStyle::Single));
    TMSOfficeCaption caption(form);
    ShowActive(form);
    ExpectBands(form, 64, 0, GetSysColor(COLOR_ACTIVECAPTION));

    for (int count : {1, 256}) {
        caption.SetNumColors(count);
        caption.RefreshFrame();
        Settle();
        ExpectBands(form, count, 0, GetSysColor(COLOR_ACTIVECAPTION));
    }

    tk::Form other(TestForm(tk::BorderStyle::Dialog, "Autre"));
    ShowActive(other);
    ASSERT_NE(GetActiveWindow(), form.Handle());
    ExpectBands(form, 256, 0, GetSysColor(COLOR_INACTIVECAPTION));
}

int CountColour(HWND window, const Rect& area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (COLORREF c : Row(window, y, area.left, area.right)) count += c == colour;
    return count;
}

// Pixels of the text area that differ from the band at the top of their
// column, and how many of them contrast poorly with it.
struct TextPixels {
    int drawn = 0;
    int faint = 0;
};

TextPixels TextPixelsOf(HWND window, const Rect& area) {
    TextPixels pixels;
    const std::vector<COLORREF> bands = Row(window, area.top, area.left, area.right);
    for (int y = area.top + 1; y < area.bottom; ++y) {
        const std::vector<COLORREF> row = Row(window, y, area.left, area.right);
        for (std::size_t x = 0; x < row.size(); ++x) {
            if (row[x] == bands[x]) continue;
            ++pixels.drawn;
            pixels.faint += ContrastRatio(RgbColour{row[x]}, RgbColour{bands[x]}) < kLegibleContrast;
        }
    }
    return pixels;
}

TEST(CaptionPaint, TheCaptionTextLegibleOverTheGradient) {
    tk::Form form(TestForm(tk::BorderStyle::Dialog, ""));
    TMSOfficeCaption caption(form);
    ShowActive(form);
    const Geometry g = GeometryOf(form);
    EXPECT_EQ(TextPixelsOf(form.Handle(), g.text).drawn, 0);
    form.SetCaption("Sorv");  // repainted at once, not left to the platform
    const TextPixels pixels = TextPixelsOf(form.Handle(), g.text);
    EXPECT_GT(pixels.drawn, 30);
    EXPECT_EQ(pixels.faint, 0);
    EXPECT_EQ(caption.CaptionText().Caption(), "Sorv");
    ExpectBands(form, 64, 0, GetSysColor(COLOR_ACTIVECAPTION));
}

// Every pixel of the frame outside the title bar and the client area.
std::vector<COLORREF> FrameOutsideTitleBar(const tk::Form& form) {
    RECT window{}, client{};
    GetWindowRect(form.Handle(), &window);
    GetClientRect(form.Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(form.Handle(), &origin);
    const Rect inside = Rect{0, 0, client.right, client.bottom}.Offset(origin.x - window.left, origin.y - window.top);
    const Rect bar = GeometryOf(form).bar;
    std::vector<COLORREF> pixels;
    for (int y = 0; y < window.bottom - window.top; ++y) {
        const std::vector<COLORREF> row = Row(form.Handle(), y, 0, window.right - window.left);
        for (int x = 0; x < static_cast<int>(row.size()); ++x)
            if (!inside.Contains({x, y}) && !bar.Contains({x, y})) pixels.push_back(row[static_cast<std::size_t>(x)]);
    }
    return pixels;
}

TEST(CaptionPaint, ThePlatformPaintsTheRestOfTheFrame) {
    tk::Form form(TestForm(tk::BorderStyle::Sizeable));
    TMSOfficeCaption caption(form);
    tk::Form twin(TestForm(tk::BorderStyle::Sizeable));
    tk::Form other(TestForm(tk::BorderStyle::Dialog, "Autre"));
    ShowActive(form);
    ShowActive(twin);
    SetWindowPos(twin.Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(other.Handle(), nullptr, 0, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowActive(other);  // both inactive: the platform draws their frames alike
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Settle();
    EXPECT_EQ(FrameOutsideTitleBar(form), FrameOutsideTitleBar(twin));
    ExpectBands(form, 64, 0, GetSysColor(COLOR_INACTIVECAPTION));
    const Rect bar = GeometryOf(form).bar;
    EXPECT_NE(Row(form.Handle(), bar.top, bar.left, bar.right), Row(twin.Handle(), bar.top, bar.left, bar.right));
}

TEST(CaptionPaint, OursAgainAfterEveryPathOnWhichThePlatformDrawsItsTitleBar) {
    tk::Form form(TestForm(tk::BorderStyle::Single));
    TMSOfficeCaption caption(form);
    ShowActive(form);
    const COLORREF active = GetSysColor(COLOR_ACTIVECAPTION);

    form.SetCaption("Sorv - un autre titre");
    ExpectBands(form, 64, 0, active);
    form.Perform(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_QUESTION)));
    ExpectBands(form, 64, 0, active);
    form.Perform(WM_NCACTIVATE, FALSE, 0);  // as when another program is activated
    ExpectBands(form, 64, 0, GetSysColor(COLOR_INACTIVECAPTION));
    form.Perform(WM_NCACTIVATE, TRUE, 0);
    ExpectBands(form, 64, 0, active);

    ShowWindow(form.Handle(), SW_MINIMIZE);
    Settle();
    ShowWindow(form.Handle(), SW_RESTORE);  // as from the task bar
    SetForegroundWindow(form.Handle());
    Settle();
    ExpectBands(form, 64, 0, active);
}

TEST(CaptionPaint, OnDrawCaptionDrawsFirstAndMayNarrowTheTextArea) {
    tk::Form form(TestForm(tk::BorderStyle::Dialog, "Sorv"));
    TMSOfficeCaption caption(form);
    HGDIOBJ fontGiven = nullptr;
    caption.OnDrawCaption = [&](TMSOfficeCaption& sender, const tk::Canvas& canvas, Rect& r) {
        EXPECT_EQ(&sender, &caption);
        fontGiven = GetCurrentObject(canvas.Handle(), OBJ_FONT);
        const tk::BrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
        const RECT mark{r.left, r.top, r.left + 40, r.bottom};
        FillRect(canvas.Handle(), &mark, red.get());
        r.left += 40;
    };
    ShowActive(form);
    EXPECT_EQ(fontGiven, caption.SystemCaptionFont().Handle());
    const Geometry g = GeometryOf(form);
    EXPECT_EQ(CountColour(form.Handle(), {g.text.left, g.text.top, g.text.left + 40, g.text.bottom}, RGB(255, 0, 0)),
              40 * g.text.Height());  // the texts start right of the mark
    EXPECT_GT(TextPixelsOf(form.Handle(), {g.text.left + 40, g.text.top, g.text.right, g.text.bottom}).drawn, 30);
}

HWND dwmWindow = nullptr;
DWORD dwmAttribute = 0, dwmValue = 0, dwmSize = 0;
HRESULT WINAPI RecordDwmCall(HWND window, DWORD attribute, LPCVOID value, DWORD size) {
    dwmWindow = window;
    dwmAttribute = attribute;
    dwmValue = *static_cast<const DWORD*>(value);
    dwmSize = size;
    return S_OK;
}

TEST(CaptionPaint, ANewWindowAfterABorderChangeIsHookedAgainFromTheQueue) {
    SetDwmSetWindowAttributeForTesting(RecordDwmCall);
    tk::Form form(TestForm(tk::BorderStyle::Single));
    TMSOfficeCaption caption(form);
    EXPECT_EQ(dwmWindow, form.Handle());  // the composited frame is turned off
    EXPECT_EQ(dwmAttribute, kNcRenderingPolicy);
    EXPECT_EQ(dwmValue, kNcRenderingDisabled);
    EXPECT_EQ(dwmSize, sizeof(DWORD));
    ShowActive(form);
    const HWND first = form.Handle();

    form.SetBorderStyle(tk::BorderStyle::Sizeable);
    ASSERT_NE(form.Handle(), first);
    EXPECT_FALSE(caption.Hooked());  // until the re-hook message arrives
    ASSERT_TRUE(PumpUntil([&caption] { return caption.Hooked(); }));
    EXPECT_EQ(dwmWindow, form.Handle());
    SetForegroundWindow(form.Handle());
    Settle();
    ExpectBands(form, 64, 0, GetSysColor(COLOR_ACTIVECAPTION));
    SetDwmSetWindowAttributeForTesting(nullptr);
}

TEST(CaptionPaint, GoingAwayBetweenReCreationAndReHookIsHarmless) {
    tk::Form form(TestForm(tk::BorderStyle::Single));
    const std::size_t hooks = form.HookCount();
    {
        TMSOfficeCaption caption(form);
        form.RecreateWindow();
    }  // the re-hook message is still queued
    Settle();
    EXPECT_EQ(form.HookCount(), hooks);
}

// A form as the program's windows are: its caption a member, destroyed first.
struct CaptionedForm : tk::Form {
    explicit CaptionedForm(int& rewrites) : tk::Form(TestForm(tk::BorderStyle::Single)) {
        counter = AddHook([&rewrites](const tk::Message& m, const tk::NextHook& next) {
            rewrites += m.msg == WM_SETTEXT;
            return next(m);
        });
    }
    ~CaptionedForm() override { BeginDestroy(); }
    tk::HookRegistration counter;
    TMSOfficeCaption MSOfficeCaption1{*this};
};

TEST(CaptionHooks, AFormThatGoesKeepsItsTitleBarToTheEnd) {
    int rewrites = 0;
    std::make_unique<CaptionedForm>(rewrites).reset();
    EXPECT_EQ(rewrites, 0);  // no plain caption, no frame change on the way out
}

TEST(CaptionHooks, OtherHooksOnTheFormStayAndAreNeverUnhooked) {
    tk::Form form(TestForm(tk::BorderStyle::Sizeable));
    int olderSawActivation = 0, newerSawPaint = 0;
    tk::HookRegistration older = form.AddHook([&](const tk::Message& m, const tk::NextHook& next) {
        olderSawActivation += m.msg == WM_NCACTIVATE;
        return next(m);
    });
    auto caption = std::make_unique<TMSOfficeCaption>(form);
    caption->CompanyText().SetCaption("Acme's");
    tk::HookRegistration newer = form.AddHook([&](const tk::Message& m, const tk::NextHook& next) {
        newerSawPaint += m.msg == WM_NCPAINT;
        return next(m);
    });
    ShowActive(form);
    EXPECT_EQ(olderSawActivation, 0);  // answered by the caption, which paints instead
    EXPECT_GT(newerSawPaint, 0);
    EXPECT_EQ(form.Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Handle()), MAKELPARAM(HTLEFT, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));

    older.Remove();
    caption->RefreshFrame();
    Settle();
    ExpectBands(form, 64, 0, GetSysColor(COLOR_ACTIVECAPTION));

    caption.reset();  // the platform's title bar and the plain caption again; the newer hook stays
    Settle();
    EXPECT_TRUE(newer.Installed());
    const Rect bar = GeometryOf(form).bar;
    EXPECT_NE(Row(form.Handle(), bar.top, bar.left, bar.left + 1)[0], 0u);
    EXPECT_EQ(form.Caption(), "Sorv");
}

TEST(CaptionProperties, FontKindsAndSilentNumColorsBounds) {
    tk::Form form(TestForm(tk::BorderStyle::Single));
    TMSOfficeCaption caption(form, {TFontKind::fkSystemB, TFontKind::fkSystem, TFontKind::fkSystemBI});
    EXPECT_EQ(caption.AppNameText().Font().Design().weight, FW_BOLD);
    EXPECT_EQ(caption.CaptionText().Font().Design().weight, caption.SystemCaptionFont().Design().weight);
    EXPECT_TRUE(caption.CompanyText().Font().Design().italic);
    EXPECT_EQ(caption.NumColors(), 64);
    for (int count : {0, -5}) {
        caption.SetNumColors(count);
        EXPECT_EQ(caption.NumColors(), 64);
    }
    caption.SetNumColors(300);
    EXPECT_EQ(caption.NumColors(), 256);
    EXPECT_EQ(test::FindThreadWindow(L"#32770"), nullptr);  // no message at run time

    // A changed setting: the fonts are derived again from the system's.
    const tk::Font* before = &caption.AppNameText().Font();
    form.Perform(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_NE(&caption.AppNameText().Font(), before);
    EXPECT_EQ(caption.AppNameText().Font().Design().weight, FW_BOLD);
}

TEST(CaptionProperties, TextsAndTheWindowText) {
    tk::Form form(TestForm(tk::BorderStyle::Single, " A propos"));
    TMSOfficeCaption caption(form);
    EXPECT_EQ(caption.ExtractCaption(), "A propos");  // less one leading blank
    caption.CompanyText().SetCaption("Acme's");
    caption.AppNameText().SetCaption("Program -");
    EXPECT_EQ(form.Caption(), "Acme's Program - A propos");  // the caption kept, though never painted
    caption.CaptionText().SetCaption("Sorv");
    EXPECT_EQ(form.Caption(), "Acme's Program - Sorv");
    EXPECT_EQ(caption.CaptionText().Caption(), "Sorv");
    int rewrites = 0;
    const tk::HookRegistration counter = form.AddHook([&rewrites](const tk::Message& m, const tk::NextHook& next) {
        rewrites += m.msg == WM_SETTEXT;
        return next(m);
    });
    caption.CaptionText().SetCaption("Sorv");  // the same text: the window text is not rewritten
    EXPECT_EQ(rewrites, 0);
    caption.CompanyText().SetVisible(false);
    EXPECT_EQ(form.Caption(), "Program - Sorv");

    // Another window holds the one update lock: the text is still written and
    // that lock is left to its holder.
    tk::Form other(TestForm(tk::BorderStyle::Dialog, "Autre"));
    ASSERT_TRUE(LockWindowUpdate(other.Handle()));
    caption.CompanyText().SetVisible(true);
    EXPECT_EQ(form.Caption(), "Acme's Program - Sorv");
    EXPECT_FALSE(LockWindowUpdate(form.Handle()));  // still held
    LockWindowUpdate(nullptr);
    tk::FontDescription custom;
    custom.face = "Arial";
    custom.height = -20;
    caption.AppNameText().SetFont(custom);
    EXPECT_EQ(caption.AppNameText().FontKind(), TFontKind::fkCustom);
    caption.AppNameText().SetFontKind(TFontKind::fkAutoHeight);
    EXPECT_EQ(caption.AppNameText().Font().Design().face, "Arial");
    EXPECT_GT(caption.AppNameText().Font().Design().height, -20);  // shrunk to the caption font's characters
}

}  // namespace
}  // namespace sorv::caption
