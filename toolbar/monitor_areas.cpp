#include "monitor_areas.h"

#include <windows.h>

#include "win_geometry.h"

namespace sorv {
namespace {

// The whole primary screen, when the monitors cannot be read.
Rect WholeScreen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

std::vector<dock::MonitorArea> MonitorAreas() {
    std::vector<dock::MonitorArea> areas;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM param) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info))
                reinterpret_cast<std::vector<dock::MonitorArea>*>(param)->push_back(
                    {FromRECT(info.rcMonitor), FromRECT(info.rcWork)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
    return areas;
}

Rect WorkAreaAt(Point point) { return dock::WorkAreaAt(MonitorAreas(), point, WholeScreen()); }

Rect WorkAreaFor(const Rect& window) { return dock::WorkAreaFor(MonitorAreas(), window, WholeScreen()); }

}  // namespace sorv
