// Glyph strips, the images made from them, and the slots they are kept in.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tb97ctls_glyph_rules.h"

namespace sorv::toolbar {
namespace {

using S = ButtonState;

TEST(GlyphStrip, CountsCellsOfSquareStrips) {
    const std::pair<Size, int> cases[] = {{{96, 32}, 3}, {{100, 32}, 1}, {{32, 32}, 1}, {{160, 32}, 5},
                                          {{192, 32}, 1}, {{64, 32}, 2},  {{0, 0}, 1},   {{16, 0}, 1}};
    for (const auto& [size, count] : cases) EXPECT_EQ(GlyphCountFor(size), count) << size.cx << "x" << size.cy;
    EXPECT_EQ(CellSize({100, 32}, 1), (Size{100, 32}));
    EXPECT_EQ(CellSize({96, 32}, 3), (Size{32, 32}));
    EXPECT_EQ(ClampNumGlyphs(0), 1);
    EXPECT_EQ(ClampNumGlyphs(9), 5);
    EXPECT_EQ(ClampNumGlyphs(4), 4);
}

TEST(GlyphStrip, StatesWithoutACellShowTheUpImageButDisabledIsMade) {
    struct Case {
        S state;
        int numGlyphs;
        S image;
        int cell;
    };
    const Case cases[] = {
        {S::Hot, 1, S::Up, 0},       {S::Down, 1, S::Up, 0},       {S::Disabled, 1, S::Disabled, 0},
        {S::Disabled, 2, S::Disabled, 1}, {S::Exclusive, 3, S::Up, 0}, {S::Exclusive, 4, S::Exclusive, 3},
        {S::Hot, 5, S::Hot, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImageState(c.state, c.numGlyphs), c.image) << int(c.state) << "/" << c.numGlyphs;
        EXPECT_EQ(CellIndex(c.state, c.numGlyphs), c.cell) << int(c.state) << "/" << c.numGlyphs;
    }
}

// Pixel art: K key (the strip's bottom-left), W white, s silver, g grey,
// R red, B black, Y yellow.
constexpr std::uint32_t kKey = 0xFF00FF;
const std::map<char, std::uint32_t> kArt{{'K', kKey},   {'W', kWhite},   {'s', kSilver}, {'g', kGrey},
                                         {'R', 0xFF0000}, {'B', kBlack}, {'Y', 0xFFFF00}};

PixelImage Art(const std::vector<std::string>& rows) {
    PixelImage image(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) image.At(x, y) = kArt.at(rows[y][x]);
    }
    return image;
}

Bitmask MaskArt(const std::vector<std::string>& rows) {
    Bitmask mask(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) mask.Set(x, y, rows[y][x] == '1');
    }
    return mask;
}

// F face, H highlight, S shadow, R red, Y yellow, . transparent.
constexpr DisabledColours kColours{0xD4D0C8, 0xFFFFFE, 0x404040};

std::vector<std::string> Show(const MaskedImage& masked) {
    const std::map<std::uint32_t, char> names{{kColours.face, 'F'}, {kColours.highlight, 'H'},
                                              {kColours.shadow, 'S'}, {0xFF0000, 'R'}, {0xFFFF00, 'Y'}};
    std::vector<std::string> rows;
    for (int y = 0; y < masked.image.height; ++y) {
        std::string row;
        for (int x = 0; x < masked.image.width; ++x) {
            const auto name = names.find(masked.image.At(x, y));
            row += masked.transparent.At(x, y) ? '.' : name == names.end() ? '?' : name->second;
        }
        rows.push_back(row);
    }
    return rows;
}

const PixelImage kCell = Art({
    "KWK",
    "RBs",
    "KKK",
});
const Rect kWhole{0, 0, 3, 3};

TEST(GlyphImages, GeneratedDisabledImageIsEtchedAndOnePixelLarger) {
    const MaskedImage image = GeneratedDisabled(kCell, kWhole, nullptr, false, kColours);
    EXPECT_EQ(image.image.width, 4);
    EXPECT_EQ(image.image.height, 4);
    // Red and black are dark: shadow in place, highlight one pixel off.
    EXPECT_EQ(Show(image), (std::vector<std::string>{
                               "....",
                               "SS..",
                               ".HH.",
                               "....",
                           }));
}

TEST(GlyphImages, OldStyleEtchesOnlyBlack) {
    EXPECT_EQ(Show(GeneratedDisabled(kCell, kWhole, nullptr, true, kColours)), (std::vector<std::string>{
                                                                                    "....",
                                                                                    ".S..",
                                                                                    "..H.",
                                                                                    "....",
                                                                                }));
    // Under a mask, a black pixel that is transparent is not etched.
    const Bitmask mask = MaskArt({"000", "010", "000"});
    EXPECT_EQ(Show(GeneratedDisabled(kCell, kWhole, &mask, true, kColours))[1], "....");
}

TEST(GlyphImages, AMaskDecidesTransparencyInsteadOfTheKeyColour) {
    const Bitmask mask = MaskArt({"111", "100", "111"});  // the red pixel is transparent
    EXPECT_EQ(Show(GeneratedDisabled(kCell, kWhole, &mask, false, kColours)), (std::vector<std::string>{
                                                                                    "....",
                                                                                    ".S..",
                                                                                    "..H.",
                                                                                    "....",
                                                                                }));
    const Bitmask corner = MaskArt({"011", "100", "111"});
    const MaskedImage up = CellImage(kCell, kWhole, &corner);
    EXPECT_TRUE(up.transparent.At(0, 1));
    EXPECT_FALSE(up.transparent.At(0, 0)) << "the key colour counts only without a mask";
}

TEST(GlyphImages, CellImagesAreTransparentInTheirBottomLeftColour) {
    const PixelImage strip = Art({
        "RKYR",
        "KKYY",
    });
    const MaskedImage second = CellImage(strip, {2, 0, 4, 2}, nullptr);
    EXPECT_EQ(Show(second), (std::vector<std::string>{".R", ".."}));
    EXPECT_EQ(second.image.width, 2);
}

TEST(GlyphImages, OwnDisabledCellLightsWhiteShadesGreyAndAddsATransparentEdge) {
    const PixelImage strip = Art({
        "KKKWgR",
        "KKKKYK",
        "KKKKKK",
    });
    const MaskedImage image = DisabledFromCell(strip, {3, 0, 6, 3}, nullptr, kColours);
    EXPECT_EQ(Show(image), (std::vector<std::string>{
                               "HSR.",
                               ".Y..",
                               "....",
                               "....",
                           }));
}

TEST(GlyphImages, ColourMapsTakeTheStripKeyFromTheWholeStrip) {
    const PixelImage strip = Art({
        "KY",
        "KY",
    });
    const Bitmask map = ColourMap(strip, {1, 0, 2, 2}, {kStripKey});
    EXPECT_FALSE(map.At(0, 0) || map.At(0, 1)) << "the cell's own corner is yellow, the strip's is the key";
    const Bitmask yellow = ColourMap(strip, {1, 0, 2, 2}, {0x01FFFF00});
    EXPECT_TRUE(yellow.At(0, 0) && yellow.At(0, 1)) << "only the 24 colour bits count";
}

TEST(GlyphSlots, LowestFreeSlotFirstAndGrowthByOne) {
    SlotSet slots;
    for (int i = 0; i < 3; ++i) {
        const SlotSet::Allocation a = slots.Allocate();
        EXPECT_EQ(a.slot, i);
        EXPECT_TRUE(a.appended);
    }
    slots.Free(1);
    slots.Free(1);
    slots.Free(7);
    EXPECT_EQ(slots.Count(), 2);
    EXPECT_FALSE(slots.Used(1));
    const SlotSet::Allocation reused = slots.Allocate();
    EXPECT_EQ(reused.slot, 1);
    EXPECT_FALSE(reused.appended);
    EXPECT_EQ(slots.Capacity(), 3);
    EXPECT_EQ(slots.Count(), 3);
}

}  // namespace

}  // namespace sorv::toolbar
