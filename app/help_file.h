#pragma once
// The help file "sorv.hlp": plain UTF-8 text cut into topics. A line
//   @topic <title>        starts a topic;
//   @context <n> [<n>...] gives it help context numbers (F1);
//   @keywords a; b; c     gives it keywords, separated by ";";
//   # ...                 is a comment;
// every other line is body text of the current topic. Lines before the first
// topic are ignored, as are directives without a usable value. Parsing never
// fails: whatever the text holds, the result is some list of topics.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sorv {

struct HelpTopic {
    std::string title;
    std::vector<int> contexts;
    std::vector<std::string> keywords;
    std::string body;  // paragraphs on one line each, indented lines kept, no leading or trailing blank lines
};

struct HelpDocument {
    std::vector<HelpTopic> topics;  // in file order; the first one opens the contents
};

// A help file larger than this is refused rather than read.
inline constexpr std::size_t kMaxHelpFileBytes = 4 * 1024 * 1024;
// Topics beyond this count are dropped: a list box is no place for more.
inline constexpr std::size_t kMaxHelpTopics = 5000;

HelpDocument ParseHelp(std::string_view text);

enum class HelpLoadStatus { Ok, CannotOpen, TooLarge, NoTopics };

struct HelpLoad {
    HelpLoadStatus status = HelpLoadStatus::CannotOpen;
    HelpDocument document;
};

// Reads and parses a help file (path in UTF-8), never more than
// kMaxHelpFileBytes of it.
HelpLoad LoadHelpFile(const std::string& path);

}  // namespace sorv
