#include "font.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "utf16.h"

namespace sorv::tk {

namespace {

LOGFONTW Logical(const FontDescription& design) {
    LOGFONTW lf{};
    lf.lfHeight = design.height;
    lf.lfWeight = design.weight;
    lf.lfItalic = design.italic;
    lf.lfUnderline = design.underline;
    lf.lfCharSet = design.charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    const std::wstring face = Widen(design.face);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return lf;
}

// A bitmap face has a few sizes for each screen resolution: above 96 dpi
// "MS Sans Serif" has no 11-pixel one, and a larger size would not fit the
// controls laid out for it.
bool IsBitmapOfAnotherHeight(HFONT font, int characterHeight) {
    if (characterHeight >= 0) return false;
    const TEXTMETRICW metrics = MetricsOf(font);
    if (metrics.tmHeight == 0) return false;
    const bool scalable = (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0;
    return !scalable && metrics.tmHeight - metrics.tmInternalLeading != -characterHeight;
}

}  // namespace

Font::Font(FontDescription design) : design_(std::move(design)) {
    LOGFONTW lf = Logical(design_);
    handle_.reset(CreateFontIndirectW(&lf));
    if (handle_ && IsBitmapOfAnotherHeight(handle_.get(), design_.height)) {
        // The outline face drawn after it, at the height asked for.
        lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
        std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
        std::wstring(L"Microsoft Sans Serif").copy(lf.lfFaceName, LF_FACESIZE - 1);
        if (FontHandle outline{CreateFontIndirectW(&lf)}) handle_ = std::move(outline);
    }
    if (!handle_) throw std::runtime_error("CreateFontIndirect failed for " + design_.face);
}

SharedFont MakeFont(FontDescription design) { return std::make_shared<const Font>(std::move(design)); }

TEXTMETRICW MetricsOf(HFONT font) {
    const MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    TEXTMETRICW metrics{};
    if (!dc) return metrics;
    const Selection selected(dc.get(), font);
    GetTextMetricsW(dc.get(), &metrics);
    return metrics;
}

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

SharedFont DefaultFont() {
    static const SharedFont font = MakeFont(FontDescription{});
    return font;
}

}  // namespace sorv::tk
