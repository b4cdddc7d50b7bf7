#include "caption_text_layout.h"

namespace sorv::caption {
namespace {

int Measure(const PartInput& part) { return part.width + kPartGap; }

int VisibleSum(const std::array<PartInput, kPartCount>& parts, std::size_t first) {
    int sum = 0;
    for (std::size_t i = first; i < kPartCount; ++i)
        if (parts[i].visible) sum += Measure(parts[i]);
    return sum;
}

}  // namespace

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

    int left = textRect.left;
    const bool fits = layout.total < width;
    switch (justification) {
        case TJustification::jLeft: break;
        case TJustification::jCenter:
            if (fits) left += (width - layout.total) / 2;
            break;
        case TJustification::jRight:
            if (fits) left = textRect.right - layout.total;
            break;
        case TJustification::jAuto:
            if (!newLook && fits) left += (width - layout.total) / 2;
            break;
    }

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

}  // namespace sorv::caption
