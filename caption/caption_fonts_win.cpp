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
int CharacterHeight(const tk::FontSpec& spec) {
    const tk::Font font(spec);
    tk::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    const tk::Selection selected(dc.get(), font.Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight - metrics.tmInternalLeading;
}

}  // namespace

tk::FontSpec ToFontSpec(const CaptionFont& font) {
    tk::FontSpec spec;
    spec.face = font.face;
    spec.height = font.height;
    spec.weight = font.bold ? FW_BOLD : FW_NORMAL;
    spec.italic = font.italic;
    spec.charset = DEFAULT_CHARSET;
    return spec;
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

tk::FontSpec FitToHeightOf(const tk::FontSpec& font, const tk::FontSpec& system) {
    tk::FontSpec fitted = font;
    fitted.height = FitHeight(font.height, CharacterHeight(system), [&font](int height) {
        tk::FontSpec probe = font;
        probe.height = height;
        return CharacterHeight(probe);
    });
    return fitted;
}

}  // namespace sorv::caption
