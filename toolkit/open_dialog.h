#pragma once
// The file-open dialog: a filter given as "description|patterns|...", the
// first entry selected, and only the option that hides the read-only check
// box (a typed name of a file that does not exist is accepted).
#include <windows.h>

#include <string>
#include <string_view>

namespace sorv::tk {

// "a|b|c|d" -> "a\0b\0c\0d\0\0", the form GetOpenFileName takes.
std::wstring Win32Filter(std::string_view filter);

class OpenDialog {
public:
    std::string Filter;
    int FilterIndex = 1;
    std::string FileName;  // the chosen path after Execute
    std::string Title;

    // True when the user chose a file.
    bool Execute(HWND owner);
};

}  // namespace sorv::tk
