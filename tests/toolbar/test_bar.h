#pragma once
// A tool window for the tests: fixed-size children in one line (or, floating
// with a wrap width, in several), and a record of its events.
#include <string>
#include <vector>

#include "TB97.h"
#include "form.h"
#include "graphic_control.h"

namespace sorv::toolbar::test {

// The window that holds the docks: 304 x 200, caption "Docks".
tk::FormDescription HostDesign();

// A child of a fixed size, painted in one colour.
class Block : public tk::GraphicControl {
public:
    Block(tk::Window& parent, Rect bounds, COLORREF color) : tk::GraphicControl(parent, bounds), color_(color) {}
    void Paint(HDC dc) override;

private:
    COLORREF color_;
};

class TestBar : public TCustomToolWindow97 {
public:
    // `parent`: a dock or the form; `children`: their sizes.
    TestBar(tk::Window& parent, std::string name, const std::vector<Size>& children, int dockPos = 0);
    ~TestBar() override;

    std::vector<std::string> events;
    // Floating: children per line follow this width (0: one line).
    int wrapWidth = 0;

protected:
    int MeasureThickness(DockKind kind) const override;
    Size MinimumClientSize() const override { return {8, 8}; }
    Size PlaceChildren(bool canMove, DockKind previousKind, TDock97* target) override;
    void SizingStarted(FrameHit hit) override;
    void SizingMoved(Rect& proposed, const Rect& start) override;
    void SizingEnded(bool accepted) override;

private:
    std::vector<std::unique_ptr<Block>> blocks_;
    int proposedWidth_ = 0;
};

}  // namespace sorv::toolbar::test
