// TCustomToolWindow97: docking and floating, its non-client area (frame
// metrics, sizing, hit tests, painting), keeping the floating window shown,
// hidden, owned and activated with its form through the shared thread hooks,
// and the three modal mouse loops (dragging the bar between docks and the
// desktop, resizing the floating window by its frame, pressing its close
// button).
#include "TB97.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

#include "TB97Cmn.h"
#include "application.h"
#include "canvas.h"
#include "form.h"
#include "graphic_control.h"
#include "mouse_loop.h"
#include "nonclient_dc.h"
#include "private_messages.h"
#include "scope_guards.h"
#include "screen_scopes.h"
#include "tb97_frame_rules.h"
#include "tb97_frame_win.h"
#include "win_geometry.h"

namespace sorv::toolbar {
namespace {

tk::Form& FormOf(tk::Window& parent, const std::string& name) {
    if (auto* form = dynamic_cast<tk::Form*>(&parent)) return *form;
    if (auto* dock = dynamic_cast<TDock97*>(&parent))
        if (tk::Form* form = dock->OwnerForm()) return *form;
    if (!dynamic_cast<TDock97*>(&parent))
        throw std::logic_error("A tool window can only be placed on a TDock97 or directly on the form");
    throw std::logic_error("Le contr\u00f4le '" + name + "' n'a pas de fen\u00eatre parente");
}


// Whether the program is the active one, as the last activation message
// said; before the first one, whether this thread has an active window.
std::optional<bool>& LastApplicationActivation() {
    static std::optional<bool> active;
    return active;
}

bool ApplicationActive() {
    const std::optional<bool>& seen = LastApplicationActivation();
    return seen ? *seen : GetActiveWindow() != nullptr;
}

// The docks of a container: its own by position (top, bottom, left, right),
// then those of its other windowed children.
void CollectDocks(const tk::Window& container, std::vector<TDock97*>& docks) {
    for (TDockPosition position : {TDockPosition::dpTop, TDockPosition::dpBottom, TDockPosition::dpLeft,
                                   TDockPosition::dpRight})
        for (tk::Control* child : container.Controls())
            if (auto* dock = dynamic_cast<TDock97*>(child); dock && dock->Position() == position) docks.push_back(dock);
    for (tk::Control* child : container.Controls())
        if (!dynamic_cast<TDock97*>(child)) CollectDocks(*child, docks);
}

// A key during a drag: Control held keeps the bar from docking (the
// outline is moved again when that changes), Escape cancels.
template <typename Moved>
tk::LoopStep DragKeyStep(const MSG& msg, bool& noDock, const Moved& moved) {
    if (const std::optional<bool> control = ControlKeyDown(msg); control && *control != noDock) {
        noDock = *control;
        moved();
    }
    return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE ? tk::LoopStep::Cancel : tk::LoopStep::Continue;
}

}  // namespace

TCustomToolWindow97::TCustomToolWindow97(tk::Window& parent, std::string name, const Rect& bounds)
    : tk::CustomControl(parent, name, bounds), form_(FormOf(parent, name)), creationBounds_(bounds) {
    AllBars().push_back(this);
    InstallHookProc(HookProc, {THookProcType::hkActivateApp, THookProcType::hkWindowPosChanged,
                               THookProcType::hkPreDestroy});
}

TCustomToolWindow97::~TCustomToolWindow97() {
    // The subclass is gone: nothing may ask it to place its children now.
    BeginDestroy();
    UninstallHookProc(HookProc);
    std::erase(AllBars(), this);
    ListAsFloating(false);
    if (dockedTo_) dockedTo_->ChangeBarList(false, *this, false);
    dockedTo_ = nullptr;
    docked_ = false;
    DestroyHandle();
    // The floating parent goes before the control's own base does.
    if (floatingParent_ && &Parent() == floatingParent_.get()) SetParent(nullptr);
}

void TCustomToolWindow97::CreateBar() {
    params_ = GetWindowParams();
    if (auto* dock = dynamic_cast<TDock97*>(&Parent())) {
        dockedTo_ = dock;
        docked_ = true;
        Create();
        lastDockKind_ = dock->Kind();
        dock->ChangeBarList(true, *this, visible_);
    } else {
        // Bounds given on the form's client area become the screen's.
        POINT origin{creationBounds_.left, creationBounds_.top};
        ClientToScreen(form_.Handle(), &origin);
        floatingTopLeft_ = {origin.x, origin.y};
        SetCreationBounds(Rect::FromOrigin(FromPOINT(origin), creationBounds_.Extent()));
        floatingParent_ = std::make_unique<TFloatingWindowParent>(form_);
        SetParent(floatingParent_.get());
        Create();
        lastDockKind_ = DockKind::dkFloating;
        FloatingBookkeeping();
    }
    RequestLayout();
    KeepOnScreen(false);
    UpdateVisibility();
}

std::vector<TCustomToolWindow97*>& TCustomToolWindow97::AllBars() {
    static std::vector<TCustomToolWindow97*> list;
    return list;
}

void TCustomToolWindow97::DockDestroyed(TDock97& dock) {
    for (TCustomToolWindow97* bar : AllBars()) {
        if (bar->defaultDock_ == &dock) bar->defaultDock_ = nullptr;
        if (bar->dockedTo_ == &dock) {
            bar->dockedTo_ = nullptr;
            bar->docked_ = false;
        }
    }
}

std::vector<TCustomToolWindow97*>& TCustomToolWindow97::FloatingWindows() {
    static std::vector<TCustomToolWindow97*> list;
    return list;
}

bool TCustomToolWindow97::BeingDestroyed() const { return Destroying() || form_.Destroying(); }

// Properties.

void TCustomToolWindow97::SetBorderStyle(TBorderStyle style) {
    if (borderStyle_ == style) return;
    borderStyle_ = style;
    if (docked_) RecalcFrame();
}

void TCustomToolWindow97::SetCaption(std::string_view caption) { SetText(caption); }

void TCustomToolWindow97::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    RequestDockedFrameRepaint();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomToolWindow97::SetCloseButton(bool on) {
    if (closeButton_ == on) return;
    closeButton_ = on;
    if (!docked_) DrawFloatingFrame(nullptr, {false, true, true});
}

void TCustomToolWindow97::SetDefaultDock(TDock97* dock) { defaultDock_ = dock; }

void TCustomToolWindow97::SetDockedTo(TDock97* dock) { ChangeParent(dock); }

void TCustomToolWindow97::SetDockPos(int pos) {
    dockPos_ = pos;
    if (docked_) dockedTo_->RequestLayout();
}

void TCustomToolWindow97::SetDockRow(int row) {
    dockRow_ = row;
    if (docked_) dockedTo_->RequestLayout();
}

void TCustomToolWindow97::SetDragHandleStyle(TDragHandleStyle style) {
    if (dragHandleStyle_ == style) return;
    dragHandleStyle_ = style;
    if (docked_) RecalcFrame();
}

void TCustomToolWindow97::SetFullSize(bool on) {
    if (fullSize_ == on) return;
    fullSize_ = on;
    RequestLayout();
}

void TCustomToolWindow97::SetHideWhenInactive(bool on) {
    if (hideWhenInactive_ == on) return;
    hideWhenInactive_ = on;
    UpdateVisibility();
}

void TCustomToolWindow97::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (docked_) dockedTo_->ChangeBarList(visible_, *this, visible_);
    UpdateVisibility();
    if (OnVisibleChanged) OnVisibleChanged();
}

// The frame changed size: the client area follows, and so does the layout.
void TCustomToolWindow97::RecalcFrame() {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RequestLayout();
}

// Docking and floating.

void TCustomToolWindow97::ChangeParent(TDock97* newDock) {
    if (!newDock && (!floatingParent_ || floatingParent_->OwnerForm() != &form_))
        floatingParent_ = std::make_unique<TFloatingWindowParent>(form_);
    tk::Window& newParent = newDock ? static_cast<tk::Window&>(*newDock) : *floatingParent_;
    if (&Parent() == &newParent) {
        dockedTo_ = newDock;
        docked_ = newDock != nullptr;
        FloatingBookkeeping();
        return;
    }
    const bool destroying = BeingDestroyed();
    if (!destroying && OnDockChanging) OnDockChanging();
    if (!destroying && OnRecreating) OnRecreating();

    {
        const CounterScope changing(parentChanges_);
        UpdateVisibility();
        const tk::LayoutUpdate dockUpdate(newDock);
        // The children are placed for the new dock before the move.
        if (lastDockKind_) PlaceChildrenFor(*lastDockKind_, newDock);

        const tk::LayoutUpdate update(*this);
        const bool wasFloating = !docked_;
        if (dockedTo_) dockedTo_->ChangeBarList(false, *this, false);
        dockedTo_ = newDock;
        docked_ = newDock != nullptr;
        try {
            // The window is made anew when it turns from child to pop-up.
            SetParent(&newParent);
        } catch (...) {
            dockedTo_ = dynamic_cast<TDock97*>(&Parent());
            docked_ = dockedTo_ != nullptr;
            // Whichever dock holds it now lists it: none may lose it.
            if (dockedTo_) dockedTo_->ChangeBarList(true, *this, visible_);
            throw;
        }
        if (wasFloating && newDock) floatingParent_.reset();
        if (newDock) newDock->ChangeBarList(true, *this, visible_);
        FloatingBookkeeping();
        lastDockKind_ = newDock ? newDock->Kind() : DockKind::dkFloating;
    }
    UpdateVisibility();
    if (!ChangingParent() && OnMove) OnMove();
    if (!destroying && OnRecreated) OnRecreated();
    if (!destroying && OnDockChanged) OnDockChanged();
}

void TCustomToolWindow97::FloatingBookkeeping() {
    if (FloatingOnParent()) {
        ListAsFloating(true);
        PlaceItself(Rect::FromOrigin(floatingTopLeft_, {Width(), Height()}));
    } else {
        ListAsFloating(false);
    }
}

// Within an update the children wait for the layout that ends it.
void TCustomToolWindow97::PlaceChildrenFor(DockKind previousKind, TDock97* target) {
    if (LayoutHeld()) {
        RequestLayout();
        return;
    }
    if (BeingDestroyed() || !Handle()) return;
    PlaceChildren(true, previousKind, target);
}

void TCustomToolWindow97::PerformLayout() {
    if (BeingDestroyed()) return;
    if (params_.alignChildren) AlignControls();
    FitToChildren();
}

void TCustomToolWindow97::FitToChildren() {
    Size size = PlaceChildren(true, dockedTo_ ? dockedTo_->Kind() : DockKind::dkFloating, dockedTo_);
    const Size frame = FrameInsets().Total();
    if (docked_) {
        dockedTo_->MeasureRows();
        const int row = dockedTo_->RowThicknessOf(dockRow_, this);
        const Size dockClient = dockedTo_->ClientRect().Extent();
        if (dockedTo_->Kind() == DockKind::dkVertical) {
            size.cx = std::max(size.cx, row);
            if (fullSize_) size.cy = dockClient.cy - frame.cy;
        } else {
            size.cy = std::max(size.cy, row);
            if (fullSize_) size.cx = dockClient.cx - frame.cx;
        }
    }
    if (size == ClientRect().Extent()) return;
    const Rect r = BoundsRect();
    PlaceItself(Rect::FromOrigin(r.TopLeft(), {size.cx + frame.cx, size.cy + frame.cy}));
}

void TCustomToolWindow97::SetBounds(const Rect& bounds) {
    if (bounds.Width() != Width() || bounds.Height() != Height()) BoundsChanging(bounds.Width(), bounds.Height());
    tk::Control::SetBounds(bounds);
    if (!docked_) floatingTopLeft_ = bounds.TopLeft();
    // A docked bar of another size changes its dock's rows.
    if (docked_) dockedTo_->RequestLayout();
}

void TCustomToolWindow97::PlaceItself(const Rect& bounds) {
    tk::Control::SetBounds(bounds);
    if (docked_) dockedTo_->RequestLayout();
}

// Straight to the window: the dock's own layout asks for nothing more.
void TCustomToolWindow97::PlaceInDock(const Rect& bounds) {
    tk::Control::SetBounds(bounds);
}

void TCustomToolWindow97::KeepOnScreen(bool onlyWhenFullyOff) {
    if (docked_ || !Handle()) return;
    const Rect bounds = WindowRect();
    const Rect kept = toolbar::KeepOnScreen(bounds, WorkAreaFor(bounds), onlyWhenFullyOff);
    if (kept != bounds) SetBounds(kept);
}

// Mouse.

void TCustomToolWindow97::MouseDownAt(Point client, bool doubleClick) {
    if (docked_ && !dockedTo_->AllowDrag()) return;
    if (!doubleClick) {
        DragLoop(client);
        return;
    }
    if (docked_) {
        SetDockedTo(nullptr);
    } else if (defaultDock_) {
        dockRow_ = 0;
        dockPos_ = -8;  // before every bar of row 0
        SetDockedTo(defaultDock_);
    }
}

void TCustomToolWindow97::CloseFromButton() {
    SetVisible(false);
    if (OnClose) OnClose();
}

LRESULT TCustomToolWindow97::NcButtonDown(const tk::Message& message, tk::MouseButton button, int hitTest,
                                          Point screen, bool doubleClick) {
    if (button != tk::MouseButton::Left || docked_ || doubleClick)
        return tk::CustomControl::NcButtonDown(message, button, hitTest, screen, doubleClick);
    if (hitTest == HTCLOSE) {
        CloseButtonLoop();
        return 0;
    }
    const FrameHit hit = FrameHitOfCode(hitTest);
    if (SidesFor(hit) == ResizeSides{})
        return tk::CustomControl::NcButtonDown(message, button, hitTest, screen, doubleClick);
    if (const std::optional<Rect> accepted = ResizeLoop(hit, screen)) {
        {
            const tk::LayoutUpdate update(*this);
            SetBounds(*accepted);
        }
        KeepOnScreen(true);
    }
    return 0;
}

// The layout ran (or waits for the update under way) before this.
void TCustomToolWindow97::Resized(const tk::Message&, UINT, Size) {
    if (OnResize) OnResize();
}

void TCustomToolWindow97::Moved(const tk::Message&, Point) {
    if (docked_ && dockedTo_->HasBackground()) {
        RequestDockedFrameRepaint();
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    if (!ChangingParent() && OnMove) OnMove();
}

void TCustomToolWindow97::GetMinMaxInfo(const tk::Message&, MINMAXINFO& limits) {
    limits.ptMinTrackSize = {1, 1};
    limits.ptMaxTrackSize = {32767, 32767};
}

void TCustomToolWindow97::Paint(HDC dc, const Rect&) {
    const Rect client = ClientRect();
    if (docked_ && dockedTo_->HasBackground() && dockedTo_->BackgroundOnToolbars()) {
        dockedTo_->DrawBackgroundOnClient(dc, Handle(), client);
        return;
    }
    tk::Canvas(dc).FillRect(client, tk::ColorToRgb(color_));
}

LRESULT TCustomToolWindow97::HandleMessage(const tk::Message& message) {
    switch (message.msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const Point client = ClientPoint(message.lParam);
            // A visible child takes its own presses, unless it lets them through.
            if (tk::GraphicControl* child = GraphicAt(client, true); child && !IsIgnoredChild(*child)) break;
            MouseDownAt(client, message.msg == WM_LBUTTONDBLCLK);
            return 0;
        }
        case WM_CLOSE:
            // The floating window is not closed: its form is. The window of a
            // docked bar is never destroyed behind its back either.
            if (!docked_) SendMessageW(form_.Handle(), WM_CLOSE, 0, 0);
            return 0;
        case WM_ERASEBKGND: return 1;  // Paint fills the client area
        case WM_CONTEXTMENU:
            if (!PopupMenu) break;
            ShowPopupMenu(*this, *PopupMenu, message.lParam);
            return 0;
        default: break;
    }
    if (LRESULT result = 0; HandleFrameMessage(message, result)) return result;
    return tk::CustomControl::HandleMessage(message);
}

void TCustomToolWindow97::CreateParams(tk::ControlParams& params) const {
    tk::CustomControl::CreateParams(params);
    params.windowClass.name = L"TToolWindow97";
    params.windowClass.style = CS_DBLCLKS;
    params.windowClass.background = nullptr;
    params.caption = Text().empty() ? Name() : Text();
    params.exStyle = 0;
    if (docked_) {
        params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    } else {
        params.style = WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (resizable_ ? WS_THICKFRAME : 0);
    }
}

int TCustomToolWindow97::CaptionHeight() const {
    const DWORD version = GetVersion();
    return toolbar::CaptionHeight(LOBYTE(LOWORD(version)), GetSystemMetrics(SM_CYSMCAPTION),
                               GetSystemMetrics(SM_CYCAPTION));
}

Size TCustomToolWindow97::FloatingBorder() const {
    return resizable_ ? Size{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)}
                      : Size{GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME)};
}

Insets TCustomToolWindow97::FrameInsetsFor(TDock97* target) const {
    if (target) return DockedFrame(target->Kind(), target->AllowDrag(), dragHandleStyle_);
    return FloatingFrame(FloatingBorder(), CaptionHeight());
}

Insets TCustomToolWindow97::FrameInsets() const { return FrameInsetsFor(docked_ ? dockedTo_ : nullptr); }

Size TCustomToolWindow97::OuterSize(Size client, TDock97* target) const {
    const Size frame = FrameInsetsFor(target).Total();
    return {client.cx + frame.cx, client.cy + frame.cy};
}

Rect TCustomToolWindow97::NcCalcSize(const tk::Message&, const Rect& proposed) {
    const Insets insets = FrameInsets();
    return {proposed.left + insets.left, proposed.top + insets.top, proposed.right - insets.right,
            proposed.bottom - insets.bottom};
}

LRESULT TCustomToolWindow97::NcHitTest(const tk::Message& message, Point screen) {
    if (docked_) {
        // The frame and the handle start drags like the client area.
        const LRESULT code = tk::CustomControl::NcHitTest(message, screen);
        return code == HTNOWHERE ? HTCLIENT : code;
    }
    const Rect window = WindowRect();
    FloatingHitTest frame;
    frame.window = window.Extent();
    frame.border = FloatingBorder();
    frame.captionHeight = CaptionHeight();
    frame.closeButton = closeButton_;
    frame.resizable = resizable_;
    frame.eightWay = params_.eightWayResize;
    return HitTestCode(HitTestFloating(frame, {screen.x - window.left, screen.y - window.top}));
}

LRESULT TCustomToolWindow97::NcPaint(const tk::Message&, HRGN update) {
    if (docked_)
        DrawDockedFrame(update);
    else
        DrawFloatingFrame(update, {});
    return 0;
}

void TCustomToolWindow97::DrawDockedFrame(HRGN update) {
    if (!docked_ || !Handle()) return;
    const Insets insets = FrameInsets();
    DockedFramePaint frame;
    frame.window = WindowRect().Extent();
    frame.client = {insets.left, insets.top, frame.window.cx - insets.right, frame.window.cy - insets.bottom};
    frame.kind = dockedTo_->Kind();
    frame.allowDrag = dockedTo_->AllowDrag();
    frame.handle = dragHandleStyle_;
    frame.raisedBorder = borderStyle_ == TBorderStyle::bsSingle;
    frame.color = tk::ColorToRgb(color_);
    if (dockedTo_->HasBackground() && dockedTo_->BackgroundOnToolbars()) {
        TDock97* dock = dockedTo_;
        const Point origin = dock->TileOriginIn(Handle());
        const Rect tile{origin.x, origin.y, frame.window.cx, frame.window.cy};
        frame.background = [dock, tile](HDC dc, const Rect& area, const Rect* exclude) {
            dock->DrawBackground(dc, area, tile, exclude);
        };
    }
    tk::NonClientDc dc(Handle(), update);
    toolbar::DrawDockedFrame(dc.get(), frame);
}

void TCustomToolWindow97::DrawFloatingFrame(HRGN update, FloatingParts parts) {
    if (docked_ || !Handle()) return;
    FloatingFramePaint frame;
    frame.window = WindowRect().Extent();
    frame.border = FloatingBorder();
    frame.captionHeight = CaptionHeight();
    frame.clientWidth = ClientRect().Width();
    frame.closeButton = closeButton_;
    frame.closePressed = closePressed_;
    frame.active = !inactiveCaption_;
    frame.caption = Text();
    tk::NonClientDc dc(Handle(), update);
    toolbar::DrawFloatingFrame(dc.get(), frame, parts);
}

void TCustomToolWindow97::RequestDockedFrameRepaint() {
    if (!Handle()) return;
    // One repaint for any number of requests.
    MSG pending;
    while (PeekMessageW(&pending, Handle(), tk::kDockedFrameRepaintMessage, tk::kDockedFrameRepaintMessage, PM_REMOVE)) {
    }
    PostMessageW(Handle(), tk::kDockedFrameRepaintMessage, 0, 0);
}

bool TCustomToolWindow97::HandleFrameMessage(const tk::Message& message, LRESULT& result) {
    switch (message.msg) {
        case tk::kDockedFrameRepaintMessage:
            DrawDockedFrame(nullptr);
            result = 0;
            return true;
        case WM_NCACTIVATE:
            // The system would paint its own frame over ours.
            if (docked_) return false;
            result = TRUE;
            return true;
        case WM_SETTEXT:
            result = DefaultHandling(message);
            if (!docked_) DrawFloatingFrame(nullptr, {false, false, true});
            return true;
        default: return false;
    }
}

bool TCustomToolWindow97::FloatingOnParent() const {
    return !docked_ && floatingParent_ && &Parent() == floatingParent_.get();
}

bool TCustomToolWindow97::ShouldBeVisible() const {
    if (!visible_ || ChangingParent()) return false;
    // A docked bar's window shows with its dock and form.
    if (docked_) return true;
    HWND form = form_.Handle();
    if (!form || !IsWindowVisible(form) || IsIconic(form)) return false;
    if (tk::Form* main = tk::App().MainForm(); main && main->Handle() && IsIconic(main->Handle())) return false;
    return !hideWhenInactive_ || ApplicationActive();
}

// Only floating windows have work for the hooks.
void TCustomToolWindow97::ListAsFloating(bool floating) {
    auto& list = FloatingWindows();
    const bool hooked = !list.empty();
    const auto found = std::find(list.begin(), list.end(), this);
    if (floating && found == list.end()) {
        list.push_back(this);
        ownerHook_ = form_.AddHook([this](const tk::Message& message, const tk::NextHook& next) {
            const LRESULT result = next(message);
            if (MayRaiseOverOwned(message.msg, message.wParam, message.lParam)) KeepAboveOwner();
            return result;
        });
    }
    if (!floating && found != list.end()) {
        list.erase(found);
        ownerHook_ = {};
    }
    if (hooked == !list.empty()) return;
    // Activation messages were not watched meanwhile.
    if (!hooked) LastApplicationActivation().reset();
    WantHooks({THookProcType::hkActivateApp, THookProcType::hkWindowPosChanged, THookProcType::hkPreDestroy},
              !hooked);
}

void TCustomToolWindow97::UpdateVisibility() {
    if (!Handle()) return;
    const bool inactive = !docked_ && !hideWhenInactive_ && !ApplicationActive();
    if (inactive != inactiveCaption_) {
        inactiveCaption_ = inactive;
        DrawFloatingFrame(nullptr, {false, false, true});
    }
    const bool shown = (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != ShouldBeVisible()) ShowingChanged();
}

void TCustomToolWindow97::ShowingChanged() {
    const bool show = ShouldBeVisible();
    if (FloatingOnParent()) {
        HWND form = form_.Handle();
        if (show && GetWindow(Handle(), GW_OWNER) != form) {
            SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(form));
            SetWindowPos(Handle(), ZOrderPlaceAbove(form), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        floatingParent_->SetShowRequested(show);
    }
    const bool wasActive = GetActiveWindow() == Handle();
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (!show && wasActive)
        if (HWND next = FindActivatableTopWindow(Handle(), tk::App().Handle())) SetActiveWindow(next);
}

void TCustomToolWindow97::KeepAboveOwner() {
    HWND form = form_.Handle();
    if (docked_ || !Handle() || !IsWindowVisible(Handle()) || GetWindow(Handle(), GW_OWNER) != form) return;
    // Placed again even when Wine's order already has it above: the X11
    // driver may have raised the form's own window over it.
    SetWindowPos(Handle(), ZOrderPlaceAbove(form), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT TCustomToolWindow97::Activate(const tk::Message& message, UINT state, bool minimized, HWND other) {
    if (docked_) return tk::CustomControl::Activate(message, state, minimized, other);
    HWND form = form_.Handle();
    // The form's caption follows the floating window's activation.
    SendMessageW(form, WM_NCACTIVATE, state != WA_INACTIVE, 0);
    if (state != WA_INACTIVE) {
        if (!IsWindowVisible(Handle())) {
            if (HWND next = FindActivatableTopWindow(Handle(), tk::App().Handle())) SetActiveWindow(next);
        } else if (other != form) {
            SetActiveWindow(form);
        }
    }
    return 0;
}

LRESULT TCustomToolWindow97::MouseActivate(const tk::Message& message, HWND topLevel, int hitTest,
                                           UINT mouseMessage) {
    if (docked_) return tk::CustomControl::MouseActivate(message, topLevel, hitTest, mouseMessage);
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (activateParent_ && GetActiveWindow() != Handle()) SetForegroundWindow(form_.Handle());
    return MA_NOACTIVATE;
}

void TCustomToolWindow97::HookProc(THookProcType kind, HWND window, WPARAM wParam, LPARAM lParam) {
    const std::vector<TCustomToolWindow97*> bars = FloatingWindows();
    switch (kind) {
        case THookProcType::hkActivateApp:
            LastApplicationActivation() = wParam != 0;
            for (TCustomToolWindow97* bar : bars) bar->UpdateVisibility();
            break;
        case THookProcType::hkWindowPosChanged: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!(pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) break;
            for (TCustomToolWindow97* bar : bars) {
                HWND form = bar->form_.Handle();
                if (form && (form == window || IsChild(window, form))) bar->UpdateVisibility();
            }
            break;
        }
        case THookProcType::hkPreDestroy:
            // Its owner going, the floating window waits on its own parent.
            for (TCustomToolWindow97* bar : bars)
                if (bar->Handle() && bar->floatingParent_ && GetWindow(bar->Handle(), GW_OWNER) == window)
                    SetWindowLongPtrW(bar->Handle(), GWLP_HWNDPARENT,
                                      reinterpret_cast<LONG_PTR>(bar->floatingParent_->Handle()));
            break;
        default: break;
    }
}

void TCustomToolWindow97::DragLoop(Point client) {
    const Rect window = WindowRect();
    POINT clientOrigin{0, 0};
    ClientToScreen(Handle(), &clientOrigin);
    const Point grab{client.x + clientOrigin.x - window.left, client.y + clientOrigin.y - window.top};
    const Size extent = DragExtent(window.Extent());
    bool noDock = GetKeyState(VK_CONTROL) < 0;

    const std::vector<TDock97*> docks = DropCandidates();

    // The bar's outer size floating and in each candidate dock.
    const DockKind kind = docked_ ? dockedTo_->Kind() : DockKind::dkFloating;
    const Size floatingSize = OuterSize(PlaceChildren(false, kind, nullptr), nullptr);
    const std::vector<Size> dockedSizes = DockedSizes(docks, kind);

    PumpPendingPaints();
    DesktopOutline outline;
    const int floatingThickness = FloatingBorder().cx;

    TDock97* target = nullptr;
    Point cursor = FromPOINT(POINT{clientOrigin.x + client.x, clientOrigin.y + client.y});
    const auto mouseMoved = [&] {
        const std::optional<std::size_t> found =
            noDock ? std::nullopt : DropTargetAt(docks, dockedSizes, cursor, grab, extent);
        target = found ? docks[*found] : nullptr;
        const Rect r = OutlineAt(cursor, found ? dockedSizes[*found] : floatingSize, target != nullptr, grab, extent);
        outline.MoveTo(OutlineFrame{r, target ? 1 : floatingThickness});
    };

    mouseMoved();
    const bool accepted = tk::RunMouseLoop(Handle(), [&](const MSG& msg) {
            if (IsKeyMessage(msg.message)) return DragKeyStep(msg, noDock, mouseMoved);
            switch (msg.message) {
                case WM_MOUSEMOVE:
                    cursor = ScreenPoint(Handle(), msg.lParam);
                    mouseMoved();
                    return tk::LoopStep::Continue;
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK: return tk::LoopStep::Cancel;
                case WM_LBUTTONUP: return tk::LoopStep::Accept;
                default: return IsOtherButton(msg.message) ? tk::LoopStep::Continue : tk::LoopStep::Dispatch;
            }
    });
    const std::optional<OutlineFrame> last = outline.Current();
    outline.MoveTo(std::nullopt);
    if (accepted && last) FinishDrag(target, last->rect);
}

std::vector<Size> TCustomToolWindow97::DockedSizes(const std::vector<TDock97*>& docks, DockKind kind) {
    std::vector<Size> sizes;
    for (TDock97* d : docks)
        sizes.push_back(OuterSize(d == dockedTo_ ? ClientRect().Extent() : PlaceChildren(false, kind, d), d));
    return sizes;
}

std::vector<TDock97*> TCustomToolWindow97::DropCandidates() const {
    std::vector<TDock97*> all;
    CollectDocks(form_, all);
    std::vector<TDock97*> docks;
    for (TDock97* d : all)
        if (d->AllowDrag() && dockableTo_.Has(d->Position()) && IsWindowVisible(d->Handle())) docks.push_back(d);
    return docks;
}

std::optional<std::size_t> TCustomToolWindow97::DropTargetAt(const std::vector<TDock97*>& docks,
                                                              const std::vector<Size>& sizes, Point cursor,
                                                              Point grab, Size extent) {
    for (std::size_t i = 0; i < docks.size(); ++i) {
        if (!CanDropOn({docks[i]->WindowRect(), docks[i]->Position(), sizes[i]}, cursor, grab, extent)) continue;
        bool accept = true;
        if (docks[i]->OnRequestDock) docks[i]->OnRequestDock(*docks[i], *this, accept);
        if (accept) return i;
    }
    return std::nullopt;
}

Rect TCustomToolWindow97::OutlineAt(Point cursor, Size size, bool overDock, Point grab, Size extent) const {
    const Rect work = WorkAreaAt(cursor);
    const Rect outline = DragOutline(overDock ? cursor : ClampInto(cursor, work), size, grab, extent);
    return overDock ? outline : ClampFloatingOutline(outline, work, FloatingBorder(), CaptionHeight());
}

void TCustomToolWindow97::FinishDrag(TDock97* target, const Rect& outline) {
    if (target) {
        POINT corners[2] = {{outline.left, outline.top}, {outline.right, outline.bottom}};
        MapWindowPoints(nullptr, target->Handle(), corners, 2);
        std::vector<int> otherRows;
        for (const TCustomToolWindow97* bar : target->BarList())
            if (bar != this) otherRows.push_back(bar->DockRow());
        target->MeasureRows();
        const DropPlacement drop =
            PlaceDrop(Rect{corners[0].x, corners[0].y, corners[1].x, corners[1].y}, target->Position(),
                            target->RowThickness(), target->HighestRow(), fullSize_, otherRows);
        if (drop.insertRowAt) target->InsertRowAt(*drop.insertRowAt);
        dockRow_ = drop.dockRow;
        dockPos_ = drop.dockPos;
        ChangeParent(target);
        target->RequestLayout();
    } else {
        floatingTopLeft_ = outline.TopLeft();
        if (docked_)
            ChangeParent(nullptr);
        else
            SetBounds(Rect::FromOrigin(floatingTopLeft_, {Width(), Height()}));
    }
    KeepOnScreen(true);
}

std::optional<Rect> TCustomToolWindow97::ResizeLoop(FrameHit hit, Point startCursor) {
    const ResizeSides sides = SidesFor(hit);
    const Size minimum = OuterSize(MinimumClientSize(), nullptr);
    const Rect start = WindowRect();
    Point lastCursor = startCursor;
    const int thickness = FloatingBorder().cx;

    SizingStarted(hit);
    bool accepted = false;
    const ScopeExit ended([&] { SizingEnded(accepted); });

    PumpPendingPaints();
    DesktopOutline outline;
    std::optional<tk::CursorClip> clip;
    if (params_.clipCursorWhileSizing) clip.emplace(WorkAreaFor(start));
    outline.MoveTo(OutlineFrame{start, thickness});

    accepted = tk::RunMouseLoop(Handle(), [&](const MSG& msg) {
        if (IsKeyMessage(msg.message))
            return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE ? tk::LoopStep::Cancel : tk::LoopStep::Continue;
        switch (msg.message) {
            case WM_MOUSEMOVE: {
                const Point cursor = ScreenPoint(Handle(), msg.lParam);
                if (cursor == lastCursor) return tk::LoopStep::Continue;
                lastCursor = cursor;
                Rect proposed = ResizedRect(start, sides, {cursor.x - startCursor.x, cursor.y - startCursor.y},
                                                  minimum);
                SizingMoved(proposed, start);
                outline.MoveTo(OutlineFrame{proposed, thickness});
                return tk::LoopStep::Continue;
            }
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: return tk::LoopStep::Cancel;
            case WM_LBUTTONUP: return tk::LoopStep::Accept;
            default: return IsOtherButton(msg.message) ? tk::LoopStep::Continue : tk::LoopStep::Dispatch;
        }
    });
    if (!accepted) return std::nullopt;
    return outline.Current()->rect;
}

void TCustomToolWindow97::CloseButtonLoop() {
    const auto closeRect = [this] {
        return CloseButtonRect(FloatingBorder(), ClientRect().Width(), CaptionHeight());
    };
    const auto press = [this](bool pressed) {
        if (closePressed_ == pressed) return;
        closePressed_ = pressed;
        DrawFloatingFrame(nullptr, {false, true, false});
    };
    press(true);
    const ScopeExit release([this] {
        closePressed_ = false;
        DrawFloatingFrame(nullptr, {false, true, false});
    });

    const bool accepted = tk::RunMouseLoop(Handle(), [&](const MSG& msg) {
        if (IsKeyMessage(msg.message) || IsOtherButton(msg.message)) return tk::LoopStep::Continue;
        switch (msg.message) {
            case WM_MOUSEMOVE: {
                const Point origin = WindowRect().TopLeft();
                const Point p = ScreenPoint(Handle(), msg.lParam);
                press(closeRect().Contains({p.x - origin.x, p.y - origin.y}));
                return tk::LoopStep::Continue;
            }
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: return tk::LoopStep::Cancel;
            case WM_LBUTTONUP: return closePressed_ ? tk::LoopStep::Accept : tk::LoopStep::Cancel;
            default: return tk::LoopStep::Dispatch;
        }
    });
    if (accepted) CloseFromButton();
}

}  // namespace sorv::toolbar
