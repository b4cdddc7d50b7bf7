// Dragging and resizing geometry: the outline, the docks that accept a bar,
// where a drop lands, keeping a window on screen, resizing by the frame.
#include <gtest/gtest.h>

#include "drag_geometry.h"

namespace sorv::dock {
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
}  // namespace sorv::dock
