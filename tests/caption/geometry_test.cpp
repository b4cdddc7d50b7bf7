// Title-bar geometry: the bar, the buttons shown and placed, the text area
// and the icon, for each border style and set of border icons.
#include <gtest/gtest.h>

#include "caption_geometry.h"

namespace sorv::caption {
namespace {

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

}  // namespace
}  // namespace sorv::caption
