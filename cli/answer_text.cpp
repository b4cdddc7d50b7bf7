#include "answer_text.h"

#include <array>
#include <string>

namespace sorv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::optional<bool> ParseYesNoAnswer(std::string_view typed) {
    while (!typed.empty() && IsBlank(typed.front())) typed.remove_prefix(1);
    while (!typed.empty() && IsBlank(typed.back())) typed.remove_suffix(1);
    std::string word(typed);
    for (char& c : word)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');

    constexpr std::array<std::string_view, 4> yes{"o", "oui", "y", "yes"};
    constexpr std::array<std::string_view, 3> no{"n", "non", "no"};
    for (auto w : yes)
        if (word == w) return true;
    for (auto w : no)
        if (word == w) return false;
    return std::nullopt;
}

}  // namespace sorv
