#include "urllabel_rules.h"

namespace sorv {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<std::string> LinkTarget(std::string_view url, std::string_view caption) {
    const std::string_view target = TrimBlanks(url).empty() ? caption : url;
    if (TrimBlanks(target).empty()) return std::nullopt;
    return std::string(target);
}

}  // namespace sorv
