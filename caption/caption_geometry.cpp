#include "caption_geometry.h"

namespace sorv::caption {
namespace {

bool HasBox(FrameStyle style) { return style == FrameStyle::Single || style == FrameStyle::Sizeable; }

// Tool windows have the small buttons.
int ButtonWidth(const CaptionMetrics& metrics, FrameStyle style) {
    return IsToolWindow(style) ? metrics.smallButton.cx : metrics.button.cx;
}

}  // namespace

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

}  // namespace sorv::caption
