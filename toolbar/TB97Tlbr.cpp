#include "TB97Tlbr.h"

#include <algorithm>
#include <stdexcept>

#include "TB97.h"
#include "canvas.h"
#include "scope_guards.h"

namespace sorv::toolbar {
namespace {

SizingEdge EdgeOf(FrameHit hit) {
    switch (hit) {
        case FrameHit::Left: return SizingEdge::Left;
        case FrameHit::Top: return SizingEdge::Top;
        case FrameHit::Bottom: return SizingEdge::Bottom;
        default: return SizingEdge::Right;
    }
}

}  // namespace

TCustomToolbar97::TCustomToolbar97(tk::Window& parent, std::string name, const Rect& bounds)
    : TCustomToolWindow97(parent, std::move(name), bounds) {}

TCustomToolbar97::~TCustomToolbar97() = default;

void TCustomToolbar97::SetFloatRightX(int width) {
    if (width == floatRightX_) return;
    floatRightX_ = width;
    if (!Docked()) RequestLayout();
}

void TCustomToolbar97::GraphicEntered(tk::GraphicControl& graphic) {
    std::erase(orderList_, &graphic);
    orderList_.push_back(&graphic);
}

void TCustomToolbar97::GraphicLeft(tk::GraphicControl& graphic) { std::erase(orderList_, &graphic); }

void TCustomToolbar97::Loaded() {
    const bool vertical = DockedTo() && DockedTo()->Kind() == DockKind::dkVertical;
    std::stable_sort(orderList_.begin(), orderList_.end(), [vertical](tk::GraphicControl* a, tk::GraphicControl* b) {
        return vertical ? a->Bounds().top < b->Bounds().top : a->Bounds().left < b->Bounds().left;
    });
    RequestLayout();
}

std::vector<BarChild> TCustomToolbar97::Children() const {
    std::vector<BarChild> children;
    children.reserve(orderList_.size());
    for (const tk::GraphicControl* graphic : orderList_) {
        BarChild child;
        child.visible = graphic->Visible();
        if (const auto* sep = dynamic_cast<const TToolbarSep97*>(graphic)) {
            child.separator = true;
            child.sizeHorz = sep->SizeHorz();
            child.sizeVert = sep->SizeVert();
            child.blank = sep->Blank();
        } else {
            child.size = graphic->Bounds().Extent();
        }
        children.push_back(child);
    }
    return children;
}

void TCustomToolbar97::CreateParams(tk::ControlParams& params) const {
    TCustomToolWindow97::CreateParams(params);
    params.windowClass.name = L"TToolbar97";
}

int TCustomToolbar97::MeasureThickness(DockKind kind) const {
    return toolbar::MeasureThickness(Children(), kind == DockKind::dkVertical);
}

Size TCustomToolbar97::PlaceChildren(bool canMove, DockKind, TDock97* target) {
    BarPlacement placement;
    placement.children = Children();
    placement.docked = target != nullptr;
    placement.vertical = target && target->Kind() == DockKind::dkVertical;
    placement.floatRightX = floatRightX_;
    // In its own dock the bar fills its row, which may be thicker than it;
    // never thinner: a row measured before the bar grew is out of date.
    if (target && target == DockedTo()) {
        placement.rowSize = std::max(target->RowThicknessOf(DockRow(), this),
                                     toolbar::MeasureThickness(placement.children, placement.vertical));
    }
    const BarLayout layout = toolbar::PlaceChildren(placement);
    if (canMove) {
        const std::vector<tk::GraphicControl*> order = orderList_;
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (layout.bounds[i] && order[i]->Bounds() != *layout.bounds[i]) order[i]->SetBounds(*layout.bounds[i]);
        }
        lineSeparators_ = layout.lineBreaks;
    }
    return layout.client;
}

bool TCustomToolbar97::IsIgnoredChild(const tk::GraphicControl& child) const {
    return dynamic_cast<const TToolbarSep97*>(&child) != nullptr;
}

void TCustomToolbar97::SizingStarted(FrameHit hit) {
    const Size window = WindowRect().Extent();
    const Size client = ClientSize();
    const Size frame{window.cx - client.cx, window.cy - client.cy};
    // Each measure lays out for a wrap width of its own, then puts the
    // bar's back, also when it fails.
    const auto measure = [this](int floatRightX) {
        const ScopeExit restore([this, kept = floatRightX_] { floatRightX_ = kept; });
        floatRightX_ = floatRightX;
        return PlaceChildren(false, DockKind::dkFloating, nullptr);
    };
    resize_ = std::make_unique<FloatingResize>(measure, frame, MeasureThickness(DockKind::dkFloating),
                                                     EdgeOf(hit), window, floatRightX_);
}

void TCustomToolbar97::SizingMoved(Rect& proposed, const Rect& start) {
    if (!resize_) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    proposed = resize_->Moved({cursor.x, cursor.y}, WindowRect(), start);
}

void TCustomToolbar97::SizingEnded(bool accepted) {
    const std::unique_ptr<FloatingResize> resize = std::move(resize_);
    if (!accepted || !resize) return;
    floatRightX_ = resize->ChosenFloatRightX();
    RequestLayout();
}

void TCustomToolbar97::Paint(HDC dc, const Rect& updateRect) {
    TCustomToolWindow97::Paint(dc, updateRect);
    if (Docked()) return;
    const int right = ClientRect().right;
    tk::Canvas canvas(dc);
    for (const LineBreak& line : lineSeparators_) {
        if (line.blank) continue;
        canvas.Line({1, line.y - 4}, {right - 1, line.y - 4}, GetSysColor(COLOR_BTNSHADOW));
        canvas.Line({1, line.y - 3}, {right - 1, line.y - 3}, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
}

void TCustomToolbar97::ReadSettings(const ReadInteger& read) { SetFloatRightX(read(Name(), "FloatRightX", 0)); }

void TCustomToolbar97::WriteSettings(const WriteInteger& write) const { write(Name(), "FloatRightX", floatRightX_); }

TToolbar97::TToolbar97(tk::Window& parent, std::string name, const Rect& bounds)
    : TCustomToolbar97(parent, std::move(name), bounds) {
    CreateBar();
}

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
    Toolbar().RequestLayout();
}

void TToolbarSep97::SetSizeVert(int size) {
    size = std::max(size, 1);
    if (size == sizeVert_) return;
    sizeVert_ = size;
    Toolbar().RequestLayout();
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

}  // namespace sorv::toolbar
