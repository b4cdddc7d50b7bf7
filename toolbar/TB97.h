#pragma once
// The docking machinery's public classes.
//
// TDock97: a control against one edge of its container that holds tool
// windows in rows, sizes itself to them, tiles an optional background behind
// itself and its bars and draws optional bound lines. The drag loop looks
// for docks as drop targets.
//
// TCustomToolWindow97: the base of every bar that sits in a dock or floats
// in a small window of its own above its form. It owns the two states and
// the moves between them (dragging, double clicks), its frames, the resizing
// and closing of the floating window, and keeps that window shown, owned and
// activated with its form. The arrangement of its children is left to a
// subclass through MeasureThickness, MinimumClientSize and PlaceChildren.
//
// TFloatingWindowParent: the invisible, border-less form at the screen's
// origin that parents a floating tool window, so that the bar's bounds are
// screen coordinates. It shows its (empty) window only while its bar asks.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TB97Cmn.h"
#include "colour.h"
#include "custom_control.h"
#include "form.h"
#include "geometry.h"
#include "handles.h"
#include "tb97_dock_rules.h"
#include "tb97_frame_rules.h"
#include "tb97_frame_win.h"

namespace sorv::tk {
class PopupMenu;
class GraphicControl;
}  // namespace sorv::tk

namespace sorv::toolbar {

class TCustomToolWindow97;

class TDock97 : public tk::CustomControl {
public:
    // A dock inside a tool window or another dock is refused.
    TDock97(tk::Window& parent, std::string name, const Rect& bounds, TDockPosition position = TDockPosition::dpTop);
    ~TDock97() override;

    bool AllowDrag() const { return allowDrag_; }
    void SetAllowDrag(bool allow);
    // The background is copied; null removes it.
    HBITMAP Background() const { return background_.get(); }
    void SetBackground(HBITMAP bitmap);
    bool BackgroundOnToolbars() const { return backgroundOnToolbars_; }
    void SetBackgroundOnToolbars(bool on);
    bool BackgroundTransparent() const { return backgroundTransparent_; }
    void SetBackgroundTransparent(bool on);
    TDockBoundLines BoundLines() const { return boundLines_; }
    void SetBoundLines(TDockBoundLines lines);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool FixAlign() const { return fixAlign_; }
    void SetFixAlign(bool fix);
    bool LimitToOneRow() const { return limitToOneRow_; }
    void SetLimitToOneRow(bool limit);
    // Shown on a right click on the dock.
    tk::PopupMenu* PopupMenu = nullptr;
    TDockPosition Position() const { return position_; }
    // Only while the dock holds no control.
    void SetPosition(TDockPosition position);
    DockKind Kind() const { return DockKindOf(position_); }

    // After a bar entered (inserting) or left the dock's rows.
    std::function<void(TDock97& sender, bool inserting, TCustomToolWindow97& bar)> OnInsertRemoveBar;
    // During a drag, before the dock is taken as the target.
    std::function<void(TDock97& sender, TCustomToolWindow97& bar, bool& accept)> OnRequestDock;
    std::function<void(TDock97& sender)> OnResize;

    // For the tool windows.
    const std::vector<TCustomToolWindow97*>& BarList() const { return barList_; }
    void ChangeBarList(bool insert, TCustomToolWindow97& bar, bool barIsVisible);
    void MeasureRows();
    const std::vector<int>& RowThickness() const { return rowThickness_; }
    int RowThicknessOf(int row, const TCustomToolWindow97* bar) const;
    int HighestRow() const;
    int RowAt(int coordinate) const;
    DropRow DropRowAt(int coordinate) const;
    void InsertRowAt(int row);
    int BarsInRow(int row, const TCustomToolWindow97* except) const;

    bool HasBackground() const;
    // Tiles the background over `tile` from its top-left corner, within
    // `clip` and outside `exclude`. Callers put the tiles' origin at the
    // client origin of the dock's parent, so that the dock and its bars show
    // one pattern.
    void DrawBackground(HDC dc, const Rect& clip, const Rect& tile, const Rect* exclude);
    // The parent's client origin in `window`'s window coordinates.
    Point TileOriginIn(HWND window) const;
    // Tiles the background over the client area of `window` (the dock's or
    // one of its bars'), from the parent's client origin.
    void DrawBackgroundOnClient(HDC dc, HWND window, const Rect& client);
    void RefreshBackgrounds();
    void BackgroundChanged();

protected:
    void CreateParams(tk::ControlParams& params) const override;
    LRESULT HandleMessage(const tk::Message& message) override;
    Rect NcCalcSize(const tk::Message& message, const Rect& proposed) override;
    LRESULT NcPaint(const tk::Message& message, HRGN update) override;
    void Paint(HDC dc, const Rect& updateRect) override;
    void Resized(const tk::Message& message, UINT kind, Size client) override;
    void Moved(const tk::Message& message, Point clientOrigin) override;
    // The dock's layout: its bars in rows, and its own size to fit them.
    void PerformLayout() override;

private:
    HBITMAP TransparentCopy();
    Size BackgroundSize() const;

    bool allowDrag_ = true;
    bool backgroundOnToolbars_ = true;
    bool backgroundTransparent_ = false;
    TDockBoundLines boundLines_;
    TColor color_ = clBtnFace;
    bool fixAlign_ = false;
    bool limitToOneRow_ = false;
    TDockPosition position_ = TDockPosition::dpTop;

    std::vector<TCustomToolWindow97*> barList_;
    std::vector<int> rowThickness_;
    tk::BitmapHandle background_;
    tk::BitmapHandle transparentCopy_;
};

// Shows a control's popup menu for a WM_CONTEXTMENU at `where`.
void ShowPopupMenu(const tk::Window& window, tk::PopupMenu& menu, LPARAM where);

class TFloatingWindowParent;
enum class TBorderStyle { bsNone, bsSingle };

struct ToolWindowParams {
    bool alignChildren = true;          // the children's own alignment is applied
    bool eightWayResize = true;         // the floating frame sizes by its corners too
    bool clipCursorWhileSizing = true;  // the cursor stays in the work area while sizing
};

class TCustomToolWindow97 : public tk::CustomControl {
public:
    ~TCustomToolWindow97() override;

    bool ActivateParent() const { return activateParent_; }
    void SetActivateParent(bool on) { activateParent_ = on; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    std::string Caption() const { return Text(); }
    void SetCaption(std::string_view caption);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool CloseButton() const { return closeButton_; }
    void SetCloseButton(bool on);
    TDock97* DefaultDock() const { return defaultDock_; }
    void SetDefaultDock(TDock97* dock);
    TDockableTo DockableTo() const { return dockableTo_; }
    void SetDockableTo(TDockableTo positions) { dockableTo_ = positions; }
    // Null while floating. Setting a dock docks the bar there; null floats it.
    TDock97* DockedTo() const { return dockedTo_; }
    void SetDockedTo(TDock97* dock);
    int DockPos() const { return dockPos_; }
    void SetDockPos(int pos);
    int DockRow() const { return dockRow_; }
    void SetDockRow(int row);
    TDragHandleStyle DragHandleStyle() const { return dragHandleStyle_; }
    void SetDragHandleStyle(TDragHandleStyle style);
    bool FullSize() const { return fullSize_; }
    void SetFullSize(bool on);
    bool HideWhenInactive() const { return hideWhenInactive_; }
    void SetHideWhenInactive(bool on);
    bool Resizable() const { return resizable_; }
    // Shown on a right click on the bar.
    tk::PopupMenu* PopupMenu = nullptr;
    // Whether the bar is meant to show (its window shows when its form does,
    // and floating, as the activation rules say). Hidden bars leave their
    // dock's rows and come back at their row and position when shown.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    bool Docked() const { return docked_; }
    // The form the bar belongs to, docked or floating.
    tk::Form& ParentForm() const { return form_; }
    // The floating window's place on the screen, kept while docked.
    Point FloatingTopLeft() const { return floatingTopLeft_; }
    bool InactiveCaption() const { return inactiveCaption_; }

    // Keeps a floating bar on the screen holding most of it.
    void KeepOnScreen(bool onlyWhenFullyOff);
    // Bounds in the parent's client coordinates (the screen's when floating).
    void SetBounds(const Rect& bounds);
    // A left press (or double click) at a client point, from the bar itself
    // or from a child that lets presses through (a separator).
    void MouseDownAt(Point client, bool doubleClick);
    // Hides the bar and raises OnClose, as the close button does.
    void CloseFromButton();

    std::function<void()> OnClose;
    std::function<void()> OnDockChanged;
    std::function<void()> OnDockChanging;
    std::function<void()> OnMove;
    std::function<void()> OnRecreated;
    std::function<void()> OnRecreating;
    std::function<void()> OnResize;
    std::function<void()> OnVisibleChanged;

protected:
    // `parent`: the dock the bar starts in, or its form (the bar floats).
    TCustomToolWindow97(tk::Window& parent, std::string name, const Rect& bounds);
    // The most-derived constructor calls this last: the window is made and
    // the bar placed in its dock or on the screen.
    void CreateBar();

    // The bar's thickness across a row of a dock of that kind.
    virtual int MeasureThickness(DockKind kind) const = 0;
    virtual Size MinimumClientSize() const = 0;
    // The client size the bar needs in `target` (null: floating); the
    // children move there only with canMove.
    virtual Size PlaceChildren(bool canMove, DockKind previousKind, TDock97* target) = 0;
    virtual void BoundsChanging(int /*newWidth*/, int /*newHeight*/) {}
    // A press on a child that is ignored drags the bar.
    virtual bool IsIgnoredChild(const tk::GraphicControl& /*child*/) const { return false; }
    virtual ToolWindowParams GetWindowParams() const { return {}; }
    virtual void SizingStarted(FrameHit /*hit*/) {}
    virtual void SizingMoved(Rect& /*proposed*/, const Rect& /*start*/) {}
    virtual void SizingEnded(bool /*accepted*/) {}

    void CreateParams(tk::ControlParams& params) const override;
    LRESULT HandleMessage(const tk::Message& message) override;
    Rect NcCalcSize(const tk::Message& message, const Rect& proposed) override;
    LRESULT NcHitTest(const tk::Message& message, Point screen) override;
    LRESULT NcPaint(const tk::Message& message, HRGN update) override;
    LRESULT NcButtonDown(const tk::Message& message, tk::MouseButton button, int hitTest, Point screen,
                         bool doubleClick) override;
    void Resized(const tk::Message& message, UINT kind, Size client) override;
    void Moved(const tk::Message& message, Point clientOrigin) override;
    LRESULT Activate(const tk::Message& message, UINT state, bool minimized, HWND other) override;
    LRESULT MouseActivate(const tk::Message& message, HWND topLevel, int hitTest, UINT mouseMessage) override;
    void GetMinMaxInfo(const tk::Message& message, MINMAXINFO& limits) override;
    void Paint(HDC dc, const Rect& updateRect) override;
    // The bar's layout: its children placed again (aligned ones first when
    // the bar aligns its children) and the size they need taken.
    void PerformLayout() override;

private:
    friend class TDock97;

    static std::vector<TCustomToolWindow97*>& FloatingWindows();
    // In or out of the floating list; the shared hooks are wanted while it
    // is not empty.
    void ListAsFloating(bool floating);
    static std::vector<TCustomToolWindow97*>& AllBars();
    // A dock going away is forgotten by every bar that names it.
    static void DockDestroyed(TDock97& dock);

    // The dock/float transition: `newDock` null floats the bar on its form.
    void ChangeParent(TDock97* newDock);
    bool ChangingParent() const { return parentChanges_ > 0; }
    void FloatingBookkeeping();
    bool FloatingOnParent() const;
    void PlaceChildrenFor(DockKind previousKind, TDock97* target);
    void FitToChildren();
    // The bar places itself (fitting its children, coming back to its
    // floating place): unlike SetBounds, no size asked for from outside
    // (BoundsChanging) and no new floating place.
    void PlaceItself(const Rect& bounds);
    // Placed by the dock's layout: the bounds say nothing about row or position.
    void PlaceInDock(const Rect& bounds);
    void RecalcFrame();
    // The bar, its parents or its form are being destroyed.
    bool BeingDestroyed() const;

    // Frames.
    Size FloatingBorder() const;
    int CaptionHeight() const;
    Insets FrameInsetsFor(TDock97* target) const;
    Insets FrameInsets() const;
    Size OuterSize(Size client, TDock97* target) const;
    void DrawDockedFrame(HRGN update);
    void DrawFloatingFrame(HRGN update, FloatingParts parts);
    void RequestDockedFrameRepaint();
    bool HandleFrameMessage(const tk::Message& message, LRESULT& result);

    // Visibility, ownership and activation of the floating window.
    bool ShouldBeVisible() const;
    void UpdateVisibility();
    void ShowingChanged();
    // Puts the floating window back above its form, which the window manager
    // may have raised over it (an activation, the end of a modal loop).
    void KeepAboveOwner();
    static void HookProc(THookProcType kind, HWND window, WPARAM wParam, LPARAM lParam);

    // The modal mouse loops.
    void DragLoop(Point client);
    // The docks a drag may end in: on the bar's form, shown, taking drags,
    // at a position the bar may dock to.
    std::vector<TDock97*> DropCandidates() const;
    // The bar's outer size in each of `docks`, as the drag's outline shows it.
    std::vector<Size> DockedSizes(const std::vector<TDock97*>& docks, DockKind kind);
    // The first of the docks (the bar's outer size in each given) that takes
    // the bar with the cursor there.
    std::optional<std::size_t> DropTargetAt(const std::vector<TDock97*>& docks, const std::vector<Size>& sizes,
                                            Point cursor, Point grab, Size extent);
    // The drag outline of that size for the cursor there, kept on the work
    // area when floating.
    Rect OutlineAt(Point cursor, Size size, bool overDock, Point grab, Size extent) const;
    void FinishDrag(TDock97* target, const Rect& outline);
    std::optional<Rect> ResizeLoop(FrameHit hit, Point startCursor);
    void CloseButtonLoop();

    tk::Form& form_;
    int dockPos_ = -1;
    int dockRow_ = 0;
    bool docked_ = false;
    TDock97* dockedTo_ = nullptr;
    TDock97* defaultDock_ = nullptr;
    bool activateParent_ = true;
    bool hideWhenInactive_ = true;
    bool closeButton_ = true;
    bool fullSize_ = false;
    bool resizable_ = true;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    TDragHandleStyle dragHandleStyle_ = TDragHandleStyle::dhDouble;
    TDockableTo dockableTo_ = kAllDockPositions;
    std::optional<DockKind> lastDockKind_;
    ToolWindowParams params_;
    // Raised while the bar changes parent (docks, floats, changes dock):
    // its window stays hidden meanwhile, so no half-made state shows, and
    // the moves it makes then are reported once, by OnMove at the end.
    int parentChanges_ = 0;
    bool inactiveCaption_ = false;
    Point floatingTopLeft_;
    std::unique_ptr<TFloatingWindowParent> floatingParent_;
    // Watches the form while the bar floats.
    tk::HookRegistration ownerHook_;
    bool closePressed_ = false;
    bool visible_ = true;
    TColor color_ = clBtnFace;
    Rect creationBounds_;
};

class TFloatingWindowParent : public tk::Form {
public:
    explicit TFloatingWindowParent(tk::Form& ownerForm);

    tk::Form* OwnerForm() const { return ownerForm_; }
    bool ShowRequested() const { return showRequested_; }
    // Shows or hides the window without activating, moving or raising it.
    void SetShowRequested(bool requested);

private:
    tk::Form* ownerForm_;
    bool showRequested_ = false;
};

}  // namespace sorv::toolbar
