// The tool window's frames: metrics, hit testing, the drag handle's strips
// and the floating caption's text.
#include <gtest/gtest.h>

#include "frame_geometry.h"

namespace sorv::dock {
namespace {

TEST(FrameMetrics, DockedAndFloatingFrames) {
    struct Case {
        DockKind kind;
        bool allowDrag;
        TDragHandleStyle style;
        Insets expected;
    } cases[] = {
        {DockKind::dkHorizontal, true, TDragHandleStyle::dhDouble, {11, 2, 2, 2}},
        {DockKind::dkHorizontal, true, TDragHandleStyle::dhSingle, {8, 2, 2, 2}},
        {DockKind::dkHorizontal, true, TDragHandleStyle::dhNone, {2, 2, 2, 2}},
        {DockKind::dkHorizontal, false, TDragHandleStyle::dhDouble, {2, 2, 2, 2}},
        {DockKind::dkVertical, true, TDragHandleStyle::dhDouble, {2, 11, 2, 2}},
        {DockKind::dkVertical, true, TDragHandleStyle::dhSingle, {2, 8, 2, 2}},
    };
    for (const Case& c : cases) EXPECT_EQ(DockedFrame(c.kind, c.allowDrag, c.style), c.expected);
    EXPECT_EQ(CaptionHeight(4, 15, 19), 15);
    EXPECT_EQ(CaptionHeight(3, 15, 19), 18);
    EXPECT_EQ(FloatingFrame({4, 3}, 15), (Insets{4, 18, 4, 3}));
    EXPECT_EQ(FloatingCaptionRect({4, 4}, 92, 16, true), (Rect{4, 4, 81, 19}));
    EXPECT_EQ(FloatingCaptionRect({4, 4}, 92, 16, false), (Rect{4, 4, 96, 19}));
    EXPECT_EQ(CloseButtonRect({4, 4}, 92, 16), (Rect{81, 4, 96, 19}));
}

TEST(FrameHitTest, FloatingFrameEdgesCaptionAndCloseButton) {
    // 100 x 50 window: client (4, 20)-(96, 46), caption (4, 4)-(96, 19), close (81, 4)-(96, 19).
    FloatingHitTest frame{{100, 50}, {4, 4}, 16, true, true, false};
    struct Case {
        Point point;
        FrameHit fourWay;
        FrameHit eightWay;
    } cases[] = {
        {{50, 30}, FrameHit::Client, FrameHit::Client},
        {{10, 10}, FrameHit::Client, FrameHit::Client},  // the caption drags
        {{85, 10}, FrameHit::Close, FrameHit::Close},
        {{50, 19}, FrameHit::Nowhere, FrameHit::Nowhere},  // the line below the caption
        {{50, 1}, FrameHit::Top, FrameHit::Top},
        {{50, 47}, FrameHit::Bottom, FrameHit::Bottom},
        {{1, 30}, FrameHit::Left, FrameHit::Left},
        {{97, 30}, FrameHit::Right, FrameHit::Right},
        {{96, 30}, FrameHit::Right, FrameHit::Right},  // the right band is one pixel wider
        {{1, 1}, FrameHit::Top, FrameHit::TopLeft},
        {{1, 18}, FrameHit::Left, FrameHit::TopLeft},  // corners reach 15 + 4 pixels along the edge
        {{1, 19}, FrameHit::Left, FrameHit::Left},
        {{1, 31}, FrameHit::Left, FrameHit::BottomLeft},
        {{98, 48}, FrameHit::Bottom, FrameHit::BottomRight},
        {{81, 1}, FrameHit::Top, FrameHit::TopRight},
        {{80, 48}, FrameHit::Bottom, FrameHit::Bottom},
    };
    for (const Case& c : cases) {
        frame.eightWay = false;
        EXPECT_EQ(HitTestFloating(frame, c.point), c.fourWay) << c.point.x << "," << c.point.y;
        frame.eightWay = true;
        EXPECT_EQ(HitTestFloating(frame, c.point), c.eightWay) << c.point.x << "," << c.point.y << " eight-way";
    }
    frame.eightWay = false;
    frame.closeButton = false;
    EXPECT_EQ(HitTestFloating(frame, {85, 10}), FrameHit::Client);
    frame.resizable = false;
    EXPECT_EQ(HitTestFloating(frame, {50, 1}), FrameHit::Nowhere);
    EXPECT_EQ(HitTestFloating(frame, {50, 30}), FrameHit::Client);
}

TEST(FrameDragHandle, StripsOfEachStyleAndDockKind) {
    using K = HandlePart::Kind;
    const auto parts = DragHandleParts(DockKind::dkHorizontal, TDragHandleStyle::dhDouble, {200, 38});
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].kind, K::Background);
    EXPECT_EQ(parts[0].rect, (Rect{2, 2, 4, 40}));
    EXPECT_EQ(parts[1].kind, K::Grip);
    EXPECT_EQ(parts[1].rect, (Rect{4, 2, 7, 40}));
    EXPECT_EQ(parts[1].endPixel, (Point{4, 39}));
    EXPECT_EQ(parts[2].rect, (Rect{7, 2, 10, 40}));
    EXPECT_EQ(parts[3].rect, (Rect{10, 2, 11, 40}));  // ends where the client area starts (2 + 9)

    const auto single = DragHandleParts(DockKind::dkVertical, TDragHandleStyle::dhSingle, {38, 200});
    ASSERT_EQ(single.size(), 3u);
    EXPECT_EQ(single[1].kind, K::Grip);
    EXPECT_EQ(single[1].rect, (Rect{2, 4, 40, 7}));
    EXPECT_EQ(single[1].endPixel, (Point{39, 4}));
    EXPECT_EQ(single[2].rect, (Rect{2, 7, 40, 8}));  // client from 2 + 6

    EXPECT_TRUE(DragHandleParts(DockKind::dkHorizontal, TDragHandleStyle::dhNone, {200, 38}).empty());
}

TEST(FrameCaption, ATextTooWideIsCutBeforeThreeDots) {
    const auto sixEach = [](std::string_view text) {
        int characters = 0;
        for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return characters * 6;
    };
    struct Case {
        const char* text;
        int width;
        const char* expected;
    } cases[] = {
        {"Barre d'ic\u00f4nes", 84, "Barre d'ic\u00f4nes"},  // 14 characters fit exactly
        {"Barre d'ic\u00f4nes", 83, "Barre d'ic..."},
        {"Barre d'ic\u00f4nes", 63, "Barre d..."},
        {"Barre d'ic\u00f4nes", 5, "B..."},  // never shorter than 4 characters
        {"Outils", 0, "O..."},
        {"\u00e9t\u00e9s", 20, "\u00e9..."},  // whole characters go
        {"", 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FitCaption(c.text, c.width, sixEach), c.expected) << c.text << " " << c.width;
}

}  // namespace
}  // namespace sorv::dock
