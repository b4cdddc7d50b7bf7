#pragma once
// The drawing steps of a painted title bar, on the off-screen context the
// caption composes it in (window coordinates): background, icon, caption
// buttons and one text; and the update region left to the platform's own
// frame painting.
#include <windows.h>

#include <string_view>
#include <vector>

#include "handles.h"
#include "wordcap_rules.h"

namespace sorv::caption {

// The covered rectangle in the right colour (gradient on) or the solid one
// (new look only), then the text area's bands.
void PaintBackground(HDC dc, const FrameState& frame, const Rect& covered, const Rect& textRect,
                     const std::vector<Band>& bands, RgbColour coveredColour);

// The form's icon, else the program's, else the platform's standard one, at
// the small-icon size.
void DrawWindowIcon(HDC dc, HWND window, const Rect& at);

void DrawCaptionButtons(HDC dc, const std::vector<PlacedButton>& buttons);

// The width of `text` in `font`, single-line, measured from the left of `area`.
int MeasureText(HDC dc, HFONT font, std::string_view text, const Rect& area);
// One text in `font`, vertically centred in `area`, cut with an ellipsis.
void DrawPartText(HDC dc, HFONT font, std::string_view text, const Rect& area, COLORREF colour);

// The update region (screen coordinates) of a WM_NCPAINT less what the caption
// painted; `updateRegion` 1 stands for the whole frame.
tk::RegionHandle FrameUpdateRegion(HWND window, WPARAM updateRegion, const Rect& covered);

}  // namespace sorv::caption
