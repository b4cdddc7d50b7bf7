#include "button_behaviour.h"

namespace sorv::tb97 {

ButtonEffects& ButtonEffects::operator|=(const ButtonEffects& other) {
    redraw = redraw || other.redraw;
    erase = erase || other.erase;
    mouseEntered = mouseEntered || other.mouseEntered;
    mouseExited = mouseExited || other.mouseExited;
    releaseHot = releaseHot || other.releaseHot;
    click = click || other.click;
    startRepeat = startRepeat || other.startRepeat;
    resumeRepeat = resumeRepeat || other.resumeRepeat;
    endHover = endHover || other.endHover;
    freeRepeat = freeRepeat || other.freeRepeat;
    return *this;
}

ButtonEffects BeginHover(ButtonModel& button) {
    ButtonEffects effects;
    if (!button.enabled || button.mouseInControl) return effects;
    button.mouseInControl = true;
    if (button.state == ButtonState::Up) button.state = ButtonState::Hot;
    // A raised button looks the same hot or not, unless it has a hot image.
    if (button.flat || button.numGlyphs == 5) effects.Redraw(button.down || button.numGlyphs == 5);
    effects.mouseEntered = true;
    return effects;
}

ButtonEffects EndHover(ButtonModel& button, bool isHotButton) {
    ButtonEffects effects;
    if (!button.enabled || !button.mouseInControl || button.tracking) return effects;
    button.mouseInControl = false;
    effects.releaseHot = isHotButton;
    const ButtonState before = button.state;
    if (button.state == ButtonState::Hot || (button.state == ButtonState::Down && !button.inClick)) {
        button.state = button.down && button.groupIndex != 0 ? ButtonState::Exclusive : ButtonState::Up;
    }
    if (button.flat || button.numGlyphs == 5 || (button.state != before && before != ButtonState::Hot)) {
        effects.Redraw(true);
    }
    effects.mouseExited = true;
    return effects;
}

bool HitTestFace(const ButtonModel& button, Point point, Size client) {
    const int faceWidth = client.cx - (button.IsCombo() ? kDropdownComboWidth : 0);
    return point.x >= 0 && point.x < faceWidth && point.y >= 0 && point.y < client.cy;
}

ButtonEffects PressLeft(ButtonModel& button, int x, int width) {
    ButtonEffects effects = BeginHover(button);
    button.menuIsDown = button.hasDropdown && (!button.dropdownCombo || x >= width - kDropdownComboWidth);
    if (!button.down) {
        button.state = ButtonState::Down;
        effects.Redraw(true);
    } else if (button.allowAllUp) {
        effects.Redraw(true);
    }
    if (button.menuIsDown) {
        // The menu opens at once; the release that follows belongs to it.
        effects.click = true;
    } else {
        button.tracking = true;
        if (button.repeating) {
            effects.click = true;
            effects.startRepeat = true;
        }
    }
    return effects;
}

ButtonEffects TrackTo(ButtonModel& button, bool onFace) {
    ButtonEffects effects;
    if (!button.tracking) return effects;
    effects.resumeRepeat = onFace;
    const ButtonState state = button.down ? ButtonState::Exclusive : onFace ? ButtonState::Down : ButtonState::Up;
    if (state != button.state) {
        button.state = state;
        effects.Redraw(true);
    }
    return effects;
}

ButtonEffects ReleaseLeft(ButtonModel& button, bool onFace) {
    ButtonEffects effects;
    if (!button.tracking) return effects;
    button.tracking = false;
    // A repeating button has clicked already, while it was held.
    if (onFace && !button.repeating) {
        effects.click = true;
    } else {
        effects.endHover = true;
    }
    return effects;
}

ButtonEffects CancelTracking(ButtonModel& button) {
    ButtonEffects effects;
    effects.freeRepeat = true;
    if (!button.tracking) return effects;
    button.tracking = false;
    effects.endHover = true;
    return effects;
}

ButtonState RestingState(const ButtonModel& button) {
    if (!button.enabled) return ButtonState::Disabled;
    return button.down ? ButtonState::Exclusive : ButtonState::Up;
}

DownChange SetDown(ButtonModel& button, bool down) {
    DownChange change;
    if (button.groupIndex == 0) down = false;
    // A member that is down goes up only when another goes down, unless the
    // group allows all up.
    if (down == button.down || (button.down && !button.allowAllUp)) return change;
    button.down = down;
    button.state = RestingState(button);
    change.effects.Redraw(true);
    change.changed = true;
    change.wentDown = down;
    return change;
}

std::vector<ButtonEffects> ReleaseGroupMates(const ButtonModel& button, const std::vector<ButtonModel*>& mates) {
    std::vector<ButtonEffects> effects(mates.size());
    if (button.groupIndex == 0) return effects;
    for (std::size_t i = 0; i < mates.size(); ++i) {
        ButtonModel& mate = *mates[i];
        if (&mate == &button || mate.groupIndex != button.groupIndex) continue;
        if (button.down && mate.down) {
            mate.down = false;
            mate.state = ButtonState::Up;
            effects[i].Redraw(true);
        }
        mate.allowAllUp = button.allowAllUp;
    }
    return effects;
}

ButtonEffects BeginClick(ButtonModel& button, bool isHotButton) {
    ButtonEffects effects;
    if (button.state == ButtonState::Up || button.state == ButtonState::Hot) {
        button.state = ButtonState::Down;
        effects.Redraw(true);
    }
    effects |= EndHover(button, isHotButton);
    return effects;
}

ButtonEffects EndClick(ButtonModel& button) {
    ButtonEffects effects;
    button.inClick = false;
    if (button.state == ButtonState::Down) button.state = ButtonState::Up;
    effects.Redraw(true);
    return effects;
}

ButtonEffects SetEnabled(ButtonModel& button, bool enabled, bool isHotButton) {
    ButtonEffects effects;
    if (!enabled) {
        button.enabled = false;
        button.state = ButtonState::Disabled;
        button.mouseInControl = false;
        button.tracking = false;
        effects.releaseHot = isHotButton;
        effects.freeRepeat = true;  // the cancel mode it sends itself
    } else {
        button.enabled = true;
        if (button.state == ButtonState::Disabled) {
            button.state = button.down && button.groupIndex != 0 ? ButtonState::Exclusive : ButtonState::Up;
        }
    }
    effects.Redraw(true);
    return effects;
}

}  // namespace sorv::tb97
