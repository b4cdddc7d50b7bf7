#pragma once
// TButtonGlyph: a tool-bar button's images, one per state, made on first use
// from its glyph strip (or from an image list) and kept in the lists shared
// by all buttons with images of that size; and the drawing of the button's
// content, glyph, caption and small arrow, where the layout puts them.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>

#include "button_behaviour.h"
#include "button_content_layout.h"
#include "glyph_list.h"
#include "handles.h"

namespace sorv {

class TButtonGlyph {
public:
    struct StateImage {
        TGlyphList* list = nullptr;
        int slot = -1;  // -1: nothing to draw
    };

    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    // The strip of up to five state images, copied; the cell count follows it.
    HBITMAP Glyph() const { return glyph_.get(); }
    void SetGlyph(HBITMAP bitmap);
    // Optional transparency of the strip, white where transparent.
    HBITMAP GlyphMask() const { return glyphMask_.get(); }
    void SetGlyphMask(HBITMAP bitmap);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    // An image list instead of the strip (not owned; clear it before it goes).
    HIMAGELIST Images() const { return images_; }
    void SetImages(HIMAGELIST images);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool OldDisabledStyle() const { return oldDisabledStyle_; }
    void SetOldDisabledStyle(bool value);
    // The strip's bottom-left colour.
    COLORREF TransparentColor() const { return transparentColor_; }

    // The button redraws.
    std::function<void()> OnChange;

    // The image of a state, made and kept on first request.
    StateImage BuildStateImage(tb97::ButtonState state);
    // Every image made so far goes (the lists keep only others' images).
    void DiscardImages();
    // The size of one image: the image list's, or a cell of the strip; (0, 0)
    // without either.
    Size GlyphSize() const;

    struct Content {
        tb97::ContentRequest layout;  // its glyph size is filled in here
        bool drawGlyph = true;
        UINT alignment = DT_CENTER;   // 0, DT_RIGHT or DT_CENTER
        tb97::ButtonState state = tb97::ButtonState::Up;
        COLORREF textColor = 0;
    };
    // Lays out and draws glyph, caption and small arrow on `dc` in its font.
    void DrawContent(HDC dc, Content content);
    // The small arrow at (x, y): a 5-pixel triangle; etched when disabled.
    static void DrawArrow(HDC dc, Point at, tb97::ButtonState state, COLORREF color);

private:
    void SourceChanged(bool fromGlyph);
    bool HasImage() const;

    tk::BitmapHandle glyph_;
    tk::BitmapHandle glyphMask_;
    // [0] the disabled image, [1] the others.
    std::array<TGlyphList*, 2> lists_{};
    int imageIndex_ = -1;
    HIMAGELIST images_ = nullptr;
    std::array<std::array<int, 5>, 2> indexes_;
    COLORREF transparentColor_ = 0;
    int numGlyphs_ = 1;
    bool oldDisabledStyle_ = false;
};

}  // namespace sorv
