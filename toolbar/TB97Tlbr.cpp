#include "TB97Tlbr.h"

#include <algorithm>

#include "TB97Dock.h"
#include "canvas.h"
#include "toolbar_sep.h"

namespace sorv {
namespace {

tb97::SizingEdge EdgeOf(dock::FrameHit hit) {
    switch (hit) {
        case dock::FrameHit::Left: return tb97::SizingEdge::Left;
        case dock::FrameHit::Top: return tb97::SizingEdge::Top;
        case dock::FrameHit::Bottom: return tb97::SizingEdge::Bottom;
        default: return tb97::SizingEdge::Right;
    }
}

}  // namespace

TCustomToolbar97::TCustomToolbar97(tk::Window& parent, std::string name, tk::Bounds bounds)
    : TCustomToolWindow97(parent, std::move(name), bounds) {}

TCustomToolbar97::~TCustomToolbar97() = default;

void TCustomToolbar97::SetFloatRightX(int width) {
    if (width == floatRightX_) return;
    floatRightX_ = width;
    if (!Docked()) UpdateSize();
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
    UpdateSize();
}

std::vector<tb97::BarChild> TCustomToolbar97::Children() const {
    std::vector<tb97::BarChild> children;
    children.reserve(orderList_.size());
    for (const tk::GraphicControl* graphic : orderList_) {
        tb97::BarChild child;
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
    return tb97::MeasureThickness(Children(), kind == DockKind::dkVertical);
}

Size TCustomToolbar97::PlaceChildren(bool canMove, DockKind, TDock97* target) {
    tb97::BarPlacement placement;
    placement.children = Children();
    placement.docked = target != nullptr;
    placement.vertical = target && target->Kind() == DockKind::dkVertical;
    placement.floatRightX = floatRightX_;
    // In its own dock the bar fills its row, which may be thicker than it;
    // never thinner: a row measured before the bar grew is out of date.
    if (target && target == DockedTo()) {
        placement.rowSize = std::max(target->RowThicknessOf(DockRow(), this),
                                     tb97::MeasureThickness(placement.children, placement.vertical));
    }
    const tb97::BarLayout layout = tb97::PlaceChildren(placement);
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

void TCustomToolbar97::SizingStarted(dock::FrameHit hit) {
    RECT window{};
    RECT client{};
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    const Size frame{(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
    // Each measure lays out for a wrap width of its own, then puts the
    // bar's back, also when it fails.
    const auto measure = [this](int floatRightX) {
        const int kept = floatRightX_;
        struct Restore {
            TCustomToolbar97& bar;
            int value;
            ~Restore() { bar.floatRightX_ = value; }
        } restore{*this, kept};
        floatRightX_ = floatRightX;
        return PlaceChildren(false, DockKind::dkFloating, nullptr);
    };
    resize_ = std::make_unique<tb97::FloatingResize>(measure, frame, MeasureThickness(DockKind::dkFloating),
                                                     EdgeOf(hit),
                                                     Size{window.right - window.left, window.bottom - window.top},
                                                     floatRightX_);
}

void TCustomToolbar97::SizingMoved(Rect& proposed, const Rect& start) {
    if (!resize_) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT window{};
    GetWindowRect(Handle(), &window);
    proposed = resize_->Moved({cursor.x, cursor.y}, {window.left, window.top, window.right, window.bottom}, start);
}

void TCustomToolbar97::SizingEnded(bool accepted) {
    const std::unique_ptr<tb97::FloatingResize> resize = std::move(resize_);
    if (!accepted || !resize) return;
    floatRightX_ = resize->ChosenFloatRightX();
    UpdateSize();
}

void TCustomToolbar97::Paint(HDC dc, const RECT& updateRect) {
    TCustomToolWindow97::Paint(dc, updateRect);
    if (Docked()) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    tk::Canvas canvas(dc);
    for (const tb97::LineBreak& line : lineSeparators_) {
        if (line.blank) continue;
        canvas.Line({1, line.y - 4}, {client.right - 1, line.y - 4}, GetSysColor(COLOR_BTNSHADOW));
        canvas.Line({1, line.y - 3}, {client.right - 1, line.y - 3}, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
}

void TCustomToolbar97::ReadSettings(const ReadInteger& read) { SetFloatRightX(read(Name(), "FloatRightX", 0)); }

void TCustomToolbar97::WriteSettings(const WriteInteger& write) const { write(Name(), "FloatRightX", floatRightX_); }

TToolbar97::TToolbar97(tk::Window& parent, std::string name, tk::Bounds bounds)
    : TCustomToolbar97(parent, std::move(name), bounds) {
    CreateBar();
}

}  // namespace sorv
