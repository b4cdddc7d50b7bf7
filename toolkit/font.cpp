#include "font.h"

#include <stdexcept>

#include "utf16.h"

namespace sorv::tk {

Font::Font(FontDescription design) : design_(std::move(design)) {
    LOGFONTW lf{};
    lf.lfHeight = design_.height;
    lf.lfWeight = design_.weight;
    lf.lfItalic = design_.italic;
    lf.lfUnderline = design_.underline;
    lf.lfCharSet = design_.charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    const std::wstring face = Widen(design_.face);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    handle_.reset(CreateFontIndirectW(&lf));
    if (!handle_) throw std::runtime_error("CreateFontIndirect failed for " + design_.face);
}

SharedFont MakeFont(FontDescription design) { return std::make_shared<const Font>(std::move(design)); }

SharedFont DefaultFont() {
    static const SharedFont font = MakeFont(FontDescription{});
    return font;
}

}  // namespace sorv::tk
