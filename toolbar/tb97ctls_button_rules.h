#pragma once
// The states of a tool-bar button and the transitions between them: hover,
// press, tracking the cursor on and off the face, release, the held-down
// state of a group member, enabling. Plain data and functions; the button
// that shows the state applies the effects they return (redraws, events,
// the hot button).
//
// What a tool-bar button's paint draws and where: off-screen or not, the
// edges of the face and of a combo's arrow part, the rectangle left for the
// content and its offset while pressed, the checkered held-down background.
//
// Where a button's glyph, caption and small dropdown arrow go inside its
// face: side by side or stacked, at a margin from the edge and a spacing
// between them, or spread evenly (-1).
//
// The access key of a caption: the character after a single "&" ("&&" is a
// plain "&"), matched without regard to case.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry.h"

namespace sorv::toolbar {

// The value also picks the glyph image of the state.
enum class ButtonState : std::uint8_t { Up = 0, Disabled = 1, Down = 2, Exclusive = 3, Hot = 4 };

// Width of the arrow part of a button whose dropdown menu has a part of its own.
inline constexpr int kDropdownComboWidth = 11;

struct ButtonModel {
    // Properties.
    bool enabled = true;
    bool down = false;
    bool allowAllUp = false;
    bool flat = true;
    bool repeating = false;
    bool dropdownCombo = false;
    bool hasDropdown = false;  // a dropdown menu is set
    int groupIndex = 0;
    int numGlyphs = 1;
    // What the mouse did.
    ButtonState state = ButtonState::Up;
    bool mouseInControl = false;  // the button is hot
    bool tracking = false;        // pressed with the left button, still held
    bool menuIsDown = false;      // this press opened the dropdown menu
    bool inClick = false;

    // The menu has an arrow part of its own at the right.
    bool IsCombo() const { return dropdownCombo && hasDropdown; }
};

// What a transition asks of the button. Effects of successive steps add up.
struct ButtonEffects {
    bool redraw = false;
    bool erase = false;         // the redraw must let the parent paint behind
    bool mouseEntered = false;  // OnMouseEnter
    bool mouseExited = false;   // OnMouseExit
    bool releaseHot = false;    // stop the hover timer, no hot button any more
    bool click = false;         // run the click now
    bool startRepeat = false;   // (re)start the repeat timer with the first delay
    bool resumeRepeat = false;  // start the repeat timer again if it exists
    bool endHover = false;      // end the hover (it needs to know the hot button)
    bool freeRepeat = false;    // the press is over: the repeat timer goes

    ButtonEffects& operator|=(const ButtonEffects& other);
    void Redraw(bool withErase) {
        redraw = true;
        erase = erase || withErase;
    }
};

// The mouse came over the button.
ButtonEffects BeginHover(ButtonModel& button);
// The mouse left it; `isHotButton`: it is the process's hot button.
ButtonEffects EndHover(ButtonModel& button, bool isHotButton);

// The face is the button less the arrow part of a combo.
bool HitTestFace(const ButtonModel& button, Point point, Size client);

// A left press at `x` on a button `width` wide (the hover it starts is
// included).
ButtonEffects PressLeft(ButtonModel& button, int x, int width);
// The mouse moved while the press is held.
ButtonEffects TrackTo(ButtonModel& button, bool onFace);
// The left button went up; a click, or the end of the hover.
ButtonEffects ReleaseLeft(ButtonModel& button, bool onFace);
// Cancel mode, or a right release: the press is forgotten.
ButtonEffects CancelTracking(ButtonModel& button);

// Writing Down. `wentDown`: its group mates must let go of theirs.
struct DownChange {
    ButtonEffects effects;
    bool changed = false;
    bool wentDown = false;
};
DownChange SetDown(ButtonModel& button, bool down);
// After `button` changed its group or went down: every other member of its
// group lets go and takes its AllowAllUp. Returns one effect per mate.
std::vector<ButtonEffects> ReleaseGroupMates(const ButtonModel& button, const std::vector<ButtonModel*>& mates);

// Click, once the in-click flag is set and a group member's Down toggled:
// shown pressed while the handlers run, the hover ended.
ButtonEffects BeginClick(ButtonModel& button, bool isHotButton);
// After the handlers (also after an error).
ButtonEffects EndClick(ButtonModel& button);

ButtonEffects SetEnabled(ButtonModel& button, bool enabled, bool isHotButton);

// The state that a Down write or an enabling gives.
ButtonState RestingState(const ButtonModel& button);

// Flat buttons have a thin one-pixel edge, raised ones the full soft edge.
enum class EdgeStyle { FlatRaised, FlatSunken, Raised, Sunken };

struct FaceEdge {
    Rect rect;
    EdgeStyle style = EdgeStyle::FlatRaised;
    friend bool operator==(const FaceEdge&, const FaceEdge&) = default;
};

struct FaceLook {
    bool opaque = true;
    bool noBorder = false;
    bool dropdownArrow = true;
    bool designMode = false;
};

struct FacePlan {
    bool offscreen = false;      // composed off-screen on a fill of the face colour
    std::optional<FaceEdge> comboEdge;
    std::optional<FaceEdge> faceEdge;
    Rect content;                // where glyph, caption and arrow go
    Point contentOffset;         // (1, 1) while pressed
    bool checkered = false;      // the content rectangle gets the pattern first
    bool smallArrow = false;     // after the caption: a dropdown without combo
    std::optional<Point> comboArrow;
};

FacePlan PlanFace(const ButtonModel& button, const FaceLook& look, Size size);

enum class GlyphLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

inline constexpr Size kSmallArrowSize{9, 3};

// The size of a caption laid out in a box `width` wide, on one line or
// word-wrapped (the platform's text measuring).
using MeasureCaption = std::function<Size(const std::string& caption, int width, bool wordWrap)>;

struct ContentRequest {
    Rect face;
    Point offset;        // added to everything: (1, 1) while pressed
    Size glyph;          // (0, 0) when no glyph is drawn
    bool drawCaption = false;
    std::string caption;
    bool wordWrap = false;
    GlyphLayout layout = GlyphLayout::GlyphLeft;
    int margin = -1;
    int spacing = 4;
    bool arrow = false;  // the small arrow after the caption
};

struct ContentLayout {
    Point glyph;
    Point arrow;
    Rect text;  // empty when there is no caption to draw
};

ContentLayout CalculateLayout(const ContentRequest& request, const MeasureCaption& measure);

// `character` is a UTF-16 unit as the keyboard gives it; `caption` UTF-8.
bool IsAccelerator(char16_t character, std::string_view caption);

}  // namespace sorv::toolbar
