#include "test_bar.h"

#include <algorithm>

#include "canvas.h"

namespace sorv::toolbar::test {

tk::FormDescription HostDesign() {
    tk::FormDescription design;
    design.className = "TDockHost";
    design.caption = "Docks";
    design.clientWidth = 304;
    design.clientHeight = 200;
    design.border = tk::BorderStyle::Single;
    return design;
}

void Block::Paint(HDC dc) {
    const Rect b = Bounds();
    tk::Canvas(dc).FillRect(Rect{1, 1, b.Width() - 1, b.Height() - 1}, color_);
}

TestBar::TestBar(tk::Window& parent, std::string name, const std::vector<Size>& children, int dockPos)
    : TCustomToolWindow97(parent, std::move(name), Rect::FromOrigin({0, 0}, {50, 30})) {
    SetDockPos(dockPos);
    const auto note = [this](const char* event) { return [this, event] { events.push_back(event); }; };
    OnClose = note("close");
    OnDockChanged = note("dock changed");
    OnDockChanging = note("dock changing");
    OnMove = note("move");
    OnRecreated = note("recreated");
    OnRecreating = note("recreating");
    OnVisibleChanged = note("visible changed");
    CreateBar();
    const COLORREF colors[] = {RGB(200, 40, 40), RGB(40, 150, 40), RGB(40, 60, 200)};
    for (const Size& size : children)
        blocks_.push_back(std::make_unique<Block>(*this, Rect{0, 0, size.cx, size.cy}, colors[blocks_.size() % 3]));
    RequestLayout();
}

TestBar::~TestBar() { blocks_.clear(); }

int TestBar::MeasureThickness(DockKind kind) const {
    int thickness = 8;
    for (const auto& block : blocks_) {
        const Rect b = block->Bounds();
        thickness = std::max(thickness, kind == DockKind::dkVertical ? b.Width() : b.Height());
    }
    return thickness;
}

Size TestBar::PlaceChildren(bool canMove, DockKind, TDock97* target) {
    const bool vertical = target && target->Kind() == DockKind::dkVertical;
    const int thickness = MeasureThickness(target ? target->Kind() : DockKind::dkFloating);
    const int lineLength = !target && wrapWidth > 0 ? wrapWidth : 1 << 30;
    int along = 0;
    int across = 0;
    int longest = 0;
    for (const auto& block : blocks_) {
        const Rect b = block->Bounds();
        const int length = vertical ? b.Height() : b.Width();
        if (along > 0 && along + length > lineLength) {
            along = 0;
            across += thickness;
        }
        if (canMove) {
            const int x = vertical ? across : along;
            const int y = vertical ? along : across;
            block->SetBounds(Rect::FromOrigin({x, y}, b.Extent()));
        }
        along += length;
        longest = std::max(longest, along);
    }
    across += thickness;
    return vertical ? Size{across, std::max(longest, 8)} : Size{std::max(longest, 8), across};
}

void TestBar::SizingStarted(FrameHit hit) {
    events.push_back("sizing started " + std::to_string(static_cast<int>(hit)));
}

void TestBar::SizingMoved(Rect& proposed, const Rect&) {
    events.push_back("sizing moved " + std::to_string(proposed.Width()));
    proposedWidth_ = proposed.Width();
}

void TestBar::SizingEnded(bool accepted) {
    events.push_back(accepted ? "sizing ended accepted" : "sizing ended cancelled");
    RECT client{};
    GetClientRect(Handle(), &client);
    if (accepted && proposedWidth_ > 0) wrapWidth = proposedWidth_ - (Width() - client.right);
}

}  // namespace sorv::toolbar::test
