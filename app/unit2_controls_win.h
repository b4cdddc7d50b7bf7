#pragma once
// A panel: a plain container in the window's colour, framed by an outer and
// an inner bevel of one pixel each. Thin, it makes a sunken rule.
// An image control showing an icon stretched to its bounds; windowless,
// painted by its parent.
#include <windows.h>

#include <string>

#include "custom_control.h"
#include "graphic_control.h"
#include "handles.h"

namespace sorv {

enum class Bevel { None, Lowered, Raised };

// Draws the outer bevel on the rectangle's edge and the inner one just
// inside it: light above and left for a raised bevel, shadow for a lowered
// one, the other colour below and right. Returns what is left inside.
Rect DrawBevels(HDC dc, Rect rect, Bevel inner, Bevel outer);

class BevelPanel final : public tk::CustomControl {
public:
    BevelPanel(tk::Window& parent, std::string name, const Rect& bounds, Bevel inner, Bevel outer);

    Bevel BevelInner() const { return inner_; }
    Bevel BevelOuter() const { return outer_; }

protected:
    void CreateParams(tk::ControlParams& params) const override;
    void Paint(HDC dc, const Rect& updateRect) override;

private:
    Bevel inner_;
    Bevel outer_;
};

class IconImage : public tk::GraphicControl {
public:
    IconImage(tk::Window& parent, Rect bounds, tk::IconHandle icon);

    HICON Icon() const { return icon_.get(); }
    void Paint(HDC dc) override;

private:
    tk::IconHandle icon_;
};

// The program's main icon at its 32 x 32 size, loaded from the executable.
tk::IconHandle LoadProgramIcon();

}  // namespace sorv
