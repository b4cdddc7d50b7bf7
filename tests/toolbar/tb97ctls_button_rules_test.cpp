// Where a button draws its parts: the face plan and the content layout.
#include <gtest/gtest.h>

#include "tb97ctls_button_rules.h"

namespace sorv::toolbar {
namespace {

using S = ButtonState;

// A click the way the button runs it: in-click, a group member toggles Down,
// the handlers, the end.
void Click(ButtonModel& button, std::vector<ButtonModel*> group = {}) {
    button.inClick = true;
    if (button.groupIndex != 0 && SetDown(button, !button.down).wentDown) ReleaseGroupMates(button, group);
    BeginClick(button, true);
    EXPECT_EQ(button.state == S::Down || button.state == S::Exclusive, true) << "shown pressed while handlers run";
    EndClick(button);
}

TEST(ButtonBehaviour, PressDragOffAndBackClicksOnlyOnTheFace) {
    for (const bool releaseOnFace : {true, false}) {
        ButtonModel button;
        BeginHover(button);
        EXPECT_EQ(button.state, S::Hot);
        EXPECT_FALSE(PressLeft(button, 5, 38).click);
        EXPECT_EQ(button.state, S::Down);
        const S path[] = {S::Up, S::Down, S::Up, S::Down};
        for (std::size_t i = 0; i < std::size(path); ++i) {
            const ButtonEffects moved = TrackTo(button, i % 2 == 1);
            EXPECT_EQ(button.state, path[i]);
            EXPECT_TRUE(moved.redraw);
        }
        EXPECT_FALSE(TrackTo(button, true).redraw) << "no change, no redraw";
        const ButtonEffects released = ReleaseLeft(button, releaseOnFace);
        EXPECT_EQ(released.click, releaseOnFace);
        EXPECT_EQ(released.endHover, !releaseOnFace);
        EXPECT_FALSE(button.tracking);
        if (!releaseOnFace) {
            EndHover(button, true);
            EXPECT_EQ(button.state, S::Up) << "released off the face";
        }
    }
}

TEST(ButtonBehaviour, HoverOfFlatAndRaisedButtons) {
    struct Case {
        bool flat;
        int numGlyphs;
        bool down;
        bool redrawOnEnter;
        bool eraseOnEnter;
    };
    const Case cases[] = {
        {true, 1, false, true, false},
        {true, 1, true, true, true},
        {false, 1, false, false, false},  // a raised button looks the same hot
        {false, 5, false, true, true},    // unless it has an image for hot
    };
    for (const Case& c : cases) {
        ButtonModel button{.down = c.down, .flat = c.flat, .groupIndex = c.down ? 1 : 0, .numGlyphs = c.numGlyphs};
        button.state = c.down ? S::Exclusive : S::Up;
        const ButtonEffects entered = BeginHover(button);
        EXPECT_TRUE(entered.mouseEntered);
        EXPECT_EQ(entered.redraw, c.redrawOnEnter) << c.flat << c.numGlyphs;
        EXPECT_EQ(entered.erase, c.eraseOnEnter) << c.flat << c.numGlyphs;
        EXPECT_EQ(button.state, c.down ? S::Exclusive : S::Hot);
        EXPECT_FALSE(BeginHover(button).mouseEntered) << "already hot";
        const ButtonEffects left = EndHover(button, true);
        EXPECT_TRUE(left.mouseExited);
        EXPECT_TRUE(left.releaseHot);
        EXPECT_EQ(left.redraw, c.flat || c.numGlyphs == 5);
        EXPECT_EQ(button.state, c.down ? S::Exclusive : S::Up);
    }
}

TEST(ButtonBehaviour, HoverDoesNotEndWhileThePressIsHeld) {
    ButtonModel button;
    PressLeft(button, 0, 38);
    EXPECT_FALSE(EndHover(button, true).mouseExited);
    EXPECT_TRUE(button.mouseInControl);
    const ButtonEffects cancelled = CancelTracking(button);
    EXPECT_TRUE(cancelled.endHover);
    EXPECT_TRUE(cancelled.freeRepeat);
    EndHover(button, false);
    EXPECT_EQ(button.state, S::Up);
    // A raised button that leaves a down state is redrawn even without hot image.
    ButtonModel raised{.flat = false};
    PressLeft(raised, 0, 38);
    raised.tracking = false;
    EXPECT_TRUE(EndHover(raised, false).redraw);
}

TEST(ButtonBehaviour, GroupWithAndWithoutAllowAllUp) {
    for (const bool allowAllUp : {false, true}) {
        ButtonModel a{.allowAllUp = allowAllUp, .groupIndex = 1};
        ButtonModel b{.groupIndex = 1};
        ButtonModel other{.groupIndex = 2, .state = S::Exclusive};
        other.down = true;
        const std::vector<ButtonModel*> parent{&a, &b, &other};
        ReleaseGroupMates(a, parent);
        EXPECT_EQ(b.allowAllUp, allowAllUp) << "the group shares AllowAllUp";

        Click(a, parent);
        EXPECT_TRUE(a.down);
        EXPECT_EQ(a.state, S::Exclusive);
        Click(b, parent);
        EXPECT_TRUE(b.down);
        EXPECT_FALSE(a.down) << "another member going down releases it";
        EXPECT_EQ(a.state, S::Up);
        EXPECT_TRUE(other.down) << "another group";
        Click(b, parent);
        EXPECT_EQ(b.down, !allowAllUp) << "clicking the down member";
        EXPECT_EQ(b.state, allowAllUp ? S::Up : S::Exclusive);
    }
}

TEST(ButtonBehaviour, DownWrites) {
    ButtonModel loose;
    EXPECT_FALSE(SetDown(loose, true).changed) << "outside a group Down stays off";
    ButtonModel member{.groupIndex = 3};
    const DownChange down = SetDown(member, true);
    EXPECT_TRUE(down.changed && down.wentDown && down.effects.redraw);
    EXPECT_EQ(member.state, S::Exclusive);
    EXPECT_FALSE(SetDown(member, false).changed) << "only another member releases it";
    member.allowAllUp = true;
    EXPECT_TRUE(SetDown(member, false).changed);
    EXPECT_EQ(member.state, S::Up);
    member.enabled = false;
    SetDown(member, true);
    EXPECT_EQ(member.state, S::Disabled);
}

TEST(ButtonBehaviour, DisablingAndEnablingAgain) {
    ButtonModel button{.groupIndex = 1};
    SetDown(button, true);
    BeginHover(button);
    PressLeft(button, 0, 38);
    const ButtonEffects off = SetEnabled(button, false, true);
    EXPECT_EQ(button.state, S::Disabled);
    EXPECT_TRUE(off.releaseHot && off.freeRepeat && off.redraw);
    EXPECT_FALSE(button.tracking || button.mouseInControl);
    EXPECT_FALSE(BeginHover(button).mouseEntered);
    SetEnabled(button, true, false);
    EXPECT_EQ(button.state, S::Exclusive);
    button.groupIndex = 0;
    SetEnabled(button, false, false);
    SetEnabled(button, true, false);
    EXPECT_EQ(button.state, S::Up) << "Down counts only in a group";
}

TEST(ButtonBehaviour, DropdownPressesOpenTheMenuAtOnce) {
    struct Case {
        bool combo;
        int x;
        bool menu;
    };
    const Case cases[] = {{false, 0, true}, {true, 37, false}, {true, 38, true}, {true, 48, true}};
    for (const Case& c : cases) {
        ButtonModel button{.dropdownCombo = c.combo, .hasDropdown = true};
        const ButtonEffects pressed = PressLeft(button, c.x, 49);
        EXPECT_EQ(button.menuIsDown, c.menu) << c.x;
        EXPECT_EQ(pressed.click, c.menu) << c.x;
        EXPECT_EQ(button.tracking, !c.menu) << c.x;
    }
}

TEST(ButtonBehaviour, RepeatingClicksOnPressNotOnRelease) {
    ButtonModel button{.repeating = true};
    const ButtonEffects pressed = PressLeft(button, 1, 38);
    EXPECT_TRUE(pressed.click && pressed.startRepeat);
    EXPECT_FALSE(TrackTo(button, false).resumeRepeat);
    EXPECT_TRUE(TrackTo(button, true).resumeRepeat);
    const ButtonEffects released = ReleaseLeft(button, true);
    EXPECT_FALSE(released.click);
    EXPECT_TRUE(released.endHover);
}

TEST(ButtonBehaviour, FaceLeavesOutTheComboArrowPart) {
    ButtonModel combo{.dropdownCombo = true, .hasDropdown = true};
    EXPECT_TRUE(HitTestFace(combo, {37, 0}, {49, 38}));
    EXPECT_FALSE(HitTestFace(combo, {38, 0}, {49, 38}));
    EXPECT_FALSE(HitTestFace(combo, {0, 38}, {49, 38}));
    EXPECT_FALSE(HitTestFace(combo, {-1, 0}, {49, 38}));
    combo.hasDropdown = false;
    EXPECT_TRUE(HitTestFace(combo, {48, 37}, {49, 38}));
}

TEST(ButtonAccelerator, TheCharacterAfterASingleAmpersandInAnyCase) {
    struct Case {
        const char* caption;
        char16_t key;
        bool taken;
    };
    const Case cases[] = {
        {"&Ok", u'o', true},          {"&Ok", u'O', true},           {"&Ok", u'k', false},
        {"Effac&er", u'e', true},     {"A && B", u'b', false},       {"&&Tout", u't', false},
        {"&& &Tout", u't', true},     {"&\u00c9crire", u'\u00e9', true}, {"D\u00e9&coupe", u'c', true},
        {"abc&", u'&', false},        {"", u'a', false},             {"&1", u'1', true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsAccelerator(c.key, c.caption), c.taken) << c.caption;
}

}  // namespace

namespace {

using S = ButtonState;

// Captions measure as given, whatever the box; the boxes asked for are kept.
struct FakeMeasure {
    Size size;
    std::vector<int> widths;
    MeasureCaption Get() {
        return [this](const std::string&, int width, bool) {
            widths.push_back(width);
            return size;
        };
    }
};

ContentLayout Lay(ContentRequest request, Size text = {}) {
    FakeMeasure measure{text, {}};
    return CalculateLayout(request, measure.Get());
}

TEST(ButtonContentLayout, MainBarGlyphSitsInTheMiddleAndMovesWhenPressed) {
    const ContentRequest request{.face = {1, 1, 37, 37}, .glyph = {32, 32}};
    EXPECT_EQ(Lay(request).glyph, (Point{3, 3}));
    ContentRequest pressed = request;
    pressed.offset = {1, 1};
    EXPECT_EQ(Lay(pressed).glyph, (Point{4, 4}));
}

TEST(ButtonContentLayout, OffsetMovesGlyphArrowAndText) {
    ContentRequest request{.face = {2, 3, 102, 43}, .glyph = {16, 16}, .drawCaption = true, .caption = "Ok",
                           .arrow = true};
    const ContentLayout still = Lay(request, {20, 10});
    request.offset = {1, 1};
    const ContentLayout moved = Lay(request, {20, 10});
    EXPECT_EQ(moved.glyph, (Point{still.glyph.x + 1, still.glyph.y + 1}));
    EXPECT_EQ(moved.arrow, (Point{still.arrow.x + 1, still.arrow.y + 1}));
    EXPECT_EQ(moved.text, still.text.Offset(1, 1));
    EXPECT_EQ(still.text.Extent(), (Size{20, 10}));
}

TEST(ButtonContentLayout, MarginsAndSpacings) {
    struct Case {
        const char* name;
        ContentRequest request;
        Size text;
        Point glyph;
        Point textAt;
        Point arrow;
    };
    const Rect wide{0, 0, 100, 40};
    const Rect tall{0, 0, 40, 60};
    const Case cases[] = {
        // Leftover space in three equal parts: margin 21, spacing 21, 22 at the end.
        {"spread", {.face = wide, .glyph = {16, 16}, .drawCaption = true, .caption = "x", .spacing = -1},
         {20, 13}, {21, 12}, {58, 14}, {78, 20}},
        {"glyph right",
         {.face = wide, .glyph = {16, 16}, .drawCaption = true, .caption = "x", .layout = GlyphLayout::GlyphRight,
          .margin = 4, .arrow = true},
         {20, 10}, {71, 12}, {47, 15}, {87, 18}},
        {"glyph top, centred",
         {.face = tall, .glyph = {16, 16}, .drawCaption = true, .caption = "x", .layout = GlyphLayout::GlyphTop},
         {30, 10}, {12, 15}, {5, 35}, {28, 23}},
        {"glyph bottom, even spacing",
         {.face = tall, .glyph = {16, 16}, .drawCaption = true, .caption = "x", .layout = GlyphLayout::GlyphBottom,
          .margin = 2, .spacing = -1},
         {30, 10}, {12, 42}, {5, 16}, {28, 50}},
        // Stacking needs a glyph: without one the caption is centred on a line.
        {"top without glyph",
         {.face = {0, 0, 40, 20}, .drawCaption = true, .caption = "x", .layout = GlyphLayout::GlyphTop, .arrow = true},
         {20, 10}, {6, 10}, {6, 5}, {26, 8}},
        {"no caption drawn", {.face = wide, .glyph = {16, 16}, .caption = "x"}, {20, 10}, {42, 12}, {58, 20}, {58, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ContentLayout layout = Lay(c.request, c.text);
        EXPECT_EQ(layout.glyph, c.glyph);
        EXPECT_EQ(layout.text.TopLeft(), c.textAt);
        EXPECT_EQ(layout.arrow, c.arrow);
    }
}

TEST(ButtonContentLayout, WordWrapBoxLeavesRoomForGlyphArrowAndMargins) {
    struct Case {
        ContentRequest request;
        int width;
    };
    const ContentRequest base{.face = {0, 0, 100, 40}, .glyph = {16, 16}, .drawCaption = true, .caption = "x",
                              .wordWrap = true, .margin = 3, .arrow = true};
    ContentRequest evenly = base;
    evenly.margin = evenly.spacing = -1;
    ContentRequest stacked = base;
    stacked.layout = GlyphLayout::GlyphTop;
    ContentRequest oneLine = base;
    oneLine.wordWrap = false;
    const Case cases[] = {{base, 100 - 9 - (16 + 4) - 2 * 3}, {evenly, 100 - 9 - (16 + 4) - 2 * 4},
                          {stacked, 100 - 2 * 4}, {oneLine, 100 - 9}};
    for (const Case& c : cases) {
        FakeMeasure measure{{10, 10}, {}};
        CalculateLayout(c.request, measure.Get());
        EXPECT_EQ(measure.widths, std::vector<int>{c.width});
    }
}

TEST(ButtonFace, BordersOffsetsAndBackground) {
    struct Case {
        const char* name;
        ButtonModel button;
        FaceLook look;
        std::optional<FaceEdge> edge;
        Rect content;
        Point offset;
        bool checkered;
        bool offscreen;
    };
    const Rect all{0, 0, 38, 38};
    const Rect inner{1, 1, 37, 37};
    const Case cases[] = {
        {"flat, up", {}, {}, std::nullopt, inner, {0, 0}, false, true},
        {"flat, hot", {.state = S::Hot, .mouseInControl = true}, {}, FaceEdge{all, EdgeStyle::FlatRaised}, inner,
         {0, 0}, false, true},
        {"flat, pressed", {.state = S::Down, .mouseInControl = true}, {}, FaceEdge{all, EdgeStyle::FlatSunken},
         inner, {1, 1}, false, true},
        {"flat, held down", {.down = true, .state = S::Exclusive}, {}, FaceEdge{all, EdgeStyle::FlatSunken}, inner,
         {1, 1}, true, true},
        {"flat, held down, hot", {.down = true, .state = S::Exclusive, .mouseInControl = true}, {},
         FaceEdge{all, EdgeStyle::FlatSunken}, inner, {1, 1}, false, true},
        {"raised", {.flat = false}, {.opaque = false}, FaceEdge{all, EdgeStyle::Raised}, {2, 2, 36, 36}, {0, 0},
         false, true},
        {"raised, held down, hot", {.down = true, .flat = false, .state = S::Exclusive, .mouseInControl = true}, {},
         FaceEdge{all, EdgeStyle::Sunken}, {2, 2, 36, 36}, {1, 1}, true, true},
        {"transparent flat", {.state = S::Hot, .mouseInControl = true}, {.opaque = false},
         FaceEdge{all, EdgeStyle::FlatRaised}, inner, {0, 0}, false, false},
        {"no border", {.state = S::Down, .mouseInControl = true}, {.noBorder = true}, std::nullopt, all, {1, 1},
         false, true},
        {"disabled under the mouse", {.state = S::Disabled, .mouseInControl = true}, {}, std::nullopt, inner,
         {0, 0}, false, true},
        {"design mode", {}, {.noBorder = true, .designMode = true}, FaceEdge{all, EdgeStyle::FlatRaised}, all,
         {0, 0}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FacePlan plan = PlanFace(c.button, c.look, {38, 38});
        EXPECT_EQ(plan.faceEdge, c.edge);
        EXPECT_FALSE(plan.comboEdge);
        EXPECT_EQ(plan.content, c.content);
        EXPECT_EQ(plan.contentOffset, c.offset);
        EXPECT_EQ(plan.checkered, c.checkered);
        EXPECT_EQ(plan.offscreen, c.offscreen);
        EXPECT_FALSE(plan.smallArrow || plan.comboArrow);
    }
}

TEST(ButtonFace, DropdownArrowsAndTheComboPart) {
    ButtonModel combo{.dropdownCombo = true, .hasDropdown = true, .state = S::Down, .mouseInControl = true};
    FacePlan plan = PlanFace(combo, {}, {49, 38});
    EXPECT_EQ(plan.comboEdge, (FaceEdge{{38, 0, 47, 38}, EdgeStyle::FlatRaised}));
    EXPECT_EQ(plan.faceEdge, (FaceEdge{{0, 0, 38, 38}, EdgeStyle::FlatSunken}));
    EXPECT_EQ(plan.content, (Rect{1, 1, 37, 37}));
    EXPECT_EQ(plan.comboArrow, (Point{36, 18}));
    EXPECT_FALSE(plan.smallArrow);
    EXPECT_EQ(plan.contentOffset, (Point{1, 1}));

    combo.menuIsDown = true;
    plan = PlanFace(combo, {}, {49, 38});
    EXPECT_EQ(plan.comboEdge->style, EdgeStyle::FlatSunken) << "the arrow part is the one pressed";
    EXPECT_EQ(plan.faceEdge->style, EdgeStyle::FlatRaised);
    EXPECT_EQ(plan.contentOffset, (Point{0, 0}));

    combo = {.dropdownCombo = true, .hasDropdown = true};
    plan = PlanFace(combo, {}, {49, 38});
    EXPECT_FALSE(plan.comboEdge);
    EXPECT_EQ(plan.content, (Rect{1, 1, 37, 37})) << "the part is taken off without a border too";

    const ButtonModel menu{.hasDropdown = true};
    EXPECT_TRUE(PlanFace(menu, {}, {38, 38}).smallArrow);
    EXPECT_FALSE(PlanFace(menu, {.dropdownArrow = false}, {38, 38}).smallArrow);
}

}  // namespace

}  // namespace sorv::toolbar
