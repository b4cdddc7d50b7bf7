#pragma once
// UTF-8 inside the program, UTF-16 at the Win32 calls. Invalid input never
// fails: bad sequences become U+FFFD.
#include <string>
#include <string_view>

namespace sorv {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace sorv
