#include "monitor_choice.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace sorv::dock {
namespace {

std::int64_t Area(const Rect& r) { return r.IsEmpty() ? 0 : static_cast<std::int64_t>(r.Width()) * r.Height(); }

// The squared distance between two rectangles that do not meet (0 when they do).
std::int64_t Distance(const Rect& a, const Rect& b) {
    const std::int64_t dx = std::max({0, a.left - b.right, b.left - a.right});
    const std::int64_t dy = std::max({0, a.top - b.bottom, b.top - a.bottom});
    return dx * dx + dy * dy;
}

const MonitorArea* Nearest(const std::vector<MonitorArea>& monitors, const Rect& window) {
    const MonitorArea* nearest = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const MonitorArea& m : monitors) {
        const std::int64_t d = Distance(m.monitor, window);
        if (d < best) {
            best = d;
            nearest = &m;
        }
    }
    return nearest;
}

}  // namespace

Rect WorkAreaAt(const std::vector<MonitorArea>& monitors, Point point, const Rect& fallback) {
    for (const MonitorArea& m : monitors)
        if (m.monitor.Contains(point)) return m.workArea;
    const MonitorArea* nearest = Nearest(monitors, Rect::FromOrigin(point, {1, 1}));
    return nearest ? nearest->workArea : fallback;
}

Rect WorkAreaFor(const std::vector<MonitorArea>& monitors, const Rect& window, const Rect& fallback) {
    const MonitorArea* most = nullptr;
    std::int64_t best = 0;
    for (const MonitorArea& m : monitors) {
        const std::int64_t shared = Area(Intersect(m.monitor, window));
        if (shared > best) {
            best = shared;
            most = &m;
        }
    }
    if (!most) most = Nearest(monitors, window);
    return most ? most->workArea : fallback;
}

}  // namespace sorv::dock
