#include "button_content_layout.h"

namespace sorv::tb97 {

ContentLayout CalculateLayout(const ContentRequest& request, const MeasureCaption& measure) {
    const Size client = request.face.Extent();
    const Size glyph = request.glyph;
    const Size arrow = request.arrow ? kSmallArrowSize : Size{};
    const bool hasGlyph = glyph.cx > 0 && glyph.cy > 0;
    GlyphLayout layout = request.layout;
    if (!hasGlyph && (layout == GlyphLayout::GlyphTop || layout == GlyphLayout::GlyphBottom)) {
        layout = GlyphLayout::GlyphLeft;
    }
    const bool horizontal = layout == GlyphLayout::GlyphLeft || layout == GlyphLayout::GlyphRight;
    int margin = request.margin;
    int spacing = request.spacing;

    Size text;
    if (request.drawCaption && !request.caption.empty()) {
        int width = client.cx;
        if (horizontal) width -= arrow.cx;
        if (request.wordWrap) {
            int edge = 4;
            if (horizontal && hasGlyph) {
                width -= glyph.cx + (spacing == -1 ? 4 : spacing);
                edge = margin != -1 ? margin : spacing != -1 ? spacing : 4;
            }
            width -= 2 * edge;
        }
        text = measure(request.caption, width, request.wordWrap);
    }
    const bool hasText = text.cx > 0 || text.cy > 0;

    Point glyphAt;
    Point textAt;
    Point arrowAt;
    if (horizontal) {
        glyphAt.y = (client.cy - glyph.cy + 1) / 2;
        textAt.y = (client.cy - text.cy + 1) / 2;
    } else {
        glyphAt.x = (client.cx - glyph.cx - arrow.cx + 1) / 2;
        textAt.x = (client.cx - text.cx + 1) / 2;
        arrowAt.x = hasGlyph ? glyphAt.x + glyph.cx : textAt.x + text.cx;
    }
    if (!hasText || !hasGlyph) spacing = 0;

    const int room = horizontal ? client.cx : client.cy;
    const int glyphLength = horizontal ? glyph.cx : glyph.cy;
    const int textLength = horizontal ? text.cx : text.cy;
    const int arrowLength = horizontal ? arrow.cx : 0;
    if (margin == -1 && spacing == -1) {
        margin = (room - (glyphLength + textLength + arrowLength)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (room - (glyphLength + textLength + arrowLength + spacing) + 1) / 2;
    } else if (spacing == -1) {
        spacing = (room - (margin + glyphLength + arrowLength) - textLength) / 2;
    }

    switch (layout) {
        case GlyphLayout::GlyphLeft:
            glyphAt.x = margin;
            textAt.x = glyphAt.x + glyph.cx + spacing;
            arrowAt.x = textAt.x + text.cx;
            break;
        case GlyphLayout::GlyphRight:
            arrowAt.x = client.cx - margin - arrow.cx;
            glyphAt.x = arrowAt.x - glyph.cx;
            textAt.x = glyphAt.x - spacing - text.cx;
            break;
        case GlyphLayout::GlyphTop:
            glyphAt.y = margin;
            textAt.y = glyphAt.y + glyph.cy + spacing;
            break;
        case GlyphLayout::GlyphBottom:
            glyphAt.y = client.cy - margin - glyph.cy;
            textAt.y = glyphAt.y - spacing - text.cy;
            break;
    }
    arrowAt.y = hasGlyph ? glyphAt.y + (glyph.cy - arrow.cy) / 2 : textAt.y + (text.cy - arrow.cy) / 2;

    const int dx = request.face.left + request.offset.x;
    const int dy = request.face.top + request.offset.y;
    return {{glyphAt.x + dx, glyphAt.y + dy},
            {arrowAt.x + dx, arrowAt.y + dy},
            Rect::FromOrigin({textAt.x + dx, textAt.y + dy}, text)};
}

}  // namespace sorv::tb97
