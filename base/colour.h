#pragma once
// TColor (tcolor.h) and the named colours: the system colours by index and
// the plain ones.
#include "tcolor.h"

namespace sorv {

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

}  // namespace sorv
