#pragma once
// Finding help topics: by help context number, by the start of a keyword,
// by words of text. Text comparisons ignore case, accented capitals included
// ("É" finds "é"), but respect accents ("e" does not find "é").
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "help_file.h"

namespace sorv {

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
