#pragma once
// The platform side of the caption's rules: the system metrics and the form's
// frame that the title-bar geometry is computed from, the fonts of the three
// texts (the system caption font, the font of each kind, the automatic height
// fit), and the composited frame that a window painting its own title bar
// turns off.
#include <windows.h>

#include "font.h"
#include "form.h"
#include "wordcap_rules.h"

namespace sorv::caption {

// --- Metrics and frame --------------------------------------------------------

CaptionMetrics CurrentCaptionMetrics();
// The platform draws caption buttons and the icon in the title bar itself
// from Windows 4.0 on.
bool NewWindowLook();
FrameStyle FrameStyleOf(tk::BorderStyle border);
FrameState FrameStateOf(const tk::Form& form);

// --- Fonts ------------------------------------------------------------------

tk::FontDescription ToFontDescription(const CaptionFont& font);
// The platform's caption font; the stock system font when the non-client
// metrics cannot be read.
CaptionFont ReadSystemCaptionFont();
// The same face and style, as tall in characters as `system`.
tk::FontDescription FitToHeightOf(const tk::FontDescription& font, const tk::FontDescription& system);
// The font a text of `kind` gets from the system caption font; fkAutoHeight
// fits the text's own font `own`. Not for fkCustom, which keeps its font.
tk::FontDescription FontOfKind(TFontKind kind, const tk::FontDescription& own, const CaptionFont& system);

// --- Composited frame -----------------------------------------------------
// With desktop composition the compositor draws a window's frame, and what
// the program paints on WM_NCPAINT is not what the user sees. A window that
// paints its own title bar asks for the platform's non-composited frame.

using SetWindowAttributeFunction = HRESULT(WINAPI*)(HWND window, DWORD attribute, LPCVOID value, DWORD size);

inline constexpr DWORD kNcRenderingPolicy = 2;    // DWMWA_NCRENDERING_POLICY
inline constexpr DWORD kNcRenderingDisabled = 1;  // DWMNCRP_DISABLED

// Turns the composited frame off for the window. dwmapi.dll is loaded at run
// time: where it is missing (older systems) nothing happens.
void UsePaintedFrame(HWND window);

// Tests put their own DwmSetWindowAttribute here; null restores the system's.
void SetDwmSetWindowAttributeForTesting(SetWindowAttributeFunction function);

}  // namespace sorv::caption
