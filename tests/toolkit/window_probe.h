#pragma once
// Reading a window back as a user or an accessibility tool sees it.
#include <windows.h>

#include <string>

namespace sorv::test {

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// The font the window was given (WM_GETFONT), as its creation record.
LOGFONTW FontOf(HWND window);

}  // namespace sorv::test
