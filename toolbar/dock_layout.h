#pragma once
// Where a dock puts its bars: rows, positions along the rows, the dock's own
// size, and which row a coordinate across the dock falls in. Plain functions
// over plain values; the dock gathers its bars, calls them and applies the
// result.
#include <cstddef>
#include <optional>
#include <vector>

#include "dock_types.h"
#include "geometry.h"

namespace sorv::dock {

// Rows are at least this thick; every bar adds its 2-pixel frame on each side.
inline constexpr int kMinRowThickness = 8;
inline constexpr int kRowFrame = 4;

struct LayoutBar {
    std::size_t id = 0;  // the caller's own reference to the bar
    int dockRow = 0;
    int dockPos = -1;
    bool fullSize = false;
    Size size;          // outer size; after the layout the size it was given
    int thickness = 0;  // the bar's thickness across a row of this dock's kind
    Rect placed;        // set by the layout, in the dock's client coordinates
};

struct DockGeometry {
    TDockPosition position = TDockPosition::dpTop;
    Rect bounds;      // in the parent's client coordinates
    Size clientSize;  // bounds less the bound lines
    bool fixAlign = false;
    bool limitToOneRow = false;
};

struct DockLayout {
    std::vector<LayoutBar> bars;  // in their new list order
    std::vector<int> rowThickness;
    Rect dockBounds;
};

DockLayout LayoutBars(std::vector<LayoutBar> bars, const DockGeometry& dock);

// -1 for no bar.
int HighestRow(const std::vector<LayoutBar>& bars);
// Per row 0..HighestRow, the thickest bar in it, never under kMinRowThickness.
std::vector<int> MeasureRows(const std::vector<LayoutBar>& bars);
// A measured row's thickness; past the measured rows, the bar's own
// thickness when a bar is named, else 0.
int RowThicknessOf(const std::vector<int>& rowThickness, int row, std::optional<int> barThickness = std::nullopt);
// The row a coordinate across the dock lies in; HighestRow + 1 past the last.
int RowAt(const std::vector<int>& rowThickness, int highestRow, int coordinate);

struct DropRow {
    int row = 0;
    bool insertBefore = false;  // a new row opens before `row`
};
// Within 5 pixels of a row boundary a new row opens there; deeper inside a
// row the drop joins it.
DropRow DropRowAt(const std::vector<int>& rowThickness, int highestRow, int coordinate);

// The dock's new bounds for a new (client or outer) size, keeping the edge it
// is aligned to in place.
Rect ResizeToContent(const Rect& bounds, Size clientSize, TDockPosition position, bool isClientSize, Size size);

}  // namespace sorv::dock
