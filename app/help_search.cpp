#include "help_search.h"

#include <algorithm>

namespace sorv {
namespace {

// The lower-case partner of a capital below U+0180, or the code point itself.
char32_t FoldCodePoint(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // À..Þ, not ×
    if (c == 0x178) return 0xFF;                                 // Ÿ
    const bool evenCapitals = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenCapitals && c % 2 == 0) || (oddCapitals && c % 2 == 1)) return c + 1;
    return c;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::vector<std::string> FoldedWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > start) words.push_back(FoldCase(text.substr(start, i - start)));
    }
    return words;
}

bool HoldsAll(const std::string& folded, const std::vector<std::string>& words) {
    return std::ranges::all_of(words, [&](const std::string& word) { return folded.find(word) != std::string::npos; });
}

}  // namespace

std::string FoldCase(std::string_view utf8) {
    std::string out(utf8);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto lead = static_cast<unsigned char>(out[i]);
        if (lead < 0x80) {
            out[i] = static_cast<char>(FoldCodePoint(lead));
            continue;
        }
        // Only two-byte sequences hold letters with a case below U+0180.
        if (lead < 0xC2 || lead > 0xDF || i + 1 >= out.size()) continue;
        const auto trail = static_cast<unsigned char>(out[i + 1]);
        if (!IsContinuation(trail)) continue;
        const char32_t folded = FoldCodePoint(static_cast<char32_t>(((lead & 0x1F) << 6) | (trail & 0x3F)));
        out[i] = static_cast<char>(0xC0 | (folded >> 6));
        out[i + 1] = static_cast<char>(0x80 | (folded & 0x3F));
        ++i;
    }
    return out;
}

std::optional<std::size_t> TopicForContext(const HelpDocument& document, int context) {
    for (std::size_t i = 0; i < document.topics.size(); ++i)
        if (std::ranges::find(document.topics[i].contexts, context) != document.topics[i].contexts.end()) return i;
    return std::nullopt;
}

std::vector<std::size_t> TopicsForKeyPrefix(const HelpDocument& document, std::string_view prefix) {
    while (!prefix.empty() && IsBlank(prefix.front())) prefix.remove_prefix(1);
    while (!prefix.empty() && IsBlank(prefix.back())) prefix.remove_suffix(1);
    const std::string folded = FoldCase(prefix);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < document.topics.size(); ++i) {
        const auto& keywords = document.topics[i].keywords;
        if (std::ranges::any_of(keywords, [&](const std::string& k) { return FoldCase(k).starts_with(folded); }))
            found.push_back(i);
    }
    return found;
}

std::vector<std::size_t> SearchTopics(const HelpDocument& document, std::string_view query) {
    const std::vector<std::string> words = FoldedWords(query);
    std::vector<std::size_t> inTitle;
    std::vector<std::size_t> elsewhere;
    for (std::size_t i = 0; i < document.topics.size(); ++i) {
        const HelpTopic& topic = document.topics[i];
        if (HoldsAll(FoldCase(topic.title), words)) {
            inTitle.push_back(i);
            continue;
        }
        std::string all = topic.title;
        for (const std::string& keyword : topic.keywords) all += "\n" + keyword;
        all += "\n" + topic.body;
        if (HoldsAll(FoldCase(all), words)) elsewhere.push_back(i);
    }
    inTitle.insert(inTitle.end(), elsewhere.begin(), elsewhere.end());
    return inTitle;
}

}  // namespace sorv
