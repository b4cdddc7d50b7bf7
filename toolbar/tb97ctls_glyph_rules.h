#pragma once
// A button's glyph is a horizontal strip of one to five cells, cell i the
// image of state i (up, disabled, down, exclusive, hot). These rules say how
// many cells a strip holds and which cell a state shows.
//
// The slots of an image list shared by buttons: an image goes to the lowest
// free slot, the list grows by one when none is free, and a freed slot keeps
// its image until it is reused (slots never move, so the buttons' indexes
// stay valid).
//
// The images of a button's states made from its glyph strip, pixel by pixel:
// the cell of a state with its transparency, and the disabled image, one
// pixel larger than the others, either from the strip's own disabled cell or
// embossed from the up cell (new style: the dark pixels drawn as an etched
// shadow; old style: the black ones). Colours are 0x00RRGGBB.
#include <cstdint>
#include <optional>
#include <vector>

#include "geometry.h"
#include "tb97ctls_button_rules.h"

namespace sorv::toolbar {

inline constexpr int kMaxGlyphs = 5;

// A strip whose width is a whole multiple of its height, below 6, holds that
// many square cells; any other strip is one cell.
int GlyphCountFor(Size strip);

// A value written to NumGlyphs: 0 becomes 1, above 5 becomes 5.
int ClampNumGlyphs(int value);

// The state whose image a state shows: a state without a cell of its own
// shows the up image, except disabled, which gets one generated.
ButtonState ImageState(ButtonState state, int numGlyphs);

// The strip's cell for a state: its own, or the first.
int CellIndex(ButtonState state, int numGlyphs);

Size CellSize(Size strip, int numGlyphs);

class SlotSet {
public:
    struct Allocation {
        int slot = -1;
        bool appended = false;  // the list must grow by one image for it
    };

    Allocation Allocate();
    // Frees a used slot; anything else is ignored.
    void Free(int slot);
    bool Used(int slot) const { return slot >= 0 && slot < Capacity() && used_[slot]; }
    int Count() const { return count_; }
    int Capacity() const { return static_cast<int>(used_.size()); }

private:
    std::vector<bool> used_;
    int count_ = 0;
};

// Top-down rows.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelImage() = default;
    PixelImage(int w, int h, std::uint32_t fill = 0) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    std::uint32_t& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    bool Empty() const { return width <= 0 || height <= 0; }
};

// One bit per pixel, top-down; for masks a set bit is a transparent pixel.
struct Bitmask {
    int width = 0;
    int height = 0;
    std::vector<bool> bits;

    Bitmask() = default;
    Bitmask(int w, int h) : width(w), height(h), bits(std::size_t(w) * h, false) {}
    bool At(int x, int y) const { return bits[std::size_t(y) * width + x]; }
    void Set(int x, int y, bool value = true) { bits[std::size_t(y) * width + x] = value; }
};

struct MaskedImage {
    PixelImage image;
    Bitmask transparent;
};

inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kSilver = 0xC0C0C0;
inline constexpr std::uint32_t kGrey = 0x808080;
inline constexpr std::uint32_t kBlack = 0x000000;
// In a colour list: the strip's bottom-left pixel, its transparent colour.
inline constexpr std::int64_t kStripKey = -1;

// The system colours a disabled image is drawn in.
struct DisabledColours {
    std::uint32_t face = kSilver;
    std::uint32_t highlight = kWhite;
    std::uint32_t shadow = kGrey;
};

// The bits of the cell's pixels whose colour is one of `colours`.
Bitmask ColourMap(const PixelImage& strip, const Rect& cell, const std::vector<std::int64_t>& colours);

// A state with its own image: the cell, transparent where the mask strip is
// set or, without one, where the cell has the colour of its bottom-left pixel.
MaskedImage CellImage(const PixelImage& strip, const Rect& cell, const Bitmask* maskStrip);

// The strip's own disabled cell: pure white drawn in the highlight colour,
// grey in the shadow colour; a transparent row and column added.
MaskedImage DisabledFromCell(const PixelImage& strip, const Rect& cell, const Bitmask* maskStrip,
                             const DisabledColours& colours);

// The disabled image embossed from the up cell: on the face colour, the
// highlight one pixel right and down, the shadow in place; transparent where
// the face colour remains.
MaskedImage GeneratedDisabled(const PixelImage& strip, const Rect& cell, const Bitmask* maskStrip, bool oldStyle,
                              const DisabledColours& colours);

}  // namespace sorv::toolbar
