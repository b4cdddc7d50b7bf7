#include "caption_fonts_win.h"

#include <cstddef>

#include "handles.h"
#include "utf16.h"

namespace sorv::caption {
namespace {

CaptionFont FromLogFont(const LOGFONTW& font) {
    return FromCaptionMetrics(Narrow(font.lfFaceName), font.lfHeight, font.lfWeight, font.lfItalic != 0);
}

// The character height: the cell less its internal leading.
int CharacterHeight(const tk::FontDescription& design) {
    const tk::Font font(design);
    tk::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    const tk::Selection selected(dc.get(), font.Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight - metrics.tmInternalLeading;
}

}  // namespace

tk::FontDescription ToFontDescription(const CaptionFont& font) {
    tk::FontDescription design;
    design.face = font.face;
    design.height = font.height;
    design.weight = font.bold ? FW_BOLD : FW_NORMAL;
    design.italic = font.italic;
    design.charset = DEFAULT_CHARSET;
    return design;
}

CaptionFont ReadSystemCaptionFont() {
    // The size without the field added in Vista, so that older systems answer.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return FromLogFont(metrics.lfCaptionFont);
    LOGFONTW stock{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof stock, &stock);
    return FromLogFont(stock);
}

tk::FontDescription FitToHeightOf(const tk::FontDescription& font, const tk::FontDescription& system) {
    tk::FontDescription fitted = font;
    fitted.height = FitHeight(font.height, CharacterHeight(system), [&font](int height) {
        tk::FontDescription probe = font;
        probe.height = height;
        return CharacterHeight(probe);
    });
    return fitted;
}

}  // namespace sorv::caption
