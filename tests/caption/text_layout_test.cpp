// The three title-bar texts: which are shown, in what order they drop out,
// where each is drawn, justification and the ellipsis.
#include <gtest/gtest.h>

#include "caption_text_layout.h"

namespace sorv::caption {
namespace {

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

}  // namespace
}  // namespace sorv::caption
