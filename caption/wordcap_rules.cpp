#include "wordcap_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace sorv::caption {
namespace {

bool HasBox(FrameStyle style) { return style == FrameStyle::Single || style == FrameStyle::Sizeable; }

// Tool windows have the small buttons.
int ButtonWidth(const CaptionMetrics& metrics, FrameStyle style) {
    return IsToolWindow(style) ? metrics.smallButton.cx : metrics.button.cx;
}

// Cursor resource numbers (winuser.h).
constexpr int kSizeNwse = 32642;
constexpr int kSizeNesw = 32643;
constexpr int kSizeWe = 32644;
constexpr int kSizeNs = 32645;

int Component(RgbColour color, int shift) { return static_cast<int>((color.value >> shift) & 0xFFu); }

constexpr RgbColour kBlack{0x000000};
constexpr RgbColour kWhite{0xFFFFFF};

// Relative luminance of an sRGB colour.
double Luminance(RgbColour rgb) {
    const std::uint32_t colour = rgb.value;
    auto linear = [](std::uint32_t component) {
        const double c = static_cast<double>(component & 0xFFu) / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour) + 0.7152 * linear(colour >> 8) + 0.0722 * linear(colour >> 16);
}

double WorstContrast(RgbColour text, const std::vector<RgbColour>& backgrounds) {
    double worst = 21.0;
    for (RgbColour background : backgrounds) worst = std::min(worst, ContrastRatio(text, background));
    return worst;
}

int Measure(const PartInput& part) { return part.width + kPartGap; }

int VisibleSum(const std::array<PartInput, kPartCount>& parts, std::size_t first) {
    int sum = 0;
    for (std::size_t i = first; i < kPartCount; ++i)
        if (parts[i].visible) sum += Measure(parts[i]);
    return sum;
}

// Where the block of texts `total` wide starts; on the left when it does not fit.
int BlockLeft(const Rect& textRect, int total, TJustification justification, bool newLook) {
    const int room = textRect.Width() - total;
    if (room <= 0) return textRect.left;
    switch (justification) {
        case TJustification::jLeft: break;
        case TJustification::jCenter: return textRect.left + room / 2;
        case TJustification::jRight: return textRect.right - total;
        case TJustification::jAuto:
            if (!newLook) return textRect.left + room / 2;
            break;
    }
    return textRect.left;
}

void DropThrough(std::string_view& text, const PartText& part) {
    if (!part.visible) return;
    if (const auto at = text.find(part.caption); at != std::string_view::npos) text.remove_prefix(at + part.caption.size());
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
}

// Moves `height` so the character height changes by `delta`: negative heights
// grow the characters away from zero, positive ones towards larger values.
int Grow(int height, int delta) { return height < 0 ? height - delta : height + delta; }

}  // namespace

// --- Title-bar geometry ---------------------------------------------------

bool IsToolWindow(FrameStyle style) { return style == FrameStyle::ToolWindow || style == FrameStyle::SizeToolWin; }

Rect TitleBarRect(const CaptionMetrics& metrics, const FrameState& frame) {
    if (frame.style == FrameStyle::None) return {};
    Size inset = metrics.dialogFrame;
    if (frame.iconic) {
        if (!frame.newLook) inset = {inset.cx + metrics.border.cx, inset.cy + metrics.border.cy};
    } else if (frame.style == FrameStyle::Sizeable || frame.style == FrameStyle::SizeToolWin) {
        inset = metrics.sizingFrame;
    }
    Rect r = Rect::FromOrigin({0, 0}, frame.window).Inflate(-inset.cx, -inset.cy);
    // The caption height counts the line below the title bar.
    const int height = IsToolWindow(frame.style) ? metrics.smallCaptionHeight : metrics.captionHeight;
    r.bottom = r.top + height - 1;
    return r;
}

CaptionButtons ShownButtons(const FrameState& frame) {
    if (frame.style == FrameStyle::None || !frame.icons.systemMenu) return 0;
    if (IsToolWindow(frame.style)) return kCloseButton;
    CaptionButtons shown = frame.newLook ? kCloseButton : 0;
    const FrameIcons& icons = frame.icons;
    if ((frame.style == FrameStyle::Dialog && icons.help) ||
        (HasBox(frame.style) && icons.help && !icons.minimize && !icons.maximize))
        shown |= kHelpButton;
    if (frame.style == FrameStyle::Dialog) return shown;
    if (frame.newLook) {
        if (icons.minimize || icons.maximize) shown |= kMinimizeButton | kMaximizeButton;
    } else {
        if (icons.minimize) shown |= kMinimizeButton;
        if (icons.maximize) shown |= kMaximizeButton;
    }
    return shown;
}

Rect TextRect(const CaptionMetrics& metrics, const FrameState& frame, const Rect& titleBar) {
    Rect r = titleBar;
    const int b = ButtonWidth(metrics, frame.style);
    const CaptionButtons shown = ShownButtons(frame);
    if (shown & kCloseButton) r.right -= b + 2;
    if (shown & kMinimizeButton) r.right -= b;
    if (shown & kMaximizeButton) r.right -= b;
    if (shown & kHelpButton) r.right -= b + 2;
    // Room for the system-menu box the platform draws.
    if (!frame.newLook && frame.icons.systemMenu && HasBox(frame.style)) r.left += b;
    if (r.left >= r.right) r.right = r.left + 2;
    return r;
}

Rect CoveredRect(const FrameState& frame, const Rect& titleBar, const Rect& textRect) {
    return frame.newLook ? titleBar : textRect;
}

std::vector<PlacedButton> PlaceButtons(const CaptionMetrics& metrics, const FrameState& frame, const Rect& covered) {
    std::vector<PlacedButton> placed;
    if (!frame.newLook) return placed;
    const Rect inner = covered.Inflate(-2, -2);
    const int w = ButtonWidth(metrics, frame.style) - 2;
    const CaptionButtons shown = ShownButtons(frame);
    int right = inner.right;
    auto place = [&](ButtonImage image, bool inactive, int step) {
        placed.push_back({image, inactive, {right - w, inner.top, right, inner.bottom}});
        right -= step;
    };
    if (shown & kCloseButton) place(ButtonImage::Close, false, w + 2);
    if (shown & kMaximizeButton)
        place(frame.zoomed ? ButtonImage::Restore : ButtonImage::Maximize, !frame.icons.maximize, w);
    if (shown & kMinimizeButton)
        place(frame.iconic ? ButtonImage::Restore : ButtonImage::Minimize, !frame.icons.minimize, w);
    if (shown & kHelpButton) place(ButtonImage::Help, false, w);
    return placed;
}

bool ShowsIcon(const FrameState& frame) {
    return frame.newLook && frame.icons.systemMenu && HasBox(frame.style);
}

IconPlacement PlaceIcon(const CaptionMetrics& metrics, const Rect& textRect) {
    const int width = metrics.smallIcon.cx != 0 ? metrics.smallIcon.cx : metrics.button.cx;
    const int height = metrics.smallIcon.cy != 0 ? metrics.smallIcon.cy : metrics.button.cy;
    Rect text = textRect;
    text.left += 1;
    const Rect icon = Rect::FromOrigin({text.left + 1, text.top + 1}, {width, height});
    text.left += metrics.smallIcon.cx + 1;
    return {icon, text};
}

int SizingCursorFor(int hitTest) {
    switch (hitTest) {
        case 10: case 11: return kSizeWe;     // HTLEFT, HTRIGHT
        case 12: case 15: return kSizeNs;     // HTTOP, HTBOTTOM
        case 13: case 17: return kSizeNwse;   // HTTOPLEFT, HTBOTTOMRIGHT
        case 14: case 16: return kSizeNesw;   // HTTOPRIGHT, HTBOTTOMLEFT
        default: return 0;
    }
}

// --- Gradient ---------------------------------------------------------------

int NumColorsAfterWrite(int stored, int requested) {
    if (requested <= 0) return stored;
    return requested > kMaxNumColors ? kMaxNumColors : requested;
}

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = std::llabs(static_cast<long long>(denominator)) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
    const long long result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
    return static_cast<int>(result);
}

std::vector<Band> GradientBands(int left, int right, int numColors, RgbColour from, RgbColour to) {
    std::vector<Band> bands;
    if (numColors < 1) return bands;
    bands.reserve(static_cast<std::size_t>(numColors));
    const int width = right - left;
    for (int i = 0; i < numColors; ++i) {
        std::uint32_t color = from.value & 0x00FFFFFFu;
        if (numColors >= 2) {
            color = 0;
            for (int shift : {0, 8, 16}) {
                const int c1 = Component(from, shift);
                const int c2 = Component(to, shift);
                const int c = c1 + MulDiv(i, c2 - c1, numColors - 1);
                color |= static_cast<std::uint32_t>(c & 0xFF) << shift;
            }
        }
        bands.push_back({left + MulDiv(i, width, numColors), left + MulDiv(i + 1, width, numColors), RgbColour{color}});
    }
    return bands;
}

bool GradientOn(TGradEnabled enabled, bool active, int bitsPerPixel) {
    switch (enabled) {
        case TGradEnabled::geAlways: return true;
        case TGradEnabled::geNever: return false;
        case TGradEnabled::geWhenActive: return active;
        case TGradEnabled::geSmart: return active ? bitsPerPixel >= 8 : bitsPerPixel > 8;
    }
    return false;
}

std::vector<RgbColour> ColoursUnder(const std::vector<Band>& bands, int left, int right) {
    std::vector<RgbColour> colours;
    for (const Band& band : bands)
        if (band.left < band.right && band.right > left && band.left < right) colours.push_back(band.color);
    return colours;
}

// --- Legible text colour ----------------------------------------------------

double ContrastRatio(RgbColour a, RgbColour b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

RgbColour LegibleTextColour(RgbColour wanted, const std::vector<RgbColour>& backgrounds) {
    if (WorstContrast(wanted, backgrounds) >= kLegibleContrast) return wanted;
    return WorstContrast(kWhite, backgrounds) >= WorstContrast(kBlack, backgrounds) ? kWhite : kBlack;
}

// --- Text layout --------------------------------------------------------------

TextLayout LayoutTexts(const std::array<PartInput, kPartCount>& parts, const Rect& textRect,
                       TJustification justification, bool newLook) {
    TextLayout layout;
    const int width = textRect.Width();
    layout.total = VisibleSum(parts, kCompanyPart);
    layout.companyShown = layout.total < width;
    if (!layout.companyShown) {
        layout.total = VisibleSum(parts, kAppNamePart);
        layout.appNameShown = layout.total < width;
        if (!layout.appNameShown) layout.total = Measure(parts[kCaptionPart]);
    }
    if (layout.companyShown) layout.appNameShown = true;

    int left = BlockLeft(textRect, layout.total, justification, newLook);
    const std::array<bool, kPartCount> draw = {
        layout.companyShown && !parts[kCompanyPart].empty && parts[kCompanyPart].visible,
        layout.appNameShown && !parts[kAppNamePart].empty && parts[kAppNamePart].visible,
        parts[kCaptionPart].visible,
    };
    for (std::size_t i = 0; i < kPartCount; ++i) {
        if (!draw[i]) continue;
        left += kPartGap;
        layout.drawn[i] = Rect{left, textRect.top, textRect.right, textRect.bottom};
        layout.cut[i] = left + parts[i].width > textRect.right;
        left += parts[i].width;
    }
    return layout;
}

// --- Window text ------------------------------------------------------------

std::string ComposeWindowText(const PartText& company, const PartText& appName, const PartText& caption) {
    std::string text;
    if (company.visible) {
        text += company.caption;
        if (!company.caption.empty() && (appName.visible || caption.visible)) text += ' ';
    }
    if (appName.visible) {
        text += appName.caption;
        if (!appName.caption.empty() && caption.visible) text += ' ';
    }
    if (caption.visible) text += caption.caption;
    return text;
}

std::string ExtractCaption(std::string_view windowText, const PartText& company, const PartText& appName) {
    DropThrough(windowText, company);
    DropThrough(windowText, appName);
    return std::string(windowText);
}

// --- Fonts ----------------------------------------------------------------

CaptionFont FromCaptionMetrics(std::string face, int height, int weight, bool italic) {
    return {std::move(face), height, weight > 500, italic};
}

CaptionFont FontForKind(TFontKind kind, const CaptionFont& own, const CaptionFont& system) {
    CaptionFont font = system;
    switch (kind) {
        case TFontKind::fkCustom:
        case TFontKind::fkAutoHeight: return own;
        case TFontKind::fkSystem: break;
        case TFontKind::fkSystemI: font.italic = true; break;
        case TFontKind::fkSystemB: font.bold = true; break;
        case TFontKind::fkSystemBI: font.bold = font.italic = true; break;
    }
    return font;
}

int FitHeight(int height, int systemCharacterHeight, const std::function<int(int height)>& characterHeightAt) {
    height = Grow(height, systemCharacterHeight - characterHeightAt(height));
    const int excess = characterHeightAt(height) - systemCharacterHeight;
    if (excess > 0) height = Grow(height, -excess);
    return height;
}

}  // namespace sorv::caption
