#include "toolbar_sep.h"

#include <algorithm>
#include <stdexcept>

#include "TB97Dock.h"
#include "TB97Tlbr.h"
#include "canvas.h"

namespace sorv {
namespace {

tk::Window& ToolbarOnly(tk::Window& parent) {
    if (!dynamic_cast<TCustomToolbar97*>(&parent)) {
        throw std::logic_error("TToolbarSep97 can only be placed on a TToolbar97");
    }
    return parent;
}

}  // namespace

TToolbarSep97::TToolbarSep97(tk::Window& parent, std::string name, int left, int top)
    : tk::GraphicControl(ToolbarOnly(parent), Rect::FromOrigin({left, top}, {6, 6}), std::move(name)) {}

TCustomToolbar97& TToolbarSep97::Toolbar() const { return static_cast<TCustomToolbar97&>(Parent()); }

void TToolbarSep97::SetBlank(bool blank) {
    if (blank == blank_) return;
    blank_ = blank;
    Invalidate();
}

void TToolbarSep97::SetSizeHorz(int size) {
    size = std::max(size, 1);
    if (size == sizeHorz_) return;
    sizeHorz_ = size;
    Toolbar().UpdateSize();
}

void TToolbarSep97::SetSizeVert(int size) {
    size = std::max(size, 1);
    if (size == sizeVert_) return;
    sizeVert_ = size;
    Toolbar().UpdateSize();
}

void TToolbarSep97::Paint(HDC dc) {
    if (blank_) return;
    const int w = Bounds().Width();
    const int h = Bounds().Height();
    tk::Canvas canvas(dc);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const TDock97* dock = Toolbar().DockedTo();
    if (dock && dock->Kind() == DockKind::dkVertical) {
        canvas.Line({0, h / 2 - 1}, {w, h / 2 - 1}, shadow);
        canvas.Line({0, h / 2}, {w, h / 2}, highlight);
    } else {
        canvas.Line({w / 2 - 1, 0}, {w / 2 - 1, h}, shadow);
        canvas.Line({w / 2, 0}, {w / 2, h}, highlight);
    }
}

void TToolbarSep97::MouseDown(const tk::MouseEvent& event) {
    if (event.button != tk::MouseButton::Left) return;
    Toolbar().MouseDownAt({Bounds().left + event.x, Bounds().top + event.y}, event.doubleClick);
}

}  // namespace sorv
