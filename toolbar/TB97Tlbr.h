#pragma once
// TCustomToolbar97: the tool window that lays out a row of buttons and
// separators: one line when docked, wrapped into lines when it floats with a
// wrap width, and snapping from one wrapped layout to the next when the
// floating window is resized. TToolbar97 is the bar itself.
//
// TToolbarSep97: the gap between two groups of buttons on a tool bar, with
// an etched line across the bar (along it in a side dock) unless blank. A
// press on it drags the bar.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TB97.h"
#include "graphic_control.h"
#include "tb97tlbr_rules.h"

namespace sorv::toolbar {

class TCustomToolbar97 : public TCustomToolWindow97 {
public:
    ~TCustomToolbar97() override;

    // The floating wrap width in client pixels; 0 keeps one line.
    int FloatRightX() const { return floatRightX_; }
    void SetFloatRightX(int width);
    // The children in layout order: the order they came in, or after
    // Loaded, the order of their positions.
    const std::vector<tk::GraphicControl*>& OrderList() const { return orderList_; }
    // The breaks between the lines of the floating layout.
    const std::vector<LineBreak>& LineSeparators() const { return lineSeparators_; }

    // Once the children are made: they are put in the order of their
    // positions (top to bottom in a side dock, else left to right) and the
    // bar takes the size they need.
    void Loaded();

    // The per-bar settings, through the caller's reader and writer of whole
    // numbers (section, name, value).
    using ReadInteger = std::function<int(const std::string& section, const std::string& name, int fallback)>;
    using WriteInteger = std::function<void(const std::string& section, const std::string& name, int value)>;
    void ReadSettings(const ReadInteger& read);
    void WriteSettings(const WriteInteger& write) const;

protected:
    TCustomToolbar97(tk::Window& parent, std::string name, const Rect& bounds);

    // The window's class is named after the bar's own.
    void CreateParams(tk::ControlParams& params) const override;
    int MeasureThickness(DockKind kind) const override;
    Size MinimumClientSize() const override { return {}; }
    Size PlaceChildren(bool canMove, DockKind previousKind, TDock97* target) override;
    // A press on a separator drags the bar.
    bool IsIgnoredChild(const tk::GraphicControl& child) const override;
    // Children keep their own size; the floating window sizes by its edges
    // only, and the cursor is free while it does.
    ToolWindowParams GetWindowParams() const override { return {false, false, false}; }
    void SizingStarted(FrameHit hit) override;
    void SizingMoved(Rect& proposed, const Rect& start) override;
    void SizingEnded(bool accepted) override;
    void Paint(HDC dc, const Rect& updateRect) override;
    void GraphicEntered(tk::GraphicControl& graphic) override;
    void GraphicLeft(tk::GraphicControl& graphic) override;

private:
    std::vector<BarChild> Children() const;

    int floatRightX_ = 0;
    std::vector<tk::GraphicControl*> orderList_;
    std::vector<LineBreak> lineSeparators_;
    // Only while the floating window is resized.
    std::unique_ptr<FloatingResize> resize_;
};

class TToolbar97 : public TCustomToolbar97 {
public:
    // `parent`: the dock the bar starts in, or its form (it floats).
    TToolbar97(tk::Window& parent, std::string name, const Rect& bounds = {});
};

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

}  // namespace sorv::toolbar
