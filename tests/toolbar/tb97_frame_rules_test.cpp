// The tool window's frames: metrics, hit testing, the drag handle's strips
// and the floating caption's text.
// Dragging and resizing geometry: the outline, the docks that accept a bar,
// where a drop lands, keeping a window on screen, resizing by the frame.
// The work area a drag or a floating window is kept in, with several screens.
#include <gtest/gtest.h>

#include "tb97_frame_rules.h"

namespace sorv::toolbar {
namespace {

TEST(FrameMetrics, DockedAndFloatingFrames) {
    struct Case {
        DockKind kind;
        bool allowDrag;
        TDragHandleStyle style;
        Insets expected;
    } cases[] = {
        {DockKind::dkHorizontal, true, TDragHandleStyle::dhDouble, {11, 2, 2, 2}},
        {DockKind::dkHorizontal, true, TDragHandleStyle::dhSingle, {8, 2, 2, 2}},
        {DockKind::dkHorizontal, true, TDragHandleStyle::dhNone, {2, 2, 2, 2}},
        {DockKind::dkHorizontal, false, TDragHandleStyle::dhDouble, {2, 2, 2, 2}},
        {DockKind::dkVertical, true, TDragHandleStyle::dhDouble, {2, 11, 2, 2}},
        {DockKind::dkVertical, true, TDragHandleStyle::dhSingle, {2, 8, 2, 2}},
    };
    for (const Case& c : cases) EXPECT_EQ(DockedFrame(c.kind, c.allowDrag, c.style), c.expected);
    EXPECT_EQ(CaptionHeight(4, 15, 19), 15);
    EXPECT_EQ(CaptionHeight(3, 15, 19), 18);
    EXPECT_EQ(FloatingFrame({4, 3}, 15), (Insets{4, 18, 4, 3}));
    EXPECT_EQ(FloatingCaptionRect({4, 4}, 92, 16, true), (Rect{4, 4, 81, 19}));
    EXPECT_EQ(FloatingCaptionRect({4, 4}, 92, 16, false), (Rect{4, 4, 96, 19}));
    EXPECT_EQ(CloseButtonRect({4, 4}, 92, 16), (Rect{81, 4, 96, 19}));
}

TEST(FrameHitTest, FloatingFrameEdgesCaptionAndCloseButton) {
    // 100 x 50 window: client (4, 20)-(96, 46), caption (4, 4)-(96, 19), close (81, 4)-(96, 19).
    FloatingHitTest frame{{100, 50}, {4, 4}, 16, true, true, false};
    struct Case {
        Point point;
        FrameHit fourWay;
        FrameHit eightWay;
    } cases[] = {
        {{50, 30}, FrameHit::Client, FrameHit::Client},
        {{10, 10}, FrameHit::Client, FrameHit::Client},  // the caption drags
        {{85, 10}, FrameHit::Close, FrameHit::Close},
        {{50, 19}, FrameHit::Nowhere, FrameHit::Nowhere},  // the line below the caption
        {{50, 1}, FrameHit::Top, FrameHit::Top},
        {{50, 47}, FrameHit::Bottom, FrameHit::Bottom},
        {{1, 30}, FrameHit::Left, FrameHit::Left},
        {{97, 30}, FrameHit::Right, FrameHit::Right},
        {{96, 30}, FrameHit::Right, FrameHit::Right},  // the right band is one pixel wider
        {{1, 1}, FrameHit::Top, FrameHit::TopLeft},
        {{1, 18}, FrameHit::Left, FrameHit::TopLeft},  // corners reach 15 + 4 pixels along the edge
        {{1, 19}, FrameHit::Left, FrameHit::Left},
        {{1, 31}, FrameHit::Left, FrameHit::BottomLeft},
        {{98, 48}, FrameHit::Bottom, FrameHit::BottomRight},
        {{81, 1}, FrameHit::Top, FrameHit::TopRight},
        {{80, 48}, FrameHit::Bottom, FrameHit::Bottom},
    };
    for (const Case& c : cases) {
        frame.eightWay = false;
        EXPECT_EQ(HitTestFloating(frame, c.point), c.fourWay) << c.point.x << "," << c.point.y;
        frame.eightWay = true;
        EXPECT_EQ(HitTestFloating(frame, c.point), c.eightWay) << c.point.x << "," << c.point.y << " eight-way";
    }
    frame.eightWay = false;
    frame.closeButton = false;
    EXPECT_EQ(HitTestFloating(frame, {85, 10}), FrameHit::Client);
    frame.resizable = false;
    EXPECT_EQ(HitTestFloating(frame, {50, 1}), FrameHit::Nowhere);
    EXPECT_EQ(HitTestFloating(frame, {50, 30}), FrameHit::Client);
}

TEST(FrameDragHandle, StripsOfEachStyleAndDockKind) {
    using K = HandlePart::Kind;
    const auto parts = DragHandleParts(DockKind::dkHorizontal, TDragHandleStyle::dhDouble, {200, 38});
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].kind, K::Background);
    EXPECT_EQ(parts[0].rect, (Rect{2, 2, 4, 40}));
    EXPECT_EQ(parts[1].kind, K::Grip);
    EXPECT_EQ(parts[1].rect, (Rect{4, 2, 7, 40}));
    EXPECT_EQ(parts[1].endPixel, (Point{4, 39}));
    EXPECT_EQ(parts[2].rect, (Rect{7, 2, 10, 40}));
    EXPECT_EQ(parts[3].rect, (Rect{10, 2, 11, 40}));  // ends where the client area starts (2 + 9)

    const auto single = DragHandleParts(DockKind::dkVertical, TDragHandleStyle::dhSingle, {38, 200});
    ASSERT_EQ(single.size(), 3u);
    EXPECT_EQ(single[1].kind, K::Grip);
    EXPECT_EQ(single[1].rect, (Rect{2, 4, 40, 7}));
    EXPECT_EQ(single[1].endPixel, (Point{39, 4}));
    EXPECT_EQ(single[2].rect, (Rect{2, 7, 40, 8}));  // client from 2 + 6

    EXPECT_TRUE(DragHandleParts(DockKind::dkHorizontal, TDragHandleStyle::dhNone, {200, 38}).empty());
}

TEST(FrameCaption, ATextTooWideIsCutBeforeThreeDots) {
    const auto sixEach = [](std::string_view text) {
        int characters = 0;
        for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return characters * 6;
    };
    struct Case {
        const char* text;
        int width;
        const char* expected;
    } cases[] = {
        {"Barre d'ic\u00f4nes", 84, "Barre d'ic\u00f4nes"},  // 14 characters fit exactly
        {"Barre d'ic\u00f4nes", 83, "Barre d'ic..."},
        {"Barre d'ic\u00f4nes", 63, "Barre d..."},
        {"Barre d'ic\u00f4nes", 5, "B..."},  // never shorter than 4 characters
        {"Outils", 0, "O..."},
        {"\u00e9t\u00e9s", 20, "\u00e9..."},  // whole characters go
        {"", 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FitCaption(c.text, c.width, sixEach), c.expected) << c.text << " " << c.width;
}

}  // namespace

namespace {

TEST(DragOutline, RoundsLikeTheSystemAndNeverDividesByZero) {
    struct Case {
        int a, b, c, expected;
    } cases[] = {{5, 1, 2, 3}, {-5, 1, 2, -3}, {7, 3, 2, 11}, {1, 1, 3, 0}, {2, 1, 3, 1},
                 {4, -1, -2, 2}, {100000, 100000, 100000, 100000}, {3, 3, 0, -1}};
    for (const Case& c : cases) EXPECT_EQ(MulDivRound(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    EXPECT_EQ(DragExtent({50, 20}), (Size{49, 19}));
    EXPECT_EQ(DragExtent({1, 1}), (Size{1, 1}));
    EXPECT_EQ(DragExtent({0, 0}), (Size{1, 1}));
}

TEST(DragOutline, KeepsTheCursorWhereTheBarWasGrabbedWhateverTheOutlineSize) {
    const Size extent = DragExtent({101, 51});  // 100 x 50
    struct Case {
        Point grab;
        Size size;
        Rect expected;
    } cases[] = {
        {{0, 0}, {101, 51}, {500, 300, 601, 351}},          // grabbed at the top-left corner
        {{100, 50}, {101, 51}, {400, 250, 501, 301}},       // at the bottom-right pixel
        {{50, 25}, {201, 11}, {400, 295, 601, 306}},        // the middle stays the middle
        {{25, 10}, {41, 21}, {490, 296, 531, 317}},         // a quarter across, a fifth down
    };
    for (const Case& c : cases) EXPECT_EQ(DragOutline({500, 300}, c.size, c.grab, extent), c.expected);
    // A bar 1 pixel wide: its extent is 1, the outline still follows.
    EXPECT_EQ(DragOutline({10, 10}, {1, 30}, {0, 5}, DragExtent({1, 30})), (Rect{10, 5, 11, 35}));
}

TEST(DragOutline, ADockAcceptsTheBarWhenTheCursorIsCloseEnough) {
    const Point grab{0, 0};
    const Size extent{99, 41};
    const DropCandidate top{{100, 100, 404, 142}, TDockPosition::dpTop, {304, 46}};
    struct Case {
        Point cursor;
        bool accepted;
    } cases[] = {
        {{200, 120}, true},  {{68, 120}, true},  {{67, 120}, false},  // 32 pixels to the left when grabbed left
        {{403, 120}, true},  {{404, 120}, false},                     // nothing to the right
        {{200, 80}, true},   {{200, 79}, false},                      // 20 pixels above
        {{200, 141}, true},  {{200, 142}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CanDropOn(top, c.cursor, grab, extent), c.accepted) << c.cursor.x << "," << c.cursor.y;
    // Grabbed at the bottom-right: the zone reaches right and below instead.
    EXPECT_TRUE(CanDropOn(top, {435, 161}, {99, 41}, extent));
    EXPECT_FALSE(CanDropOn(top, {436, 120}, {99, 41}, extent));

    // An empty bottom dock, 0 pixels high, still counts as 2 pixels.
    const DropCandidate empty{{0, 238, 304, 238}, TDockPosition::dpBottom, {304, 46}};
    EXPECT_TRUE(CanDropOn(empty, {150, 238}, {50, 20}, extent));
    EXPECT_TRUE(CanDropOn(empty, {150, 230}, {50, 20}, extent));
    EXPECT_FALSE(CanDropOn(empty, {150, 200}, {50, 20}, extent));

    // A side dock takes the cursor only alongside itself.
    const DropCandidate left{{0, 50, 0, 250}, TDockPosition::dpLeft, {46, 100}};
    EXPECT_TRUE(CanDropOn(left, {0, 100}, grab, extent));
    EXPECT_FALSE(CanDropOn(left, {0, 49}, grab, extent));
    EXPECT_FALSE(CanDropOn(left, {0, 250}, grab, extent));
}

TEST(DragOutline, AFloatingOutlineStaysNearTheWorkAreaWithItsCaptionReachable) {
    const Rect work{0, 0, 800, 600};
    const Size border{4, 4};
    struct Case {
        Rect outline;
        Rect expected;
    } cases[] = {
        {{100, 100, 200, 150}, {100, 100, 200, 150}},      // inside: unchanged
        {{100, -300, 200, -200}, {100, -16, 200, 84}},     // above: 4 pixels of caption stay
        {{100, -50, 200, 50}, {100, -16, 200, 84}},
        {{100, 700, 200, 800}, {100, 592, 200, 692}},      // below: its top on the inner edge
        {{-300, 100, -200, 200}, {-92, 100, 8, 200}},      // left: its right edge on the inner edge
        {{900, 100, 1000, 200}, {792, 100, 892, 200}},
    };
    for (const Case& c : cases) EXPECT_EQ(ClampFloatingOutline(c.outline, work, border, 16), c.expected);
    EXPECT_EQ(ClampInto({-5, 700}, work), (Point{0, 599}));
    EXPECT_EQ(ClampInto({300, 200}, work), (Point{300, 200}));
}

TEST(DragDrop, TheOutlinesMiddleChoosesTheRow) {
    const std::vector<int> rows{38, 38};  // rows 0..41 and 42..83
    struct Case {
        Rect outline;
        TDockPosition position;
        bool fullSize;
        std::vector<int> others;
        DropPlacement expected;
    } cases[] = {
        {{30, 0, 130, 46}, TDockPosition::dpTop, false, {0, 1}, {0, 30, {}}},       // middle 23: row 0
        {{30, 20, 130, 66}, TDockPosition::dpTop, false, {0, 1}, {1, 30, 1}},       // middle 43: between rows
        {{-4, -20, 96, 26}, TDockPosition::dpTop, false, {0, 1}, {0, -4, 0}},       // above row 0
        {{0, 0, 300, 46}, TDockPosition::dpTop, true, {0, 1}, {1, 0, 1}},           // full size: a row after
        {{0, 0, 300, 46}, TDockPosition::dpTop, true, {1}, {0, 0, {}}},             // row 0 holds no other bar
        {{0, 40, 300, 86}, TDockPosition::dpTop, false, {0, 1}, {1, 0, {}}},         // middle 63: inside row 1
        {{20, 70, 66, 170}, TDockPosition::dpLeft, false, {0, 1}, {1, 70, 1}},      // across = x: middle 43
    };
    for (const Case& c : cases) {
        const DropPlacement placed = PlaceDrop(c.outline, c.position, rows, 1, c.fullSize, c.others);
        EXPECT_EQ(placed.dockRow, c.expected.dockRow) << c.outline.top;
        EXPECT_EQ(placed.dockPos, c.expected.dockPos) << c.outline.top;
        EXPECT_EQ(placed.insertRowAt, c.expected.insertRowAt) << c.outline.top;
    }
}

TEST(DragDrop, KeepOnScreenMovesAWindowBackOntoTheWorkArea) {
    const Rect work{0, 0, 800, 560};
    struct Case {
        Rect bounds;
        bool onlyWhenFullyOff;
        Rect expected;
    } cases[] = {
        {{790, 100, 890, 150}, false, {700, 100, 800, 150}},
        {{790, 100, 890, 150}, true, {790, 100, 890, 150}},   // a part still shows
        {{900, 600, 1000, 650}, true, {700, 510, 800, 560}},
        {{-50, -20, 50, 30}, false, {0, 0, 100, 50}},
        {{-10, 0, 900, 50}, false, {0, 0, 910, 50}},           // wider than the screen: the left edge wins
    };
    for (const Case& c : cases) EXPECT_EQ(KeepOnScreen(c.bounds, work, c.onlyWhenFullyOff), c.expected);
}

TEST(DragResize, TheDraggedSidesFollowTheCursorDownToTheMinimum) {
    struct SidesCase {
        FrameHit hit;
        ResizeSides sides;
    } sides[] = {
        {FrameHit::Left, {true, false, false, false}},      {FrameHit::Right, {false, true, false, false}},
        {FrameHit::Top, {false, false, true, false}},       {FrameHit::Bottom, {false, false, false, true}},
        {FrameHit::TopLeft, {true, false, true, false}},    {FrameHit::TopRight, {false, true, true, false}},
        {FrameHit::BottomLeft, {true, false, false, true}}, {FrameHit::BottomRight, {false, true, false, true}},
        {FrameHit::Client, {}},
    };
    for (const SidesCase& c : sides) EXPECT_EQ(SidesFor(c.hit), c.sides) << static_cast<int>(c.hit);

    const Rect start{100, 100, 300, 200};
    const Size minimum{50, 40};
    struct Case {
        FrameHit hit;
        Point travel;
        Rect expected;
    } cases[] = {
        {FrameHit::Right, {30, 99}, {100, 100, 330, 200}},
        {FrameHit::Right, {-190, 0}, {100, 100, 150, 200}},
        {FrameHit::Left, {190, 0}, {250, 100, 300, 200}},
        {FrameHit::TopLeft, {-10, 90}, {90, 160, 300, 200}},
        {FrameHit::Bottom, {5, -20}, {100, 100, 300, 180}},
    };
    for (const Case& c : cases) EXPECT_EQ(ResizedRect(start, SidesFor(c.hit), c.travel, minimum), c.expected);
}

}  // namespace

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

}  // namespace sorv::toolbar
