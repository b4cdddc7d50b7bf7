// A button's state images in the shared lists, and what they draw.
#include "TB97Ctls.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dib_pixels.h"
#include "resource_ids.h"
#include "tb97ctls_glyph_win.h"

namespace sorv::toolbar {
namespace {

using test::RgbAt;

constexpr std::uint32_t kKey = 0xFF00FF;
constexpr std::uint32_t kRed = 0xE02010;

// A square of red on the key colour, `cells` times side by side.
tk::BitmapHandle Strip(int cells, int size = 32, int width = 0) {
    PixelImage image(width ? width : cells * size, size, kKey);
    for (int c = 0; c < cells; ++c) {
        for (int y = 8; y < 24; ++y) {
            for (int x = 8; x < 24; ++x) image.At(c * size + x, y) = kRed + c;
        }
    }
    return MakeColourBitmap(image);
}

TEST(ButtonGlyph, CellCountFollowsTheStrip) {
    const std::pair<Size, int> cases[] = {{{96, 32}, 3}, {{100, 32}, 1}, {{32, 32}, 1}};
    for (const auto& [size, count] : cases) {
        TButtonGlyph glyph;
        const tk::BitmapHandle strip = Strip(1, size.cy, size.cx);
        glyph.SetGlyph(strip.get());
        EXPECT_EQ(glyph.NumGlyphs(), count) << size.cx;
        EXPECT_EQ(glyph.GlyphSize(), (Size{size.cx / count, 32})) << size.cx;
    }
    TButtonGlyph glyph;
    EXPECT_EQ(glyph.GlyphSize(), (Size{0, 0}));
    EXPECT_EQ(glyph.BuildStateImage(ButtonState::Up).slot, -1) << "no glyph, no image";
}

TEST(ButtonGlyph, ButtonsShareListsBySizeAndTheDisabledImageIsOnePixelLarger) {
    ASSERT_FALSE(TGlyphCache::Exists());
    {
        TButtonGlyph first;
        TButtonGlyph second;
        const tk::BitmapHandle strip = Strip(1);
        first.SetGlyph(strip.get());
        second.SetGlyph(strip.get());
        const TButtonGlyph::StateImage up1 = first.BuildStateImage(ButtonState::Up);
        const TButtonGlyph::StateImage up2 = second.BuildStateImage(ButtonState::Up);
        ASSERT_NE(up1.list, nullptr);
        EXPECT_EQ(up1.list, up2.list);
        EXPECT_NE(up1.slot, up2.slot);
        EXPECT_EQ(up1.list->ImageSize(), (Size{32, 32}));

        const TButtonGlyph::StateImage disabled1 = first.BuildStateImage(ButtonState::Disabled);
        const TButtonGlyph::StateImage disabled2 = second.BuildStateImage(ButtonState::Disabled);
        EXPECT_EQ(disabled1.list, disabled2.list);
        EXPECT_EQ(disabled1.list->ImageSize(), (Size{33, 33}));
        EXPECT_EQ(TGlyphCache::Instance().ListCount(), 2u);

        // One cell: hot and down show the up image, built once.
        for (const ButtonState state : {ButtonState::Hot, ButtonState::Down, ButtonState::Exclusive}) {
            const TButtonGlyph::StateImage image = first.BuildStateImage(state);
            EXPECT_EQ(image.list, up1.list);
            EXPECT_EQ(image.slot, up1.slot);
        }
        EXPECT_EQ(up1.list->Count(), 2);

        // A new glyph discards the images; the freed slot is reused.
        first.SetGlyph(strip.get());
        EXPECT_EQ(up1.list->Count(), 1);
        EXPECT_EQ(first.BuildStateImage(ButtonState::Up).slot, up1.slot);
    }
    EXPECT_FALSE(TGlyphCache::Exists()) << "the last button takes the lists and the cache with it";
}

TEST(ButtonGlyph, DrawsTheStateCellWithItsTransparency) {
    TButtonGlyph glyph;
    const tk::BitmapHandle strip = Strip(3);
    glyph.SetGlyph(strip.get());
    ASSERT_EQ(glyph.NumGlyphs(), 3);
    constexpr std::uint32_t kFace = 0x336699;
    struct Case {
        ButtonState state;
        Point offset;
        std::uint32_t inside;
    };
    const Case cases[] = {{ButtonState::Up, {0, 0}, kRed},
                          {ButtonState::Down, {1, 1}, kRed + 2},
                          {ButtonState::Hot, {0, 0}, kRed}};  // no hot cell: the up image
    for (const Case& c : cases) {
        tk::DibSection surface(38, 38);
        test::Fill(surface, kFace);
        TButtonGlyph::Content content;
        content.layout.face = {1, 1, 37, 37};
        content.layout.offset = c.offset;
        content.state = c.state;
        glyph.DrawContent(surface.Dc(), content);
        // The glyph's cell lies at (3, 3) plus the offset; its square at 8..23.
        const int x = 3 + c.offset.x;
        const int y = 3 + c.offset.y;
        EXPECT_EQ(RgbAt(surface, x + 8, y + 8), c.inside) << int(c.state);
        EXPECT_EQ(RgbAt(surface, x + 23, y + 23), c.inside) << int(c.state);
        EXPECT_EQ(RgbAt(surface, x + 7, y + 8), kFace) << "the key colour is transparent";
        EXPECT_EQ(RgbAt(surface, x, y), kFace);
    }
}

TEST(ButtonGlyph, GeneratedDisabledImageIsAnEtchedShadow) {
    TButtonGlyph glyph;
    const tk::BitmapHandle strip = Strip(1);
    glyph.SetGlyph(strip.get());
    tk::DibSection surface(40, 40);
    test::Fill(surface, 0x123456);
    TButtonGlyph::Content content;
    content.layout.face = {0, 0, 38, 38};
    content.state = ButtonState::Disabled;
    glyph.DrawContent(surface.Dc(), content);
    const std::uint32_t shadow = ToPixel(GetSysColor(COLOR_BTNSHADOW));
    const std::uint32_t highlight = ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
    // 33 x 33 centred in 38: at 3 (rounded up), the red square at 8..23.
    EXPECT_EQ(RgbAt(surface, 3 + 8, 3 + 8), shadow);
    EXPECT_EQ(RgbAt(surface, 3 + 23, 3 + 23), shadow);
    EXPECT_EQ(RgbAt(surface, 3 + 24, 3 + 24), highlight) << "the highlight one pixel right and down";
    EXPECT_EQ(RgbAt(surface, 3 + 7, 3 + 8), 0x123456u) << "outside the square: transparent";
}

TEST(ButtonGlyph, CaptionAndArrowInTheTextColourOrEtchedWhenDisabled) {
    TButtonGlyph glyph;
    TButtonGlyph::Content content;
    content.layout.face = {0, 0, 60, 30};
    content.layout.drawCaption = true;
    content.layout.caption = "Menu";
    content.layout.arrow = true;
    content.drawGlyph = false;
    content.textColor = RGB(255, 0, 0);
    const std::uint32_t shadow = ToPixel(GetSysColor(COLOR_BTNSHADOW));
    const std::uint32_t highlight = ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
    for (const ButtonState state : {ButtonState::Up, ButtonState::Disabled}) {
        tk::DibSection surface(60, 30);
        test::Fill(surface, 0x000000);
        RECT box{0, 0, 51, 0};
        DrawTextW(surface.Dc(), L"Menu", 4, &box, DT_CALCRECT | DT_SINGLELINE);
        const int w = box.right;
        const int h = box.bottom;
        // Centred: margin (60 - w - 9 + 1) / 2, the arrow right after the text.
        const Point arrow{(60 - w - 9 + 1) / 2 + w, (30 - h + 1) / 2 + (h - 3) / 2};
        content.state = state;
        glyph.DrawContent(surface.Dc(), content);
        std::map<std::uint32_t, int> colours;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 60; ++x) ++colours[RgbAt(surface, x, y)];
        }
        if (state == ButtonState::Up) {
            for (const Point p : {Point{4, 0}, Point{8, 0}, Point{6, 2}}) {
                EXPECT_EQ(RgbAt(surface, arrow.x + p.x, arrow.y + p.y), 0xFF0000u) << p.x << "," << p.y;
            }
            EXPECT_EQ(RgbAt(surface, arrow.x + 3, arrow.y), 0u);
            EXPECT_GT(colours[0xFF0000], 9 + 5) << "the caption in the text colour too";
        } else {
            EXPECT_EQ(RgbAt(surface, arrow.x + 4, arrow.y), shadow);
            EXPECT_EQ(RgbAt(surface, arrow.x + 9, arrow.y + 1), highlight);
            EXPECT_EQ(colours.count(0xFF0000), 0u);
            EXPECT_GT(colours[shadow], 9 + 5);
            EXPECT_GT(colours[highlight], 4 + 5);
        }
    }
}

TEST(ButtonGlyph, TheMainBarGlyphsAreThirtyTwoSquareWithAKeyCorner) {
    const int ids[] = {SORV_GLYPH_SPLIT,   SORV_GLYPH_JOIN,  SORV_GLYPH_CLEAR, SORV_GLYPH_FORMAT,
                       SORV_GLYPH_OPTIONS, SORV_GLYPH_ABOUT, SORV_GLYPH_QUIT};
    for (const int id : ids) {
        const tk::BitmapHandle bitmap(static_cast<HBITMAP>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(bitmap) << id;
        const PixelImage pixels = ReadPixels(bitmap.get());
        ASSERT_EQ(pixels.width, 32) << id;
        ASSERT_EQ(pixels.height, 32) << id;
        const std::uint32_t key = pixels.At(0, 31);
        int drawn = 0;
        for (const std::uint32_t p : pixels.pixels) drawn += p != key;
        EXPECT_GT(drawn, 200) << id << ": a glyph, not an empty square";
        EXPECT_LT(drawn, 1000) << id << ": the key colour shows round it";
        TButtonGlyph glyph;
        glyph.SetGlyph(bitmap.get());
        EXPECT_EQ(glyph.NumGlyphs(), 1);
        EXPECT_EQ(glyph.TransparentColor() & 0xFFFFFF, ToColorRef(key));
    }
}

}  // namespace

}  // namespace sorv::toolbar
