// The gradient: rounding, bands and their colours, when it is drawn, and
// the text colours that stay legible over it.
#include <gtest/gtest.h>

#include <climits>

#include "gradient.h"
#include "legible_colour.h"

namespace sorv::caption {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    const struct {
        int number, numerator, denominator, expected;
    } cases[] = {
        {1, 3, 2, 2},    {-1, 3, 2, -2},  {1, -3, 2, -2},     {1, 3, -2, -2},  {-1, -3, -2, -2},
        {5, -128, 63, -10}, {10, 7, 3, 23}, {0, 255, 63, 0},    {63, 255, 63, 255},
        {1, 1, 0, -1},   {INT_MAX, 4, 2, -1},  // no quotient, too large
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // 64-bit product
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
}

void ExpectContiguous(const std::vector<Band>& bands, int left, int right) {
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().left, left);
    EXPECT_EQ(bands.back().right, right);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_LE(bands[i].left, bands[i].right) << i;
        if (i > 0) {
            EXPECT_EQ(bands[i].left, bands[i - 1].right) << i;
        }
    }
}

TEST(GradientBands, SixtyFourBandsFromBlackToTheCaptionColour) {
    const std::uint32_t navy = 0x800000;  // RGB(0, 0, 128)
    const auto bands = GradientBands(20, 276, 64, 0, navy);
    ASSERT_EQ(bands.size(), 64u);
    ExpectContiguous(bands, 20, 276);
    EXPECT_EQ(bands[0], (Band{20, 24, 0}));
    EXPECT_EQ(bands[1].color, 0x020000u);       // 128 / 63, rounded
    EXPECT_EQ(bands[32].color, 0x410000u);      // 32 * 128 / 63 = 65.0
    EXPECT_EQ(bands[63], (Band{272, 276, navy}));
}

TEST(GradientBands, EachComponentOnItsOwnAndDownwardsToo) {
    const auto bands = GradientBands(0, 100, 3, 0xFF8000, 0x0080FF);  // blue-ish to orange-ish
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].color, 0xFF8000u);
    EXPECT_EQ(bands[1].color, 0x7F8080u);  // blue 255 + MulDiv(1, -255, 2) = 127, red 0 + 128
    EXPECT_EQ(bands[2].color, 0x0080FFu);
    EXPECT_EQ(bands[1].left, 33);
    EXPECT_EQ(bands[1].right, 67);
}

TEST(GradientBands, OneBandIsTheStartColourAlone) {
    const auto bands = GradientBands(5, 105, 1, 0x123456, 0xABCDEF);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0], (Band{5, 105, 0x123456}));
}

TEST(GradientBands, NarrowerThanTheBandCountStillEndsAtTheRightInTheEndColour) {
    const auto bands = GradientBands(10, 110, 256, 0, 0xFFFFFF);
    ASSERT_EQ(bands.size(), 256u);
    ExpectContiguous(bands, 10, 110);
    int empty = 0;
    for (const Band& b : bands) empty += b.left == b.right;
    EXPECT_EQ(empty, 156);  // 100 pixels for 256 bands
    EXPECT_EQ(bands.back().color, 0xFFFFFFu);
    EXPECT_EQ(bands.back().right, 110);
    EXPECT_TRUE(GradientBands(0, 100, 0, 0, 0).empty());
}

TEST(GradientOn, ByModeActivationAndColourDepth) {
    using enum TGradEnabled;
    const struct {
        TGradEnabled mode;
        bool active;
        int bits;
        bool on;
    } cases[] = {
        {geAlways, false, 4, true},      {geNever, true, 32, false},     {geWhenActive, true, 4, true},
        {geWhenActive, false, 32, false}, {geSmart, true, 8, true},      {geSmart, false, 8, false},
        {geSmart, false, 16, true},      {geSmart, true, 4, false},      {geSmart, false, 32, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GradientOn(c.mode, c.active, c.bits), c.on)
            << static_cast<int>(c.mode) << " active " << c.active << " bits " << c.bits;
}

TEST(LegibleTextColour, TheSystemColourUnlessItVanishesIntoTheBands) {
    constexpr std::uint32_t black = 0, white = 0xFFFFFF, navy = 0x800000, lightBlue = 0xFA9632;
    EXPECT_DOUBLE_EQ(ContrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(navy, navy), 1.0);
    const struct {
        std::uint32_t wanted;
        std::vector<std::uint32_t> under;
        std::uint32_t shown;
    } cases[] = {
        {white, {black, 0x100000, 0x200000}, white},  // classic: white over the dark end
        {black, {black, 0x0A0400, 0x140803}, white},  // current systems: black text would vanish
        {black, {lightBlue}, black},                  // over the light end black reads well
        {black, {black, lightBlue}, white},           // the worst band decides
        {0xC8C8C8, {black, 0x101010}, 0xC8C8C8},      // an inactive grey that reads well stays
        {black, {}, black},                           // no text drawn: nothing to compare
    };
    for (const auto& c : cases) EXPECT_EQ(LegibleTextColour(c.wanted, c.under), c.shown) << std::hex << c.wanted;
}

}  // namespace
}  // namespace sorv::caption
