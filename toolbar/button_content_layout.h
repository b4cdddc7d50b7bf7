#pragma once
// Where a button's glyph, caption and small dropdown arrow go inside its
// face: side by side or stacked, at a margin from the edge and a spacing
// between them, or spread evenly (-1).
#include <functional>
#include <string>

#include "geometry.h"

namespace sorv::tb97 {

enum class GlyphLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

inline constexpr Size kSmallArrowSize{9, 3};

// The size of a caption laid out in a box `width` wide, on one line or
// word-wrapped (the platform's text measuring).
using MeasureCaption = std::function<Size(const std::string& caption, int width, bool wordWrap)>;

struct ContentRequest {
    Rect face;
    Point offset;        // added to everything: (1, 1) while pressed
    Size glyph;          // (0, 0) when no glyph is drawn
    bool drawCaption = false;
    std::string caption;
    bool wordWrap = false;
    GlyphLayout layout = GlyphLayout::GlyphLeft;
    int margin = -1;
    int spacing = 4;
    bool arrow = false;  // the small arrow after the caption
};

struct ContentLayout {
    Point glyph;
    Point arrow;
    Rect text;  // empty when there is no caption to draw
};

ContentLayout CalculateLayout(const ContentRequest& request, const MeasureCaption& measure);

}  // namespace sorv::tb97
