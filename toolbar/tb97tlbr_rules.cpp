#include "tb97tlbr_rules.h"

#include <algorithm>
#include <climits>

namespace sorv::toolbar {
namespace {

struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A run of controls ended by a separator (which belongs to it), or by the
// last child.
struct Group {
    int sumWidths = 0;  // separators not counted
    int sumHeights = 0;
    std::vector<std::size_t> members;
};

std::vector<Group> BuildGroups(const std::vector<BarChild>& children) {
    std::vector<Group> groups;
    bool open = false;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const BarChild& child = children[i];
        if (!child.visible) continue;
        if (!open) groups.emplace_back();
        open = true;
        Group& group = groups.back();
        group.members.push_back(i);
        if (child.separator) {
            open = false;
        } else {
            group.sumWidths += child.size.cx;
            group.sumHeights += child.size.cy;
        }
    }
    return groups;
}

int LengthAlong(const BarChild& child, bool vertical) {
    if (child.separator) return vertical ? child.sizeVert : child.sizeHorz;
    return vertical ? child.size.cy : child.size.cx;
}

int WrapWidth(const BarPlacement& placement) {
    if (placement.docked || placement.floatRightX == 0) return INT_MAX;
    int widest = 0;
    for (const BarChild& child : placement.children) {
        if (child.visible && !child.separator) widest = std::max(widest, child.size.cx);
    }
    return std::max(placement.floatRightX, widest + 8);
}

// A child at `along` (x in a horizontal line) and `across`, in a row of
// `rowSize`: a separator fills the row's thickness, a control is centred in it.
Rect ChildBounds(const BarChild& child, int along, int across, int rowSize, bool vertical) {
    if (vertical) {
        return child.separator ? Rect::FromOrigin({across, along}, {rowSize, child.sizeVert})
                               : Rect::FromOrigin({across + (rowSize - child.size.cx) / 2, along}, child.size);
    }
    return child.separator ? Rect::FromOrigin({along, across}, {child.sizeHorz, rowSize})
                           : Rect::FromOrigin({along, across + (rowSize - child.size.cy) / 2}, child.size);
}

// The separator that ends a line takes no room; the next line starts at `y`.
void EndLineAt(BarLayout& layout, std::size_t separator, int y, bool blank) {
    Rect& bounds = *layout.bounds[separator];
    bounds.right = bounds.left;
    layout.lineBreaks.push_back({y, blank});
}

}  // namespace

int MeasureThickness(const std::vector<BarChild>& children, bool vertical) {
    int thickness = 8;
    for (const BarChild& child : children) {
        if (child.visible && !child.separator) thickness = std::max(thickness, vertical ? child.size.cx : child.size.cy);
    }
    return thickness;
}

namespace {

// Places the groups one after another along lines; a floating bar wraps
// a group that does not fit (and a control wider than what is left).
class LinePlacer {
public:
    explicit LinePlacer(const BarPlacement& placement)
        : placement_(placement),
          floating_(!placement.docked),
          vertical_(placement.docked && placement.vertical),
          margins_(floating_ ? Margins{4, 2, 4, 1} : Margins{}),
          rightX_(WrapWidth(placement)),
          thickness_(MeasureThickness(placement.children, vertical_)),
          rowSize_(placement.rowSize.value_or(thickness_)),
          x_(margins_.left),
          y_(margins_.top),
          maxX_(x_) {
        layout_.bounds.resize(placement.children.size());
    }

    BarLayout Place() {
        const std::vector<Group> groups = BuildGroups(placement_.children);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            StartGroup(groups[g], g == 0);
            PlaceMembers(groups[g]);
        }
        if (groups.empty()) maxX_ = x_ + 8;
        const int along = maxX_ + margins_.right;
        const int across = y_ + thickness_ + margins_.bottom;
        layout_.client = vertical_ ? Size{across, along} : Size{along, across};
        return std::move(layout_);
    }

private:
    // A group goes to a new line when it does not fit or its line was
    // broken inside; the separator that ended the previous line takes no room.
    void StartGroup(const Group& group, bool first) {
        const int groupLength = vertical_ ? group.sumHeights : group.sumWidths;
        if (!floating_ || (!childWrapped_ && x_ + groupLength + margins_.right <= rightX_)) {
            maxX_ = std::max(maxX_, x_);
            return;
        }
        childWrapped_ = false;
        x_ = margins_.left;
        if (!first) {
            y_ += thickness_ + 6;
            if (prevSep_) {
                maxX_ = maxXBeforePrevSep_;
                EndLineAt(layout_, *prevSep_, y_, placement_.children[*prevSep_].blank);
            }
        }
        maxX_ = std::max(maxX_, x_);
    }

    void PlaceMembers(const Group& group) {
        int maxXBeforeLast = maxX_;
        for (const std::size_t index : group.members) {
            const BarChild& child = placement_.children[index];
            const int length = LengthAlong(child, vertical_);
            if (floating_ && !child.separator && x_ + length + margins_.right > rightX_) {
                x_ = margins_.left;
                y_ += thickness_;
                childWrapped_ = true;
            }
            layout_.bounds[index] = ChildBounds(child, x_, y_, rowSize_, vertical_);
            x_ += length;
            maxXBeforeLast = maxX_;
            maxX_ = std::max(maxX_, x_);
        }
        const std::size_t last = group.members.back();
        prevSep_ = placement_.children[last].separator ? std::optional(last) : std::nullopt;
        maxXBeforePrevSep_ = maxXBeforeLast;
    }

    const BarPlacement& placement_;
    const bool floating_;
    const bool vertical_;
    const Margins margins_;
    const int rightX_;
    const int thickness_;
    const int rowSize_;
    BarLayout layout_;
    int x_;  // along the line
    int y_;  // across lines
    int maxX_;
    std::optional<std::size_t> prevSep_;
    int maxXBeforePrevSep_ = 0;
    bool childWrapped_ = false;
};

}  // namespace

BarLayout PlaceChildren(const BarPlacement& placement) { return LinePlacer(placement).Place(); }

namespace {

int Along(Size size, SizingEdge edge) {
    return edge == SizingEdge::Top || edge == SizingEdge::Bottom ? size.cy : size.cx;
}

Size Plus(Size a, Size b) { return {a.cx + b.cx, a.cy + b.cy}; }

}  // namespace

std::vector<Size> BuildSizeList(const MeasureFloating& measure, Size frame, int thickness) {
    const Size oneLine = measure(0);
    std::vector<Size> sizes{Plus(oneLine, frame)};
    int lastHeight = oneLine.cy;
    int skip = INT_MAX;
    for (int w = oneLine.cx - 1; w >= thickness + 8; --w) {
        if (skip < w) continue;
        const Size size = measure(w);
        if (size.cx != w) {
            // Every width down to the one this layout really takes gives it again.
            skip = size.cx;
            continue;
        }
        if (size.cy == lastHeight && !sizes.empty()) sizes.pop_back();
        const Size outer = Plus(size, frame);
        if (std::find(sizes.begin(), sizes.end(), outer) == sizes.end()) sizes.push_back(outer);
        lastHeight = size.cy;
    }
    return sizes;
}

void SortSizeList(std::vector<Size>& sizes, SizingEdge edge) {
    std::stable_sort(sizes.begin(), sizes.end(), [edge](Size a, Size b) { return Along(a, edge) > Along(b, edge); });
}

int DeadZone(const std::vector<Size>& sorted, SizingEdge edge, Size current) {
    const int now = Along(current, edge);
    int zone = 12;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (Along(sorted[i], edge) != now) continue;
        if (i > 0) zone = std::min(zone, Along(sorted[i - 1], edge) - now - 1);
        if (i + 1 < sorted.size()) zone = std::min(zone, now - Along(sorted[i + 1], edge) - 1);
        break;
    }
    return std::max(zone, 0);
}

FloatingResize::FloatingResize(const MeasureFloating& measure, Size frame, int thickness, SizingEdge edge,
                               Size current, int floatRightX)
    : edge_(edge), frame_(frame), sizes_(BuildSizeList(measure, frame, thickness)), chosenFloatRightX_(floatRightX) {
    SortSizeList(sizes_, edge_);
    deadZone_ = DeadZone(sizes_, edge_, current);
}

Rect FloatingResize::Moved(Point cursor, const Rect& window, const Rect& start) {
    const int current = ByHeight() ? window.Height() : window.Width();
    int reach = 0;  // where the cursor puts the moving edge, from the fixed one
    switch (edge_) {
        case SizingEdge::Right: reach = cursor.x - window.left; break;
        case SizingEdge::Left: reach = window.right - cursor.x; break;
        case SizingEdge::Bottom: reach = cursor.y - window.top; break;
        case SizingEdge::Top: reach = window.bottom - cursor.y; break;
    }
    const bool shrinking = reach < current;
    if (!changed_ || shrinking != lastShrinking_) {
        changed_ = false;
        lastShrinking_ = shrinking;
        if (reach >= current - deadZone_ && reach < current + deadZone_) reach = current;
    }
    const bool growing = reach > current;
    const auto along = [this](Size size) { return Along(size, edge_); };
    // Growing: the smallest size beyond the cursor (the largest if none is);
    // otherwise the largest size within it (the smallest if none is).
    std::size_t chosen = 0;
    if (growing) {
        for (std::size_t i = 0; i < sizes_.size(); ++i) {
            if (i == 0 || along(sizes_[i]) > reach) chosen = i;
        }
    } else {
        chosen = sizes_.size() - 1;
        for (std::size_t i = sizes_.size(); i-- > 0;) {
            if (i == sizes_.size() - 1 || along(sizes_[i]) <= reach) chosen = i;
        }
    }
    const Size size = sizes_[chosen];
    const bool oneLine = ByHeight() ? size.cy == sizes_.back().cy : size.cx == sizes_.front().cx;
    chosenFloatRightX_ = oneLine ? 0 : size.cx - frame_.cx;

    Rect rect = start;
    switch (edge_) {
        case SizingEdge::Right: rect.right = rect.left + size.cx; rect.bottom = rect.top + size.cy; break;
        case SizingEdge::Left: rect.left = rect.right - size.cx; rect.bottom = rect.top + size.cy; break;
        case SizingEdge::Bottom: rect.bottom = rect.top + size.cy; rect.right = rect.left + size.cx; break;
        case SizingEdge::Top: rect.top = rect.bottom - size.cy; rect.right = rect.left + size.cx; break;
    }
    changed_ = rect != start;
    return rect;
}

}  // namespace sorv::toolbar
