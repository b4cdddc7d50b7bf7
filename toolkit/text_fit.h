#pragma once
// Fitting a one-line text to a width.
#include <functional>
#include <string>
#include <string_view>

namespace sorv::tk {

// The text, or when it is wider than `maxWidth` its start and its end (a
// file's extension) around "...", as long as they fit. `width` measures a
// text; cuts fall between UTF-8 characters.
std::string FitInTheMiddle(std::string_view text, int maxWidth, const std::function<int(std::string_view)>& width);

}  // namespace sorv::tk
