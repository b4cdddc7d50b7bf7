#include "floating_resize.h"

#include <gtest/gtest.h>

#include "toolbar_layout.h"

namespace sorv::tb97 {
namespace {

constexpr Size kFrame{6, 22};

// Three 20 x 20 buttons: one line 68 wide, two lines 48, three lines 28.
Size MeasureThree(int floatRightX) {
    BarPlacement placement;
    placement.children.assign(3, BarChild{.size = {20, 20}});
    placement.floatRightX = floatRightX;
    return PlaceChildren(placement).client;
}

TEST(FloatingSizeList, OneEntryPerDistinctLayout) {
    int measured = 0;
    const auto counting = [&measured](int w) {
        ++measured;
        return MeasureThree(w);
    };
    const std::vector<Size> sizes = BuildSizeList(counting, kFrame, 20);
    EXPECT_EQ(sizes, (std::vector<Size>{{74, 45}, {54, 65}, {34, 85}}));
    // The widths a layout does not fill exactly are skipped.
    EXPECT_EQ(measured, 5);
}

TEST(FloatingSizeList, NarrowerWidthOfTheSameHeightReplacesTheWider) {
    // One line whose width follows the wrap width exactly from 60 down to 40,
    // then two lines likewise down to the end of the list, at 10 + 8.
    const auto measure = [](int w) { return w == 0 || w >= 60 ? Size{60, 10} : Size{w, w >= 40 ? 10 : 20}; };
    EXPECT_EQ(BuildSizeList(measure, {0, 0}, 10), (std::vector<Size>{{40, 10}, {18, 20}}));
}

TEST(FloatingSizeList, SortedByTheDimensionThatIsDragged) {
    std::vector<Size> sizes{{34, 85}, {74, 45}, {54, 65}};
    SortSizeList(sizes, SizingEdge::Left);
    EXPECT_EQ(sizes, (std::vector<Size>{{74, 45}, {54, 65}, {34, 85}}));
    SortSizeList(sizes, SizingEdge::Bottom);
    EXPECT_EQ(sizes, (std::vector<Size>{{34, 85}, {54, 65}, {74, 45}}));
}

TEST(FloatingSizeList, DeadZoneStopsShortOfTheNeighbours) {
    const std::vector<Size> sizes{{74, 45}, {66, 65}, {60, 85}, {59, 90}};
    struct Case {
        Size current;
        int zone;
    };
    const Case cases[] = {
        {{74, 45}, 7},   // 74 - 66 - 1
        {{66, 65}, 5},   // 66 - 60 - 1 is nearer than 74 - 66 - 1
        {{59, 90}, 0},   // 60 - 59 - 1
        {{100, 45}, 12}, // not in the list
    };
    for (const Case& c : cases) EXPECT_EQ(DeadZone(sizes, SizingEdge::Right, c.current), c.zone) << c.current.cx;
    EXPECT_EQ(DeadZone({{10, 100}, {10, 95}}, SizingEdge::Top, {10, 100}), 4) << "heights for the top edge";
}

class FloatingResizeTest : public testing::Test {
protected:
    FloatingResize Start(SizingEdge edge, Size current) {
        return FloatingResize(MeasureThree, kFrame, 20, edge, current, 48);
    }
    const Rect start_ = Rect::FromOrigin({100, 100}, {74, 45});
};

TEST_F(FloatingResizeTest, RightEdgeJumpsBetweenTheListedWidths) {
    FloatingResize resize = Start(SizingEdge::Right, start_.Extent());
    EXPECT_EQ(resize.DeadZoneWidth(), 12);
    struct Step {
        int cursorX;  // from the window's left edge
        Size size;
        int floatRightX;
    };
    const Step steps[] = {
        {79, {74, 45}, 0},   // in the dead zone: nothing changes
        {60, {54, 65}, 48},  // shrinking past it: the largest size within reach
        {70, {54, 65}, 48},  // still shrinking from the start: no dead zone now
        {80, {74, 45}, 0},   // turning back: dead zone again, the widest means one line
        {20, {34, 85}, 28},  // beyond the smallest: the smallest
        {200, {74, 45}, 0},  // beyond the largest: the largest
    };
    for (const Step& step : steps) {
        const Rect rect = resize.Moved({start_.left + step.cursorX, 130}, start_, start_);
        EXPECT_EQ(rect, Rect::FromOrigin(start_.TopLeft(), step.size)) << step.cursorX;
        EXPECT_EQ(resize.ChosenFloatRightX(), step.floatRightX) << step.cursorX;
    }
}

TEST_F(FloatingResizeTest, GrowingTakesTheNextSizeBeyondTheCursor) {
    const Rect narrow = Rect::FromOrigin({100, 100}, {34, 85});
    FloatingResize resize = Start(SizingEdge::Right, narrow.Extent());
    EXPECT_EQ(resize.Moved({100 + 50, 0}, narrow, narrow).Extent(), (Size{54, 65}));
    EXPECT_EQ(resize.Moved({100 + 55, 0}, narrow, narrow).Extent(), (Size{74, 45}));
}

TEST_F(FloatingResizeTest, LeftAndTopEdgesMoveThemselvesAndKeepTheOpposite) {
    FloatingResize left = Start(SizingEdge::Left, start_.Extent());
    const Rect fromLeft = left.Moved({start_.right - 50, 0}, start_, start_);
    EXPECT_EQ(fromLeft, (Rect{start_.right - 34, 100, start_.right, 185}));

    FloatingResize top = Start(SizingEdge::Top, start_.Extent());
    const Rect fromTop = top.Moved({0, start_.bottom - 70}, start_, start_);
    EXPECT_EQ(fromTop, (Rect{100, start_.bottom - 85, 134, start_.bottom}));
    EXPECT_EQ(top.ChosenFloatRightX(), 28);
}

TEST_F(FloatingResizeTest, BottomEdgeTakesTheSmallestHeightForOneLine) {
    const Rect tall = Rect::FromOrigin({100, 100}, {34, 85});
    FloatingResize resize = Start(SizingEdge::Bottom, tall.Extent());
    EXPECT_EQ(resize.Moved({0, 100 + 50}, tall, tall), Rect::FromOrigin({100, 100}, {74, 45}));
    EXPECT_EQ(resize.ChosenFloatRightX(), 0);
    EXPECT_EQ(resize.Moved({0, 100 + 90}, tall, tall), tall) << "within the dead zone after turning back";
    EXPECT_EQ(resize.ChosenFloatRightX(), 28);
}

}  // namespace
}  // namespace sorv::tb97
