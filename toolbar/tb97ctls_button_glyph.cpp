#include "TB97Ctls.h"

#include "canvas.h"
#include "tb97ctls_glyph_rules.h"
#include "tb97ctls_glyph_win.h"
#include "utf16.h"

namespace sorv::toolbar {
namespace {

Size BitmapSize(HBITMAP bitmap) {
    BITMAP header{};
    if (!bitmap || !GetObjectW(bitmap, sizeof header, &header)) return {};
    return {header.bmWidth, header.bmHeight};
}

tk::BitmapHandle Copy(HBITMAP bitmap) {
    if (!bitmap) return {};
    return tk::BitmapHandle(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
}

DisabledColours SystemColours() {
    return {ToPixel(GetSysColor(COLOR_BTNFACE)), ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)),
            ToPixel(GetSysColor(COLOR_BTNSHADOW))};
}

void Triangle(HDC dc, Point at, int dx, int dy, COLORREF color) {
    tk::Canvas(dc).Polygon({{at.x + 4 + dx, at.y + dy}, {at.x + 8 + dx, at.y + dy}, {at.x + 6 + dx, at.y + 2 + dy}},
                           color);
}

}  // namespace

TButtonGlyph::TButtonGlyph() {
    for (auto& list : indexes_) list.fill(-1);
    TGlyphCache::Instance();
}

TButtonGlyph::~TButtonGlyph() {
    DiscardImages();
    TGlyphCache::FreeIfEmpty();
}

void TButtonGlyph::SourceChanged(bool fromGlyph) {
    if (fromGlyph && glyph_) {
        const PixelImage pixels = ReadPixels(glyph_.get());
        // Flagged palette-relative, as the platform's colour matching wants.
        if (!pixels.Empty()) transparentColor_ = ToColorRef(pixels.At(0, pixels.height - 1)) | 0x02000000;
    }
    DiscardImages();
    if (OnChange) OnChange();
}

void TButtonGlyph::SetGlyph(HBITMAP bitmap) {
    DiscardImages();
    glyph_ = Copy(bitmap);
    numGlyphs_ = GlyphCountFor(BitmapSize(glyph_.get()));
    SourceChanged(true);
}

void TButtonGlyph::SetGlyphMask(HBITMAP bitmap) {
    DiscardImages();
    glyphMask_ = Copy(bitmap);
    SourceChanged(false);
}

void TButtonGlyph::SetNumGlyphs(int value) {
    DiscardImages();
    numGlyphs_ = images_ || value <= 0 || value > kMaxGlyphs ? 1 : value;
    SourceChanged(false);
}

void TButtonGlyph::SetImages(HIMAGELIST images) {
    if (images == images_) return;
    images_ = images;
    numGlyphs_ = GlyphCountFor(BitmapSize(glyph_.get()));
    SourceChanged(false);
}

void TButtonGlyph::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    if (images_) SourceChanged(false);
}

void TButtonGlyph::SetOldDisabledStyle(bool value) {
    oldDisabledStyle_ = value;
    DiscardImages();
}

void TButtonGlyph::DiscardImages() {
    for (std::size_t list = 0; list < lists_.size(); ++list) {
        for (int& slot : indexes_[list]) {
            if (slot >= 0 && lists_[list]) lists_[list]->Delete(slot);
            slot = -1;
        }
        if (lists_[list] && TGlyphCache::Exists()) TGlyphCache::Instance().ReleaseList(lists_[list]);
        lists_[list] = nullptr;
    }
}

bool TButtonGlyph::HasImage() const {
    if (images_) return imageIndex_ >= 0 && imageIndex_ < ImageList_GetImageCount(images_);
    return glyph_ && BitmapSize(glyph_.get()).cx > 0;
}

Size TButtonGlyph::GlyphSize() const {
    if (images_) {
        int width = 0;
        int height = 0;
        ImageList_GetIconSize(images_, &width, &height);
        return {width, height};
    }
    if (!glyph_) return {};
    return CellSize(BitmapSize(glyph_.get()), numGlyphs_);
}

TButtonGlyph::StateImage TButtonGlyph::BuildStateImage(ButtonState requested) {
    const ButtonState state = ImageState(requested, numGlyphs_);
    const auto index = static_cast<std::size_t>(state);
    if (indexes_[1][index] >= 0) return {lists_[1], indexes_[1][index]};
    if (indexes_[0][index] >= 0) return {lists_[0], indexes_[0][index]};
    if (!HasImage()) return {};

    const bool disabled = state == ButtonState::Disabled;
    const Size cell = GlyphSize();
    // The disabled image has room for its etched highlight.
    const Size listSize = disabled ? Size{cell.cx + 1, cell.cy + 1} : cell;
    const std::size_t target = disabled ? 0 : 1;

    PixelImage strip;
    Bitmask mask;
    bool hasMask = false;
    Rect source;
    if (images_) {
        IMAGEINFO info{};
        if (!ImageList_GetImageInfo(images_, imageIndex_, &info)) return {};
        strip = ReadPixels(info.hbmImage);
        hasMask = info.hbmMask != nullptr;
        if (hasMask) mask = ReadMask(info.hbmMask);
        source = {info.rcImage.left, info.rcImage.top, info.rcImage.right, info.rcImage.bottom};
    } else {
        strip = ReadPixels(glyph_.get());
        hasMask = glyphMask_ && BitmapSize(glyphMask_.get()).cx > 0;
        if (hasMask) mask = ReadMask(glyphMask_.get());
        source = Rect::FromOrigin({CellIndex(state, numGlyphs_) * cell.cx, 0}, cell);
    }
    if (strip.Empty() || source.right > strip.width || source.bottom > strip.height) return {};
    if (hasMask && (mask.width < source.right || mask.height < source.bottom)) hasMask = false;
    const Bitmask* maskStrip = hasMask ? &mask : nullptr;

    MaskedImage image;
    if (!disabled) {
        image = CellImage(strip, source, maskStrip);
    } else if (numGlyphs_ >= 2 && !images_) {
        image = DisabledFromCell(strip, source, maskStrip, SystemColours());
    } else {
        image = GeneratedDisabled(strip, source, maskStrip, oldDisabledStyle_, SystemColours());
    }
    if (!lists_[target]) lists_[target] = &TGlyphCache::Instance().AcquireList(listSize);
    indexes_[target][index] = lists_[target]->Add(image);
    return {lists_[target], indexes_[target][index]};
}

void TButtonGlyph::DrawContent(HDC dc, Content content) {
    ContentRequest& request = content.layout;
    request.glyph = content.drawGlyph ? GlyphSize() : Size{};
    const auto measure = [dc](const std::string& caption, int width, bool wordWrap) {
        const std::wstring text = Widen(caption);
        RECT box{0, 0, width, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CALCRECT | (wordWrap ? DT_WORDBREAK : DT_SINGLELINE));
        return Size{box.right - box.left, box.bottom - box.top};
    };
    const ContentLayout layout = CalculateLayout(request, measure);
    const bool disabled = content.state == ButtonState::Disabled;

    if (content.drawGlyph) {
        const StateImage image = BuildStateImage(content.state);
        if (image.slot >= 0) image.list->Draw(dc, image.slot, layout.glyph);
    }
    if (request.drawCaption && !request.caption.empty()) {
        const std::wstring text = Widen(request.caption);
        const UINT format = content.alignment | (request.wordWrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = GetTextColor(dc);
        const auto draw = [&](const Rect& where, COLORREF color) {
            RECT box{where.left, where.top, where.right, where.bottom};
            SetTextColor(dc, color);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
        };
        if (disabled) {
            draw(layout.text.Offset(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
            draw(layout.text, GetSysColor(COLOR_BTNSHADOW));
        } else {
            draw(layout.text, content.textColor);
        }
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
    }
    if (request.arrow) DrawArrow(dc, layout.arrow, content.state, content.textColor);
}

void TButtonGlyph::DrawArrow(HDC dc, Point at, ButtonState state, COLORREF color) {
    if (state == ButtonState::Disabled) {
        Triangle(dc, at, 1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        Triangle(dc, at, 0, 0, GetSysColor(COLOR_BTNSHADOW));
    } else {
        Triangle(dc, at, 0, 0, color);
    }
}

}  // namespace sorv::toolbar
