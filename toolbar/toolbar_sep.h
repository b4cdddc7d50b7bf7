#pragma once
// TToolbarSep97: the gap between two groups of buttons on a tool bar, with
// an etched line across the bar (along it in a side dock) unless blank. A
// press on it drags the bar.
#include <string>

#include "graphic_control.h"

namespace sorv {

class TCustomToolbar97;

class TToolbarSep97 : public tk::GraphicControl {
public:
    // Only a tool bar takes separators: "TToolbarSep97 can only be placed on
    // a TToolbar97" otherwise.
    TToolbarSep97(tk::Window& parent, std::string name, int left = 0, int top = 0);

    bool Blank() const { return blank_; }
    void SetBlank(bool blank);
    // Its length along a horizontal, resp. vertical, line of buttons (at least 1).
    int SizeHorz() const { return sizeHorz_; }
    void SetSizeHorz(int size);
    int SizeVert() const { return sizeVert_; }
    void SetSizeVert(int size);

    void Paint(HDC dc) override;
    void MouseDown(const tk::MouseEvent& event) override;

private:
    TCustomToolbar97& Toolbar() const;

    bool blank_ = false;
    int sizeHorz_ = 6;
    int sizeVert_ = 6;
};

}  // namespace sorv
