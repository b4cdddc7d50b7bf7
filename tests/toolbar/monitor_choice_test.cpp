// The work area a drag or a floating window is kept in, with several screens.
#include <gtest/gtest.h>

#include "monitor_choice.h"

namespace sorv::dock {
namespace {

const Rect kFallback{0, 0, 640, 480};

// A task bar 40 pixels high along the bottom of each screen.
MonitorArea Screen(int left, int top, int width, int height) {
    const Rect monitor = Rect::FromOrigin({left, top}, {width, height});
    return {monitor, {monitor.left, monitor.top, monitor.right, monitor.bottom - 40}};
}

TEST(MonitorChoice, ThePointsScreenElseTheNearest) {
    const std::vector<MonitorArea> sideBySide{Screen(0, 0, 1920, 1080), Screen(1920, 0, 1920, 1080)};
    const std::vector<MonitorArea> stacked{Screen(0, 0, 1280, 1024), Screen(0, 1024, 1280, 1024)};
    // The middle screen higher than the others: gaps above and below its neighbours.
    const std::vector<MonitorArea> three{Screen(-1280, 200, 1280, 1024), Screen(0, 0, 1920, 1200),
                                         Screen(1920, 200, 1280, 1024)};
    struct Case {
        const std::vector<MonitorArea>* monitors;
        Point point;
        std::size_t expected;
    } cases[] = {
        {&sideBySide, {100, 100}, 0},   {&sideBySide, {1920, 100}, 1}, {&sideBySide, {1919, 1079}, 0},
        {&sideBySide, {5000, 500}, 1},  {&sideBySide, {-30, 500}, 0},
        {&stacked, {600, 1023}, 0},     {&stacked, {600, 1024}, 1},    {&stacked, {600, 4000}, 1},
        {&three, {-10, 300}, 0},        {&three, {10, 300}, 1},        {&three, {2000, 300}, 2},
        {&three, {-100, 180}, 0},       // above the left screen: nearer to it than to the middle one
        {&three, {2100, 1300}, 2},      // below the right screen's bottom edge
        {&three, {1800, 1300}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WorkAreaAt(*c.monitors, c.point, kFallback), (*c.monitors)[c.expected].workArea)
            << c.point.x << "," << c.point.y;
}

TEST(MonitorChoice, TheScreenHoldingMostOfTheWindowElseTheNearest) {
    const std::vector<MonitorArea> sideBySide{Screen(0, 0, 1920, 1080), Screen(1920, 0, 1920, 1080)};
    const std::vector<MonitorArea> stacked{Screen(0, 0, 1280, 1024), Screen(0, 1024, 1280, 1024)};
    struct Case {
        const std::vector<MonitorArea>* monitors;
        Rect window;
        std::size_t expected;
    } cases[] = {
        {&sideBySide, {1800, 100, 2000, 150}, 0},  // 120 pixels on the first, 80 on the second
        {&sideBySide, {1880, 100, 2000, 150}, 1},
        {&sideBySide, {1850, 100, 1950, 150}, 0},
        {&sideBySide, {4000, 100, 4100, 150}, 1},  // off every screen: the nearest
        {&stacked, {100, 1000, 300, 1100}, 1},
        {&stacked, {100, -300, 300, -200}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WorkAreaFor(*c.monitors, c.window, kFallback), (*c.monitors)[c.expected].workArea)
            << c.window.left << "," << c.window.top;
}

TEST(MonitorChoice, OneScreenOrNone) {
    const std::vector<MonitorArea> one{Screen(0, 0, 1024, 768)};
    EXPECT_EQ(WorkAreaAt(one, {-500, 9000}, kFallback), one[0].workArea);
    EXPECT_EQ(WorkAreaFor(one, {3000, 3000, 3100, 3100}, kFallback), one[0].workArea);
    EXPECT_EQ(WorkAreaAt({}, {10, 10}, kFallback), kFallback);
    EXPECT_EQ(WorkAreaFor({}, {10, 10, 20, 20}, kFallback), kFallback);
}

}  // namespace
}  // namespace sorv::dock
