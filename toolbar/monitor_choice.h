#pragma once
// Which screen's work area a drag or a floating window is kept in, on a
// desktop of one or more monitors.
#include <vector>

#include "geometry.h"

namespace sorv::dock {

struct MonitorArea {
    Rect monitor;
    Rect workArea;
};

// The work area of the monitor holding the point, else of the nearest one;
// `fallback` when there is no monitor at all.
Rect WorkAreaAt(const std::vector<MonitorArea>& monitors, Point point, const Rect& fallback);
// The work area of the monitor holding most of the window, else of the
// nearest one.
Rect WorkAreaFor(const std::vector<MonitorArea>& monitors, const Rect& window, const Rect& fallback);

}  // namespace sorv::dock
