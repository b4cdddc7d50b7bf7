#pragma once
// Where the parts of a painted title bar go: the title-bar rectangle, the
// caption buttons and their rectangles, the room left for the texts and the
// window icon. Plain functions over the window's metrics and style, in window
// coordinates (origin at the window's top-left corner).
#include <cstdint>
#include <vector>

#include "geometry.h"

namespace sorv::caption {

// The form's border styles, in the form's own order.
enum class FrameStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };

struct FrameIcons {
    bool systemMenu = true;
    bool minimize = true;
    bool maximize = true;
    bool help = false;
};

// The system metrics a title bar is built from.
struct CaptionMetrics {
    Size dialogFrame;        // SM_CXDLGFRAME, SM_CYDLGFRAME
    Size border;             // SM_CXBORDER, SM_CYBORDER
    Size sizingFrame;        // SM_CXFRAME, SM_CYFRAME
    int captionHeight = 0;   // SM_CYCAPTION
    int smallCaptionHeight = 0;  // SM_CYSMCAPTION
    Size button;             // SM_CXSIZE, SM_CYSIZE
    Size smallButton;        // SM_CXSMSIZE, SM_CYSMSIZE
    Size smallIcon;          // SM_CXSMICON, SM_CYSMICON
};

// What the geometry needs to know of the window.
struct FrameState {
    FrameStyle style = FrameStyle::Sizeable;
    FrameIcons icons;
    Size window;          // the window's outer size
    bool iconic = false;
    bool zoomed = false;
    // The platform draws caption buttons in the title bar itself (every
    // Windows from 4.0 on); without it, only the text area is ours.
    bool newLook = true;
};

bool IsToolWindow(FrameStyle style);

// Empty for a window without border.
Rect TitleBarRect(const CaptionMetrics& metrics, const FrameState& frame);

enum CaptionButton : std::uint8_t {
    kCloseButton = 1,
    kMinimizeButton = 2,
    kMaximizeButton = 4,
    kHelpButton = 8,
};
using CaptionButtons = std::uint8_t;  // a set of CaptionButton

CaptionButtons ShownButtons(const FrameState& frame);

// The title bar less the buttons on the right (and, without the new look,
// less the system-menu box on the left).
Rect TextRect(const CaptionMetrics& metrics, const FrameState& frame, const Rect& titleBar);

// The rectangle painted: the whole title bar with the new look, else only the
// text area.
Rect CoveredRect(const FrameState& frame, const Rect& titleBar, const Rect& textRect);

// A caption button as drawn: which image, and whether it is greyed.
enum class ButtonImage { Close, Minimize, Maximize, Restore, Help };
struct PlacedButton {
    ButtonImage image;
    bool inactive = false;
    Rect rect;
};

// The shown buttons, right to left, inside the covered rectangle.
std::vector<PlacedButton> PlaceButtons(const CaptionMetrics& metrics, const FrameState& frame, const Rect& covered);

// The window icon sits at the left of the text area with the new look, when
// the window has a system menu and a single or sizeable border.
bool ShowsIcon(const FrameState& frame);

struct IconPlacement {
    Rect icon;      // where the small icon is drawn, at its own size
    Rect textRect;  // the text area right of it
};
IconPlacement PlaceIcon(const CaptionMetrics& metrics, const Rect& textRect);

}  // namespace sorv::caption
