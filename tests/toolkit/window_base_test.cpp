// The window base: objects bound from their first message, typed handlers,
// custom controls made by their most-derived class and made anew.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "application.h"
#include "custom_control.h"
#include "form.h"
#include "label.h"
#include "test_forms.h"

namespace sorv::tk {
namespace {

bool Saw(const std::vector<UINT>& seen, UINT msg) { return std::find(seen.begin(), seen.end(), msg) != seen.end(); }

// A pop-up with a caption and a sizing frame: at creation the platform holds
// such a window to its minimum tracking size, which the object answers.
class Popup : public Window {
public:
    explicit Popup(bool withChild = false) : withChild_(withChild) {
        CreateHandle(WindowClass{L"TPopupProbe"},
                     WindowDescription{"", WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, 100, 100, 30, 20, App().Handle()});
    }
    ~Popup() override { DestroyHandle(); }
    std::vector<UINT> seen;
    std::unique_ptr<Popup> child;

protected:
    LRESULT HandleMessage(const Message& message) override {
        seen.push_back(message.msg);
        // A window made while this one is being made is bound to its own object.
        if (message.msg == WM_CREATE && withChild_) child = std::make_unique<Popup>();
        return Window::HandleMessage(message);
    }
    void GetMinMaxInfo(const Message&, MINMAXINFO& limits) override {
        limits.ptMinTrackSize = {1, 1};
        limits.ptMaxTrackSize = {32767, 32767};
    }

private:
    bool withChild_;
};

TEST(WindowBase, TheObjectAnswersFromTheFirstMessageOn) {
    Popup popup(true);
    RECT r{};
    GetWindowRect(popup.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 30);
    EXPECT_EQ(r.bottom - r.top, 20);
    ASSERT_FALSE(popup.seen.empty());
    EXPECT_EQ(popup.seen.front(), static_cast<UINT>(WM_GETMINMAXINFO));
    EXPECT_TRUE(Saw(popup.seen, WM_NCCREATE));
    EXPECT_TRUE(Saw(popup.seen, WM_NCCALCSIZE));
    ASSERT_NE(popup.child, nullptr);
    EXPECT_EQ(Window::FromHandle(popup.child->Handle()), popup.child.get());
    EXPECT_EQ(Window::FromHandle(popup.Handle()), &popup);
    EXPECT_TRUE(Saw(popup.child->seen, WM_NCCREATE));
}

class ProbeForm : public Form {
public:
    ProbeForm() : Form(test::FormDesign("TProbeForm", 200, 50), CreateLater{}) { Create(); }
    std::vector<UINT> seen;

private:
    LRESULT HandleMessage(const Message& message) override {
        seen.push_back(message.msg);
        return Form::HandleMessage(message);
    }
};

TEST(WindowBase, AFormMadeByItsMostDerivedClassSeesItsCreation) {
    ProbeForm form;
    EXPECT_TRUE(Saw(form.seen, WM_NCCREATE));
    EXPECT_TRUE(Saw(form.seen, WM_CREATE));
    EXPECT_EQ(form.ClientSize().cx, 200);
    EXPECT_NE(std::find(App().Forms().begin(), App().Forms().end(), &form), App().Forms().end());
}

// What a control sees of its form while it goes.
class Watcher : public Label {
public:
    Watcher(Window& parent, bool& formDestroying) : Label(parent, "Label1", Rect::FromOrigin({0, 0}, {0, 0}), "x"), seen_(formDestroying) {}
    ~Watcher() override { seen_ = OwnerForm()->Destroying(); }

private:
    bool& seen_;
};

class WatchedForm : public Form {
public:
    explicit WatchedForm(bool& formDestroying)
        : Form(test::FormDesign("TWatched", 200, 50)), watcher(*this, formDestroying) {}
    ~WatchedForm() override { BeginDestroy(); }
    Watcher watcher;
};

TEST(WindowBase, ControlsGoingWithTheirFormSeeItBeingDestroyed) {
    bool formDestroying = false;
    {
        WatchedForm form(formDestroying);
        EXPECT_FALSE(form.Destroying());
        EXPECT_FALSE(form.watcher.Destroying());
        bool aloneFormDestroying = true;
        auto alone = std::make_unique<Watcher>(form, aloneFormDestroying);
        alone.reset();
        EXPECT_FALSE(aloneFormDestroying);  // a control going alone
    }
    EXPECT_TRUE(formDestroying);
}

// A docked bar's frame: 2 pixels all round and a drag handle on the left;
// its border counts as client area so that pressing it starts a drag.
class Bar : public CustomControl {
public:
    Bar(Window& parent, bool floating) : CustomControl(parent, "Bar1", Rect::FromOrigin({10, 10}, {60, 30})), floating_(floating) {
        Create();
    }
    void SetFloating(bool floating) {
        floating_ = floating;
        RecreateWindow();
    }
    std::vector<UINT> seen;
    std::vector<LRESULT> defaultHits;

protected:
    void CreateParams(ControlParams& params) const override {
        CustomControl::CreateParams(params);
        params.windowClass.name = L"TBarProbe";
        if (floating_) params.style = WS_POPUP | WS_VISIBLE | WS_THICKFRAME;
    }
    LRESULT HandleMessage(const Message& message) override {
        seen.push_back(message.msg);
        return CustomControl::HandleMessage(message);
    }
    Rect NcCalcSize(const Message& message, const Rect& proposed) override {
        if (floating_) return DefaultNcCalcSize(message, proposed);
        return {proposed.left + 2 + 9, proposed.top + 2, proposed.right - 2, proposed.bottom - 2};
    }
    LRESULT NcHitTest(const Message& message, Point screen) override {
        const LRESULT hit = CustomControl::NcHitTest(message, screen);
        defaultHits.push_back(hit);
        return hit == HTNOWHERE || hit == HTBORDER ? HTCLIENT : hit;
    }

private:
    bool floating_;
};

TEST(WindowBase, CustomControlsAnswerTheirOwnFrameFromCreationOn) {
    Form form(test::FormDesign("TBarHost", 200, 100));
    Bar bar(form, false);
    EXPECT_TRUE(Saw(bar.seen, WM_NCCREATE));
    EXPECT_TRUE(Saw(bar.seen, WM_CREATE));
    RECT client{};
    GetClientRect(bar.Handle(), &client);
    EXPECT_EQ(client.right, 60 - 4 - 9);
    EXPECT_EQ(client.bottom, 30 - 4);

    POINT onHandle{1, 1};  // window coordinates: in the frame
    RECT window{};
    GetWindowRect(bar.Handle(), &window);
    const LRESULT hit =
        SendMessageW(bar.Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + onHandle.x, window.top + onHandle.y));
    EXPECT_EQ(hit, HTCLIENT);
    ASSERT_FALSE(bar.defaultHits.empty());
    EXPECT_NE(bar.defaultHits.back(), HTCLIENT);
}

TEST(WindowBase, ACustomControlMadeAnewKeepsItsChildrenHooksAndText) {
    Form form(test::FormDesign("TBarHost", 200, 100));
    Bar bar(form, false);
    Label label(bar, "Label1", Rect::FromOrigin({4, 4}, {0, 0}), "Barre d'ic\u00f4nes");
    SetWindowTextW(bar.Handle(), L"Barre");
    int hooked = 0;
    HookRegistration hook = bar.AddHook([&](const Message& m, const NextHook& next) {
        if (m.msg == WM_APP + 7) ++hooked;
        return next(m);
    });
    const HWND oldWindow = bar.Handle();

    bar.SetFloating(true);
    EXPECT_NE(bar.Handle(), oldWindow);
    EXPECT_FALSE(IsWindow(oldWindow));
    EXPECT_EQ(GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindow(bar.Handle(), GW_OWNER), form.Handle());
    EXPECT_EQ(GetParent(label.Handle()), bar.Handle());
    EXPECT_EQ(bar.Text(), "Barre");
    SendMessageW(bar.Handle(), WM_APP + 7, 0, 0);
    EXPECT_EQ(hooked, 1);
    EXPECT_FALSE(bar.Recreating());

    bar.SetFloating(false);
    EXPECT_NE(GetWindowLongPtrW(bar.Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetParent(bar.Handle()), form.Handle());
    EXPECT_EQ(GetParent(label.Handle()), bar.Handle());
}

}  // namespace
}  // namespace sorv::tk
