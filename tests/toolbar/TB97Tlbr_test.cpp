// The tool bar on a real form under Wine: docked at the top, in a side dock,
// floating and wrapped, resized by its edge; its separators.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "TB97.h"
#include "TB97Ctls.h"
#include "TB97Tlbr.h"
#include "dib_pixels.h"
#include "form.h"
#include "menu.h"
#include "win_geometry.h"

namespace sorv::toolbar {
namespace {

tk::FormDescription Design() {
    tk::FormDescription design;
    design.className = "TToolbarHost";
    design.caption = "Barre";
    design.clientWidth = 304;
    design.clientHeight = 253;
    design.border = tk::BorderStyle::Single;
    return design;
}

// Resizing hooks opened to the tests.
class Bar : public TToolbar97 {
public:
    using TToolbar97::TToolbar97;
    using TToolbar97::SizingEnded;
    using TToolbar97::SizingMoved;
    using TToolbar97::SizingStarted;
    using TToolbar97::IsIgnoredChild;
};

// The main window's bar: seven 38 x 38 buttons and three separators, made
// in their design order of left positions.
struct MainBar {
    explicit MainBar(tk::Window& parent) : bar(parent, "Toolbar971") {
        bar.SetFullSize(true);
        const int lefts[] = {0, 38, 76, 82, 120, 158, 196, 202, 240, 246};
        for (const int left : lefts) {
            if (left == 76 || left == 196 || left == 240) {
                seps.push_back(std::make_unique<TToolbarSep97>(bar, "sep", left));
            } else {
                buttons.push_back(std::make_unique<TToolbarButton97>(bar, "button", left));
                buttons.back()->SetSize(38, 38);
            }
        }
        bar.Loaded();
    }
    Bar bar;
    std::vector<std::unique_ptr<TToolbarButton97>> buttons;
    std::vector<std::unique_ptr<TToolbarSep97>> seps;
};

class ToolbarTest : public testing::Test {
protected:
    ToolbarTest()
        : form_(Design()),
          top_(form_, "Dock971", Rect::FromOrigin({0, 0}, {304, 42})),
          left_(form_, "DockLeft", Rect::FromOrigin({0, 0}, {9, 200}), TDockPosition::dpLeft) {
        form_.Show();
    }

    static Rect Of(const tk::GraphicControl& control) { return control.Bounds(); }
    static Size ClientOf(const tk::Control& control) {
        RECT client{};
        GetClientRect(control.Handle(), &client);
        return {client.right, client.bottom};
    }

    tk::Form form_;
    TDock97 top_;
    TDock97 left_;
};

TEST_F(ToolbarTest, DockedAtTheTopInOneRowOfFortyTwo) {
    MainBar main(top_);
    const int buttonLefts[] = {0, 38, 82, 120, 158, 202, 246};
    for (std::size_t i = 0; i < main.buttons.size(); ++i) {
        EXPECT_EQ(Of(*main.buttons[i]), Rect::FromOrigin({buttonLefts[i], 0}, {38, 38})) << i;
    }
    const int sepLefts[] = {76, 196, 240};
    for (std::size_t i = 0; i < main.seps.size(); ++i) {
        EXPECT_EQ(Of(*main.seps[i]), Rect::FromOrigin({sepLefts[i], 0}, {6, 38})) << i;
    }
    RECT dock{};
    GetWindowRect(top_.Handle(), &dock);
    EXPECT_EQ(dock.bottom - dock.top, 42);
    RECT bar{};
    GetWindowRect(main.bar.Handle(), &bar);
    EXPECT_EQ(bar.right - bar.left, dock.right - dock.left) << "FullSize spans the dock";
    EXPECT_EQ(main.bar.OrderList().size(), 10u);
}

TEST_F(ToolbarTest, SideDockStacksTheButtonsAndTurnsTheSeparators) {
    MainBar main(left_);
    EXPECT_EQ(Of(*main.buttons[1]), Rect::FromOrigin({0, 38}, {38, 38}));
    EXPECT_EQ(Of(*main.seps[0]), Rect::FromOrigin({0, 76}, {38, 6}));
    EXPECT_EQ(Of(*main.buttons[6]), Rect::FromOrigin({0, 246}, {38, 38}));

    // Drawn across the column: a horizontal etched line.
    tk::DibSection surface(38, 6);
    const COLORREF face = RGB(1, 2, 3);
    test::Fill(surface, ToPixel(face));
    main.seps[0]->Paint(surface.Dc());
    EXPECT_EQ(surface.Pixel(10, 2), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(surface.Pixel(10, 3), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(surface.Pixel(10, 1), face);
}

TEST_F(ToolbarTest, SeparatorsDrawAnEtchedLineUnlessBlank) {
    MainBar main(top_);
    tk::DibSection surface(6, 38);
    const COLORREF face = RGB(1, 2, 3);
    test::Fill(surface, ToPixel(face));
    main.seps[1]->Paint(surface.Dc());
    EXPECT_EQ(surface.Pixel(2, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(surface.Pixel(3, 37), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(surface.Pixel(4, 10), face);
    main.seps[1]->SetBlank(true);
    surface.SetPixel(2, 0, face);
    main.seps[1]->Paint(surface.Dc());
    EXPECT_EQ(surface.Pixel(2, 0), face);
}

TEST_F(ToolbarTest, FloatingWrapsBeforeGroupsAndCollapsesTheSeparatorAtTheLineEnd) {
    MainBar main(form_);
    EXPECT_EQ(ClientOf(main.bar), (Size{292, 41}));
    main.bar.SetFloatRightX(130);
    EXPECT_EQ(ClientOf(main.bar), (Size{122, 129}));
    EXPECT_EQ(Of(*main.seps[0]).Width(), 0);
    EXPECT_EQ(Of(*main.seps[2]).Width(), 6);
    EXPECT_EQ(main.bar.LineSeparators(), (std::vector<LineBreak>{{46, false}, {90, false}}));
    // Docked again: one line, every separator back to its width.
    main.bar.SetDockedTo(&top_);
    EXPECT_EQ(Of(*main.seps[0]), Rect::FromOrigin({76, 0}, {6, 38}));
}

TEST_F(ToolbarTest, ResizingByTheRightEdgeSnapsToTheWrappedWidths) {
    MainBar main(form_);
    Bar& bar = main.bar;
    RECT window{};
    GetWindowRect(bar.Handle(), &window);
    const Rect start{window.left, window.top, window.right, window.bottom};
    const int frame = start.Width() - 292;
    bar.SizingStarted(FrameHit::Right);
    // Halfway along: the widest layout within reach, three buttons a line.
    SetCursorPos(start.left + frame + 130, start.top + 10);
    Rect proposed = start;
    bar.SizingMoved(proposed, start);
    EXPECT_EQ(proposed.left, start.left);
    EXPECT_EQ(proposed.Width(), frame + 122);
    EXPECT_EQ(bar.FloatRightX(), 0) << "taken only when accepted";
    bar.SizingEnded(true);
    EXPECT_EQ(bar.FloatRightX(), 122);
    EXPECT_EQ(ClientOf(bar).cx, 122);

    bar.SizingStarted(FrameHit::Right);
    SetCursorPos(start.left + 1000, start.top + 10);
    bar.SizingMoved(proposed, start);
    bar.SizingEnded(false);
    EXPECT_EQ(bar.FloatRightX(), 122) << "a cancelled resize changes nothing";
}

TEST_F(ToolbarTest, DropdownMenusOpenBesideTheButtonInSideDocks) {
    TDock97 right(form_, "DockRight", Rect::FromOrigin({295, 0}, {9, 200}), TDockPosition::dpRight);
    for (TDock97* dock : {&left_, &right}) {
        tk::PopupMenu menu;  // outlives its button
        menu.Add("Item1", "&Un");
        MainBar main(*dock);
        TToolbarButton97& button = *main.buttons[1];
        button.SetDropdownMenu(&menu);
        tk::PopupAlignment alignment = tk::PopupAlignment::Center;
        menu.OnPopup = [&] { alignment = menu.Alignment; };
        static RECT shown;
        shown = {};
        SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
            if (HWND popup = FindWindowW(L"#32768", nullptr)) GetWindowRect(popup, &shown);
            EndMenu();
            KillTimer(nullptr, id);
        });
        RECT onScreen = ToRECT(button.Bounds());
        MapWindowPoints(main.bar.Handle(), nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
        SendMessageW(main.bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 48));
        ASSERT_GT(shown.right, shown.left) << "the menu showed";
        if (dock == &left_) {
            EXPECT_EQ(alignment, tk::PopupAlignment::Left);
            EXPECT_GE(shown.left, onScreen.right) << "to the right of the button";
        } else {
            EXPECT_EQ(alignment, tk::PopupAlignment::Right);
            EXPECT_LE(shown.right, onScreen.left) << "to the left of the button";
        }
        EXPECT_LT(shown.top, onScreen.bottom) << "beside it, not below";
        EXPECT_EQ(menu.Alignment, tk::PopupAlignment::Left) << "the menu's own alignment comes back";
    }
}

TEST_F(ToolbarTest, SeparatorsGoOnToolBarsOnly) {
    MainBar main(top_);
    try {
        TToolbarSep97 stray(form_, "stray");
        FAIL() << "placed on a form";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "TToolbarSep97 can only be placed on a TToolbar97");
    }
    EXPECT_TRUE(main.bar.IsIgnoredChild(*main.seps[0])) << "a press on a separator drags the bar";
    EXPECT_FALSE(main.bar.IsIgnoredChild(*main.buttons[0]));
}

TEST_F(ToolbarTest, FloatRightXGoesThroughTheCallersSettings) {
    MainBar main(form_);
    Bar& bar = main.bar;
    std::vector<std::string> written;
    bar.WriteSettings([&](const std::string& section, const std::string& name, int value) {
        written.push_back(section + "/" + name + "=" + std::to_string(value));
    });
    EXPECT_EQ(written, std::vector<std::string>{"Toolbar971/FloatRightX=0"});
    bar.ReadSettings([](const std::string&, const std::string& name, int) { return name == "FloatRightX" ? 90 : 0; });
    EXPECT_EQ(bar.FloatRightX(), 90);
}

}  // namespace

}  // namespace sorv::toolbar
