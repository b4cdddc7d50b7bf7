#pragma once
// Puts a text on the clipboard as Unicode text, replacing what was there.
#include <windows.h>

#include <string_view>

namespace sorv {

// Throws when the clipboard cannot be opened or filled.
void CopyTextToClipboard(HWND owner, std::string_view text);

}  // namespace sorv
