#pragma once
// The fonts of the caption texts on the platform: the system caption font,
// the conversion to the toolkit's fonts, and the automatic height fit.
#include "caption_rules.h"
#include "font.h"

namespace sorv::caption {

tk::FontDescription ToFontDescription(const CaptionFont& font);
// The platform's caption font; the stock system font when the non-client
// metrics cannot be read.
CaptionFont ReadSystemCaptionFont();
// The same face and style, as tall in characters as `system`.
tk::FontDescription FitToHeightOf(const tk::FontDescription& font, const tk::FontDescription& system);

}  // namespace sorv::caption
