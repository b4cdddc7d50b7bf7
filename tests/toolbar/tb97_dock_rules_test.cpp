// The dock's layout of its bars in rows, and the rows a coordinate falls in.
#include <gtest/gtest.h>

#include <vector>

#include "tb97_dock_rules.h"

namespace sorv::toolbar {
namespace {

LayoutBar Bar(std::size_t id, int row, int pos, int width, int height = 42, bool fullSize = false) {
    LayoutBar bar;
    bar.id = id;
    bar.dockRow = row;
    bar.dockPos = pos;
    bar.size = {width, height};
    bar.thickness = height - kRowFrame;
    bar.fullSize = fullSize;
    return bar;
}

DockGeometry TopDock(int width, int height = 42) {
    DockGeometry dock;
    dock.bounds = {0, 0, width, height};
    dock.clientSize = {width, height};
    return dock;
}

// id, row, position and placed rectangle of each bar, in list order.
struct Placed {
    std::size_t id;
    int row;
    int pos;
    Rect placed;
    friend bool operator==(const Placed&, const Placed&) = default;
};

std::vector<Placed> PlacedOf(const DockLayout& layout) {
    std::vector<Placed> placed;
    for (const LayoutBar& bar : layout.bars) placed.push_back({bar.id, bar.dockRow, bar.dockPos, bar.placed});
    return placed;
}

void PrintTo(const Placed& p, std::ostream* os) {
    *os << "{id " << p.id << " row " << p.row << " pos " << p.pos << " [" << p.placed.left << "," << p.placed.top
        << "," << p.placed.right << "," << p.placed.bottom << "]}";
}

TEST(DockLayout, AnEmptyDockIsZeroThickAndKeepsTheEdgeItIsAlignedTo) {
    struct Case {
        TDockPosition position;
        bool fixAlign;
        Rect bounds;
        Rect expected;
    } cases[] = {
        {TDockPosition::dpTop, false, {0, 0, 304, 42}, {0, 0, 304, 0}},
        {TDockPosition::dpTop, true, {0, 0, 304, 42}, {0, 0, 304, 1}},
        {TDockPosition::dpBottom, false, {0, 196, 304, 238}, {0, 238, 304, 238}},
        {TDockPosition::dpBottom, true, {0, 229, 304, 238}, {0, 237, 304, 238}},
        {TDockPosition::dpLeft, false, {0, 0, 30, 200}, {0, 0, 0, 200}},
        {TDockPosition::dpRight, true, {270, 0, 304, 200}, {303, 0, 304, 200}},
    };
    for (const Case& c : cases) {
        DockGeometry dock;
        dock.position = c.position;
        dock.bounds = c.bounds;
        dock.clientSize = c.bounds.Extent();
        dock.fixAlign = c.fixAlign;
        EXPECT_EQ(LayoutBars({}, dock).dockBounds, c.expected) << static_cast<int>(c.position) << " " << c.fixAlign;
    }
}

TEST(DockLayout, ARowOf38PixelButtonsIs42ThickAndTwoRowsAre84) {
    const DockLayout one = LayoutBars({Bar(0, 0, 0, 100)}, TopDock(304, 9));
    EXPECT_EQ(one.rowThickness, std::vector<int>{38});
    EXPECT_EQ(one.dockBounds, (Rect{0, 0, 304, 42}));
    EXPECT_EQ(one.bars[0].placed, (Rect{0, 0, 100, 42}));

    const DockLayout two = LayoutBars({Bar(0, 0, 0, 100), Bar(1, 1, 0, 100)}, TopDock(304));
    EXPECT_EQ(two.dockBounds, (Rect{0, 0, 304, 84}));
    EXPECT_EQ(two.bars[1].placed, (Rect{0, 42, 100, 84}));
}

TEST(DockLayout, ARowIsAsThickAsItsThickestBarAndNeverUnder8) {
    DockLayout layout = LayoutBars({Bar(0, 0, 0, 50, 20), Bar(1, 0, 60, 50, 30), Bar(2, 1, 0, 40, 6)}, TopDock(304));
    EXPECT_EQ(layout.rowThickness, (std::vector<int>{26, 8}));
    EXPECT_EQ(layout.bars[0].placed, (Rect{0, 0, 50, 30}));  // every bar takes its row's thickness
    EXPECT_EQ(layout.bars[2].placed, (Rect{0, 30, 40, 42}));
    EXPECT_EQ(layout.dockBounds.Height(), 42);
}

TEST(DockLayout, BarsAreSortedByRowThenPositionAndPushedApart) {
    // Docked by a double click: position -8 comes before every bar of row 0.
    const DockLayout front = LayoutBars({Bar(0, 0, 0, 50), Bar(1, 0, 60, 50), Bar(2, 0, -8, 30)}, TopDock(304));
    EXPECT_EQ(PlacedOf(front), (std::vector<Placed>{{2, 0, 0, {0, 0, 30, 42}},
                                                     {0, 0, 30, {30, 0, 80, 42}},
                                                     {1, 0, 80, {80, 0, 130, 42}}}));
    // Overlapping positions end side by side; ties keep the list order.
    const DockLayout overlap = LayoutBars({Bar(0, 1, 20, 50), Bar(1, 0, 10, 50), Bar(2, 0, 10, 40)}, TopDock(304));
    EXPECT_EQ(PlacedOf(overlap), (std::vector<Placed>{{1, 0, 10, {10, 0, 60, 42}},
                                                       {2, 0, 60, {60, 0, 100, 42}},
                                                       {0, 1, 20, {20, 42, 70, 84}}}));
}

TEST(DockLayout, AFullSizeBarHasItsRowToItselfAndSpansTheDock) {
    const DockLayout layout =
        LayoutBars({Bar(0, 0, 0, 50), Bar(1, 0, 100, 264, 42, true), Bar(2, 1, 0, 50)}, TopDock(304));
    EXPECT_EQ(PlacedOf(layout), (std::vector<Placed>{{0, 1, 0, {0, 42, 50, 84}},
                                                      {1, 0, 0, {0, 0, 304, 42}},
                                                      {2, 2, 0, {0, 84, 50, 126}}}));
    EXPECT_EQ(layout.dockBounds.Height(), 126);
}

TEST(DockLayout, LimitToOneRowPutsEveryBarInRowZero) {
    DockGeometry dock = TopDock(304);
    dock.limitToOneRow = true;
    const DockLayout layout = LayoutBars({Bar(0, 0, 0, 50), Bar(1, 3, 0, 50), Bar(2, 1, 0, 50)}, dock);
    EXPECT_EQ(PlacedOf(layout), (std::vector<Placed>{{0, 0, 0, {0, 0, 50, 42}},
                                                      {2, 0, 50, {50, 0, 100, 42}},
                                                      {1, 0, 100, {100, 0, 150, 42}}}));
}

TEST(DockLayout, EmptyRowsAreClosedAllAtOnce) {
    // Row 1 left empty by a departing bar; rows 3 and 4 set empty directly.
    const DockLayout layout = LayoutBars({Bar(0, 0, 0, 50), Bar(1, 2, 0, 50), Bar(2, 5, 0, 50)}, TopDock(304));
    EXPECT_EQ(PlacedOf(layout), (std::vector<Placed>{{0, 0, 0, {0, 0, 50, 42}},
                                                      {1, 1, 0, {0, 42, 50, 84}},
                                                      {2, 2, 0, {0, 84, 50, 126}}}));
    // A row number below zero is laid out as row 0.
    EXPECT_EQ(LayoutBars({Bar(0, -2, 0, 50)}, TopDock(304)).bars[0].dockRow, 0);
}

TEST(DockLayout, ARowLongerThanTheDockIsPulledBackByItsOverflow) {
    const DockLayout layout = LayoutBars({Bar(0, 0, 0, 40), Bar(1, 0, 80, 40)}, TopDock(100));
    EXPECT_EQ(PlacedOf(layout), (std::vector<Placed>{{0, 0, 0, {0, 0, 40, 42}}, {1, 0, 60, {60, 0, 100, 42}}}));
    // Longer than the dock whatever the positions: the first bar stays at 0.
    const DockLayout tooLong = LayoutBars({Bar(0, 0, 0, 80), Bar(1, 0, 0, 80)}, TopDock(100));
    EXPECT_EQ(tooLong.bars[0].placed.left, 0);
    EXPECT_EQ(tooLong.bars[1].placed.left, 80);
}

TEST(DockLayout, AVerticalDockLaysRowsSideBySide) {
    DockGeometry dock;
    dock.position = TDockPosition::dpRight;
    dock.bounds = {280, 0, 304, 200};
    dock.clientSize = {23, 200};  // a bound line on the left
    LayoutBar tall = Bar(0, 0, 10, 42, 60);
    tall.thickness = 38;
    LayoutBar full = Bar(1, 1, 0, 30, 20, true);
    full.thickness = 26;
    const DockLayout layout = LayoutBars({tall, full}, dock);
    EXPECT_EQ(PlacedOf(layout), (std::vector<Placed>{{0, 0, 10, {0, 10, 42, 70}}, {1, 1, 0, {42, 0, 72, 200}}}));
    EXPECT_EQ(layout.dockBounds, (Rect{231, 0, 304, 200}));  // 72 + the bound line, right edge kept
}

TEST(DockRows, MeasuredRowsAndTheRowsACoordinateFallsIn) {
    EXPECT_EQ(MeasureRows({}), std::vector<int>{});
    EXPECT_EQ(MeasureRows({Bar(0, 2, 0, 50)}), (std::vector<int>{8, 8, 38}));
    const std::vector<int> rows{38, 38};
    EXPECT_EQ(RowThicknessOf(rows, 1), 38);
    EXPECT_EQ(RowThicknessOf(rows, 2), 0);
    EXPECT_EQ(RowThicknessOf(rows, 2, 20), 20);

    struct Case {
        int coordinate;
        int rowAt;
        DropRow drop;
    } cases[] = {
        {0, 0, {0, true}},   {5, 0, {0, true}},   {6, 0, {0, false}},  {37, 0, {0, false}},
        {38, 0, {1, true}},  {41, 0, {1, true}},  {42, 1, {1, true}},  {47, 1, {1, true}},
        {48, 1, {1, false}}, {79, 1, {1, false}}, {80, 1, {2, true}},  {89, 2, {2, true}},
        {90, 2, {2, false}}, {500, 2, {2, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowAt(rows, 1, c.coordinate), c.rowAt) << c.coordinate;
        const DropRow drop = DropRowAt(rows, 1, c.coordinate);
        EXPECT_EQ(drop.row, c.drop.row) << c.coordinate;
        EXPECT_EQ(drop.insertBefore, c.drop.insertBefore) << c.coordinate;
    }
    // An empty dock: its edge opens row 0, anything further in joins it.
    EXPECT_TRUE(DropRowAt({}, -1, 3).insertBefore);
    EXPECT_EQ(DropRowAt({}, -1, 30).row, 0);
    EXPECT_FALSE(DropRowAt({}, -1, 30).insertBefore);
}

TEST(DockRows, ResizingToContentKeepsTheAlignedEdge) {
    struct Case {
        TDockPosition position;
        bool isClientSize;
        Rect expected;
    } cases[] = {
        {TDockPosition::dpTop, true, {10, 20, 112, 72}},   {TDockPosition::dpTop, false, {10, 20, 110, 70}},
        {TDockPosition::dpLeft, true, {10, 20, 112, 72}},  {TDockPosition::dpBottom, true, {10, 8, 112, 60}},
        {TDockPosition::dpRight, true, {8, 20, 110, 72}},  {TDockPosition::dpBottom, false, {10, 10, 110, 60}},
    };
    const Rect bounds{10, 20, 110, 60};  // client 98 x 38: 2 pixels of bound lines each way
    for (const Case& c : cases)
        EXPECT_EQ(ResizeToContent(bounds, {98, 38}, c.position, c.isClientSize, {100, 50}), c.expected)
            << static_cast<int>(c.position);
}

}  // namespace

}  // namespace sorv::toolbar
