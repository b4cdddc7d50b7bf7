#pragma once
// A panel: a plain container in the window's colour, framed by an outer and
// an inner bevel of one pixel each. Thin, it makes a sunken rule.
#include <windows.h>

#include <string>

#include "control.h"

namespace sorv {

enum class Bevel { None, Lowered, Raised };

// Draws the outer bevel on the rectangle's edge and the inner one just
// inside it: light above and left for a raised bevel, shadow for a lowered
// one, the other colour below and right. Returns what is left inside.
RECT DrawBevels(HDC dc, RECT rect, Bevel inner, Bevel outer);

class BevelPanel : public tk::Control {
public:
    BevelPanel(tk::Window& parent, std::string name, tk::Bounds bounds, Bevel inner, Bevel outer);

    Bevel BevelInner() const { return inner_; }
    Bevel BevelOuter() const { return outer_; }

protected:
    bool PaintsItself() const override { return true; }
    void Paint(HDC dc, const RECT& updateRect) override;

private:
    Bevel inner_;
    Bevel outer_;
};

}  // namespace sorv
