#include "TB97.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "canvas.h"
#include "menu.h"
#include "nonclient_dc.h"
#include "win_geometry.h"

namespace sorv::toolbar {
namespace {

tk::Align AlignOf(TDockPosition position) {
    switch (position) {
        case TDockPosition::dpBottom: return tk::Align::Bottom;
        case TDockPosition::dpLeft: return tk::Align::Left;
        case TDockPosition::dpRight: return tk::Align::Right;
        default: return tk::Align::Top;
    }
}

tk::Window& CheckedParent(tk::Window& parent) {
    if (dynamic_cast<TCustomToolWindow97*>(&parent) || dynamic_cast<TDock97*>(&parent))
        throw std::logic_error("A TDock97 control cannot be placed inside a tool window or another TDock97");
    return parent;
}

}  // namespace

void ShowPopupMenu(const tk::Window& window, tk::PopupMenu& menu, LPARAM where) {
    POINT at{0, 0};
    if (const std::optional<Point> mouse = tk::ContextMenuPoint(where)) {
        at = {mouse->x, mouse->y};
    } else {  // from the keyboard: at the window's corner
        ClientToScreen(window.Handle(), &at);
    }
    menu.Popup(window.Handle(), at.x, at.y);
}

TDock97::TDock97(tk::Window& parent, std::string name, const Rect& bounds, TDockPosition position)
    : tk::CustomControl(CheckedParent(parent), std::move(name), bounds), position_(position) {
    Create();
    SetAlign(AlignOf(position_));
}

// Bars outlive no dock: those that named it as their default forget it, and
// those still docked here forget it too (their windows go with the dock's).
TDock97::~TDock97() { TCustomToolWindow97::DockDestroyed(*this); }

void TDock97::CreateParams(tk::ControlParams& params) const {
    tk::CustomControl::CreateParams(params);
    // Neither horizontal nor vertical redraw: resizing does not repaint it all.
    params.windowClass.name = L"TDock97";
    params.windowClass.style = CS_DBLCLKS;
    params.windowClass.background = nullptr;
}

void TDock97::SetAllowDrag(bool allow) {
    if (allowDrag_ == allow) return;
    allowDrag_ = allow;
    for (TCustomToolWindow97* bar : barList_) bar->RecalcFrame();
}

void TDock97::SetBackground(HBITMAP bitmap) {
    background_.reset(bitmap ? static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr);
    BackgroundChanged();
}

void TDock97::SetBackgroundOnToolbars(bool on) {
    if (backgroundOnToolbars_ == on) return;
    backgroundOnToolbars_ = on;
    RefreshBackgrounds();
}

void TDock97::SetBackgroundTransparent(bool on) {
    if (backgroundTransparent_ == on) return;
    backgroundTransparent_ = on;
    if (HasBackground()) BackgroundChanged();
}

void TDock97::SetBoundLines(TDockBoundLines lines) {
    if (boundLines_ == lines) return;
    boundLines_ = lines;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TDock97::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    if (HasBackground()) BackgroundChanged();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TDock97::SetFixAlign(bool fix) {
    if (fixAlign_ == fix) return;
    fixAlign_ = fix;
    RequestLayout();
}

void TDock97::SetLimitToOneRow(bool limit) {
    if (limitToOneRow_ == limit) return;
    limitToOneRow_ = limit;
    RequestLayout();
}

void TDock97::SetPosition(TDockPosition position) {
    if (position == position_) return;
    if (!Controls().empty()) throw std::logic_error("Cannot change Position of a TDock97 if it already contains controls");
    position_ = position;
    SetAlign(AlignOf(position_));
}

void TDock97::ChangeBarList(bool insert, TCustomToolWindow97& bar, bool barIsVisible) {
    const auto found = std::find(barList_.begin(), barList_.end(), &bar);
    bool changed = false;
    if (insert) {
        if (found != barList_.end()) barList_.erase(found);
        if (barIsVisible) {
            barList_.push_back(&bar);
            changed = true;
        }
    } else if (found != barList_.end()) {
        barList_.erase(found);
        changed = true;
    }
    if (!changed) return;
    RequestLayout();
    bar.RequestLayout();
    if (OnInsertRemoveBar) OnInsertRemoveBar(*this, insert, bar);
}

void TDock97::PerformLayout() {
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    std::vector<LayoutBar> bars;
    for (std::size_t i = 0; i < barList_.size(); ++i) {
        TCustomToolWindow97& bar = *barList_[i];
        LayoutBar entry;
        entry.id = i;
        entry.dockRow = bar.DockRow();
        entry.dockPos = bar.DockPos();
        entry.fullSize = bar.FullSize();
        entry.size = {bar.Width(), bar.Height()};
        entry.thickness = bar.MeasureThickness(Kind());
        bars.push_back(entry);
    }
    DockGeometry geometry;
    geometry.position = position_;
    geometry.bounds = BoundsRect();
    geometry.clientSize = ClientRect().Extent();
    geometry.fixAlign = fixAlign_;
    geometry.limitToOneRow = limitToOneRow_;
    const DockLayout layout = toolbar::LayoutBars(std::move(bars), geometry);

    const std::vector<TCustomToolWindow97*> previous = barList_;
    barList_.clear();
    for (const LayoutBar& placed : layout.bars) {
        TCustomToolWindow97& bar = *previous[placed.id];
        barList_.push_back(&bar);
        bar.dockRow_ = placed.dockRow;
        bar.dockPos_ = placed.dockPos;
        bar.PlaceInDock(placed.placed);
    }
    rowThickness_ = layout.rowThickness;
    const Rect& b = layout.dockBounds;
    if (b != geometry.bounds) tk::Control::SetBounds(b);
}

void TDock97::MeasureRows() {
    std::vector<LayoutBar> bars(barList_.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        bars[i].dockRow = barList_[i]->DockRow();
        bars[i].thickness = barList_[i]->MeasureThickness(Kind());
    }
    rowThickness_ = toolbar::MeasureRows(bars);
}

int TDock97::RowThicknessOf(int row, const TCustomToolWindow97* bar) const {
    std::optional<int> own;
    if (bar) own = bar->MeasureThickness(Kind());
    return toolbar::RowThicknessOf(rowThickness_, row, own);
}

int TDock97::HighestRow() const {
    int highest = -1;
    for (const TCustomToolWindow97* bar : barList_) highest = std::max(highest, bar->DockRow());
    return highest;
}

int TDock97::RowAt(int coordinate) const { return toolbar::RowAt(rowThickness_, HighestRow(), coordinate); }

DropRow TDock97::DropRowAt(int coordinate) const {
    return toolbar::DropRowAt(rowThickness_, HighestRow(), coordinate);
}

void TDock97::InsertRowAt(int row) {
    for (TCustomToolWindow97* bar : barList_)
        if (bar->dockRow_ >= row) ++bar->dockRow_;
}

int TDock97::BarsInRow(int row, const TCustomToolWindow97* except) const {
    return static_cast<int>(std::count_if(barList_.begin(), barList_.end(), [&](const TCustomToolWindow97* bar) {
        return bar != except && bar->DockRow() == row;
    }));
}

Size TDock97::BackgroundSize() const {
    BITMAP info{};
    if (!background_ || !GetObjectW(background_.get(), sizeof info, &info)) return {};
    return {info.bmWidth, info.bmHeight};
}

bool TDock97::HasBackground() const {
    const Size size = BackgroundSize();
    return size.cx > 0 && size.cy > 0;
}

// The background with its bottom-left pixel's colour replaced by the dock's.
HBITMAP TDock97::TransparentCopy() {
    if (transparentCopy_) return transparentCopy_.get();
    const Size size = BackgroundSize();
    tk::WindowDc screen(nullptr);
    tk::MemoryDcHandle source(CreateCompatibleDC(screen.get()));
    tk::MemoryDcHandle target(CreateCompatibleDC(screen.get()));
    transparentCopy_.reset(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    tk::Selection from(source.get(), background_.get());
    tk::Selection to(target.get(), transparentCopy_.get());
    tk::Canvas(target.get()).FillRect(Rect{0, 0, size.cx, size.cy}, tk::ColorToRgb(color_));
    const COLORREF key = GetPixel(source.get(), 0, size.cy - 1);
    TransparentBlt(target.get(), 0, 0, size.cx, size.cy, source.get(), 0, 0, size.cx, size.cy, key);
    return transparentCopy_.get();
}

void TDock97::DrawBackground(HDC dc, const Rect& clip, const Rect& tile, const Rect* exclude) {
    if (!HasBackground()) return;
    const Size size = BackgroundSize();
    HBITMAP bitmap = backgroundTransparent_ ? TransparentCopy() : background_.get();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    if (exclude) ExcludeClipRect(dc, exclude->left, exclude->top, exclude->right, exclude->bottom);
    tk::MemoryDcHandle source(CreateCompatibleDC(dc));
    tk::Selection selected(source.get(), bitmap);
    for (int x = tile.left; x < tile.right; x += size.cx)
        for (int y = tile.top; y < tile.bottom; y += size.cy)
            BitBlt(dc, x, y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

Point TDock97::TileOriginIn(HWND window) const {
    POINT origin{0, 0};
    ClientToScreen(Parent().Handle(), &origin);
    RECT r{};
    GetWindowRect(window, &r);
    return {origin.x - r.left, origin.y - r.top};
}

void TDock97::DrawBackgroundOnClient(HDC dc, HWND window, const Rect& client) {
    POINT origin{0, 0};
    MapWindowPoints(Parent().Handle(), window, &origin, 1);
    DrawBackground(dc, client, Rect{origin.x, origin.y, client.right, client.bottom}, nullptr);
}

void TDock97::RefreshBackgrounds() {
    InvalidateRect(Handle(), nullptr, TRUE);
    for (TCustomToolWindow97* bar : barList_) {
        bar->RequestDockedFrameRepaint();
        InvalidateRect(bar->Handle(), nullptr, TRUE);
    }
}

void TDock97::BackgroundChanged() {
    transparentCopy_.reset();
    RefreshBackgrounds();
}

Rect TDock97::NcCalcSize(const tk::Message& message, const Rect& proposed) {
    Rect r = DefaultNcCalcSize(message, proposed);
    if (boundLines_.Has(TDockBoundLinesValues::blTop)) ++r.top;
    if (boundLines_.Has(TDockBoundLinesValues::blBottom)) --r.bottom;
    if (boundLines_.Has(TDockBoundLinesValues::blLeft)) ++r.left;
    if (boundLines_.Has(TDockBoundLinesValues::blRight)) --r.right;
    return r;
}

LRESULT TDock97::NcPaint(const tk::Message&, HRGN update) {
    if (barList_.empty()) return 0;
    tk::NonClientDc dc(Handle(), update);
    const Size window = WindowRect().Extent();
    const int w = window.cx;
    const int h = window.cy;
    tk::Canvas canvas(dc.get());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    // Later lines overwrite the corner pixels of earlier ones.
    if (boundLines_.Has(TDockBoundLinesValues::blTop)) canvas.Line({0, 0}, {w, 0}, shadow);
    if (boundLines_.Has(TDockBoundLinesValues::blLeft)) canvas.Line({0, 0}, {0, h}, shadow);
    if (boundLines_.Has(TDockBoundLinesValues::blBottom)) canvas.Line({0, h - 1}, {w, h - 1}, highlight);
    if (boundLines_.Has(TDockBoundLinesValues::blRight)) canvas.Line({w - 1, 0}, {w - 1, h}, highlight);
    return 0;
}

void TDock97::Paint(HDC dc, const Rect&) {
    const Rect client = ClientRect();
    tk::Canvas(dc).FillRect(client, tk::ColorToRgb(color_));
    DrawBackgroundOnClient(dc, Handle(), client);
}

// The layout ran (or waits for the update under way) before this.
void TDock97::Resized(const tk::Message&, UINT, Size) {
    if (OnResize) OnResize(*this);
}

void TDock97::Moved(const tk::Message&, Point) {
    if (HasBackground()) RefreshBackgrounds();
}

LRESULT TDock97::HandleMessage(const tk::Message& message) {
    if (message.msg == WM_SYSCOLORCHANGE) {
        const LRESULT result = tk::CustomControl::HandleMessage(message);
        if (HasBackground()) BackgroundChanged();
        return result;
    }
    if (message.msg == WM_ERASEBKGND) return 1;  // Paint fills everything
    if (message.msg == WM_CONTEXTMENU && PopupMenu) {
        ShowPopupMenu(*this, *PopupMenu, message.lParam);
        return 0;
    }
    return tk::CustomControl::HandleMessage(message);
}

namespace {

tk::FormDescription Design() {
    tk::FormDescription design;
    design.className = "TFloatingWindowParent";
    design.border = tk::BorderStyle::None;
    design.screenCenter = false;
    return design;
}

}  // namespace

TFloatingWindowParent::TFloatingWindowParent(tk::Form& ownerForm) : tk::Form(Design()), ownerForm_(&ownerForm) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFloatingWindowParent::SetShowRequested(bool requested) {
    showRequested_ = requested;
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     (requested ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

}  // namespace sorv::toolbar
