#include "font.h"

#include <stdexcept>

#include "utf16.h"

namespace sorv::tk {

Font::Font(FontSpec design) : spec_(std::move(design)) {
    LOGFONTW lf{};
    lf.lfHeight = spec_.height;
    lf.lfWeight = spec_.weight;
    lf.lfItalic = spec_.italic;
    lf.lfUnderline = spec_.underline;
    lf.lfCharSet = spec_.charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    const std::wstring face = Widen(spec_.face);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    handle_.reset(CreateFontIndirectW(&lf));
    if (!handle_) throw std::runtime_error("CreateFontIndirect failed for " + spec_.face);
}

SharedFont MakeFont(FontSpec design) { return std::make_shared<const Font>(std::move(design)); }

SharedFont DefaultFont() {
    static const SharedFont font = MakeFont(FontSpec{});
    return font;
}

}  // namespace sorv::tk
