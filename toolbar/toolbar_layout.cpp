#include "toolbar_layout.h"

#include <algorithm>
#include <climits>

namespace sorv::tb97 {
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

}  // namespace

int MeasureThickness(const std::vector<BarChild>& children, bool vertical) {
    int thickness = 8;
    for (const BarChild& child : children) {
        if (child.visible && !child.separator) thickness = std::max(thickness, vertical ? child.size.cx : child.size.cy);
    }
    return thickness;
}

BarLayout PlaceChildren(const BarPlacement& placement) {
    const bool floating = !placement.docked;
    const bool vertical = placement.docked && placement.vertical;
    const Margins margins = floating ? Margins{4, 2, 4, 1} : Margins{};
    const int rightX = WrapWidth(placement);
    const int thickness = MeasureThickness(placement.children, vertical);
    const int rowSize = placement.rowSize.value_or(thickness);

    BarLayout layout;
    layout.bounds.resize(placement.children.size());
    const std::vector<Group> groups = BuildGroups(placement.children);

    int y = margins.top;  // across lines
    int x = margins.left; // along the line
    int maxX = x;
    std::optional<std::size_t> prevSep;
    int maxXBeforePrevSep = 0;
    bool childWrapped = false;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const Group& group = groups[g];
        const int groupLength = vertical ? group.sumHeights : group.sumWidths;
        if (floating && (childWrapped || x + groupLength + margins.right > rightX)) {
            childWrapped = false;
            x = margins.left;
            if (g > 0) {
                y += thickness + 6;
                if (prevSep) {
                    // The separator that ends the line takes no room.
                    maxX = maxXBeforePrevSep;
                    Rect& sep = *layout.bounds[*prevSep];
                    sep.right = sep.left;
                    layout.lineBreaks.push_back({y, placement.children[*prevSep].blank});
                }
            }
        }
        maxX = std::max(maxX, x);
        int maxXBeforeLast = maxX;
        for (const std::size_t index : group.members) {
            const BarChild& child = placement.children[index];
            const int length = LengthAlong(child, vertical);
            if (floating && !child.separator && x + length + margins.right > rightX) {
                x = margins.left;
                y += thickness;
                childWrapped = true;
            }
            Rect bounds;
            if (vertical) {
                bounds = child.separator ? Rect::FromOrigin({y, x}, {rowSize, child.sizeVert})
                                         : Rect::FromOrigin({y + (rowSize - child.size.cx) / 2, x}, child.size);
            } else {
                bounds = child.separator ? Rect::FromOrigin({x, y}, {child.sizeHorz, rowSize})
                                         : Rect::FromOrigin({x, y + (rowSize - child.size.cy) / 2}, child.size);
            }
            layout.bounds[index] = bounds;
            x += length;
            maxXBeforeLast = maxX;
            maxX = std::max(maxX, x);
        }
        const std::size_t last = group.members.back();
        prevSep = placement.children[last].separator ? std::optional(last) : std::nullopt;
        maxXBeforePrevSep = maxXBeforeLast;
    }
    if (groups.empty()) maxX = x + 8;

    const int along = maxX + margins.right;
    const int across = y + thickness + margins.bottom;
    layout.client = vertical ? Size{across, along} : Size{along, across};
    return layout;
}

}  // namespace sorv::tb97
