#pragma once
// The frames a tool window draws and hit-tests itself: a 2-pixel border with
// a drag handle when docked, a sizing frame with a small caption and a close
// button when floating. Metrics, rectangles and hit codes only; the window
// reads the system metrics and paints.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dock_types.h"
#include "geometry.h"

namespace sorv::dock {

struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr Size Total() const { return {left + right, top + bottom}; }
    friend bool operator==(const Insets&, const Insets&) = default;
};

inline constexpr int kDockedBorder = 2;

// 9 pixels for two grip bars, 6 for one, 0 for none.
int DragHandleSize(TDragHandleStyle style);
// The docked frame: 2 pixels on every side, and the drag handle on the left
// (horizontal dock) or the top (vertical dock) of a dock that allows drags.
Insets DockedFrame(DockKind kind, bool allowDrag, TDragHandleStyle style);
// The small caption's height from the system metrics.
int CaptionHeight(int systemMajorVersion, int smallCaptionMetric, int captionMetric);
// The floating frame: the border, and the caption on top.
Insets FloatingFrame(Size border, int captionHeight);

// In window coordinates; clientWidth is the floating window's client width.
Rect FloatingCaptionRect(Size border, int clientWidth, int captionHeight, bool closeButton);
Rect CloseButtonRect(Size border, int clientWidth, int captionHeight);

enum class FrameHit { Nowhere, Client, Close, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

struct FloatingHitTest {
    Size window;  // the window's outer size
    Size border;
    int captionHeight = 0;
    bool closeButton = true;
    bool resizable = true;
    bool eightWay = false;
};
// What a point (window coordinates) of a floating window is: the caption
// answers as client area so that it drags the bar.
FrameHit HitTestFloating(const FloatingHitTest& frame, Point point);

struct HandlePart {
    enum class Kind { Background, Grip } kind = Kind::Background;
    Rect rect;         // window coordinates
    Point endPixel{};  // grip bars: the pixel drawn in the highlight colour
};
// The strips of a drag handle, for a bar docked with this client size.
std::vector<HandlePart> DragHandleParts(DockKind kind, TDragHandleStyle style, Size clientSize);

// The caption text as drawn in `width` pixels: a text too wide loses
// characters before an appended "..." until it fits or is 4 characters long.
std::string FitCaption(std::string_view text, int width, const std::function<int(std::string_view)>& measure);

}  // namespace sorv::dock
