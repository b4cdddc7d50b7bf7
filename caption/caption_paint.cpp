// How TMSOfficeCaption paints: the title bar composed off-screen (gradient
// or solid background, icon, caption buttons, texts) and copied to the
// window in one block, and the frame painting that leaves the platform the
// rest of the frame only.
#include <algorithm>
#include <array>
#include <vector>

#include "Wordcap.h"
#include "application.h"
#include "caption_geometry.h"
#include "caption_metrics_win.h"
#include "legible_colour.h"
#include "win_geometry.h"

namespace sorv {
namespace {

void FillSolid(HDC dc, const Rect& r, COLORREF color) {
    tk::BrushHandle brush(CreateSolidBrush(color));
    const tk::Selection selected(dc, brush.get());
    PatBlt(dc, r.left, r.top, r.Width(), r.Height(), PATCOPY);
}

// The colours under [left, right).
std::vector<std::uint32_t> ColoursUnder(const std::vector<caption::Band>& bands, int left, int right) {
    std::vector<std::uint32_t> colours;
    for (const caption::Band& band : bands)
        if (band.left < band.right && band.right > left && band.left < right) colours.push_back(band.color);
    return colours;
}

UINT FrameControlState(const caption::PlacedButton& button) {
    UINT state = 0;
    switch (button.image) {
        case caption::ButtonImage::Close: state = DFCS_CAPTIONCLOSE; break;
        case caption::ButtonImage::Minimize: state = DFCS_CAPTIONMIN; break;
        case caption::ButtonImage::Maximize: state = DFCS_CAPTIONMAX; break;
        case caption::ButtonImage::Restore: state = DFCS_CAPTIONRESTORE; break;
        case caption::ButtonImage::Help: state = DFCS_CAPTIONHELP; break;
    }
    return button.inactive ? state | DFCS_INACTIVE : state;
}

// The form's icon, else the program's, else the platform's standard one.
HICON IconOf(HWND window) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = tk::App().Icon();
    if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
    return icon;
}

void DrawWindowIcon(HDC dc, HWND window, const Rect& at) {
    const HICON icon = IconOf(window);
    // The small image of the icon's resource when it has one, else a scaled copy.
    tk::IconHandle copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, at.Width(), at.Height(), LR_COPYFROMRESOURCE)));
    if (!copy) copy.reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, at.Width(), at.Height(), 0)));
    DrawIconEx(dc, at.left, at.top, copy ? copy.get() : icon, at.Width(), at.Height(), 0, nullptr, DI_NORMAL);
}

constexpr UINT kMeasure = DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr UINT kDraw = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;

}  // namespace

Rect TMSOfficeCaption::PaintCaption(bool active) {
    const HWND window = form_.Handle();
    if (!window) return {};
    const caption::FrameState frame = caption::FrameStateOf(form_);
    if (frame.style == caption::FrameStyle::None) return {};
    const caption::CaptionMetrics metrics = caption::CurrentCaptionMetrics();
    const Rect titleBar = caption::TitleBarRect(metrics, frame);
    Rect textRect = caption::TextRect(metrics, frame, titleBar);
    const Rect covered = caption::CoveredRect(frame, titleBar, textRect);
    if (covered.IsEmpty()) return {};
    const tk::WindowDc windowDc(window, tk::WindowDc::Area::Whole);
    if (!windowDc) return {};
    // Window coordinates throughout: the bitmap reaches from the origin.
    const tk::OffscreenBitmap offscreen(windowDc.get(), covered.right, covered.bottom);
    if (!offscreen) return {};
    const HDC dc = offscreen.Dc();

    const COLORREF solid = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const COLORREF left = tk::ColorToRgb(active ? colorLeftActive_ : colorLeftInActive_);
    const COLORREF right = tk::ColorToRgb(active ? colorRightActive_ : colorRightInActive_);
    const bool gradient = caption::GradientOn(enabled_, active, GetDeviceCaps(dc, BITSPIXEL));
    if (frame.newLook) FillSolid(dc, covered, gradient ? right : solid);
    const std::vector<caption::Band> background =
        gradient ? caption::GradientBands(textRect.left, textRect.right, numColors_, left, right)
                 : std::vector<caption::Band>{{textRect.left, textRect.right, solid}};
    for (const caption::Band& band : background)
        FillSolid(dc, {band.left, textRect.top, band.right, textRect.bottom}, band.color);
    if (caption::ShowsIcon(frame)) {
        const caption::IconPlacement placed = caption::PlaceIcon(metrics, textRect);
        DrawWindowIcon(dc, window, placed.icon);
        textRect = placed.textRect;
    }
    for (const caption::PlacedButton& button : caption::PlaceButtons(metrics, frame, covered)) {
        RECT r = ToRECT(button.rect);
        DrawFrameControl(dc, &r, DFC_CAPTION, FrameControlState(button));
    }
    if (OnDrawCaption) {
        tk::Canvas canvas(dc);
        canvas.SetFont(systemFont_->Handle());
        RECT r = ToRECT(textRect);
        OnDrawCaption(*this, canvas, r);
        textRect = FromRECT(r);
    }
    captionText_.StoreCaption(ExtractCaption());
    DrawTexts(dc, textRect, active, background);
    offscreen.CopyTo(windowDc.get(), ToRECT(covered));
    return covered;
}

void TMSOfficeCaption::DrawTexts(HDC dc, const Rect& textRect, bool active,
                                 const std::vector<caption::Band>& background) {
    const std::array<const TCompanyText*, caption::kPartCount> parts{&companyText_, &appNameText_, &captionText_};
    std::array<caption::PartInput, caption::kPartCount> inputs;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        tk::Canvas canvas(dc);
        canvas.SetFont(parts[i]->Font().Handle());
        RECT measured = ToRECT(textRect);
        canvas.DrawText(parts[i]->StoredCaption(), measured, kMeasure, 0);
        inputs[i] = {parts[i]->Visible(), parts[i]->StoredCaption().empty(), measured.right - measured.left};
    }
    const caption::TextLayout layout = caption::LayoutTexts(inputs, textRect, justification_, caption::NewWindowLook());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!layout.drawn[i]) continue;
        tk::Canvas canvas(dc);
        canvas.SetFont(parts[i]->Font().Handle());
        RECT r = ToRECT(*layout.drawn[i]);
        const COLORREF wanted = tk::ColorToRgb(active ? parts[i]->ColorActive() : parts[i]->ColorInactive());
        const COLORREF colour = caption::LegibleTextColour(
            wanted, ColoursUnder(background, r.left, std::min<int>(r.left + inputs[i].width, r.right)));
        canvas.DrawText(parts[i]->StoredCaption(), r, kDraw, colour);
    }
}

LRESULT TMSOfficeCaption::PaintFrame(const tk::Message& message, const tk::NextHook& next) {
    const Rect covered = PaintCaption(IsFormActive());
    // The platform gets the update region (screen coordinates) less what we
    // painted; 1 stands for the whole frame.
    RECT window{};
    GetWindowRect(message.window, &window);
    tk::RegionHandle region(CreateRectRgnIndirect(&window));
    if (message.wParam != 1 &&
        CombineRgn(region.get(), reinterpret_cast<HRGN>(message.wParam), nullptr, RGN_COPY) == ERROR)
        SetRectRgn(region.get(), window.left, window.top, window.right, window.bottom);
    if (!covered.IsEmpty()) {
        const RECT painted = ToRECT(covered.Offset(window.left, window.top));
        const tk::RegionHandle cut(CreateRectRgnIndirect(&painted));
        CombineRgn(region.get(), region.get(), cut.get(), RGN_DIFF);
    }
    tk::Message forwarded = message;
    forwarded.wParam = reinterpret_cast<WPARAM>(region.get());
    return next(forwarded);
}

}  // namespace sorv
