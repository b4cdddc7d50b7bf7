// Children of a window: windowless controls and their input, the control
// under a screen point, colour-change broadcasts, controls moving between
// parents, and aligned controls re-aligned as they change.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "box_driver.h"
#include "buttons.h"
#include "control_at.h"
#include "custom_control.h"
#include "form.h"
#include "graphic_control.h"
#include "test_forms.h"

namespace sorv::tk {
namespace {

class Probe : public GraphicControl {
public:
    Probe(Window& parent, Rect bounds) : GraphicControl(parent, bounds) {}
    void Paint(HDC) override {}
    void MouseDown(const MouseEvent& e) override {
        events.push_back(std::string(e.doubleClick ? "double " : "down ") + std::to_string(static_cast<int>(e.button)) +
                         " " + At(e));
    }
    void MouseMove(const MouseEvent& e) override { events.push_back("move " + At(e)); }
    void MouseUp(const MouseEvent& e) override { events.push_back("up " + At(e)); }
    void CancelMode() override { events.push_back("cancel"); }
    void EnabledChanged() override { events.push_back(Enabled() ? "enabled" : "disabled"); }
    void SysColorChanged() override { events.push_back("colours"); }
    std::vector<std::string> events;

private:
    static std::string At(const MouseEvent& e) { return std::to_string(e.x) + "," + std::to_string(e.y); }
};

using Events = std::vector<std::string>;

void Send(const Form& form, UINT msg, WPARAM keys, int x, int y) {
    SendMessageW(form.Handle(), msg, keys, MAKELPARAM(x, y));
}

TEST(Windowless, ControlsGetTheirParentsMouseInputAndKeepItAfterAPress) {
    Form form(test::FormDesign("TGraphic", 267, 202));
    Probe first(form, Rect{0, 0, 38, 38});
    Probe second(form, Rect{38, 0, 76, 38});
    Send(form, WM_LBUTTONDOWN, MK_LBUTTON, 40, 5);
    EXPECT_EQ(GetCapture(), form.Handle());
    Send(form, WM_MOUSEMOVE, MK_LBUTTON, 10, 5);  // outside, still the pressed one's
    Send(form, WM_LBUTTONUP, 0, 10, 5);
    EXPECT_NE(GetCapture(), form.Handle());
    Send(form, WM_MOUSEMOVE, 0, 10, 6);
    // The second press of a double click is a press, with the mouse held.
    Send(form, WM_LBUTTONDBLCLK, MK_LBUTTON, 41, 6);
    EXPECT_EQ(GetCapture(), form.Handle());
    Send(form, WM_LBUTTONUP, 0, 41, 6);
    EXPECT_EQ(second.events, (Events{"down 0 2,5", "move -28,5", "up -28,5", "double 0 3,6", "up 3,6"}));
    EXPECT_EQ(first.events, Events{"move 10,6"});
    second.SetVisible(false);
    Send(form, WM_LBUTTONDOWN, MK_LBUTTON, 40, 5);
    Send(form, WM_LBUTTONUP, 0, 40, 5);
    EXPECT_EQ(second.events.size(), 5u);
}

TEST(Windowless, APressIsCancelledAndTheControlToldWhenTheMouseGoesElsewhere) {
    Form form(test::FormDesign("TCancel", 267, 202));
    form.Show();
    Form other(test::FormDesign("TOther", 267, 202));
    Probe button(form, Rect{0, 0, 38, 38});

    Send(form, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    SendMessageW(form.Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_NE(GetCapture(), form.Handle());
    Send(form, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    SetCapture(other.Handle());  // another window takes the mouse
    ReleaseCapture();
    Send(form, WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
    button.SetEnabled(false);
    EXPECT_FALSE(button.Pressed());
    EXPECT_EQ(button.events, (Events{"down 0 5,5", "cancel", "down 0 5,5", "cancel", "down 1 5,5", "cancel",
                                     "disabled"}));
    // Disabled, it gets nothing more.
    Send(form, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_EQ(button.events.size(), 7u);
}

TEST(Windowless, RepaintsWithOrWithoutTheBackgroundErased) {
    Form form(test::FormDesign("TErase", 267, 202));
    form.Show();
    Probe button(form, Rect{0, 0, 38, 38});
    UpdateWindow(form.Handle());
    int erased = 0;
    HookRegistration hook = form.AddHook([&](const Message& m, const NextHook& next) {
        if (m.msg == WM_ERASEBKGND) ++erased;
        return next(m);
    });
    button.Invalidate(false);
    UpdateWindow(form.Handle());
    EXPECT_EQ(erased, 0);
    button.Invalidate();
    UpdateWindow(form.Handle());
    EXPECT_EQ(erased, 1);
}

// A container that notes what enters and leaves it and hears colour changes.
class Container : public CustomControl {
public:
    Container(Window& parent, const Rect& bounds) : CustomControl(parent, "Dock", bounds) { Create(); }
    Events events;

protected:
    void ControlEntered(Control& control) override { events.push_back("+" + control.Name()); }
    void ControlLeft(Control& control) override { events.push_back("-" + control.Name()); }
    void GraphicEntered(GraphicControl&) override { events.push_back("+graphic"); }
    void SysColorChanged() override { events.push_back("colours"); }
};

TEST(Windowless, TheControlUnderAScreenPointWithOrWithoutDisabledOnes) {
    Form form(test::FormDesign("TUnder", 267, 202));
    form.Show();
    Button button(form, "Button1", Rect::FromOrigin({100, 10}, {73, 25}), "&Ok");
    button.SetEnabled(false);
    Probe graphic(form, Rect{10, 10, 48, 48});
    graphic.SetEnabled(false);
    POINT onButton{110, 20};
    POINT onGraphic{20, 20};
    ClientToScreen(form.Handle(), &onButton);
    ClientToScreen(form.Handle(), &onGraphic);

    EXPECT_EQ(FindControlAt({onButton.x, onButton.y}, false).window, &form);
    EXPECT_EQ(FindControlAt({onButton.x, onButton.y}, true).window, &button);
    EXPECT_EQ(FindControlAt({onGraphic.x, onGraphic.y}, false).graphic, nullptr);
    const ControlAtPoint found = FindControlAt({onGraphic.x, onGraphic.y}, true);
    EXPECT_EQ(found.window, &form);
    EXPECT_EQ(found.graphic, &graphic);
}

TEST(Windowless, ColourChangesReachEveryControlDownTheTree) {
    Form form(test::FormDesign("TColours", 267, 202));
    Container dock(form, Rect::FromOrigin({0, 0}, {200, 40}));
    Probe onForm(form, Rect{0, 50, 38, 88});
    Probe onDock(dock, Rect{0, 0, 38, 38});
    SendMessageW(form.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(onForm.events, Events{"colours"});
    EXPECT_EQ(onDock.events, Events{"colours"});
    EXPECT_EQ(dock.events, (Events{"+graphic", "colours"}));
}

// A bar: a child window in a container, a pop-up owned by its form.
class Bar : public CustomControl {
public:
    Bar(Window& parent, std::string name, const Rect& bounds) : CustomControl(parent, std::move(name), bounds) { Create(); }

protected:
    void CreateParams(ControlParams& params) const override {
        CustomControl::CreateParams(params);
        params.windowClass.name = L"TMovingBar";
        if (dynamic_cast<Form*>(ParentWindow())) params.style = WS_POPUP | WS_VISIBLE;
    }
};

TEST(Parents, AControlMovesBetweenParentsAndItsWindowFollows) {
    Form form(test::FormDesign("TParents", 267, 202));
    Container top(form, Rect::FromOrigin({0, 0}, {267, 40}));
    Container bottom(form, Rect::FromOrigin({0, 160}, {267, 40}));
    Bar bar(top, "Bar1", Rect::FromOrigin({0, 0}, {100, 30}));
    EXPECT_EQ(top.events, Events{"+Bar1"});

    bar.SetParent(&bottom);
    EXPECT_EQ(top.events, (Events{"+Bar1", "-Bar1"}));
    EXPECT_EQ(bottom.events, Events{"+Bar1"});
    EXPECT_EQ(GetParent(bar.Handle()), bottom.Handle());
    EXPECT_EQ(bottom.Controls(), std::vector<Control*>{&bar});
    EXPECT_TRUE(top.Controls().empty());

    const HWND docked = bar.Handle();
    bar.SetParent(&form);  // floating: made anew as a pop-up
    EXPECT_FALSE(IsWindow(docked));
    EXPECT_EQ(GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindow(bar.Handle(), GW_OWNER), form.Handle());
    EXPECT_EQ(&bar.Parent(), &form);

    bar.SetParent(nullptr);
    EXPECT_EQ(bar.ParentWindow(), nullptr);
    EXPECT_TRUE(IsWindow(bar.Handle()));
    bar.SetParent(&top);
    EXPECT_NE(GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetParent(bar.Handle()), top.Handle());
    EXPECT_EQ(top.events.back(), "+Bar1");
}

TEST(Parents, AlignedControlsFollowChangesOfSizeVisibilityAndParent) {
    Form form(test::FormDesign("TAligned", 267, 202));
    Container other(form, Rect::FromOrigin({0, 100}, {267, 100}));
    Bar first(other, "Bar1", Rect::FromOrigin({0, 0}, {267, 30}));
    Bar second(other, "Bar2", Rect::FromOrigin({0, 0}, {267, 20}));
    first.SetAlign(Align::Top);
    second.SetAlign(Align::Top);
    EXPECT_EQ(second.Top(), 30);

    first.SetBounds({0, 0, 267, 42});  // the first grows: the second moves down
    EXPECT_EQ(second.Top(), 42);
    {
        const LayoutUpdate update(other);
        first.SetBounds({0, 0, 267, 10});
        EXPECT_EQ(second.Top(), 42);  // held until the update ends
    }
    EXPECT_EQ(second.Top(), 10);
    first.SetVisible(false);
    EXPECT_EQ(second.Top(), 0);
    first.SetVisible(true);
    EXPECT_EQ(second.Top(), 10);

    Container third(form, Rect::FromOrigin({0, 0}, {267, 100}));
    first.SetParent(&third);
    EXPECT_EQ(second.Top(), 0);
    EXPECT_EQ(first.Top(), 0);
    EXPECT_EQ(first.Width(), 267);
}

}  // namespace
}  // namespace sorv::tk
