// The About box: its window, controls, texts and fonts as laid out, its
// bevels and stretched icon, and how Enter and Escape answer it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "Unit2.h"
#include "application.h"
#include "box_driver.h"
#include "window_probe.h"
#include "canvas.h"
#include "handles.h"
#include "timer.h"
#include "utf16.h"

namespace sorv {
namespace {

LOGFONTW FontOf(const tk::Control& control) { return test::FontOf(control.Handle()); }

// Left, top, width, height in the parent's client area.
std::string Geometry(const tk::Control& control) {
    return std::to_string(control.Left()) + "," + std::to_string(control.Top()) + "," +
           std::to_string(control.Width()) + "," + std::to_string(control.Height());
}

SIZE TextSize(const tk::Control& control) {
    HDC dc = GetDC(control.Handle());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control.Handle(), WM_GETFONT, 0, 0)));
    const std::wstring text = Widen(control.Text());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control.Handle(), dc);
    return size;
}

tk::FormDescription MainDescription() {
    tk::FormDescription design;
    design.className = "TAboutMain";
    design.caption = "Sorv";
    design.clientWidth = 304;
    design.clientHeight = 253;
    return design;
}

// As in the program, the box comes after the main window, which owns it.
class AboutBox : public testing::Test {
protected:
    tk::Form main{MainDescription()};
    TAboutBox box;
};

TEST_F(AboutBox, WindowAndLayout) {
    EXPECT_EQ(box.ClassName(), "TAboutBox");
    EXPECT_EQ(box.Caption(), "A propos");
    EXPECT_EQ(box.ClientSize().cx, 227);
    EXPECT_EQ(box.ClientSize().cy, 219);
    EXPECT_EQ(box.GetBorderStyle(), tk::BorderStyle::Dialog);
    EXPECT_NE(GetWindowLongPtrW(box.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    EXPECT_EQ(GetWindowLongPtrW(box.Handle(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(box.HelpContext, 0);
    EXPECT_FALSE(box.Visible());
    EXPECT_EQ(GetWindow(box.Handle(), GW_OWNER), main.Handle());

    EXPECT_EQ(Geometry(box.Panel1), "8,8,209,89");
    EXPECT_EQ(Geometry(box.Label2), "80,8,85,19");
    EXPECT_EQ(Geometry(box.Panel2), "71,32,105,2");
    EXPECT_EQ(Geometry(box.Label3), "26,64,150,15");
    EXPECT_EQ(Geometry(box.GroupBox1), "8,112,209,65");
    EXPECT_EQ(Geometry(box.UrlLabel1), "22,20,158,13");
    EXPECT_EQ(Geometry(box.UrlLabel2), "22,44,106,13");
    EXPECT_EQ(Geometry(box.OKButton), "143,188,75,25");
    EXPECT_EQ(box.ProgramIcon.Bounds(), (Rect{8, 8, 8 + 41, 8 + 41}));

    // What sits in what.
    EXPECT_EQ(&box.ProgramIcon.Parent(), &box.Panel1);
    for (const tk::Control* inPanel : std::initializer_list<const tk::Control*>{&box.Label2, &box.Label3, &box.Panel2})
        EXPECT_EQ(GetParent(inPanel->Handle()), box.Panel1.Handle()) << inPanel->Name();
    EXPECT_EQ(GetParent(box.UrlLabel1.Handle()), box.GroupBox1.Handle());
    EXPECT_EQ(GetParent(box.UrlLabel2.Handle()), box.GroupBox1.Handle());
    EXPECT_EQ(GetParent(box.Panel1.Handle()), box.Handle());
    EXPECT_EQ(box.Panel1.BevelInner(), Bevel::Raised);
    EXPECT_EQ(box.Panel1.BevelOuter(), Bevel::Lowered);
    EXPECT_EQ(box.Panel2.BevelOuter(), Bevel::Lowered);

    // Centred on the screen when shown.
    box.Show();
    RECT frame{};
    GetWindowRect(box.Handle(), &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(AboutBox, TextsFontsAndLinks) {
    EXPECT_EQ(box.Label2.Caption(), "SOrv V1.50");
    EXPECT_EQ(box.GroupBox1.Text(), "Me contacter");
    EXPECT_EQ(box.OKButton.Text(), "OK");
    EXPECT_FALSE(box.Label3.Caption().empty());

    const LOGFONTW name = FontOf(box.Label2);
    EXPECT_STREQ(name.lfFaceName, L"Arial");
    EXPECT_EQ(name.lfHeight, -16);
    EXPECT_EQ(name.lfWeight, FW_BOLD);
    const LOGFONTW notice = FontOf(box.Label3);
    EXPECT_STREQ(notice.lfFaceName, L"Arial");
    EXPECT_EQ(notice.lfHeight, -12);
    EXPECT_EQ(notice.lfWeight, FW_NORMAL);
    EXPECT_STREQ(FontOf(box.OKButton).lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(FontOf(box.OKButton).lfHeight, -11);

    EXPECT_EQ(box.UrlLabel1.Caption(), box.UrlLabel1.URL);
    EXPECT_EQ(box.UrlLabel1.URL.rfind("http://", 0), 0u);
    const std::string address = box.UrlLabel2.Caption();
    EXPECT_NE(address.find('@'), std::string::npos);
    EXPECT_EQ(box.UrlLabel2.URL, "mailto:" + address + "?subject=Sorv ");

    // Every fixed-size text fits its control.
    for (const tk::Control* text :
         std::initializer_list<const tk::Control*>{&box.Label2, &box.Label3, &box.UrlLabel1, &box.UrlLabel2}) {
        const SIZE size = TextSize(*text);
        EXPECT_LE(size.cx, text->Width()) << text->Name();
        EXPECT_LE(size.cy, text->Height()) << text->Name();
    }
}

TEST_F(AboutBox, PanelsDrawTheirBevels) {
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(shadow, light);
    tk::WindowDc screen(nullptr);
    tk::OffscreenBitmap image(screen.get(), 209, 89);
    const HDC dc = image.Dc();

    // The framed panel: lowered outside, raised inside.
    const Rect inside = DrawBevels(dc, Rect{0, 0, 209, 89}, Bevel::Raised, Bevel::Lowered);
    EXPECT_EQ(inside.left, 2);
    EXPECT_EQ(inside.bottom, 87);
    EXPECT_EQ(GetPixel(dc, 100, 0), shadow);
    EXPECT_EQ(GetPixel(dc, 0, 50), shadow);
    EXPECT_EQ(GetPixel(dc, 208, 0), light);  // the shared corners go to the lower edge
    EXPECT_EQ(GetPixel(dc, 0, 88), light);
    EXPECT_EQ(GetPixel(dc, 1, 1), light);
    EXPECT_EQ(GetPixel(dc, 207, 86), shadow);

    // The rule: two pixels high, shadow over light.
    DrawBevels(dc, Rect{0, 0, 105, 2}, Bevel::None, Bevel::Lowered);
    EXPECT_EQ(GetPixel(dc, 50, 0), shadow);
    EXPECT_EQ(GetPixel(dc, 50, 1), light);
}

TEST_F(AboutBox, TheProgramIconIsStretchedToFortyOnePixels) {
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(box.ProgramIcon.Icon(), &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    tk::WindowDc screen(nullptr);
    tk::OffscreenBitmap image(screen.get(), 41, 41);
    const COLORREF marker = RGB(1, 2, 3);
    tk::Canvas(image.Dc()).FillRect(Rect{0, 0, 41, 41}, marker);
    box.ProgramIcon.Paint(image.Dc());
    // Drawn at 32 pixels the image would leave the last nine rows and columns.
    int paintedBeyond32 = 0;
    for (int i = 0; i < 41; ++i)
        for (int j = 33; j < 41; ++j)
            paintedBeyond32 += (GetPixel(image.Dc(), i, j) != marker) + (GetPixel(image.Dc(), j, i) != marker);
    EXPECT_GT(paintedBeyond32, 0);
}

// Runs the steps one per timer tick while the box is shown modally; the
// keys posted at one step are handled before the next.
class ModalScript {
public:
    explicit ModalScript(std::vector<std::function<void(HWND)>> steps) : steps_(std::move(steps)) {}
    int Run(TAboutBox& box) {
        tk::Timer timer(30, [&] {
            HWND shown = test::FindThreadWindow(L"TAboutBox");
            if (!shown || next_ >= steps_.size()) return;
            steps_[next_++](shown);
        });
        return box.ShowModal();
    }

private:
    std::vector<std::function<void(HWND)>> steps_;
    std::size_t next_ = 0;
};

HWND KeyTarget(HWND box) {
    HWND focus = GetFocus();
    return focus && (focus == box || IsChild(box, focus)) ? focus : box;
}

TEST_F(AboutBox, EnterClosesTheBoxAsOkDoesAndEscapeDoesNothing) {
    HWND focusWhenShown = nullptr;
    ModalScript enter({[&](HWND shown) {
        focusWhenShown = GetFocus();
        test::PostKey(KeyTarget(shown), VK_RETURN);
    }});
    EXPECT_EQ(enter.Run(box), tk::mrOk);
    EXPECT_EQ(focusWhenShown, box.OKButton.Handle());
    EXPECT_FALSE(box.Visible());

    // Escape leaves it shown; clicking OK then closes it with OK.
    bool shownAfterEscape = false;
    ModalScript escape({[&](HWND shown) { test::PostKey(KeyTarget(shown), VK_ESCAPE); },
                        [&](HWND shown) {
                            shownAfterEscape = IsWindowVisible(shown);
                            PostMessageW(box.OKButton.Handle(), BM_CLICK, 0, 0);
                        }});
    EXPECT_EQ(escape.Run(box), tk::mrOk);
    EXPECT_TRUE(shownAfterEscape);
    EXPECT_FALSE(box.Visible());
}

TEST_F(AboutBox, OkHidesTheBoxShownWithoutAModalLoop) {
    box.Show();
    ASSERT_TRUE(box.Visible());
    box.OKButton.Click();
    EXPECT_FALSE(box.Visible());
}

}  // namespace
}  // namespace sorv
