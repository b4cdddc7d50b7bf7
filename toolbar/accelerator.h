#pragma once
// The access key of a caption: the character after a single "&" ("&&" is a
// plain "&"), matched without regard to case.
#include <string_view>

namespace sorv::tb97 {

// `character` is a UTF-16 unit as the keyboard gives it; `caption` UTF-8.
bool IsAccelerator(char16_t character, std::string_view caption);

}  // namespace sorv::tb97
