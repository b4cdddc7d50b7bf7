// The window text made of the three texts, the caption taken back out, and
// the caption's smaller rules (band count, fonts).
#include <gtest/gtest.h>

#include "caption_rules.h"
#include "window_text.h"

namespace sorv::caption {
namespace {

TEST(ComposeWindowText, VisibleTextsWithABlankAfterEachNonEmptyOne) {
    const struct {
        PartText company, appName, caption;
        const char* expected;
    } cases[] = {
        {{true, "Acme's"}, {true, "Program -"}, {true, "Sorv"}, "Acme's Program - Sorv"},
        {{true, ""}, {true, ""}, {true, "Sorv"}, "Sorv"},  // the program's windows
        {{false, "Acme's"}, {true, "Program -"}, {true, "Sorv"}, "Program - Sorv"},
        {{true, "Acme's"}, {false, "Program -"}, {true, "Sorv"}, "Acme's Sorv"},
        {{true, "Acme's"}, {true, "Program -"}, {false, "Sorv"}, "Acme's Program -"},
        {{true, "Acme's"}, {false, "x"}, {false, "Sorv"}, "Acme's"},
        {{false, "a"}, {false, "b"}, {false, "c"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComposeWindowText(c.company, c.appName, c.caption), c.expected);
}

TEST(ExtractCaption, DropsTheVisibleTextsAndTheirBlank) {
    const PartText company{true, "Acme's"}, appName{true, "Program -"};
    EXPECT_EQ(ExtractCaption("Acme's Program - Sorv", company, appName), "Sorv");
    EXPECT_EQ(ExtractCaption("Sorv", {true, ""}, {true, ""}), "Sorv");
    EXPECT_EQ(ExtractCaption(" A propos", {true, ""}, {false, ""}), "A propos");  // one leading blank goes
    EXPECT_EQ(ExtractCaption("Program - Sorv", {false, "Acme's"}, appName), "Sorv");
    EXPECT_EQ(ExtractCaption("Acme's Sorv", company, {false, "Program -"}), "Sorv");
    EXPECT_EQ(ExtractCaption("Sorv", company, appName), "Sorv");  // texts not found
    EXPECT_EQ(ExtractCaption("", company, appName), "");
}

TEST(NumColors, OneTo256) {
    EXPECT_EQ(NumColorsAfterWrite(64, 0), 64);
    EXPECT_EQ(NumColorsAfterWrite(64, -5), 64);
    EXPECT_EQ(NumColorsAfterWrite(64, 300), 256);
    EXPECT_EQ(NumColorsAfterWrite(64, 256), 256);
    EXPECT_EQ(NumColorsAfterWrite(64, 1), 1);
}

TEST(CaptionFonts, KindsAddStyleToTheSystemFont) {
    const CaptionFont system = FromCaptionMetrics("Tahoma", -11, 700, false);
    EXPECT_TRUE(system.bold);
    EXPECT_FALSE(FromCaptionMetrics("Tahoma", 13, 500, true).bold);
    EXPECT_EQ(FromCaptionMetrics("Tahoma", 13, 500, true).height, 13);  // a cell height stays one

    const CaptionFont plain{"Tahoma", -11, false, false};
    const CaptionFont own{"Arial", -14, false, true};
    EXPECT_EQ(FontForKind(TFontKind::fkSystem, own, plain), plain);
    EXPECT_EQ(FontForKind(TFontKind::fkSystemI, own, plain), (CaptionFont{"Tahoma", -11, false, true}));
    EXPECT_EQ(FontForKind(TFontKind::fkSystemB, own, plain), (CaptionFont{"Tahoma", -11, true, false}));
    EXPECT_EQ(FontForKind(TFontKind::fkSystemBI, own, plain), (CaptionFont{"Tahoma", -11, true, true}));
    EXPECT_EQ(FontForKind(TFontKind::fkCustom, own, plain), own);
    EXPECT_EQ(FontForKind(TFontKind::fkAutoHeight, own, plain), own);
}

TEST(CaptionFonts, FitHeightMatchesTheSystemCharacterHeight) {
    // Character heights proportional to the font height, rounded up.
    auto ninetyPercent = [](int h) { return (std::abs(h) * 9 + 9) / 10; };
    EXPECT_EQ(FitHeight(-20, 11, ninetyPercent), -12);  // -13 is still a pixel too tall
    EXPECT_EQ(ninetyPercent(-12), 11);
    auto exact = [](int h) { return -h; };
    EXPECT_EQ(FitHeight(-8, 11, exact), -11);
    EXPECT_EQ(FitHeight(-11, 11, exact), -11);
    // A cell height: the character is the cell less 2 pixels of leading.
    auto cell = [](int h) { return h - 2; };
    EXPECT_EQ(FitHeight(20, 11, cell), 13);
}

}  // namespace
}  // namespace sorv::caption
