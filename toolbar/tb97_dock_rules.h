#pragma once
// The dock's rules. The small types the dock, the tool window and the tool
// bar share (where a dock sits, how a bar is laid out there, the sets built
// from them); and where a dock puts its bars: rows, positions along the rows,
// the dock's own size, and which row a coordinate across the dock falls in.
// Plain functions over plain values; the dock gathers its bars, calls them
// and applies the result.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "geometry.h"

namespace sorv::toolbar {

enum class TDockPosition { dpTop, dpBottom, dpLeft, dpRight };
// A bar without a dock is dkFloating.
enum class DockKind { dkFloating, dkHorizontal, dkVertical };
enum class TDragHandleStyle { dhDouble, dhNone, dhSingle };
enum class TDockBoundLinesValues { blTop, blBottom, blLeft, blRight };

// A set of one of the enumerations above, one bit per value (bit 0 = the
// first value), as the stored layouts keep it.
template <typename E>
class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> values) {
        for (E v : values) bits_ |= Bit(v);
    }
    static constexpr EnumSet FromBits(std::uint8_t bits) {
        EnumSet set;
        set.bits_ = bits;
        return set;
    }
    constexpr bool Has(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr std::uint8_t Bits() const { return bits_; }
    friend constexpr bool operator==(EnumSet, EnumSet) = default;

private:
    static constexpr std::uint8_t Bit(E v) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(v)); }
    std::uint8_t bits_ = 0;
};

using TDockBoundLines = EnumSet<TDockBoundLinesValues>;
using TDockableTo = EnumSet<TDockPosition>;

inline constexpr TDockableTo kAllDockPositions{TDockPosition::dpTop, TDockPosition::dpBottom, TDockPosition::dpLeft,
                                               TDockPosition::dpRight};

constexpr bool IsVertical(TDockPosition position) {
    return position == TDockPosition::dpLeft || position == TDockPosition::dpRight;
}

constexpr DockKind DockKindOf(TDockPosition position) {
    return IsVertical(position) ? DockKind::dkVertical : DockKind::dkHorizontal;
}

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

}  // namespace sorv::toolbar
