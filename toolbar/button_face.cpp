#include "button_face.h"

namespace sorv::tb97 {

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

}  // namespace sorv::tb97
