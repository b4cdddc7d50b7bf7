#include "toolbar_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace sorv::tb97 {
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
}  // namespace sorv::tb97
