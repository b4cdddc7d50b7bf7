#pragma once
// TDock97: a control against one edge of its container that holds tool
// windows in rows, sizes itself to them, tiles an optional background behind
// itself and its bars and draws optional bound lines. The drag loop looks
// for docks as drop targets.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "custom_control.h"
#include "dock_layout.h"
#include "dock_types.h"
#include "handles.h"

namespace sorv {
namespace tk {
class PopupMenu;
}  // namespace tk

class TCustomToolWindow97;

// A colour value naming the button-face system colour.
inline constexpr std::uint32_t clBtnFace = 0x80000000u | COLOR_BTNFACE;

class TDock97 : public tk::CustomControl {
public:
    // A dock inside a tool window or another dock is refused.
    TDock97(tk::Window& parent, std::string name, tk::Bounds bounds, TDockPosition position = TDockPosition::dpTop);
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
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color);
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
    // Layouts asked for in between run once, when the outermost update ends.
    void BeginLayoutUpdate() { ++layoutSuspend_; }
    void EndLayoutUpdate();
    void LayoutBars();
    void MeasureRows();
    const std::vector<int>& RowThickness() const { return rowThickness_; }
    int RowThicknessOf(int row, const TCustomToolWindow97* bar) const;
    int HighestRow() const;
    int RowAt(int coordinate) const;
    dock::DropRow DropRowAt(int coordinate) const;
    void InsertRowAt(int row);
    int BarsInRow(int row, const TCustomToolWindow97* except) const;

    bool HasBackground() const;
    // Tiles the background over `tile` from its top-left corner, within
    // `clip` and outside `exclude`. Callers put the tiles' origin at the
    // client origin of the dock's parent, so that the dock and its bars show
    // one pattern.
    void DrawBackground(HDC dc, const RECT& clip, const RECT& tile, const RECT* exclude);
    // The parent's client origin in `window`'s window coordinates.
    POINT TileOriginIn(HWND window) const;
    void RefreshBackgrounds();
    void BackgroundChanged();

protected:
    void CreateParams(tk::ControlParams& params) const override;
    LRESULT HandleMessage(const tk::Message& message) override;
    Rect NcCalcSize(const tk::Message& message, const Rect& proposed) override;
    LRESULT NcPaint(const tk::Message& message, HRGN update) override;
    void Paint(HDC dc, const RECT& updateRect) override;
    void Resized(const tk::Message& message, UINT kind, Size client) override;
    void Moved(const tk::Message& message, Point clientOrigin) override;

private:
    HBITMAP TransparentCopy();
    Size BackgroundSize() const;

    bool allowDrag_ = true;
    bool backgroundOnToolbars_ = true;
    bool backgroundTransparent_ = false;
    TDockBoundLines boundLines_;
    std::uint32_t color_ = clBtnFace;
    bool fixAlign_ = false;
    bool limitToOneRow_ = false;
    TDockPosition position_ = TDockPosition::dpTop;

    std::vector<TCustomToolWindow97*> barList_;
    std::vector<int> rowThickness_;
    int layoutSuspend_ = 0;
    bool layoutPending_ = false;
    tk::BitmapHandle background_;
    tk::BitmapHandle transparentCopy_;
};

// Shows a control's popup menu for a WM_CONTEXTMENU at `where`.
void ShowPopupMenu(const tk::Window& window, tk::PopupMenu& menu, LPARAM where);

}  // namespace sorv
