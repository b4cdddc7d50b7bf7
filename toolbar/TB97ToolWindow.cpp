#include "TB97ToolWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "TB97Dock.h"
#include "TB97FloatingParent.h"
#include "canvas.h"
#include "drag_geometry.h"
#include "form.h"
#include "graphic_control.h"
#include "monitor_areas.h"
#include "win_geometry.h"

namespace sorv {
namespace {

tk::Form& FormOf(tk::Window& parent, const std::string& name) {
    if (auto* form = dynamic_cast<tk::Form*>(&parent)) return *form;
    if (auto* dock = dynamic_cast<TDock97*>(&parent))
        if (tk::Form* form = dock->OwnerForm()) return *form;
    if (!dynamic_cast<TDock97*>(&parent))
        throw std::logic_error("A tool window can only be placed on a TDock97 or directly on the form");
    throw std::logic_error("Le contr\u00f4le '" + name + "' n'a pas de fen\u00eatre parente");
}

}  // namespace

// Holds a counter up for a scope.
struct TCustomToolWindow97::Guard {
    explicit Guard(int& counter) : counter_(counter) { ++counter_; }
    ~Guard() { --counter_; }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    int& counter_;
};

TCustomToolWindow97::TCustomToolWindow97(tk::Window& parent, std::string name, tk::Bounds bounds)
    : tk::CustomControl(parent, name, bounds), form_(FormOf(parent, name)), color_(clBtnFace), creationBounds_(bounds) {
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
        SetCreationBounds({origin.x, origin.y, creationBounds_.width, creationBounds_.height});
        floatingParent_ = std::make_unique<TFloatingWindowParent>(form_);
        SetParent(floatingParent_.get());
        Create();
        lastDockKind_ = DockKind::dkFloating;
        FloatingBookkeeping();
    }
    UpdateSize();
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

void TCustomToolWindow97::SetColor(std::uint32_t color) {
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
    if (docked_) dockedTo_->LayoutBars();
}

void TCustomToolWindow97::SetDockRow(int row) {
    dockRow_ = row;
    if (docked_) dockedTo_->LayoutBars();
}

void TCustomToolWindow97::SetDragHandleStyle(TDragHandleStyle style) {
    if (dragHandleStyle_ == style) return;
    dragHandleStyle_ = style;
    if (docked_) RecalcFrame();
}

void TCustomToolWindow97::SetFullSize(bool on) {
    if (fullSize_ == on) return;
    fullSize_ = on;
    UpdateSize();
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
    UpdateSize();
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
        Guard hide(transitionHide_);
        Guard quiet(moveNotifySuppress_);
        UpdateVisibility();
        struct LayoutUpdate {
            TDock97* dock;
            explicit LayoutUpdate(TDock97* d) : dock(d) {
                if (dock) dock->BeginLayoutUpdate();
            }
            ~LayoutUpdate() {
                if (dock) dock->EndLayoutUpdate();
            }
        } layout(newDock);
        {
            Guard bounds(boundsGuard_);
            // The children are placed for the new dock before the move.
            if (lastDockKind_) PlaceChildrenFor(*lastDockKind_, newDock);

            BeginUpdate();
            struct Resume {
                TCustomToolWindow97& bar;
                ~Resume() { bar.EndUpdate(); }
            } resume{*this};
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
                throw;
            }
            if (wasFloating && newDock) floatingParent_.reset();
            if (newDock) newDock->ChangeBarList(true, *this, visible_);
            FloatingBookkeeping();
            lastDockKind_ = newDock ? newDock->Kind() : DockKind::dkFloating;
        }
    }
    UpdateVisibility();
    if (moveNotifySuppress_ == 0 && OnMove) OnMove();
    if (!destroying && OnRecreated) OnRecreated();
    if (!destroying && OnDockChanged) OnDockChanged();
}

void TCustomToolWindow97::FloatingBookkeeping() {
    if (!docked_ && floatingParent_ && &Parent() == floatingParent_.get()) {
        ListAsFloating(true);
        Guard bounds(boundsGuard_);
        SetBounds(floatingTopLeft_.x, floatingTopLeft_.y, Width(), Height());
    } else {
        ListAsFloating(false);
    }
}

void TCustomToolWindow97::PlaceChildrenFor(DockKind previousKind, TDock97* target) {
    if (childrenUpdate_ > 0 || BeingDestroyed() || !Handle()) {
        updatePending_ = true;
        return;
    }
    Guard update(childrenUpdate_);
    PlaceChildren(true, previousKind, target);
}

void TCustomToolWindow97::EndUpdate() {
    if (childrenUpdate_ > 0 && --childrenUpdate_ == 0 && updatePending_) UpdateSize();
}

void TCustomToolWindow97::UpdateSize() {
    if (childrenUpdate_ > 0 || BeingDestroyed() || !Handle()) {
        updatePending_ = true;
        return;
    }
    updatePending_ = false;
    Guard update(childrenUpdate_);
    Size size = PlaceChildren(true, dockedTo_ ? dockedTo_->Kind() : DockKind::dkFloating, dockedTo_);
    const Size frame = FrameInsets().Total();
    if (docked_) {
        dockedTo_->MeasureRows();
        const int row = dockedTo_->RowThicknessOf(dockRow_, this);
        RECT dockClient{};
        GetClientRect(dockedTo_->Handle(), &dockClient);
        if (dockedTo_->Kind() == DockKind::dkVertical) {
            size.cx = std::max(size.cx, row);
            if (fullSize_) size.cy = dockClient.bottom - frame.cy;
        } else {
            size.cy = std::max(size.cy, row);
            if (fullSize_) size.cx = dockClient.right - frame.cx;
        }
    }
    if (size == ClientSize()) return;
    Guard bounds(boundsGuard_);
    const RECT r = BoundsRect();
    SetBounds(r.left, r.top, size.cx + frame.cx, size.cy + frame.cy);
}

void TCustomToolWindow97::SetBounds(int left, int top, int width, int height) {
    if (boundsGuard_ == 0 && (width != Width() || height != Height())) BoundsChanging(width, height);
    tk::Control::SetBounds(left, top, width, height);
    if (!docked_ && boundsGuard_ == 0) floatingTopLeft_ = {left, top};
    // A docked bar of another size changes its dock's rows (a layout running
    // now places the bar itself and ignores this).
    if (docked_) dockedTo_->LayoutBars();
}

void TCustomToolWindow97::PlaceInDock(const Rect& bounds) {
    Guard guard(boundsGuard_);
    SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
}

void TCustomToolWindow97::KeepOnScreen(bool onlyWhenFullyOff) {
    if (docked_ || !Handle()) return;
    RECT r{};
    GetWindowRect(Handle(), &r);
    const Rect bounds = FromRECT(r);
    const Rect kept = dock::KeepOnScreen(bounds, WorkAreaFor(bounds), onlyWhenFullyOff);
    if (kept != bounds) SetBounds(kept.left, kept.top, kept.Width(), kept.Height());
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
    const dock::FrameHit hit = FrameHitOf(hitTest);
    if (dock::SidesFor(hit) == dock::ResizeSides{})
        return tk::CustomControl::NcButtonDown(message, button, hitTest, screen, doubleClick);
    if (const std::optional<Rect> accepted = ResizeLoop(hit, screen)) {
        BeginUpdate();
        SetBounds(accepted->left, accepted->top, accepted->Width(), accepted->Height());
        EndUpdate();
        KeepOnScreen(true);
    }
    return 0;
}

void TCustomToolWindow97::Resized(const tk::Message&, UINT, Size) {
    UpdateSize();
    if (OnResize) OnResize();
}

void TCustomToolWindow97::Moved(const tk::Message&, Point) {
    if (docked_ && dockedTo_->HasBackground()) {
        RequestDockedFrameRepaint();
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    if (moveNotifySuppress_ == 0 && OnMove) OnMove();
}

void TCustomToolWindow97::GetMinMaxInfo(const tk::Message&, MINMAXINFO& limits) {
    limits.ptMinTrackSize = {1, 1};
    limits.ptMaxTrackSize = {32767, 32767};
}

void TCustomToolWindow97::Paint(HDC dc, const RECT&) {
    RECT client{};
    GetClientRect(Handle(), &client);
    if (docked_ && dockedTo_->HasBackground() && dockedTo_->BackgroundOnToolbars()) {
        POINT origin = dockedTo_->TileOriginIn(Handle());
        // Window coordinates to client coordinates.
        POINT clientOrigin{0, 0};
        MapWindowPoints(Handle(), nullptr, &clientOrigin, 1);
        RECT window{};
        GetWindowRect(Handle(), &window);
        origin.x -= clientOrigin.x - window.left;
        origin.y -= clientOrigin.y - window.top;
        dockedTo_->DrawBackground(dc, client, RECT{origin.x, origin.y, client.right, client.bottom}, nullptr);
        return;
    }
    tk::Canvas(dc).FillRect(client, tk::ColorToRgb(color_));
}

LRESULT TCustomToolWindow97::HandleMessage(const tk::Message& message) {
    switch (message.msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const Point client{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
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

}  // namespace sorv

