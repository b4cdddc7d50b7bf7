#include "button_behaviour.h"

#include <gtest/gtest.h>

#include "accelerator.h"

namespace sorv::tb97 {
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
}  // namespace sorv::tb97
