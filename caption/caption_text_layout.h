#pragma once
// Which of the title bar's three texts are shown and where: the company
// text, the application name and the caption, left to right. The company
// text is dropped first when they do not all fit, then the application
// name; the caption is always drawn, cut with an ellipsis when too long.
#include <array>
#include <cstdint>
#include <optional>

#include "geometry.h"

namespace sorv::caption {

// Horizontal placement of the block of texts.
enum class TJustification : std::uint8_t { jAuto, jLeft, jCenter, jRight };

enum TextPart : std::size_t { kCompanyPart, kAppNamePart, kCaptionPart, kPartCount };

struct PartInput {
    bool visible = true;
    bool empty = true;  // an empty company or application-name text is not drawn
    int width = 0;      // the text's measured width in its font
};

// Each measurement counts the 3 pixels of room before the text.
inline constexpr int kPartGap = 3;

struct TextLayout {
    int total = 0;      // the width the justification placed
    bool companyShown = false;
    bool appNameShown = false;
    // Where each drawn text goes: from its left edge to the text area's
    // right edge, vertically over the whole area.
    std::array<std::optional<Rect>, kPartCount> drawn;
    // A drawn text wider than its room ends with an ellipsis.
    std::array<bool, kPartCount> cut{};
};

TextLayout LayoutTexts(const std::array<PartInput, kPartCount>& parts, const Rect& textRect,
                       TJustification justification, bool newLook);

}  // namespace sorv::caption
