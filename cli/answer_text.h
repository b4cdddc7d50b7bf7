#pragma once
// What a typed answer to a Yes/No question means.
#include <optional>
#include <string_view>

namespace sorv {

// "o", "oui", "y", "yes" → true; "n", "non", "no" → false; any case, blanks
// around ignored. Anything else has no meaning (the question is asked again).
std::optional<bool> ParseYesNoAnswer(std::string_view typed);

}  // namespace sorv
