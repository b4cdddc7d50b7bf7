// The tool window's three modal mouse loops: dragging the bar between docks
// and the desktop, resizing the floating window by its frame, and pressing
// its close button.
#include <windowsx.h>

#include <optional>
#include <vector>

#include "TB97Dock.h"
#include "TB97ToolWindow.h"
#include "drag_geometry.h"
#include "drag_outline.h"
#include "form.h"
#include "monitor_areas.h"
#include "mouse_loop.h"
#include "screen_scopes.h"
#include "win_geometry.h"

namespace sorv {
namespace {

bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

bool IsOtherButton(UINT msg) {
    return msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN ||
           msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK;
}

// The mouse position of a message of the capture window, on the screen.
Point ScreenPoint(HWND window, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &p);
    return FromPOINT(p);
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

}  // namespace

void TCustomToolWindow97::DragLoop(Point client) {
    RECT window{};
    GetWindowRect(Handle(), &window);
    POINT clientOrigin{0, 0};
    ClientToScreen(Handle(), &clientOrigin);
    const Point grab{client.x + clientOrigin.x - window.left, client.y + clientOrigin.y - window.top};
    const Size extent = dock::DragExtent({window.right - window.left, window.bottom - window.top});
    bool noDock = GetKeyState(VK_CONTROL) < 0;

    std::vector<TDock97*> docks;
    std::vector<TDock97*> all;
    CollectDocks(form_, all);
    for (TDock97* d : all)
        if (d->AllowDrag() && dockableTo_.Has(d->Position()) && IsWindowVisible(d->Handle())) docks.push_back(d);

    // The bar's outer size floating and in each candidate dock.
    const DockKind kind = docked_ ? dockedTo_->Kind() : DockKind::dkFloating;
    const Size floatingSize = OuterSize(PlaceChildren(false, kind, nullptr), nullptr);
    std::vector<Size> dockedSizes;
    for (TDock97* d : docks)
        dockedSizes.push_back(OuterSize(d == dockedTo_ ? ClientSize() : PlaceChildren(false, kind, d), d));

    PumpPendingPaints();
    DesktopOutline outline;
    const int floatingThickness = FloatingBorder().cx;

    TDock97* target = nullptr;
    Point cursor = FromPOINT(POINT{clientOrigin.x + client.x, clientOrigin.y + client.y});
    const auto mouseMoved = [&] {
        target = nullptr;
        Size size = floatingSize;
        if (!noDock) {
            for (std::size_t i = 0; i < docks.size(); ++i) {
                RECT d{};
                GetWindowRect(docks[i]->Handle(), &d);
                if (!dock::CanDropOn({FromRECT(d), docks[i]->Position(), dockedSizes[i]}, cursor, grab, extent))
                    continue;
                bool accept = true;
                if (docks[i]->OnRequestDock) docks[i]->OnRequestDock(*docks[i], *this, accept);
                if (!accept) continue;
                target = docks[i];
                size = dockedSizes[i];
                break;
            }
        }
        const Rect work = WorkAreaAt(cursor);
        const Point at = target ? cursor : dock::ClampInto(cursor, work);
        Rect r = dock::DragOutline(at, size, grab, extent);
        if (!target) r = dock::ClampFloatingOutline(r, work, FloatingBorder(), CaptionHeight());
        outline.MoveTo(OutlineFrame{r, target ? 1 : floatingThickness});
    };

    SetCapture(Handle());
    mouseMoved();
    const bool accepted = tk::RunMouseLoop(Handle(), [&](const MSG& msg) {
            if (IsKeyMessage(msg.message)) {
                if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_CONTROL) {
                    const bool down = msg.message == WM_KEYDOWN;
                    if (down != noDock) {
                        noDock = down;
                        mouseMoved();
                    }
                } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                    return tk::LoopStep::Cancel;
                }
                return tk::LoopStep::Continue;
            }
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

void TCustomToolWindow97::FinishDrag(TDock97* target, const Rect& outline) {
    if (target) {
        POINT corners[2] = {{outline.left, outline.top}, {outline.right, outline.bottom}};
        MapWindowPoints(nullptr, target->Handle(), corners, 2);
        std::vector<int> otherRows;
        for (const TCustomToolWindow97* bar : target->BarList())
            if (bar != this) otherRows.push_back(bar->DockRow());
        target->MeasureRows();
        const dock::DropPlacement drop =
            dock::PlaceDrop(Rect{corners[0].x, corners[0].y, corners[1].x, corners[1].y}, target->Position(),
                            target->RowThickness(), target->HighestRow(), fullSize_, otherRows);
        if (drop.insertRowAt) target->InsertRowAt(*drop.insertRowAt);
        dockRow_ = drop.dockRow;
        dockPos_ = drop.dockPos;
        ChangeParent(target);
        target->LayoutBars();
    } else {
        floatingTopLeft_ = outline.TopLeft();
        if (docked_)
            ChangeParent(nullptr);
        else
            SetBounds(floatingTopLeft_.x, floatingTopLeft_.y, Width(), Height());
    }
    KeepOnScreen(true);
}

std::optional<Rect> TCustomToolWindow97::ResizeLoop(dock::FrameHit hit, Point startCursor) {
    const dock::ResizeSides sides = dock::SidesFor(hit);
    const Size minimum = OuterSize(MinimumClientSize(), nullptr);
    RECT window{};
    GetWindowRect(Handle(), &window);
    const Rect start = FromRECT(window);
    Point lastCursor = startCursor;
    const int thickness = FloatingBorder().cx;

    SizingStarted(hit);
    struct Ended {
        TCustomToolWindow97& bar;
        bool accepted = false;
        ~Ended() { bar.SizingEnded(accepted); }
    } ended{*this};

    PumpPendingPaints();
    DesktopOutline outline;
    std::optional<tk::CursorClip> clip;
    if (params_.clipCursorWhileSizing) clip.emplace(WorkAreaFor(start));
    outline.MoveTo(OutlineFrame{start, thickness});

    ended.accepted = tk::RunMouseLoop(Handle(), [&](const MSG& msg) {
        if (IsKeyMessage(msg.message))
            return msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE ? tk::LoopStep::Cancel : tk::LoopStep::Continue;
        switch (msg.message) {
            case WM_MOUSEMOVE: {
                const Point cursor = ScreenPoint(Handle(), msg.lParam);
                if (cursor == lastCursor) return tk::LoopStep::Continue;
                lastCursor = cursor;
                Rect proposed = dock::ResizedRect(start, sides, {cursor.x - startCursor.x, cursor.y - startCursor.y},
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
    if (!ended.accepted) return std::nullopt;
    return outline.Current()->rect;
}

void TCustomToolWindow97::CloseButtonLoop() {
    const auto closeRect = [this] {
        return dock::CloseButtonRect(FloatingBorder(), ClientSize().cx, CaptionHeight());
    };
    const auto press = [this](bool pressed) {
        if (closePressed_ == pressed) return;
        closePressed_ = pressed;
        DrawFloatingFrame(nullptr, {false, true, false});
    };
    press(true);
    struct Release {
        TCustomToolWindow97& bar;
        ~Release() {
            bar.closePressed_ = false;
            bar.DrawFloatingFrame(nullptr, {false, true, false});
        }
    } release{*this};

    const bool accepted = tk::RunMouseLoop(Handle(), [&](const MSG& msg) {
        if (IsKeyMessage(msg.message) || IsOtherButton(msg.message)) return tk::LoopStep::Continue;
        switch (msg.message) {
            case WM_MOUSEMOVE: {
                RECT window{};
                GetWindowRect(Handle(), &window);
                const Point p = ScreenPoint(Handle(), msg.lParam);
                press(closeRect().Contains({p.x - window.left, p.y - window.top}));
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

}  // namespace sorv
