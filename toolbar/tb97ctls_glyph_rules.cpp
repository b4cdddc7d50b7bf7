#include "tb97ctls_glyph_rules.h"

#include <algorithm>

namespace sorv::toolbar {

int GlyphCountFor(Size strip) {
    if (strip.cx <= 0 || strip.cy <= 0 || strip.cx % strip.cy != 0) return 1;
    const int count = strip.cx / strip.cy;
    return count < 6 ? count : 1;
}

int ClampNumGlyphs(int value) { return std::clamp(value, 1, kMaxGlyphs); }

ButtonState ImageState(ButtonState state, int numGlyphs) {
    if (state != ButtonState::Disabled && static_cast<int>(state) >= numGlyphs) return ButtonState::Up;
    return state;
}

int CellIndex(ButtonState state, int numGlyphs) {
    const int index = static_cast<int>(state);
    return index < numGlyphs ? index : 0;
}

Size CellSize(Size strip, int numGlyphs) { return {strip.cx / std::max(numGlyphs, 1), strip.cy}; }

SlotSet::Allocation SlotSet::Allocate() {
    Allocation allocation;
    for (int slot = 0; slot < Capacity(); ++slot) {
        if (!used_[slot]) {
            allocation.slot = slot;
            break;
        }
    }
    if (allocation.slot < 0) {
        allocation.slot = Capacity();
        allocation.appended = true;
        used_.push_back(false);
    }
    used_[allocation.slot] = true;
    ++count_;
    return allocation;
}

void SlotSet::Free(int slot) {
    if (!Used(slot)) return;
    used_[slot] = false;
    --count_;
}

namespace {

constexpr std::uint32_t kColourBits = 0xFFFFFF;

std::uint32_t StripKey(const PixelImage& strip) { return strip.At(0, strip.height - 1) & kColourBits; }

PixelImage Cut(const PixelImage& strip, const Rect& cell, int grow, std::uint32_t fill) {
    PixelImage image(cell.Width() + grow, cell.Height() + grow, fill);
    for (int y = 0; y < cell.Height(); ++y) {
        for (int x = 0; x < cell.Width(); ++x) image.At(x, y) = strip.At(cell.left + x, cell.top + y) & kColourBits;
    }
    return image;
}

Bitmask CutMask(const Bitmask& strip, const Rect& cell) {
    Bitmask mask(cell.Width(), cell.Height());
    for (int y = 0; y < cell.Height(); ++y) {
        for (int x = 0; x < cell.Width(); ++x) mask.Set(x, y, strip.At(cell.left + x, cell.top + y));
    }
    return mask;
}

Bitmask Or(Bitmask a, const Bitmask& b) {
    for (std::size_t i = 0; i < a.bits.size(); ++i) a.bits[i] = a.bits[i] || b.bits[i];
    return a;
}

// The cell's transparency: the mask's, or its key colour's.
Bitmask Transparency(const PixelImage& strip, const Rect& cell, const Bitmask* maskStrip) {
    return maskStrip ? CutMask(*maskStrip, cell) : ColourMap(strip, cell, {kStripKey});
}

// Paints `colour` at `at` + (x, y) for every (x, y) whose map bit equals `where`.
void PaintThrough(PixelImage& image, const Bitmask& map, Point at, bool where, std::uint32_t colour) {
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x) {
            if (map.At(x, y) == where) image.At(at.x + x, at.y + y) = colour;
        }
    }
}

Bitmask PixelsOf(const PixelImage& image, std::uint32_t colour) {
    Bitmask mask(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) mask.Set(x, y, image.At(x, y) == colour);
    }
    return mask;
}

}  // namespace

Bitmask ColourMap(const PixelImage& strip, const Rect& cell, const std::vector<std::int64_t>& colours) {
    std::vector<std::uint32_t> wanted;
    for (const std::int64_t colour : colours) {
        wanted.push_back(colour == kStripKey ? StripKey(strip) : static_cast<std::uint32_t>(colour) & kColourBits);
    }
    Bitmask map(cell.Width(), cell.Height());
    for (int y = 0; y < cell.Height(); ++y) {
        for (int x = 0; x < cell.Width(); ++x) {
            const std::uint32_t pixel = strip.At(cell.left + x, cell.top + y) & kColourBits;
            for (const std::uint32_t colour : wanted) {
                if (pixel == colour) map.Set(x, y);
            }
        }
    }
    return map;
}

MaskedImage CellImage(const PixelImage& strip, const Rect& cell, const Bitmask* maskStrip) {
    MaskedImage result{Cut(strip, cell, 0, 0), {}};
    if (maskStrip) {
        result.transparent = CutMask(*maskStrip, cell);
    } else {
        result.transparent = PixelsOf(result.image, strip.At(cell.left, cell.bottom - 1) & kColourBits);
    }
    return result;
}

MaskedImage DisabledFromCell(const PixelImage& strip, const Rect& cell, const Bitmask* maskStrip,
                             const DisabledColours& colours) {
    MaskedImage result{Cut(strip, cell, 1, colours.face), Bitmask(cell.Width() + 1, cell.Height() + 1)};
    PaintThrough(result.image, ColourMap(strip, cell, {kWhite}), {0, 0}, true, colours.highlight);
    PaintThrough(result.image, ColourMap(strip, cell, {kGrey}), {0, 0}, true, colours.shadow);
    const Bitmask transparent = Transparency(strip, cell, maskStrip);
    for (int y = 0; y < result.transparent.height; ++y) {
        for (int x = 0; x < result.transparent.width; ++x) {
            const bool added = x == cell.Width() || y == cell.Height();
            result.transparent.Set(x, y, added || transparent.At(x, y));
        }
    }
    return result;
}

MaskedImage GeneratedDisabled(const PixelImage& strip, const Rect& cell, const Bitmask* maskStrip, bool oldStyle,
                              const DisabledColours& colours) {
    Bitmask map;
    if (!oldStyle) {
        // Light and transparent pixels stay face; every other one is etched.
        map = maskStrip ? Or(ColourMap(strip, cell, {kWhite, kSilver}), CutMask(*maskStrip, cell))
                        : ColourMap(strip, cell, {kStripKey, kWhite, kSilver});
    } else {
        map = ColourMap(strip, cell, {kBlack});
        // Transparent pixels count as white, so never as black.
        if (maskStrip) {
            const Bitmask transparent = CutMask(*maskStrip, cell);
            for (std::size_t i = 0; i < map.bits.size(); ++i) map.bits[i] = map.bits[i] && !transparent.bits[i];
        }
    }
    PixelImage image(cell.Width() + 1, cell.Height() + 1, colours.face);
    // New style: the brush where the map is clear; old style: where it is set.
    PaintThrough(image, map, {1, 1}, oldStyle, colours.highlight);
    PaintThrough(image, map, {0, 0}, oldStyle, colours.shadow);
    Bitmask transparent = PixelsOf(image, colours.face);
    return {std::move(image), std::move(transparent)};
}

}  // namespace sorv::toolbar
