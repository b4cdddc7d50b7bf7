// The caption's pure rules: title-bar geometry for each border style and set
// of border icons, the gradient and the legible text colour over it, the
// layout of the three texts, the window text made of them, and their fonts.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "wordcap_rules.h"

namespace sorv::caption {
namespace {

// --- Title-bar geometry: the bar, the buttons shown and placed, the text area and the icon.

// Classic metrics at 96 dpi.
CaptionMetrics Classic() {
    CaptionMetrics m;
    m.dialogFrame = {3, 3};
    m.border = {1, 1};
    m.sizingFrame = {4, 4};
    m.captionHeight = 19;
    m.smallCaptionHeight = 15;
    m.button = {18, 18};
    m.smallButton = {12, 14};
    m.smallIcon = {16, 16};
    return m;
}

FrameIcons Icons(bool systemMenu, bool minimize, bool maximize, bool help) {
    return {systemMenu, minimize, maximize, help};
}

FrameState Frame(FrameStyle style, FrameIcons icons = {}, bool newLook = true) {
    FrameState f;
    f.style = style;
    f.icons = icons;
    f.window = {300, 200};
    f.newLook = newLook;
    return f;
}

TEST(TitleBarRect, InsetByTheFrameOfEachStyleAndOneCaptionHigh) {
    const struct {
        FrameStyle style;
        bool iconic;
        bool newLook;
        Rect expected;
    } cases[] = {
        {FrameStyle::None, false, true, {}},
        {FrameStyle::Single, false, true, {3, 3, 297, 21}},
        {FrameStyle::Dialog, false, true, {3, 3, 297, 21}},
        {FrameStyle::Sizeable, false, true, {4, 4, 296, 22}},
        {FrameStyle::ToolWindow, false, true, {3, 3, 297, 17}},
        {FrameStyle::SizeToolWin, false, true, {4, 4, 296, 18}},
        {FrameStyle::Sizeable, true, true, {3, 3, 297, 21}},   // iconic: dialog frame
        {FrameStyle::Sizeable, true, false, {4, 4, 296, 22}},  // old look: plus the border
    };
    for (const auto& c : cases) {
        FrameState f = Frame(c.style, {}, c.newLook);
        f.iconic = c.iconic;
        EXPECT_EQ(TitleBarRect(Classic(), f), c.expected) << static_cast<int>(c.style) << " iconic " << c.iconic;
    }
}

TEST(ShownButtons, ForEachStyleAndIconSet) {
    constexpr CaptionButtons close = kCloseButton, min = kMinimizeButton, max = kMaximizeButton, help = kHelpButton;
    const struct {
        FrameStyle style;
        FrameIcons icons;
        bool newLook;
        CaptionButtons expected;
    } cases[] = {
        {FrameStyle::Single, Icons(true, true, false, false), true, close | min | max},  // the main window
        {FrameStyle::Dialog, Icons(true, true, false, false), true, close},
        {FrameStyle::Dialog, Icons(true, false, false, true), true, close | help},
        {FrameStyle::Sizeable, Icons(true, false, false, true), true, close | help},
        {FrameStyle::Sizeable, Icons(true, true, false, true), true, close | min | max},  // help needs no boxes
        {FrameStyle::Sizeable, Icons(true, false, false, false), true, close},
        {FrameStyle::Single, Icons(false, true, true, true), true, 0},
        {FrameStyle::None, Icons(true, true, true, true), true, 0},
        {FrameStyle::ToolWindow, Icons(true, true, true, true), true, close},
        {FrameStyle::SizeToolWin, Icons(true, false, false, false), true, close},
        {FrameStyle::Single, Icons(true, true, false, false), false, min},  // old look: each box its own
        {FrameStyle::Dialog, Icons(true, false, false, true), false, help},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShownButtons(Frame(c.style, c.icons, c.newLook)), c.expected)
            << static_cast<int>(c.style) << " newLook " << c.newLook;
}

TEST(TextRect, LeavesRoomForTheButtonsAndTheOldSystemMenuBox) {
    const CaptionMetrics m = Classic();
    const Rect bar{3, 3, 297, 21};
    // Close 18 + 2, minimize 18, maximize 18.
    EXPECT_EQ(TextRect(m, Frame(FrameStyle::Single, Icons(true, true, false, false)), bar), (Rect{3, 3, 241, 21}));
    EXPECT_EQ(TextRect(m, Frame(FrameStyle::Dialog, Icons(true, false, false, true)), bar), (Rect{3, 3, 257, 21}));
    EXPECT_EQ(TextRect(m, Frame(FrameStyle::ToolWindow), bar), (Rect{3, 3, 283, 21}));  // small close 12 + 2
    EXPECT_EQ(TextRect(m, Frame(FrameStyle::Single, Icons(false, true, true, false)), bar), bar);
    // Old look: minimize only, and the box the platform draws on the left.
    EXPECT_EQ(TextRect(m, Frame(FrameStyle::Single, Icons(true, true, false, false), false), bar),
              (Rect{21, 3, 279, 21}));
    // Too narrow: a 2-pixel area at the left edge.
    EXPECT_EQ(TextRect(m, Frame(FrameStyle::Single, Icons(true, true, true, false)), Rect{3, 3, 40, 21}),
              (Rect{3, 3, 5, 21}));
}

TEST(PlaceButtons, RightToLeftInsideTheBar) {
    const CaptionMetrics m = Classic();
    const Rect bar{3, 3, 297, 21};  // inner {5, 5, 295, 19}; buttons 16 wide
    FrameState single = Frame(FrameStyle::Single, Icons(true, true, false, false));
    auto placed = PlaceButtons(m, single, bar);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].image, ButtonImage::Close);
    EXPECT_EQ(placed[0].rect, (Rect{279, 5, 295, 19}));
    EXPECT_EQ(placed[1].image, ButtonImage::Maximize);
    EXPECT_TRUE(placed[1].inactive);  // no maximize icon
    EXPECT_EQ(placed[1].rect, (Rect{261, 5, 277, 19}));
    EXPECT_EQ(placed[2].image, ButtonImage::Minimize);
    EXPECT_FALSE(placed[2].inactive);
    EXPECT_EQ(placed[2].rect, (Rect{245, 5, 261, 19}));

    single.zoomed = true;
    EXPECT_EQ(PlaceButtons(m, single, bar)[1].image, ButtonImage::Restore);
    single.zoomed = false;
    single.iconic = true;
    EXPECT_EQ(PlaceButtons(m, single, bar)[2].image, ButtonImage::Restore);

    placed = PlaceButtons(m, Frame(FrameStyle::Dialog, Icons(true, false, false, true)), bar);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[1].image, ButtonImage::Help);
    EXPECT_EQ(placed[1].rect, (Rect{261, 5, 277, 19}));

    placed = PlaceButtons(m, Frame(FrameStyle::ToolWindow), Rect{3, 3, 297, 17});
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].rect, (Rect{285, 5, 295, 15}));  // small buttons: 12 - 2

    EXPECT_TRUE(PlaceButtons(m, Frame(FrameStyle::Single, {}, false), bar).empty());  // the platform's own
}

TEST(PlaceIcon, SmallIconAtTheLeftThenTheText) {
    EXPECT_TRUE(ShowsIcon(Frame(FrameStyle::Single)));
    EXPECT_TRUE(ShowsIcon(Frame(FrameStyle::Sizeable)));
    EXPECT_FALSE(ShowsIcon(Frame(FrameStyle::Dialog)));
    EXPECT_FALSE(ShowsIcon(Frame(FrameStyle::Single, Icons(false, true, true, false))));
    EXPECT_FALSE(ShowsIcon(Frame(FrameStyle::Single, {}, false)));

    CaptionMetrics m = Classic();
    IconPlacement placed = PlaceIcon(m, Rect{3, 3, 241, 21});
    EXPECT_EQ(placed.icon, (Rect{5, 4, 21, 20}));
    EXPECT_EQ(placed.textRect, (Rect{21, 3, 241, 21}));
    // No small-icon metric: the icon takes the button size; the text moves by 1 + 0 + 1.
    m.smallIcon = {0, 0};
    placed = PlaceIcon(m, Rect{3, 3, 241, 21});
    EXPECT_EQ(placed.icon, (Rect{5, 4, 23, 22}));
    EXPECT_EQ(placed.textRect.left, 5);
}

// --- The gradient: rounding, bands and their colours, when it is drawn, and the legible text colours.

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
    const RgbColour navy{0x800000};  // RGB(0, 0, 128)
    const auto bands = GradientBands(20, 276, 64, {0}, navy);
    ASSERT_EQ(bands.size(), 64u);
    ExpectContiguous(bands, 20, 276);
    EXPECT_EQ(bands[0], (Band{20, 24, 0}));
    EXPECT_EQ(bands[1].color.value, 0x020000u);   // 128 / 63, rounded
    EXPECT_EQ(bands[32].color.value, 0x410000u);  // 32 * 128 / 63 = 65.0
    EXPECT_EQ(bands[63], (Band{272, 276, navy}));
}

TEST(GradientBands, EachComponentOnItsOwnAndDownwardsToo) {
    const auto bands = GradientBands(0, 100, 3, {0xFF8000}, {0x0080FF});  // blue-ish to orange-ish
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].color.value, 0xFF8000u);
    EXPECT_EQ(bands[1].color.value, 0x7F8080u);  // blue 255 + MulDiv(1, -255, 2) = 127, red 0 + 128
    EXPECT_EQ(bands[2].color.value, 0x0080FFu);
    EXPECT_EQ(bands[1].left, 33);
    EXPECT_EQ(bands[1].right, 67);
}

TEST(GradientBands, OneBandIsTheStartColourAlone) {
    const auto bands = GradientBands(5, 105, 1, {0x123456}, {0xABCDEF});
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0], (Band{5, 105, 0x123456}));
}

TEST(GradientBands, NarrowerThanTheBandCountStillEndsAtTheRightInTheEndColour) {
    const auto bands = GradientBands(10, 110, 256, {0}, {0xFFFFFF});
    ASSERT_EQ(bands.size(), 256u);
    ExpectContiguous(bands, 10, 110);
    int empty = 0;
    for (const Band& b : bands) empty += b.left == b.right;
    EXPECT_EQ(empty, 156);  // 100 pixels for 256 bands
    EXPECT_EQ(bands.back().color.value, 0xFFFFFFu);
    EXPECT_EQ(bands.back().right, 110);
    EXPECT_TRUE(GradientBands(0, 100, 0, {0}, {0}).empty());
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
    constexpr RgbColour black{0}, white{0xFFFFFF}, navy{0x800000}, lightBlue{0xFA9632};
    EXPECT_DOUBLE_EQ(ContrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(navy, navy), 1.0);
    const struct {
        RgbColour wanted;
        std::vector<RgbColour> under;
        RgbColour shown;
    } cases[] = {
        {white, {black, {0x100000}, {0x200000}}, white},  // classic: white over the dark end
        {black, {black, {0x0A0400}, {0x140803}}, white},  // current systems: black text would vanish
        {black, {lightBlue}, black},                  // over the light end black reads well
        {black, {black, lightBlue}, white},           // the worst band decides
        {{0xC8C8C8}, {black, {0x101010}}, {0xC8C8C8}},    // an inactive grey that reads well stays
        {black, {}, black},                           // no text drawn: nothing to compare
    };
    for (const auto& c : cases)
        EXPECT_EQ(LegibleTextColour(c.wanted, c.under).value, c.shown.value) << std::hex << c.wanted.value;

    // The bands under a text: those it overlaps, none of zero width.
    const std::vector<Band> bands{{0, 10, 1}, {10, 10, 2}, {10, 20, 3}, {20, 30, 4}};
    EXPECT_EQ(ColoursUnder(bands, 5, 20), (std::vector<RgbColour>{{1}, {3}}));
    EXPECT_EQ(ColoursUnder(bands, 10, 11), (std::vector<RgbColour>{{3}}));
    EXPECT_TRUE(ColoursUnder(bands, 30, 40).empty());
}

// --- The three texts: which are shown, in what order they drop out, where each is drawn.

using Parts = std::array<PartInput, kPartCount>;

PartInput Text(int width) { return {true, false, width}; }
constexpr PartInput kEmpty{true, true, 0};
const Rect kArea{20, 3, 220, 21};  // 200 wide

TEST(LayoutTexts, EmptyTextsTakeThreePixelsEachAndOnlyTheCaptionIsDrawn) {
    const TextLayout layout = LayoutTexts({kEmpty, kEmpty, kEmpty}, kArea, TJustification::jLeft, true);
    EXPECT_EQ(layout.total, 9);
    EXPECT_TRUE(layout.companyShown);
    EXPECT_FALSE(layout.drawn[kCompanyPart]);
    EXPECT_FALSE(layout.drawn[kAppNamePart]);
    ASSERT_TRUE(layout.drawn[kCaptionPart]);
    EXPECT_EQ(*layout.drawn[kCaptionPart], (Rect{23, 3, 220, 21}));
}

TEST(LayoutTexts, TextsFollowOneAnotherThreePixelsApart) {
    const TextLayout layout = LayoutTexts({Text(40), Text(50), Text(30)}, kArea, TJustification::jLeft, true);
    EXPECT_EQ(layout.total, 129);
    EXPECT_EQ(layout.drawn[kCompanyPart]->left, 23);
    EXPECT_EQ(layout.drawn[kAppNamePart]->left, 66);
    EXPECT_EQ(layout.drawn[kCaptionPart]->left, 119);
    for (const auto& r : layout.drawn) EXPECT_EQ(r->right, 220);
    EXPECT_EQ(layout.cut, (std::array<bool, kPartCount>{}));
}

TEST(LayoutTexts, TheCompanyDropsFirstThenTheApplicationName) {
    const struct {
        Parts parts;
        bool company, appName;
        int total;
    } cases[] = {
        {{Text(60), Text(60), Text(70)}, true, true, 199},    // just fits (less than 200)
        {{Text(60), Text(60), Text(71)}, false, true, 137},   // one pixel more: no company
        {{Text(60), Text(130), Text(71)}, false, false, 74},  // nor application name
        {{Text(60), {false, false, 200}, Text(71)}, true, true, 137},  // a hidden text takes no room
        {{Text(300), Text(200), {false, false, 250}}, false, false, 253},  // the caption counts, even hidden
    };
    for (const auto& c : cases) {
        const TextLayout layout = LayoutTexts(c.parts, kArea, TJustification::jLeft, true);
        EXPECT_EQ(layout.companyShown, c.company) << c.total;
        EXPECT_EQ(layout.appNameShown, c.appName) << c.total;
        EXPECT_EQ(layout.total, c.total);
        EXPECT_EQ(layout.drawn[kCompanyPart].has_value(), c.company && c.parts[kCompanyPart].visible);
    }
}

TEST(LayoutTexts, ALongCaptionIsCutWithAnEllipsis) {
    const TextLayout layout = LayoutTexts({Text(40), Text(50), Text(300)}, kArea, TJustification::jCenter, true);
    EXPECT_FALSE(layout.drawn[kCompanyPart]);
    EXPECT_FALSE(layout.drawn[kAppNamePart]);
    EXPECT_EQ(layout.drawn[kCaptionPart]->left, 23);  // no room to centre
    EXPECT_TRUE(layout.cut[kCaptionPart]);
    EXPECT_FALSE(LayoutTexts({kEmpty, kEmpty, Text(197)}, kArea, TJustification::jLeft, true).cut[kCaptionPart]);
    EXPECT_TRUE(LayoutTexts({kEmpty, kEmpty, Text(198)}, kArea, TJustification::jLeft, true).cut[kCaptionPart]);
}

TEST(LayoutTexts, Justification) {
    const Parts parts{kEmpty, kEmpty, Text(91)};  // total 100 in 200
    const struct {
        TJustification justification;
        bool newLook;
        int captionLeft;
    } cases[] = {
        {TJustification::jLeft, true, 23},
        {TJustification::jCenter, true, 73},
        {TJustification::jRight, true, 123},
        {TJustification::jAuto, true, 23},   // the new look keeps the text on the left
        {TJustification::jAuto, false, 73},  // the old one centres it
    };
    for (const auto& c : cases)
        EXPECT_EQ(LayoutTexts(parts, kArea, c.justification, c.newLook).drawn[kCaptionPart]->left, c.captionLeft)
            << static_cast<int>(c.justification) << " newLook " << c.newLook;
    // An odd remainder truncates.
    EXPECT_EQ(LayoutTexts({kEmpty, kEmpty, Text(90)}, kArea, TJustification::jCenter, true).drawn[kCaptionPart]->left,
              73);
}

// --- The window text, the caption taken back out, the band count and the fonts.

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
