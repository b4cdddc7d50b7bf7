#pragma once
// What a link label opens when clicked: its URL when that holds more than
// blanks, else its caption; nothing when that too is blank.
#include <optional>
#include <string>
#include <string_view>

namespace sorv {

// Leading and trailing blanks and control characters removed.
std::string_view TrimBlanks(std::string_view text);

// The URL is kept as stored (untrimmed) when chosen.
std::optional<std::string> LinkTarget(std::string_view url, std::string_view caption);

}  // namespace sorv
