#pragma once
// The gradient caption's smaller rules: the band count it accepts, the
// sizing cursors over the border, and the fonts of its three texts.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace sorv::caption {

inline constexpr int kMaxNumColors = 256;
inline constexpr int kDefaultNumColors = 64;

// What NumColors holds after a write: 0 or less keeps the stored value, more
// than 256 stores 256.
int NumColorsAfterWrite(int stored, int requested);

// The cursor resource (IDC_SIZEWE...) for a sizing-border hit-test code; 0
// for any other code.
int SizingCursorFor(int hitTest);

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
