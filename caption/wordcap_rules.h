#pragma once
// The gradient caption's pure rules, free of windows.h and tested natively:
// where the parts of a painted title bar go (the bar, the caption buttons,
// the text area, the icon), the gradient bands and when they are drawn, which
// of the three texts are shown and where, the window text made of them, the
// text colour that stays legible over the bands, and the fonts of the texts.
// Rectangles are in window coordinates (origin at the window's top-left
// corner); colours here are RgbColour values, system colours already
// looked up.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "colour.h"
#include "geometry.h"

namespace sorv::caption {

// --- Title-bar geometry ---------------------------------------------------

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
    Size dialogFrame;            // SM_CXDLGFRAME, SM_CYDLGFRAME
    Size border;                 // SM_CXBORDER, SM_CYBORDER
    Size sizingFrame;            // SM_CXFRAME, SM_CYFRAME
    int captionHeight = 0;       // SM_CYCAPTION
    int smallCaptionHeight = 0;  // SM_CYSMCAPTION
    Size button;                 // SM_CXSIZE, SM_CYSIZE
    Size smallButton;            // SM_CXSMSIZE, SM_CYSMSIZE
    Size smallIcon;              // SM_CXSMICON, SM_CYSMICON
};

// What the geometry needs to know of the window.
struct FrameState {
    FrameStyle style = FrameStyle::Sizeable;
    FrameIcons icons;
    Size window;  // the window's outer size
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

// The cursor resource (IDC_SIZEWE...) for a sizing-border hit-test code; 0
// for any other code.
int SizingCursorFor(int hitTest);

// --- Gradient ---------------------------------------------------------------

// When the gradient is used instead of the solid caption colour.
enum class TGradEnabled : std::uint8_t { geAlways, geNever, geWhenActive, geSmart };

inline constexpr int kMaxNumColors = 256;
inline constexpr int kDefaultNumColors = 64;

// What NumColors holds after a write: 0 or less keeps the stored value, more
// than 256 stores 256.
int NumColorsAfterWrite(int stored, int requested);

// number * numerator / denominator through 64 bits, rounded to the nearest
// (halves away from zero), as the platform's MulDiv; -1 when the denominator
// is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);

struct Band {
    int left = 0;
    int right = 0;
    RgbColour color;
    friend bool operator==(const Band&, const Band&) = default;
};

// The bands covering [left, right): NumColors bands of equal share from the
// left colour to the right one. A band may be zero pixels wide when the area
// is narrower than the number of bands. The last band has exactly the end
// colour, and with one band the start colour fills everything.
std::vector<Band> GradientBands(int left, int right, int numColors, RgbColour from, RgbColour to);

// geSmart: only where the colours can show it (more than 8 bits per pixel,
// or exactly 8 while active).
bool GradientOn(TGradEnabled enabled, bool active, int bitsPerPixel);

// The colours of the bands under [left, right).
std::vector<RgbColour> ColoursUnder(const std::vector<Band>& bands, int left, int right);

// --- Legible text colour ----------------------------------------------------
// Title texts must stay readable over the gradient. The system caption text
// colour was made for the solid caption colour; current systems make it
// black, which vanishes over the black end of the gradient, just where the
// texts are.

// The contrast ratio of two colours, from 1 to 21.
double ContrastRatio(RgbColour a, RgbColour b);

// Below it a text colour gives way to black or white.
inline constexpr double kLegibleContrast = 3.0;

// `wanted` when it contrasts enough with every background under the text,
// else black or white, whichever contrasts more with the worst of them.
RgbColour LegibleTextColour(RgbColour wanted, const std::vector<RgbColour>& backgrounds);

// --- Text layout --------------------------------------------------------------
// The company text, the application name and the caption, left to right. The
// company text is dropped first when they do not all fit, then the
// application name; the caption is always drawn, cut with an ellipsis when
// too long.

// Horizontal placement of the block of texts.
enum class TJustification : std::uint8_t { jAuto, jLeft, jCenter, jRight };

enum TextPart : std::size_t { kCompanyPart, kAppNamePart, kCaptionPart, kPartCount };

struct PartInput {
    bool visible = true;
    bool empty = true;  // an empty company or application-name text is not drawn
    int width = 0;      // the text's measured width in its font
};

// Each measurement counts the 3 pixels of room before the text.
inline constexpr int kPartGap = 3;

struct TextLayout {
    int total = 0;  // the width the justification placed
    bool companyShown = false;
    bool appNameShown = false;
    // Where each drawn text goes: from its left edge to the text area's
    // right edge, vertically over the whole area.
    std::array<std::optional<Rect>, kPartCount> drawn;
    // A drawn text wider than its room ends with an ellipsis.
    std::array<bool, kPartCount> cut{};
};

TextLayout LayoutTexts(const std::array<PartInput, kPartCount>& parts, const Rect& textRect,
                       TJustification justification, bool newLook);

// --- Window text ------------------------------------------------------------
// What the task bar and the window list show, made of the three texts, and
// the plain caption taken back out of it.

struct PartText {
    bool visible = true;
    std::string caption;
};

// The visible texts, one blank between a non-empty text and a visible one
// after it.
std::string ComposeWindowText(const PartText& company, const PartText& appName, const PartText& caption);

// The window text less everything up to and including the visible company
// and application-name texts, each followed by one blank.
std::string ExtractCaption(std::string_view windowText, const PartText& company, const PartText& appName);

// --- Fonts ----------------------------------------------------------------

// How a text's font is derived from the system caption font.
enum class TFontKind : std::uint8_t { fkCustom, fkSystem, fkSystemI, fkSystemB, fkSystemBI, fkAutoHeight };

// A font as the caption texts use it. `height` follows the platform: a
// negative value is the character height, a positive one the cell height.
struct CaptionFont {
    std::string face;
    int height = 0;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const CaptionFont&, const CaptionFont&) = default;
};

// The platform's caption font as its non-client metrics give it.
CaptionFont FromCaptionMetrics(std::string face, int height, int weight, bool italic);

// The font a text gets from its kind. fkCustom and fkAutoHeight keep the
// text's own font (the automatic fit adjusts its height afterwards).
CaptionFont FontForKind(TFontKind kind, const CaptionFont& own, const CaptionFont& system);

// The height that makes a font's character height (cell height less internal
// leading) that of the system caption font; `characterHeightAt` measures the
// font at a given height. Measured twice, as rounding may leave it a pixel
// too tall.
int FitHeight(int height, int systemCharacterHeight, const std::function<int(int height)>& characterHeightAt);

}  // namespace sorv::caption
