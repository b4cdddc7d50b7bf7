#include <gtest/gtest.h>

#include <string>

#include "tb97tlbr_rules.h"

namespace sorv::toolbar {
namespace {

BarChild Button(int width = 38, int height = 38) { return {.size = {width, height}}; }
BarChild Separator(bool blank = false) { return {.separator = true, .blank = blank}; }

// The main window's bar: button, button, separator, three buttons, separator,
// button, separator, button.
std::vector<BarChild> MainBar(bool firstSeparatorBlank = false) {
    return {Button(), Button(), Separator(firstSeparatorBlank), Button(), Button(), Button(),
            Separator(), Button(), Separator(), Button()};
}

BarPlacement Docked(std::vector<BarChild> children, bool vertical, int rowSize) {
    return {.children = std::move(children), .docked = true, .vertical = vertical, .rowSize = rowSize};
}

BarPlacement Floating(std::vector<BarChild> children, int floatRightX) {
    return {.children = std::move(children), .floatRightX = floatRightX};
}

TEST(ToolbarLayout, MainBarDockedAtTheTopIsOneLineOfTenChildren) {
    const BarLayout layout = PlaceChildren(Docked(MainBar(), false, 38));
    const int left[] = {0, 38, 76, 82, 120, 158, 196, 202, 240, 246};
    for (std::size_t i = 0; i < layout.bounds.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(layout.bounds[i]);
        const bool separator = MainBar()[i].separator;
        EXPECT_EQ(*layout.bounds[i], Rect::FromOrigin({left[i], 0}, {separator ? 6 : 38, 38}));
    }
    EXPECT_EQ(layout.client, (Size{284, 38}));
    EXPECT_TRUE(layout.lineBreaks.empty());
    EXPECT_EQ(MeasureThickness(MainBar(), false), 38);
}

TEST(ToolbarLayout, DockedInASideDockStacksTheChildren) {
    const BarLayout layout = PlaceChildren(Docked(MainBar(), true, 38));
    EXPECT_EQ(*layout.bounds[1], Rect::FromOrigin({0, 38}, {38, 38}));
    EXPECT_EQ(*layout.bounds[2], Rect::FromOrigin({0, 76}, {38, 6})) << "a separator across the column";
    EXPECT_EQ(*layout.bounds[9], Rect::FromOrigin({0, 246}, {38, 38}));
    EXPECT_EQ(layout.client, (Size{38, 284}));
}

TEST(ToolbarLayout, ControlsAreCentredAcrossTheRow) {
    struct Case {
        bool vertical;
        int rowSize;
        Size button;
        Point expected;
    };
    const Case cases[] = {
        {false, 42, {20, 20}, {0, 11}},
        {false, 38, {20, 21}, {0, 8}},  // 8.5 rounds towards zero
        {true, 30, {21, 20}, {4, 0}},
        {false, 10, {20, 20}, {0, -5}},  // a row thinner than the control
    };
    for (const Case& c : cases) {
        const BarLayout layout = PlaceChildren(Docked({Button(c.button.cx, c.button.cy)}, c.vertical, c.rowSize));
        EXPECT_EQ(layout.bounds[0]->TopLeft(), c.expected) << c.rowSize;
    }
}

TEST(ToolbarLayout, ThicknessCountsVisibleControlsOnlyAndIsAtLeastEight) {
    std::vector<BarChild> children{Button(10, 5), Separator(), Button(30, 50)};
    children[1].sizeVert = children[1].sizeHorz = 90;
    EXPECT_EQ(MeasureThickness(children, false), 50);
    EXPECT_EQ(MeasureThickness(children, true), 30);
    children[2].visible = false;
    EXPECT_EQ(MeasureThickness(children, false), 8);
    EXPECT_EQ(MeasureThickness({}, false), 8);
}

TEST(ToolbarLayout, EmptyBarIsEightPixelsLongPlusMargins) {
    EXPECT_EQ(PlaceChildren(Floating({}, 0)).client, (Size{16, 11}));
    EXPECT_EQ(PlaceChildren(Docked({}, false, 8)).client, (Size{8, 8}));
    std::vector<BarChild> hidden{Button()};
    hidden[0].visible = false;
    const BarLayout layout = PlaceChildren(Floating(hidden, 0));
    EXPECT_EQ(layout.client, (Size{16, 11}));
    EXPECT_FALSE(layout.bounds[0]) << "hidden children are left where they are";
}

TEST(ToolbarLayout, FloatingOnOneLineKeepsItsMargins) {
    const BarLayout layout = PlaceChildren(Floating(MainBar(), 0));
    EXPECT_EQ(layout.bounds[0]->TopLeft(), (Point{4, 2}));
    EXPECT_EQ(layout.bounds[9]->TopLeft(), (Point{250, 2}));
    EXPECT_EQ(layout.client, (Size{292, 41}));
}

TEST(ToolbarLayout, FloatingWrapBreaksBeforeGroupsThatDoNotFit) {
    const BarLayout layout = PlaceChildren(Floating(MainBar(true), 130));
    struct Expected {
        std::size_t child;
        Rect bounds;
    };
    const Expected expected[] = {
        {0, {4, 2, 42, 40}},     {1, {42, 2, 80, 40}},
        {2, {80, 2, 80, 40}},    // ends the first line: collapsed
        {3, {4, 46, 42, 84}},    {5, {80, 46, 118, 84}},
        {6, {118, 46, 118, 84}}, {7, {4, 90, 42, 128}},
        {8, {42, 90, 48, 128}},  // inside a line: kept
        {9, {48, 90, 86, 128}},
    };
    for (const Expected& e : expected) EXPECT_EQ(*layout.bounds[e.child], e.bounds) << e.child;
    // The collapsed separators do not count in the width.
    EXPECT_EQ(layout.client, (Size{122, 129}));
    const std::vector<LineBreak> breaks{{46, true}, {90, false}};
    EXPECT_EQ(layout.lineBreaks, breaks) << "the first separator is blank: no etched line";
}

TEST(ToolbarLayout, GroupLongerThanTheLineBreaksInsideWithoutGap) {
    const BarLayout layout = PlaceChildren(Floating({Button(), Button(), Button()}, 90));
    EXPECT_EQ(layout.bounds[1]->TopLeft(), (Point{42, 2}));
    EXPECT_EQ(layout.bounds[2]->TopLeft(), (Point{4, 40}));
    EXPECT_EQ(layout.client, (Size{84, 79}));
    EXPECT_TRUE(layout.lineBreaks.empty());
    // The group after a group that broke inside starts a new line of its own.
    const BarLayout next = PlaceChildren(Floating({Button(), Button(), Button(), Separator(), Button()}, 90));
    EXPECT_EQ(next.bounds[4]->TopLeft(), (Point{4, 84}));
    EXPECT_EQ(next.lineBreaks, (std::vector<LineBreak>{{84, false}}));
}

TEST(ToolbarLayout, WrapWidthIsAtLeastTheWidestControlPlusEight) {
    const std::vector<BarChild> children{Button(), Button(60, 20), Button()};
    const BarLayout narrow = PlaceChildren(Floating(children, 10));
    const BarLayout widest = PlaceChildren(Floating(children, 68));
    EXPECT_EQ(narrow.client, widest.client);
    EXPECT_EQ(narrow.client, (Size{68, 2 + 3 * 38 + 1}));
    for (std::size_t i = 0; i < children.size(); ++i) EXPECT_EQ(narrow.bounds[i], widest.bounds[i]);
}

TEST(ToolbarLayout, SeparatorsTakeTheirLengthForTheDirection) {
    std::vector<BarChild> children{Button(), Separator(), Button()};
    children[1].sizeHorz = 10;
    children[1].sizeVert = 3;
    EXPECT_EQ(PlaceChildren(Docked(children, false, 38)).bounds[2]->left, 48);
    EXPECT_EQ(PlaceChildren(Docked(children, true, 38)).bounds[2]->top, 41);
}

}  // namespace

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

}  // namespace sorv::toolbar
