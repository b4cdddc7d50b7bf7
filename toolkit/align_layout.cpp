#include "align_layout.h"

#include <algorithm>

namespace sorv::tk {
namespace {

// Position used to order the items of one edge: nearest the edge first.
int EdgeOrder(Align align, const Rect& r) {
    switch (align) {
        case Align::Top: return r.top;
        case Align::Bottom: return -r.bottom;
        case Align::Left: return r.left;
        case Align::Right: return -r.right;
        default: return 0;
    }
}

}  // namespace

std::vector<Rect> LayoutAligned(Rect client, const std::vector<AlignItem>& items) {
    std::vector<Rect> result;
    result.reserve(items.size());
    for (const auto& item : items) result.push_back(item.bounds);

    for (Align edge : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].align == edge) order.push_back(i);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return EdgeOrder(edge, items[a].bounds) < EdgeOrder(edge, items[b].bounds);
        });
        for (std::size_t i : order) {
            const int width = items[i].bounds.Width();
            const int height = items[i].bounds.Height();
            Rect& r = result[i];
            switch (edge) {
                case Align::Top:
                    r = {client.left, client.top, client.right, client.top + height};
                    client.top += height;
                    break;
                case Align::Bottom:
                    r = {client.left, client.bottom - height, client.right, client.bottom};
                    client.bottom -= height;
                    break;
                case Align::Left:
                    r = {client.left, client.top, client.left + width, client.bottom};
                    client.left += width;
                    break;
                case Align::Right:
                    r = {client.right - width, client.top, client.right, client.bottom};
                    client.right -= width;
                    break;
                default:
                    r = {client.left, client.top, std::max(client.left, client.right),
                         std::max(client.top, client.bottom)};
                    break;
            }
        }
    }
    return result;
}

}  // namespace sorv::tk
