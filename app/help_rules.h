#pragma once
// The help file "sorv.hlp": plain UTF-8 text cut into topics. A line
//   @topic <title>        starts a topic;
//   @context <n> [<n>...] gives it help context numbers (F1);
//   @keywords a; b; c     gives it keywords, separated by ";";
//   # ...                 is a comment;
// every other line is body text of the current topic; an indented line
// whose columns are lined up with runs of blanks or tabs is a table row.
// Lines before the first topic are ignored, as are directives without a usable value. Parsing never
// fails: whatever the text holds, the result is some list of topics.
// Finding help topics: by help context number, by the start of a keyword,
// by words of text. Text comparisons ignore case, accented capitals included
// ("É" finds "é"), but respect accents ("e" does not find "é").
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorv {

struct HelpTopic {
    std::string title;
    std::vector<int> contexts;
    std::vector<std::string> keywords;
    // Paragraphs on one line each, indented lines kept, no leading or
    // trailing blank lines; the cells of a table row separated by tabs.
    std::string body;
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

// The tab stops at which the viewer lines up the columns of a body's table
// rows (its lines with tabs), in the units `width` measures texts in: each
// column starts `gap` after the widest cell of the column before it, the
// first cell of a row measured with the row's indent. Empty without tables.
std::vector<int> TableTabStops(std::string_view body, const std::function<int(std::string_view)>& width, int gap);

// Reads and parses a help file (path in UTF-8), never more than
// kMaxHelpFileBytes of it.
HelpLoad LoadHelpFile(const std::string& path);

// Lower case for ASCII and the Latin-1 and Latin Extended-A letters; every
// other byte, invalid UTF-8 included, is kept as it is. The length in bytes
// never changes.
std::string FoldCase(std::string_view utf8);

// The first topic that carries the context.
std::optional<std::size_t> TopicForContext(const HelpDocument& document, int context);

// Topics (indices, in file order) with a keyword that starts with `prefix`
// (blanks around it ignored). An empty prefix starts every keyword.
std::vector<std::size_t> TopicsForKeyPrefix(const HelpDocument& document, std::string_view prefix);

// Topics in which every blank-separated word of `query` occurs, in the title,
// a keyword or the body: first those whose title holds all the words, then
// the others, each group in file order. An empty query gives every topic.
std::vector<std::size_t> SearchTopics(const HelpDocument& document, std::string_view query);

}  // namespace sorv
