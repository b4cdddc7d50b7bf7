#pragma once
// An image control showing an icon stretched to its bounds; windowless,
// painted by its parent.
#include <windows.h>

#include "graphic_control.h"
#include "handles.h"

namespace sorv {

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
