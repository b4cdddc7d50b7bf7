#include "text_fit.h"

#include <vector>

namespace sorv::tk {
namespace {

constexpr std::string_view kEllipsis = "...";

// Where each character starts, and the end.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

}  // namespace

std::string FitInTheMiddle(std::string_view text, int maxWidth, const std::function<int(std::string_view)>& width) {
    if (width(text) <= maxWidth) return std::string(text);
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const std::size_t count = starts.size() - 1;
    if (count == 0) return std::string(text);
    // `kept` characters: the first half at the start, the rest at the end.
    const auto shortened = [&](std::size_t kept) {
        const std::size_t head = (kept + 1) / 2;
        const std::size_t tail = kept - head;
        return std::string(text.substr(0, starts[head])) + std::string(kEllipsis) +
               std::string(text.substr(starts[count - tail]));
    };
    // The widest that fits: fewer characters are never wider.
    std::size_t low = 0;
    std::size_t high = count - 1;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (width(shortened(middle)) <= maxWidth)
            low = middle;
        else
            high = middle - 1;
    }
    return shortened(low);
}

}  // namespace sorv::tk
