#pragma once
// The work areas of the screens attached to the desktop, for keeping drags
// and floating windows on the screen that holds them.
#include <vector>

#include "geometry.h"
#include "monitor_choice.h"

namespace sorv {

std::vector<dock::MonitorArea> MonitorAreas();
// The work area of the screen holding the point (else the nearest one).
Rect WorkAreaAt(Point point);
// The work area of the screen holding most of the window (else the nearest).
Rect WorkAreaFor(const Rect& window);

}  // namespace sorv
