#include "tb97_dock_rules.h"

#include <algorithm>
#include <limits>

namespace sorv::toolbar {
namespace {

bool RowHasOther(const std::vector<LayoutBar>& bars, int row, std::size_t except) {
    for (std::size_t i = 0; i < bars.size(); ++i)
        if (i != except && bars[i].dockRow == row) return true;
    return false;
}

// Closes every empty row below the highest one, so that a run of empty rows
// goes in one layout rather than one row per layout.
void RemoveEmptyRows(std::vector<LayoutBar>& bars) {
    int highest = HighestRow(bars);
    for (int row = 0; row <= highest;) {
        if (std::any_of(bars.begin(), bars.end(), [row](const LayoutBar& b) { return b.dockRow == row; })) {
            ++row;
            continue;
        }
        for (LayoutBar& bar : bars)
            if (bar.dockRow > row) --bar.dockRow;
        --highest;
    }
}


int LengthAlong(const LayoutBar& bar, bool vertical) { return vertical ? bar.size.cy : bar.size.cx; }

// Bars in rows by position, the rows numbered without a gap.
void SortIntoRows(std::vector<LayoutBar>& bars, bool limitToOneRow) {
    // A row number below 0 (set directly) would never be laid out.
    for (LayoutBar& bar : bars) bar.dockRow = std::max(bar.dockRow, 0);
    std::stable_sort(bars.begin(), bars.end(), [](const LayoutBar& a, const LayoutBar& b) {
        return a.dockRow != b.dockRow ? a.dockRow < b.dockRow : a.dockPos < b.dockPos;
    });
    if (limitToOneRow)
        for (LayoutBar& bar : bars) bar.dockRow = 0;
    RemoveEmptyRows(bars);
}

// Overlaps pushed apart; a full-size bar sends the others of its row one row
// further down.
void PushApart(std::vector<LayoutBar>& bars, bool vertical) {
    for (int row = 0; row <= HighestRow(bars); ++row) {
        int end = 0;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            LayoutBar& bar = bars[i];
            if (bar.dockRow != row) continue;
            if (bar.fullSize && RowHasOther(bars, row, i)) {
                for (std::size_t j = 0; j < bars.size(); ++j)
                    if (j != i && bars[j].dockRow >= row) ++bars[j].dockRow;
            }
            if (bar.dockPos <= end)
                bar.dockPos = end;
            else
                end = bar.dockPos;
            end += LengthAlong(bar, vertical);
        }
    }
}

// A row longer than the dock is pulled back by its overflow.
void PullBackOverflow(std::vector<LayoutBar>& bars, int rows, int clientLength, bool vertical) {
    for (int row = 0; row < rows; ++row) {
        for (std::size_t i = 0; i < bars.size(); ++i) {
            LayoutBar& bar = bars[i];
            if (bar.dockRow != row) continue;
            if (bar.fullSize) {
                bar.dockPos = 0;
                continue;
            }
            for (std::size_t j = bars.size(); j-- > i;) {
                const int overflow = bars[j].dockPos + LengthAlong(bars[j], vertical) - clientLength;
                if (bars[j].dockRow == row && overflow > 0) {
                    bar.dockPos -= overflow;
                    break;
                }
            }
        }
    }
}

// Every bar placed in its row; returns the rows' total thickness.
int PlaceRows(std::vector<LayoutBar>& bars, const std::vector<int>& rowThickness, Size client, bool vertical) {
    int across = 0;
    for (int row = 0; static_cast<std::size_t>(row) < rowThickness.size(); ++row) {
        const int thickness = rowThickness[static_cast<std::size_t>(row)] + kRowFrame;
        int end = 0;
        for (LayoutBar& bar : bars) {
            if (bar.dockRow != row) continue;
            if (bar.dockPos <= end)
                bar.dockPos = end;
            else
                end = bar.dockPos;
            bar.placed = vertical ? Rect::FromOrigin({across, bar.dockPos},
                                                     {thickness, bar.fullSize ? client.cy : bar.size.cy})
                                  : Rect::FromOrigin({bar.dockPos, across},
                                                     {bar.fullSize ? client.cx : bar.size.cx, thickness});
            bar.size = bar.placed.Extent();
            end += LengthAlong(bar, vertical);
        }
        across += thickness;
    }
    return across;
}

}  // namespace

int HighestRow(const std::vector<LayoutBar>& bars) {
    int highest = -1;
    for (const LayoutBar& bar : bars) highest = std::max(highest, bar.dockRow);
    return highest;
}

std::vector<int> MeasureRows(const std::vector<LayoutBar>& bars) {
    std::vector<int> rows(static_cast<std::size_t>(HighestRow(bars) + 1), kMinRowThickness);
    for (const LayoutBar& bar : bars)
        if (bar.dockRow >= 0) rows[static_cast<std::size_t>(bar.dockRow)] = std::max(rows[static_cast<std::size_t>(bar.dockRow)], bar.thickness);
    return rows;
}

int RowThicknessOf(const std::vector<int>& rowThickness, int row, std::optional<int> barThickness) {
    if (row >= 0 && static_cast<std::size_t>(row) < rowThickness.size()) return rowThickness[static_cast<std::size_t>(row)];
    return barThickness.value_or(0);
}

int RowAt(const std::vector<int>& rowThickness, int highestRow, int coordinate) {
    int end = 0;
    for (int row = 0; row <= highestRow; ++row) {
        end += RowThicknessOf(rowThickness, row) + kRowFrame;
        if (end > coordinate) return row;
    }
    return highestRow + 1;
}

DropRow DropRowAt(const std::vector<int>& rowThickness, int highestRow, int coordinate) {
    constexpr int kBand = 5;
    int start = 0;
    for (int row = 0;; ++row) {
        const bool last = row >= highestRow + 1;
        const int end = last ? std::numeric_limits<int>::max() : start + RowThicknessOf(rowThickness, row) + kRowFrame;
        if (coordinate <= start + kBand) return {row, true};
        if (last || coordinate <= end - kBand) return {row, false};
        start = end;
    }
}

Rect ResizeToContent(const Rect& bounds, Size clientSize, TDockPosition position, bool isClientSize, Size size) {
    int width = size.cx;
    int height = size.cy;
    if (isClientSize) {
        width += bounds.Width() - clientSize.cx;
        height += bounds.Height() - clientSize.cy;
    }
    switch (position) {
        case TDockPosition::dpBottom:
            return {bounds.left, bounds.bottom - height, bounds.left + width, bounds.bottom};
        case TDockPosition::dpRight:
            return {bounds.right - width, bounds.top, bounds.right, bounds.top + height};
        default:
            return Rect::FromOrigin(bounds.TopLeft(), {width, height});
    }
}

DockLayout LayoutBars(std::vector<LayoutBar> bars, const DockGeometry& dock) {
    DockLayout layout;
    const bool vertical = IsVertical(dock.position);
    if (bars.empty()) {
        const int thickness = dock.fixAlign ? 1 : 0;
        const Size outer = vertical ? Size{thickness, dock.bounds.Height()} : Size{dock.bounds.Width(), thickness};
        layout.dockBounds = ResizeToContent(dock.bounds, dock.clientSize, dock.position, false, outer);
        return layout;
    }
    SortIntoRows(bars, dock.limitToOneRow);
    PushApart(bars, vertical);
    layout.rowThickness = MeasureRows(bars);
    PullBackOverflow(bars, static_cast<int>(layout.rowThickness.size()),
                     vertical ? dock.clientSize.cy : dock.clientSize.cx, vertical);
    const int across = PlaceRows(bars, layout.rowThickness, dock.clientSize, vertical);
    const Size content = vertical ? Size{across, dock.clientSize.cy} : Size{dock.clientSize.cx, across};
    layout.dockBounds = ResizeToContent(dock.bounds, dock.clientSize, dock.position, true, content);
    layout.bars = std::move(bars);
    return layout;
}

}  // namespace sorv::toolbar
