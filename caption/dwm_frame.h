#pragma once
// With desktop composition the compositor draws a window's frame, and what
// the program paints on WM_NCPAINT is not what the user sees. A window that
// paints its own title bar asks for the platform's non-composited frame.
#include <windows.h>

namespace sorv::caption {

using SetWindowAttributeFunction = HRESULT(WINAPI*)(HWND window, DWORD attribute, LPCVOID value, DWORD size);

inline constexpr DWORD kNcRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
inline constexpr DWORD kNcRenderingDisabled = 1;  // DWMNCRP_DISABLED

// Turns the composited frame off for the window. dwmapi.dll is loaded at run
// time: where it is missing (older systems) nothing happens.
void UsePaintedFrame(HWND window);

// Tests put their own DwmSetWindowAttribute here; null restores the system's.
void SetDwmSetWindowAttributeForTesting(SetWindowAttributeFunction function);

}  // namespace sorv::caption
