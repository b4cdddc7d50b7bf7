#pragma once
// Puts a text on the clipboard as Unicode text, replacing what was there.
// The program's table of screen cursors: a number names a cursor that any
// window may show (the link labels show number 5, the pointing hand). The
// cursors come from LoadCursor, shared with the system, which frees them.
#include <windows.h>

#include <string_view>

namespace sorv {

// Throws when the clipboard cannot be opened or filled.
void CopyTextToClipboard(HWND owner, std::string_view text);

inline constexpr int crHand = 5;

// Replaces the cursor under that number; null removes it.
void SetScreenCursor(int number, HCURSOR cursor);
// The cursor under that number, the arrow when there is none.
HCURSOR ScreenCursor(int number);
// Only what was installed: null when the number is free.
HCURSOR InstalledScreenCursor(int number);

}  // namespace sorv
