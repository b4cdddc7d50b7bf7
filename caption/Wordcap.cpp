#include "Wordcap.h"

#include <algorithm>
#include <array>

#include "application.h"
#include "colour.h"
#include "private_messages.h"
#include "scope_guards.h"
#include "win_geometry.h"
#include "wordcap_paint_win.h"
#include "wordcap_win.h"

namespace sorv::caption {
namespace {

// Hit-test codes of the caption buttons: the platform draws a pressed button
// itself while the mouse is held on one.
bool IsCaptionButton(WPARAM hitTest) {
    return hitTest == HTCLOSE || hitTest == HTMINBUTTON || hitTest == HTMAXBUTTON || hitTest == HTHELP ||
           hitTest == HTSYSMENU;
}

// Sent by the themed window procedure to draw the caption directly.
constexpr UINT WM_NCUAHDRAWCAPTION = 0x00AE;

PartText TextOf(const TCompanyText& part) { return {part.Visible(), part.StoredCaption()}; }

}  // namespace

TCompanyText::TCompanyText(TMSOfficeCaption& owner) : font_(owner.systemFont_), owner_(owner) {}

void TCompanyText::SetCaption(std::string_view caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    owner_.ComposeWindowText();
}

void TCompanyText::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    owner_.ComposeWindowText();
}

void TCompanyText::SetFont(const tk::FontDescription& font) {
    if (fontKind_ == TFontKind::fkAutoHeight) {
        font_ = tk::MakeFont(FontOfKind(fontKind_, font, owner_.systemCaption_));
    } else {
        font_ = tk::MakeFont(font);
        fontKind_ = TFontKind::fkCustom;
    }
}

void TCompanyText::SetFontKind(TFontKind kind) {
    fontKind_ = kind;
    if (kind != TFontKind::fkCustom) font_ = tk::MakeFont(FontOfKind(kind, font_->Design(), owner_.systemCaption_));
}

std::string TCaptionText::Caption() const { return Owner().ExtractCaption(); }

TMSOfficeCaption::TMSOfficeCaption(tk::Form& owner, const CaptionDesign& design, std::string name)
    : Component(owner, std::move(name)),
      form_(owner),
      formHandle_(owner.Handle()),
      systemCaption_(ReadSystemCaptionFont()),
      systemFont_(tk::MakeFont(ToFontDescription(systemCaption_))),
      companyText_(*this),
      appNameText_(*this),
      captionText_(*this) {
    HookForm();
    // The caption part holds the form's caption from the start, not only from
    // the first paint: a text set before it would otherwise blank the caption.
    captionText_.StoreCaption(ExtractCaption());
    // The stored properties, as the form's layout gives them.
    if (design.caption) captionText_.SetCaption(*design.caption);
    captionText_.SetFontKind(design.captionKind);
    captionText_.SetVisible(design.captionVisible);
    appNameText_.SetFontKind(design.appNameKind);
    appNameText_.SetVisible(design.appNameVisible);
    companyText_.SetFontKind(design.companyKind);
    companyText_.SetVisible(design.companyVisible);
    Loaded();
}

TMSOfficeCaption::~TMSOfficeCaption() {
    UnhookForm();
    // A form that goes keeps its title bar to the end.
    if (form_.Handle() && !form_.Destroying()) {
        form_.SetCaption(ExtractCaption());
        RefreshFrame();
    }
}

void TMSOfficeCaption::Loaded() {
    if (form_.Handle() != formHandle_) {
        UnhookForm();
        HookForm();
    }
}

void TMSOfficeCaption::HookForm() {
    formHandle_ = form_.Handle();
    formHook_ = form_.AddHook(
        [this](const tk::Message& message, const tk::NextHook& next) { return FormMessage(message, next); });
    if (!recreating_)
        applicationHook_ = tk::App().AddHook(
            [this](const tk::Message& message, const tk::NextHook& next) { return ApplicationMessage(message, next); });
    recreating_ = false;
    hooked_ = true;
    UsePaintedFrame(formHandle_);
}

void TMSOfficeCaption::UnhookForm() {
    if (!hooked_) return;
    if (!recreating_) applicationHook_.Remove();
    formHook_.Remove();
    hooked_ = false;
}

void TMSOfficeCaption::ComposeWindowText() {
    const std::string text =
        caption::ComposeWindowText(TextOf(companyText_), TextOf(appNameText_), TextOf(captionText_));
    // Locked, the platform cannot draw its own caption with the new text; the
    // frame is repainted (by us) when the lock goes. Another window may hold
    // the one lock there is: then it is left alone.
    const bool locked = LockWindowUpdate(form_.Handle()) != FALSE;
    const ScopeExit unlock([locked] {
        if (locked) LockWindowUpdate(nullptr);
    });
    form_.SetCaption(text);
}

std::string TMSOfficeCaption::ExtractCaption() const {
    if (!form_.Handle()) return {};
    return caption::ExtractCaption(form_.Caption(), TextOf(companyText_), TextOf(appNameText_));
}

bool TMSOfficeCaption::IsFormActive() const {
    if (activeKnown_) return active_;
    return GetActiveWindow() == form_.Handle();
}

void TMSOfficeCaption::RefreshFrame() const {
    SetWindowPos(form_.Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TMSOfficeCaption::ReadSystemFont() {
    systemCaption_ = ReadSystemCaptionFont();
    systemFont_ = tk::MakeFont(ToFontDescription(systemCaption_));
}

void TMSOfficeCaption::SystemChanged() {
    ReadSystemFont();
    appNameText_.SetFontKind(appNameText_.FontKind());
    captionText_.SetFontKind(captionText_.FontKind());
    companyText_.SetFontKind(companyText_.FontKind());
    RefreshFrame();
}

LRESULT TMSOfficeCaption::FormMessage(const tk::Message& message, const tk::NextHook& next) {
    switch (message.msg) {
        case WM_NCPAINT:
            return PaintFrame(message, next);
        case WM_NCACTIVATE:
            return Activate(message, next);
        case WM_NCUAHDRAWCAPTION:
            PaintCaption(IsFormActive());
            return 0;
        case WM_SETCURSOR:
            // The hit-test code is signed (HTERROR is -2); over a child
            // window the child's own cursor stands.
            if (const int cursor = SizingCursorFor(static_cast<short>(LOWORD(message.lParam)));
                cursor != 0 && reinterpret_cast<HWND>(message.wParam) == form_.Handle()) {
                SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor)));
                return 1;
            }
            break;
        case WM_DESTROY:
            // The form's window is being made anew: hook the new one once it
            // exists, from the message queue.
            recreating_ = true;
            UnhookForm();
            PostMessageW(tk::App().Handle(), tk::WM_CAPTIONREHOOK, 0, reinterpret_cast<LPARAM>(this));
            break;
        default:
            break;
    }
    const LRESULT result = next(message);
    AfterForwarding(message);
    return result;
}

LRESULT TMSOfficeCaption::Activate(const tk::Message& message, const tk::NextHook& next) {
    active_ = message.wParam != 0;
    activeKnown_ = true;
    // With the new look the platform's answer would draw its own title bar
    // over ours.
    if (!NewWindowLook()) next(message);
    RedrawWindow(message.window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return 1;
}

void TMSOfficeCaption::AfterForwarding(const tk::Message& message) {
    switch (message.msg) {
        case WM_SETICON:
        case WM_SETTEXT:
            // The platform draws the title bar itself for both.
            PaintCaption(IsFormActive());
            break;
        case WM_NCLBUTTONDOWN:
            // Back from the platform's own loop over a caption button.
            if (IsCaptionButton(message.wParam) && hooked_ && IsWindow(message.window)) PaintCaption(IsFormActive());
            break;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
        case WM_DISPLAYCHANGE:
            SystemChanged();
            break;
        default:
            break;
    }
}

LRESULT TMSOfficeCaption::ApplicationMessage(const tk::Message& message, const tk::NextHook& next) {
    if (message.msg == tk::WM_CAPTIONREHOOK && message.lParam == reinterpret_cast<LPARAM>(this) && !hooked_ &&
        form_.Handle()) {
        HookForm();
        if (GetActiveWindow() == formHandle_) active_ = true;
        RefreshFrame();
    }
    return next(message);
}

// Composed off-screen (window coordinates throughout: the bitmap reaches from
// the origin) and copied to the window in one block.
Rect TMSOfficeCaption::PaintCaption(bool active) {
    const HWND window = form_.Handle();
    if (!window) return {};
    const FrameState frame = FrameStateOf(form_);
    if (frame.style == FrameStyle::None) return {};
    const CaptionMetrics metrics = CurrentCaptionMetrics();
    const Rect titleBar = TitleBarRect(metrics, frame);
    Rect textRect = TextRect(metrics, frame, titleBar);
    const Rect covered = CoveredRect(frame, titleBar, textRect);
    if (covered.IsEmpty()) return {};
    const tk::WindowDc windowDc(window, tk::WindowDc::Area::Whole);
    if (!windowDc) return {};
    const tk::OffscreenBitmap offscreen(windowDc.get(), covered.right, covered.bottom);
    if (!offscreen) return {};
    const HDC dc = offscreen.Dc();

    const RgbColour solid{GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION)};
    const RgbColour left{tk::ColorToRgb(active ? colorLeftActive_ : colorLeftInActive_)};
    const RgbColour right{tk::ColorToRgb(active ? colorRightActive_ : colorRightInActive_)};
    const bool gradient = GradientOn(enabled_, active, GetDeviceCaps(dc, BITSPIXEL));
    const std::vector<Band> background = gradient ? GradientBands(textRect.left, textRect.right, numColors_, left, right)
                                                  : std::vector<Band>{{textRect.left, textRect.right, solid}};
    PaintBackground(dc, frame, covered, textRect, background, gradient ? right : solid);
    if (ShowsIcon(frame)) {
        const IconPlacement placed = PlaceIcon(metrics, textRect);
        DrawWindowIcon(dc, window, placed.icon);
        textRect = placed.textRect;
    }
    DrawCaptionButtons(dc, PlaceButtons(metrics, frame, covered));
    if (OnDrawCaption) {
        tk::Canvas canvas(dc);
        canvas.SetFont(systemFont_->Handle());
        OnDrawCaption(*this, canvas, textRect);
    }
    captionText_.StoreCaption(ExtractCaption());
    DrawTexts(dc, textRect, active, background);
    offscreen.CopyTo(windowDc.get(), covered);
    return covered;
}

void TMSOfficeCaption::DrawTexts(HDC dc, const Rect& textRect, bool active, const std::vector<Band>& background) {
    const std::array<const TCompanyText*, kPartCount> parts{&companyText_, &appNameText_, &captionText_};
    std::array<PartInput, kPartCount> inputs;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& text = parts[i]->StoredCaption();
        inputs[i] = {parts[i]->Visible(), text.empty(), MeasureText(dc, parts[i]->Font().Handle(), text, textRect)};
    }
    const TextLayout layout = LayoutTexts(inputs, textRect, justification_, NewWindowLook());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!layout.drawn[i]) continue;
        const Rect& r = *layout.drawn[i];
        const TColor wanted = active ? parts[i]->ColorActive() : parts[i]->ColorInactive();
        const std::vector<RgbColour> under =
            ColoursUnder(background, r.left, std::min(r.left + inputs[i].width, r.right));
        const RgbColour colour = LegibleTextColour(RgbColour{tk::ColorToRgb(wanted)}, under);
        DrawPartText(dc, parts[i]->Font().Handle(), parts[i]->StoredCaption(), r, colour.value);
    }
}

// The platform paints the rest of the frame, never over our title bar.
LRESULT TMSOfficeCaption::PaintFrame(const tk::Message& message, const tk::NextHook& next) {
    const Rect covered = PaintCaption(IsFormActive());
    const tk::RegionHandle region = FrameUpdateRegion(message.window, message.wParam, covered);
    tk::Message forwarded = message;
    forwarded.wParam = reinterpret_cast<WPARAM>(region.get());
    return next(forwarded);
}

}  // namespace sorv::caption
