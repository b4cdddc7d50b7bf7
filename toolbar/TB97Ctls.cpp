#include "TB97Ctls.h"

#include <optional>

#include "TB97.h"
#include "TB97Cmn.h"
#include "canvas.h"
#include "control.h"
#include "control_at.h"
#include "form.h"
#include "menu.h"
#include "pattern_brush.h"
#include "scope_guards.h"
#include "tb97ctls_button_rules.h"
#include "tb97_frame_win.h"
#include "tb97ctls_glyph_rules.h"
#include "utf16.h"
#include "win_geometry.h"
#include "window.h"

namespace sorv::toolbar {

// What all buttons of the process share.
struct TToolbarButton97::Shared {
    TToolbarButton97* hot = nullptr;
    std::unique_ptr<ButtonTimer> hoverTimer;
    // The held-down background, with the colours it was made in.
    std::optional<tk::PatternBrush> pattern;
    COLORREF patternFace = 0;
    COLORREF patternHighlight = 0;
    int live = 0;

    static Shared& Get() {
        static Shared shared;
        return shared;
    }
    // The hover hooks have work only while a button is hot.
    void SetHot(TToolbarButton97* button) {
        if ((hot == nullptr) != (button == nullptr))
            WantHooks({THookProcType::hkActivateApp, THookProcType::hkMouseMove}, button != nullptr);
        hot = button;
    }
    void StopHover() {
        if (hoverTimer) hoverTimer->SetEnabled(false);
        SetHot(nullptr);
    }
    // Highlight where row and column have the same parity, face elsewhere.
    HBRUSH Pattern() {
        if (!pattern) {
            patternFace = GetSysColor(COLOR_BTNFACE);
            patternHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
            pattern = tk::PatternBrush::TwoColour(tk::kCheckerboard, patternHighlight, patternFace);
        }
        return pattern->get();
    }
};

namespace {

void DrawFaceEdge(HDC dc, const FaceEdge& edge) {
    tk::Canvas canvas(dc);
    switch (edge.style) {
        case EdgeStyle::FlatRaised: canvas.DrawEdge(edge.rect, BDR_RAISEDINNER, BF_RECT); break;
        case EdgeStyle::FlatSunken: canvas.DrawEdge(edge.rect, BDR_SUNKENOUTER, BF_RECT); break;
        case EdgeStyle::Raised: canvas.DrawEdge(edge.rect, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE); break;
        case EdgeStyle::Sunken: canvas.DrawEdge(edge.rect, EDGE_SUNKEN, BF_RECT | BF_SOFT | BF_MIDDLE); break;
    }
}

bool IsPress(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK ||
           msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK;
}

}  // namespace

TToolbarButton97::TToolbarButton97(tk::Window& parent, std::string name, int left, int top)
    : tk::GraphicControl(parent, Rect{left, top, left + 22, top + 23}, std::move(name)) {
    tk::GraphicControl::SetOpaque(true);
    Shared& shared = Shared::Get();
    if (!shared.hoverTimer) {
        shared.hoverTimer = ButtonTimers()(125, [] {
            if (TToolbarButton97* hot = Shared::Get().hot) hot->HoverTick();
        });
    }
    InstallHookProc(HoverHookProc, {THookProcType::hkActivateApp, THookProcType::hkMouseMove});
    glyph_.OnChange = [this] { Redraw(true); };
    ++shared.live;
}

TToolbarButton97::~TToolbarButton97() {
    *alive_ = false;
    Shared& shared = Shared::Get();
    if (shared.hot == this) shared.StopHover();
    UninstallHookProc(HoverHookProc);
    if (dropdownMenu_) TDropdownList::Instance().RemoveMenu(dropdownMenu_);
    if (--shared.live == 0) {
        shared.pattern.reset();
        shared.hoverTimer.reset();
    }
}

TToolbarButton97* TToolbarButton97::HotButton() { return Shared::Get().hot; }

int TToolbarButton97::Width() const { return Bounds().Width(); }
int TToolbarButton97::Height() const { return Bounds().Height(); }

void TToolbarButton97::SetSize(int width, int height) {
    SetBounds(Rect::FromOrigin(Bounds().TopLeft(), {width, height}));
}

// --- Properties. -------------------------------------------------------------

void TToolbarButton97::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Redraw(true);
}

void TToolbarButton97::SetAllowAllUp(bool value) {
    if (value == model_.allowAllUp) return;
    model_.allowAllUp = value;
    ReleaseGroupMates();
}

void TToolbarButton97::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Redraw(true);
}

void TToolbarButton97::SetColor(TColor color) {
    color_ = color;
    Redraw(false);
}

void TToolbarButton97::SetDisplayMode(TButtonDisplayMode value) {
    if (value == displayMode_) return;
    displayMode_ = value;
    Redraw(true);
}

void TToolbarButton97::SetDown(bool value) {
    const DownChange change = toolbar::SetDown(model_, value);
    if (!change.changed) return;
    Apply(change.effects);
    if (change.wentDown) ReleaseGroupMates();
}

void TToolbarButton97::SetDropdownArrow(bool value) {
    if (value == dropdownArrow_) return;
    dropdownArrow_ = value;
    Redraw(true);
}

void TToolbarButton97::SetDropdownCombo(bool value) {
    if (value == model_.dropdownCombo) return;
    model_.dropdownCombo = value;
    // The arrow part is added to the button, not taken from it.
    const int width = value ? Width() + kDropdownComboWidth : std::max(Width() - kDropdownComboWidth, 1);
    SetSize(width, Height());
    Redraw(true);
}

void TToolbarButton97::SetDropdownMenu(tk::PopupMenu* menu) {
    if (menu == dropdownMenu_) return;
    if (dropdownMenu_) TDropdownList::Instance().RemoveMenu(dropdownMenu_);
    dropdownMenu_ = menu;
    model_.hasDropdown = menu != nullptr;
    if (menu) TDropdownList::Instance().AddMenu(menu);
    if (dropdownArrow_) Redraw(true);
}

void TToolbarButton97::EnabledChanged() {
    if (Enabled() == model_.enabled) return;
    Apply(toolbar::SetEnabled(model_, Enabled(), Shared::Get().hot == this));
}

void TToolbarButton97::SetFlat(bool value) {
    if (value == model_.flat) return;
    model_.flat = value;
    tk::GraphicControl::SetOpaque(opaque_ || !model_.flat);
    Redraw(true);
}

void TToolbarButton97::SetFont(tk::SharedFont font) {
    font_ = std::move(font);
    Redraw(true);
}

void TToolbarButton97::SetGlyph(HBITMAP bitmap) {
    glyph_.SetGlyph(bitmap);
    model_.numGlyphs = glyph_.NumGlyphs();
    Redraw(true);
}

void TToolbarButton97::SetGlyphMask(HBITMAP bitmap) {
    glyph_.SetGlyphMask(bitmap);
    Redraw(true);
}

void TToolbarButton97::SetGroupIndex(int value) {
    if (value == model_.groupIndex) return;
    model_.groupIndex = value;
    ReleaseGroupMates();
}

void TToolbarButton97::SetShowHint(bool value) {
    showHint_ = value;
    UpdateTool();
}

void TToolbarButton97::SetLayout(TButtonLayout value) {
    if (value == layout_) return;
    layout_ = value;
    Redraw(true);
}

void TToolbarButton97::SetMargin(int value) {
    if (value == margin_ || value < -1) return;
    margin_ = value;
    Redraw(true);
}

void TToolbarButton97::SetNoBorder(bool value) {
    if (value == noBorder_) return;
    noBorder_ = value;
    Invalidate();
}

void TToolbarButton97::SetNumGlyphs(int value) {
    value = ClampNumGlyphs(value);
    if (value == glyph_.NumGlyphs()) return;
    glyph_.SetNumGlyphs(value);
    model_.numGlyphs = glyph_.NumGlyphs();
    Redraw(true);
}

void TToolbarButton97::SetOldDisabledStyle(bool value) {
    if (value == glyph_.OldDisabledStyle()) return;
    glyph_.SetOldDisabledStyle(value);
    Redraw(true);
}

void TToolbarButton97::SetOpaque(bool value) {
    if (value == opaque_) return;
    opaque_ = value;
    // The parent paints behind a face that is not painted whole.
    tk::GraphicControl::SetOpaque(opaque_ || !model_.flat);
    Invalidate();
}

void TToolbarButton97::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    Redraw(true);
}

void TToolbarButton97::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    Redraw(true);
}

// --- Drawing. -------------------------------------------------------------------

// Only a transparent face needs the parent's background painted behind it.
void TToolbarButton97::Redraw(bool erase) { Invalidate(erase && model_.flat && !opaque_); }

void TToolbarButton97::Paint(HDC dc) {
    UpdateTool();
    const Size size{Width(), Height()};
    const FacePlan plan = PlanFace(model_, {opaque_, noBorder_, dropdownArrow_, false}, size);
    std::optional<tk::OffscreenBitmap> offscreen;
    HDC target = dc;
    if (plan.offscreen) {
        offscreen.emplace(dc, size.cx, size.cy);
        if (*offscreen) {
            target = offscreen->Dc();
            tk::Canvas(target).FillRect(Rect{0, 0, size.cx, size.cy}, tk::ColorToRgb(color_));
        }
    }
    const tk::SharedFont font = font_ ? font_ : Parent().GetFont() ? Parent().GetFont() : tk::DefaultFont();
    const tk::Selection fontIn(target, font->Handle());

    if (plan.comboEdge) DrawFaceEdge(target, *plan.comboEdge);
    if (plan.faceEdge) DrawFaceEdge(target, *plan.faceEdge);
    if (plan.checkered) tk::Canvas(target).FillRect(plan.content, Shared::Get().Pattern());
    TButtonGlyph::Content content;
    content.layout.face = plan.content;
    content.layout.offset = plan.contentOffset;
    content.layout.drawCaption = displayMode_ != TButtonDisplayMode::dmGlyphOnly;
    content.layout.caption = caption_;
    content.layout.wordWrap = wordWrap_;
    content.layout.layout = layout_;
    content.layout.margin = margin_;
    content.layout.spacing = spacing_;
    content.layout.arrow = plan.smallArrow;
    content.drawGlyph = displayMode_ != TButtonDisplayMode::dmTextOnly;
    content.alignment = alignment_ == TAlignment::taLeftJustify    ? 0
                        : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                                    : DT_CENTER;
    content.state = model_.state;
    content.textColor = GetSysColor(COLOR_BTNTEXT);
    glyph_.DrawContent(target, content);
    if (plan.comboArrow) TButtonGlyph::DrawArrow(target, *plan.comboArrow, model_.state, content.textColor);
    if (offscreen && *offscreen) BitBlt(dc, 0, 0, size.cx, size.cy, offscreen->Dc(), 0, 0, SRCCOPY);
}

void TToolbarButton97::UpdateTool() {
    if (showHint_ && Visible() && Parent().Handle()) {
        tip_.Place(Parent().Handle(), Bounds(), Widen(Hint));
    } else {
        tip_.Remove();
    }
}

bool TToolbarButton97::TipsAllowed() const {
    HWND parent = Parent().Handle();
    return parent && GetActiveWindow() != nullptr && IsWindowEnabled(GetAncestor(parent, GA_ROOT)) &&
           IsWindowEnabled(GetAncestor(parent, GA_ROOTOWNER));
}

// --- Hover. ------------------------------------------------------------------------

void TToolbarButton97::Apply(const ButtonEffects& effects) {
    Shared& shared = Shared::Get();
    if (effects.releaseHot && shared.hot == this) shared.StopHover();
    if (effects.freeRepeat) repeatTimer_.reset();
    if (effects.redraw) Redraw(effects.erase);
    if (effects.mouseEntered && OnMouseEnter) OnMouseEnter();
    if (effects.mouseExited && OnMouseExit) OnMouseExit();
    if (effects.endHover) EndHover();
}

void TToolbarButton97::BeginHover() { Apply(toolbar::BeginHover(model_)); }

void TToolbarButton97::EndHover() { Apply(toolbar::EndHover(model_, Shared::Get().hot == this)); }

bool TToolbarButton97::IsAt(Point screen) const { return tk::FindControlAt(screen, true).graphic == this; }

bool TToolbarButton97::UnderCursor() const {
    POINT cursor{};
    return GetCursorPos(&cursor) && IsAt(FromPOINT(cursor));
}

void TToolbarButton97::BecomeHot() {
    Shared& shared = Shared::Get();
    if (shared.hot == this) return;
    if (shared.hot) shared.hot->EndHover();
    if (ShowBorderWhenInactive || GetActiveWindow() != nullptr) {
        shared.SetHot(this);
        shared.hoverTimer->SetEnabled(true);
        BeginHover();
    }
}

// Hovered again after a click, the button is the hot one as after a mouse
// move: otherwise nothing would end its hover when the mouse leaves at once.
void TToolbarButton97::RefreshHover() {
    if (!model_.enabled) return;
    if (UnderCursor()) {
        BecomeHot();
    } else {
        EndHover();
    }
}

void TToolbarButton97::HoverTick() {
    if (!UnderCursor()) EndHover();
}

void TToolbarButton97::HoverHookProc(THookProcType kind, HWND window, WPARAM wParam, LPARAM lParam) {
    if (kind == THookProcType::hkActivateApp && wParam == 0) ControlTip::DeactivateAll();
    TToolbarButton97* hot = Shared::Get().hot;
    if (!hot) return;
    if (kind == THookProcType::hkActivateApp) {
        if (wParam == 0 && !hot->ShowBorderWhenInactive) hot->EndHover();
    } else if (kind == THookProcType::hkMouseMove) {
        // The point of the message, not the cursor now: they differ when
        // moves are queued.
        if (!hot->IsAt(ScreenPoint(window, lParam))) hot->EndHover();
    }
}

// --- Mouse. ----------------------------------------------------------------------------

void TToolbarButton97::MouseDown(const tk::MouseEvent& event) {
    if (!model_.enabled) return;
    lastMouse_ = {event.x, event.y};
    const auto alive = alive_;
    if (event.button != tk::MouseButton::Left) {
        BeginHover();
        if (OnMouseDown) OnMouseDown(event.button, event.keys, event.x, event.y);
        return;
    }
    ButtonEffects pressed = PressLeft(model_, event.x, Width());
    const bool repeat = pressed.startRepeat;
    pressed.click = pressed.startRepeat = false;
    const ScopeExit clearMenu([&] {
        if (*alive) model_.menuIsDown = false;
    });
    Apply(pressed);
    if (OnMouseDown) OnMouseDown(event.button, event.keys, event.x, event.y);
    if (!*alive) return;
    if (model_.menuIsDown) {
        Click();  // the menu is shown and closed inside
    } else if (repeat) {
        Click();
        if (!*alive) return;
        if (!repeatTimer_) repeatTimer_ = ButtonTimers()(RepeatDelay, [this] { RepeatTick(); });
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetInterval(RepeatDelay);
        repeatTimer_->SetEnabled(true);
    }
    if (*alive && event.doubleClick && model_.down && OnDblClick) OnDblClick();
}

void TToolbarButton97::MouseMove(const tk::MouseEvent& event) {
    lastMouse_ = {event.x, event.y};
    if (OnMouseMove) OnMouseMove(event.keys, event.x, event.y);
    UpdateTool();
    tip_.SetActive(TipsAllowed());
    POINT screen{Bounds().left + event.x, Bounds().top + event.y};
    ClientToScreen(Parent().Handle(), &screen);
    if (IsAt(FromPOINT(screen))) BecomeHot();
    if (model_.tracking) {
        const bool onFace = HitTestFace(model_, {event.x, event.y}, {Width(), Height()});
        ButtonEffects moved = TrackTo(model_, onFace);
        if (moved.resumeRepeat && repeatTimer_) repeatTimer_->SetEnabled(true);
        Apply(moved);
    }
}

void TToolbarButton97::MouseUp(const tk::MouseEvent& event) {
    lastMouse_ = {event.x, event.y};
    repeatTimer_.reset();
    if (event.button == tk::MouseButton::Right && model_.enabled) {
        model_.tracking = false;
        EndHover();
    }
    const auto alive = alive_;
    if (OnMouseUp) OnMouseUp(event.button, event.keys, event.x, event.y);
    if (!*alive || event.button != tk::MouseButton::Left) return;
    const ButtonEffects released =
        ReleaseLeft(model_, HitTestFace(model_, {event.x, event.y}, {Width(), Height()}));
    if (released.click) {
        Click();
    } else {
        Apply(released);
    }
}

void TToolbarButton97::CancelMode() { Apply(CancelTracking(model_)); }

void TToolbarButton97::RepeatTick() {
    if (!repeatTimer_) return;
    repeatTimer_->SetInterval(RepeatInterval);
    const bool captured = GetCapture() == Parent().Handle();
    if (model_.repeating && model_.tracking && captured &&
        HitTestFace(model_, lastMouse_, {Width(), Height()})) {
        Click();
    } else {
        repeatTimer_->SetEnabled(false);
    }
}

// --- Click. ------------------------------------------------------------------------------

// A floating bar's window is not its form's child: the bar knows its form.
tk::Form* TToolbarButton97::ParentForm() const {
    tk::Window& parent = Parent();
    if (auto* bar = dynamic_cast<TCustomToolWindow97*>(&parent)) return &bar->ParentForm();
    if (auto* control = dynamic_cast<tk::Control*>(&parent)) return control->OwnerForm();
    return dynamic_cast<tk::Form*>(&parent);
}

void TToolbarButton97::Click() {
    // The handlers may open a modal window: no tip over it.
    tip_.SetActive(false);
    if (model_.repeating && !model_.menuIsDown) {
        if (OnClick) OnClick();
        return;
    }
    const auto alive = alive_;
    model_.inClick = true;
    const ScopeExit end([&] {
        if (!*alive) return;
        Apply(EndClick(model_));
        RefreshHover();
    });
    if (model_.groupIndex != 0) SetDown(!model_.down);
    Apply(BeginClick(model_, Shared::Get().hot == this));
    if (!dropdownMenu_ || (model_.dropdownCombo && !model_.menuIsDown)) {
        if (tk::Form* form = ParentForm()) form->SetModalResult(ModalResult);
        if (OnClick) OnClick();
        return;
    }
    if (!model_.dropdownCombo && OnClick) {
        OnClick();
        if (!*alive) return;
    }
    DropDown();
}

void TToolbarButton97::DropDown() {
    ReleaseCapture();
    // Below the button; beside it, towards the window, in a side dock.
    POINT at{Bounds().left, Bounds().bottom};
    tk::PopupAlignment side = tk::PopupAlignment::Left;
    const auto* bar = dynamic_cast<const TCustomToolWindow97*>(&Parent());
    if (const TDock97* dock = bar ? bar->DockedTo() : nullptr) {
        if (dock->Position() == TDockPosition::dpLeft) at = {Bounds().right, Bounds().top};
        if (dock->Position() == TDockPosition::dpRight) {
            at = {Bounds().left, Bounds().top};
            side = tk::PopupAlignment::Right;
        }
    }
    ClientToScreen(Parent().Handle(), &at);
    tk::PopupMenu& menu = *dropdownMenu_;
    const tk::PopupAlignment alignment = menu.Alignment;
    menu.Alignment = side;
    const ScopeExit restore([&] { menu.Alignment = alignment; });
    if (menu.OnPopup) menu.OnPopup();
    const UINT major = LOBYTE(LOWORD(GetVersion()));
    // Returns when the menu closes. The command goes to the list's window
    // through the queue, after the clean-up below, as a command would.
    const HWND owner = TDropdownList::Instance().Owner();
    if (const UINT command = menu.Track(owner, {at.x, at.y}, major < 4 ? TPM_RIGHTBUTTON : 0)) {
        PostMessageW(owner, WM_COMMAND, command, 0);
    }
    DiscardMenuClicks();
}

// The press that closed the menu must not open it again when it lands on
// this button; presses elsewhere reach their windows, in their order.
void TToolbarButton97::DiscardMenuClicks() {
    RECT screen = ToRECT(Bounds());
    MapWindowPoints(Parent().Handle(), nullptr, reinterpret_cast<POINT*>(&screen), 2);
    std::vector<MSG> kept;
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE)) {
        if (IsPress(msg.message) && FromRECT(screen).Contains(ScreenPoint(msg.hwnd, msg.lParam))) continue;
        kept.push_back(msg);
    }
    for (const MSG& m : kept) PostMessageW(m.hwnd, m.message, m.wParam, m.lParam);
}

void TToolbarButton97::ReleaseGroupMates() {
    if (model_.groupIndex == 0) return;
    std::vector<TToolbarButton97*> mates;
    std::vector<ButtonModel*> models;
    for (tk::GraphicControl* control : Parent().GraphicControls()) {
        auto* button = dynamic_cast<TToolbarButton97*>(control);
        if (!button || button == this) continue;
        mates.push_back(button);
        models.push_back(&button->model_);
    }
    const std::vector<ButtonEffects> effects = toolbar::ReleaseGroupMates(model_, models);
    for (std::size_t i = 0; i < mates.size(); ++i) mates[i]->Apply(effects[i]);
}

// --- Keys and notifications. --------------------------------------------------------------

namespace {

bool CanTakeKeys(const TToolbarButton97& button) {
    const HWND parent = button.Parent().Handle();
    return parent && IsWindowEnabled(parent) && IsWindowVisible(parent) && button.Enabled() && button.Visible();
}

}  // namespace

bool TToolbarButton97::DialogChar(wchar_t character) {
    if (displayMode_ == TButtonDisplayMode::dmGlyphOnly || !CanTakeKeys(*this) ||
        !IsAccelerator(static_cast<char16_t>(character), caption_)) {
        return false;
    }
    Click();
    return true;
}

bool TToolbarButton97::DialogKey(WPARAM key, bool shift, bool control, bool alt) {
    const bool wanted = (key == VK_RETURN && Default) || (key == VK_ESCAPE && Cancel);
    if (!wanted || shift || control || alt || !CanTakeKeys(*this)) return false;
    Click();
    return true;
}

void TToolbarButton97::SysColorChanged() {
    Shared& shared = Shared::Get();
    if (shared.pattern &&
        (shared.patternFace != GetSysColor(COLOR_BTNFACE) || shared.patternHighlight != GetSysColor(COLOR_BTNHIGHLIGHT))) {
        shared.pattern.reset();
    }
    glyph_.DiscardImages();
    glyph_.BuildStateImage(model_.state);
}

void TToolbarButton97::Loaded() {
    glyph_.BuildStateImage(model_.enabled ? ButtonState::Up : ButtonState::Disabled);
}

}  // namespace sorv::toolbar
