#pragma once
// The colour the components store and publish: either a system colour,
// named by its index (top byte 0x80, index in the low byte), or an RGB value
// in the low three bytes, laid out as the platform's COLORREF (0x00BBGGRR).
// Turning a system colour into RGB needs the platform: the toolkit's canvas
// does it at the Win32 edge. The named colours are in colour.h.
#include <cstdint>

namespace sorv {

class TColor {
public:
    constexpr TColor() = default;
    static constexpr TColor FromValue(std::uint32_t value) { return TColor(value); }
    static constexpr TColor System(int index) { return TColor(kSystemTag | (static_cast<std::uint32_t>(index) & 0xFFu)); }
    static constexpr TColor Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        return TColor(red | static_cast<std::uint32_t>(green) << 8 | static_cast<std::uint32_t>(blue) << 16);
    }

    // The stored value, as published and streamed.
    constexpr std::uint32_t Value() const { return value_; }
    constexpr bool IsSystem() const { return (value_ & 0xFF000000u) == kSystemTag; }
    constexpr int SystemIndex() const { return static_cast<int>(value_ & 0xFFu); }
    // The RGB part (0x00BBGGRR); meaningful when the colour is not a system one.
    constexpr std::uint32_t RgbValue() const { return value_ & 0x00FFFFFFu; }
    friend constexpr bool operator==(TColor, TColor) = default;

private:
    static constexpr std::uint32_t kSystemTag = 0x80000000u;
    constexpr explicit TColor(std::uint32_t value) : value_(value) {}
    std::uint32_t value_ = 0;
};

}  // namespace sorv
