#pragma once
// The colour the components store and publish: either a system colour,
// named by its index (top byte 0x80, index in the low byte), or an RGB value
// in the low three bytes, laid out as the platform's COLORREF (0x00BBGGRR).
// Turning a system colour into RGB needs the platform: the toolkit's canvas
// does it at the Win32 edge. The named colours follow the type, and then
// RgbColour, a colour known to be RGB.
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

// System colours, by the platform's COLOR_* index.
inline constexpr TColor clScrollBar = TColor::System(0);
inline constexpr TColor clBackground = TColor::System(1);
inline constexpr TColor clActiveCaption = TColor::System(2);
inline constexpr TColor clInactiveCaption = TColor::System(3);
inline constexpr TColor clMenu = TColor::System(4);
inline constexpr TColor clWindow = TColor::System(5);
inline constexpr TColor clWindowFrame = TColor::System(6);
inline constexpr TColor clMenuText = TColor::System(7);
inline constexpr TColor clWindowText = TColor::System(8);
inline constexpr TColor clCaptionText = TColor::System(9);
inline constexpr TColor clActiveBorder = TColor::System(10);
inline constexpr TColor clInactiveBorder = TColor::System(11);
inline constexpr TColor clAppWorkSpace = TColor::System(12);
inline constexpr TColor clHighlight = TColor::System(13);
inline constexpr TColor clHighlightText = TColor::System(14);
inline constexpr TColor clBtnFace = TColor::System(15);
inline constexpr TColor clBtnShadow = TColor::System(16);
inline constexpr TColor clGrayText = TColor::System(17);
inline constexpr TColor clBtnText = TColor::System(18);
inline constexpr TColor clInactiveCaptionText = TColor::System(19);
inline constexpr TColor clBtnHighlight = TColor::System(20);
inline constexpr TColor cl3DDkShadow = TColor::System(21);
inline constexpr TColor cl3DLight = TColor::System(22);
inline constexpr TColor clInfoText = TColor::System(23);
inline constexpr TColor clInfoBk = TColor::System(24);
inline constexpr TColor clGradientActiveCaption = TColor::System(27);
inline constexpr TColor clGradientInactiveCaption = TColor::System(28);

// Plain colours.
inline constexpr TColor clBlack = TColor::Rgb(0, 0, 0);
inline constexpr TColor clMaroon = TColor::Rgb(128, 0, 0);
inline constexpr TColor clGreen = TColor::Rgb(0, 128, 0);
inline constexpr TColor clNavy = TColor::Rgb(0, 0, 128);
inline constexpr TColor clGray = TColor::Rgb(128, 128, 128);
inline constexpr TColor clSilver = TColor::Rgb(192, 192, 192);
inline constexpr TColor clRed = TColor::Rgb(255, 0, 0);
inline constexpr TColor clBlue = TColor::Rgb(0, 0, 255);
inline constexpr TColor clWhite = TColor::Rgb(255, 255, 255);

// Red, green and blue only, 0x00BBGGRR as the platform's COLORREF: a TColor
// once its system colour is looked up, and what pure colour rules
// (gradients, contrast) work on, which must never see a system colour's
// index.
struct RgbColour {
    std::uint32_t value = 0;
    friend constexpr bool operator==(RgbColour, RgbColour) = default;
};

}  // namespace sorv
