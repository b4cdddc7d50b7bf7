#include "tb97ctls_button_rules.h"

namespace sorv::toolbar {

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

FacePlan PlanFace(const ButtonModel& button, const FaceLook& look, Size size) {
    FacePlan plan;
    plan.offscreen = look.opaque || !button.flat;
    const bool pressed = button.state == ButtonState::Down || button.state == ButtonState::Exclusive;
    const bool hot = button.mouseInControl && button.state != ButtonState::Disabled;
    const bool combo = button.IsCombo();
    const bool border = look.designMode || (!look.noBorder && (pressed || !button.flat || hot));
    const auto style = [&button](bool sunken) {
        if (button.flat) return sunken ? EdgeStyle::FlatSunken : EdgeStyle::FlatRaised;
        return sunken ? EdgeStyle::Sunken : EdgeStyle::Raised;
    };

    Rect face{0, 0, size.cx, size.cy};
    if (combo) {
        if (border) {
            plan.comboEdge = FaceEdge{{size.cx - kDropdownComboWidth, 0, size.cx - 2, size.cy},
                                      style(pressed && button.menuIsDown)};
        }
        face.right -= kDropdownComboWidth;
    }
    if (border) plan.faceEdge = FaceEdge{face, style(pressed && (!combo || !button.menuIsDown))};
    if (!look.noBorder) face = face.Inflate(button.flat ? -1 : -2, button.flat ? -1 : -2);
    plan.content = face;
    if (pressed && !(combo && button.menuIsDown)) plan.contentOffset = {1, 1};
    plan.checkered = button.state == ButtonState::Exclusive && (!button.flat || !hot);
    plan.smallArrow = look.dropdownArrow && !button.dropdownCombo && button.hasDropdown;
    if (combo) plan.comboArrow = Point{size.cx - 13, size.cy / 2 - 1};
    return plan;
}

namespace {

// The caption's size, measured in the box the layout leaves it.
Size MeasureText(const ContentRequest& request, bool horizontal, bool hasGlyph, Size arrow,
                 const MeasureCaption& measure) {
    if (!request.drawCaption || request.caption.empty()) return {};
    int width = request.face.Width();
    if (horizontal) width -= arrow.cx;
    if (request.wordWrap) {
        int edge = 4;
        if (horizontal && hasGlyph) {
            width -= request.glyph.cx + (request.spacing == -1 ? 4 : request.spacing);
            edge = request.margin != -1 ? request.margin : request.spacing != -1 ? request.spacing : 4;
        }
        width -= 2 * edge;
    }
    return measure(request.caption, width, request.wordWrap);
}

// A margin or spacing of -1 takes its share of the room left along the
// layout's direction.
void SpreadRoom(int& margin, int& spacing, int room, int glyph, int text, int arrow) {
    if (margin == -1 && spacing == -1) {
        margin = (room - (glyph + text + arrow)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (room - (glyph + text + arrow + spacing) + 1) / 2;
    } else if (spacing == -1) {
        spacing = (room - (margin + glyph + arrow) - text) / 2;
    }
}

struct ContentPoints {
    Point glyph;
    Point text;
    Point arrow;
};

// Glyph, caption and arrow one after the other along the layout's direction.
void PlaceAlong(GlyphLayout layout, ContentPoints& at, Size client, Size glyph, Size text, Size arrow, int margin,
                int spacing) {
    switch (layout) {
        case GlyphLayout::GlyphLeft:
            at.glyph.x = margin;
            at.text.x = at.glyph.x + glyph.cx + spacing;
            at.arrow.x = at.text.x + text.cx;
            break;
        case GlyphLayout::GlyphRight:
            at.arrow.x = client.cx - margin - arrow.cx;
            at.glyph.x = at.arrow.x - glyph.cx;
            at.text.x = at.glyph.x - spacing - text.cx;
            break;
        case GlyphLayout::GlyphTop:
            at.glyph.y = margin;
            at.text.y = at.glyph.y + glyph.cy + spacing;
            break;
        case GlyphLayout::GlyphBottom:
            at.glyph.y = client.cy - margin - glyph.cy;
            at.text.y = at.glyph.y - spacing - text.cy;
            break;
    }
}

}  // namespace

ContentLayout CalculateLayout(const ContentRequest& request, const MeasureCaption& measure) {
    const Size client = request.face.Extent();
    const Size glyph = request.glyph;
    const Size arrow = request.arrow ? kSmallArrowSize : Size{};
    const bool hasGlyph = glyph.cx > 0 && glyph.cy > 0;
    GlyphLayout layout = request.layout;
    if (!hasGlyph && (layout == GlyphLayout::GlyphTop || layout == GlyphLayout::GlyphBottom)) {
        layout = GlyphLayout::GlyphLeft;
    }
    const bool horizontal = layout == GlyphLayout::GlyphLeft || layout == GlyphLayout::GlyphRight;
    const Size text = MeasureText(request, horizontal, hasGlyph, arrow, measure);
    const bool hasText = text.cx > 0 || text.cy > 0;

    ContentPoints at;
    if (horizontal) {
        at.glyph.y = (client.cy - glyph.cy + 1) / 2;
        at.text.y = (client.cy - text.cy + 1) / 2;
    } else {
        at.glyph.x = (client.cx - glyph.cx - arrow.cx + 1) / 2;
        at.text.x = (client.cx - text.cx + 1) / 2;
        at.arrow.x = hasGlyph ? at.glyph.x + glyph.cx : at.text.x + text.cx;
    }
    int margin = request.margin;
    int spacing = hasText && hasGlyph ? request.spacing : 0;
    if (horizontal)
        SpreadRoom(margin, spacing, client.cx, glyph.cx, text.cx, arrow.cx);
    else
        SpreadRoom(margin, spacing, client.cy, glyph.cy, text.cy, 0);
    PlaceAlong(layout, at, client, glyph, text, arrow, margin, spacing);
    at.arrow.y = hasGlyph ? at.glyph.y + (glyph.cy - arrow.cy) / 2 : at.text.y + (text.cy - arrow.cy) / 2;

    const Point shift{request.face.left + request.offset.x, request.face.top + request.offset.y};
    return {{at.glyph.x + shift.x, at.glyph.y + shift.y},
            {at.arrow.x + shift.x, at.arrow.y + shift.y},
            Rect::FromOrigin({at.text.x + shift.x, at.text.y + shift.y}, text)};
}

namespace {

// Upper case of ASCII and Latin-1 letters, the captions' alphabet.
char32_t Upper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    return c;
}

// The code point starting at `text[i]`, with `i` moved past it.
char32_t Decode(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (i + length > text.size()) length = 1;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) c = (c << 6) | (byte(i + k) & 0x3F);
    i += length;
    return c;
}

}  // namespace

bool IsAccelerator(char16_t character, std::string_view caption) {
    for (std::size_t i = 0; i < caption.size();) {
        if (caption[i] != '&') {
            Decode(caption, i);
            continue;
        }
        ++i;
        if (i >= caption.size()) return false;
        if (caption[i] == '&') {
            ++i;
            continue;
        }
        return Upper(Decode(caption, i)) == Upper(character);
    }
    return false;
}

}  // namespace sorv::toolbar
