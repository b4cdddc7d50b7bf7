#pragma once
// Reading a window back as a user or an accessibility tool sees it.
#include <windows.h>

#include <string>

namespace sorv::test {

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// The font the window was given (WM_GETFONT), as its creation record.
LOGFONTW FontOf(HWND window);
// Whether a multi-line edit shows the last line of its text (the empty line
// after a final line break aside).
bool ShowsLastLineOfText(HWND edit);

}  // namespace sorv::test
