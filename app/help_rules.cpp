#include "help_rules.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>

#ifdef _WIN32
#include "utf16.h"
#endif

namespace sorv {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Splits on `separator`, trims each piece and keeps the non-empty ones.
std::vector<std::string_view> Pieces(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    while (!text.empty()) {
        const std::size_t end = text.find(separator);
        const std::string_view piece = Trim(text.substr(0, end));
        if (!piece.empty()) pieces.push_back(piece);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return pieces;
}

std::optional<int> ContextNumber(std::string_view token) {
    int value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc{} || end != token.data() + token.size() || value <= 0) return std::nullopt;
    return value;
}

// A directive line: "@name rest".
struct Directive {
    std::string_view name;
    std::string_view rest;
};

std::optional<Directive> AsDirective(std::string_view line) {
    if (line.empty() || line.front() != '@') return std::nullopt;
    line.remove_prefix(1);
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    const std::string_view name = line.substr(0, end);
    if (name != "topic" && name != "context" && name != "keywords") return std::nullopt;
    return Directive{name, Trim(line.substr(end))};
}

constexpr std::string_view kNoBreakSpace = "\u00a0";

std::size_t IndentOf(std::string_view line) {
    std::size_t indent = 0;
    while (indent < line.size() && IsBlank(line[indent])) ++indent;
    return indent;
}

// The length of a list item's mark ("- ", "* ", "1. ", "2) ") at the start.
std::size_t ItemMarkOf(std::string_view text) {
    if (text.starts_with("- ") || text.starts_with("* ")) return 2;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    if (digits > 0 && digits + 1 < text.size() && (text[digits] == '.' || text[digits] == ')') &&
        text[digits + 1] == ' ')
        return digits + 2;
    return 0;
}

// What an indented line is: a list item, a continuation, or a table row (its
// columns lined up with runs of blanks, or tabs).
struct Indented {
    std::size_t textColumn = 0;  // where the text starts, after an item's mark
    bool item = false;
    bool table = false;
};

Indented ShapeOf(std::string_view line) {
    const std::size_t indent = IndentOf(line);
    const std::string_view text = line.substr(indent);
    const std::size_t mark = ItemMarkOf(text);
    const std::string_view trimmed = Trim(text);
    return {indent + mark, mark > 0,
            trimmed.find("  ") != std::string_view::npos || trimmed.find('\t') != std::string_view::npos};
}

// French guillemets and the blank before ; : ? ! hold to what they belong
// to (the viewer breaks no line there), and so do all the words of a text
// that `whole`.
std::string HoldTogether(std::string_view line, bool whole) {
    std::string out;
    const std::size_t indent = IndentOf(line);
    out.append(line.substr(0, indent));
    for (std::size_t i = indent; i < line.size(); ++i) {
        const bool blank = line[i] == ' ';
        const std::string_view before = line.substr(0, i);
        const std::string_view after = line.substr(i + 1);
        const bool binds = whole || before.ends_with("\u00ab") || after.starts_with("\u00bb") ||
                           (!after.empty() && std::string_view(";:?!").find(after.front()) != std::string_view::npos);
        if (blank && binds && i + 1 < line.size())
            out.append(kNoBreakSpace);
        else
            out.push_back(line[i]);
    }
    return out;
}

// The cells of a table row, without its indent: apart where two blanks or
// more, or a tab, stand between them.
std::vector<std::string_view> Cells(std::string_view text) {
    const auto separates = [&](std::size_t i) {
        return text[i] == '\t' || (text[i] == ' ' && i + 1 < text.size() && IsBlank(text[i + 1]));
    };
    std::vector<std::string_view> cells;
    while (!text.empty()) {
        std::size_t end = 0;
        while (end < text.size() && !separates(end)) ++end;
        cells.push_back(Trim(text.substr(0, end)));
        text.remove_prefix(end);
        while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    }
    return cells;
}

// A table row as the viewer lines it up at its tab stops: the indent, then
// the cells with one tab between them. Its cells but the last never break;
// the last one wraps as text does when the window is narrow.
std::string TableRow(std::string_view line) {
    const std::size_t indent = IndentOf(line);
    std::string out(line.substr(0, indent));
    const std::vector<std::string_view> cells = Cells(line.substr(indent));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out.push_back('\t');
        out += HoldTogether(cells[i], i + 1 < cells.size());
    }
    return out;
}

class Parser {
public:
    void Line(std::string_view line) {
        if (!line.empty() && line.front() == '#') return;
        if (const auto directive = AsDirective(line)) {
            Apply(*directive);
            return;
        }
        if (!current_) return;
        // Blank lines at the start of a body are layout, not text.
        if (current_->body.empty() && Trim(line).empty()) return;
        std::string& body = current_->body;
        // Lines of one paragraph flow together, so that the viewer wraps them
        // at its own width, and so do the lines of one list item; blank
        // lines, items and table rows start lines of their own.
        const bool blank = Trim(line).empty();
        const bool indented = !blank && IsBlank(line.front());
        const Indented shape = indented ? ShapeOf(line) : Indented{};
        const bool prose = !blank && !indented;
        const bool continuation = indented && !shape.item && !shape.table && previous_ == Kind::Indented &&
                                  IndentOf(line) == previousIndented_.textColumn;
        const bool flows = (prose && previous_ == Kind::Prose) || continuation;
        if (flows && !body.empty() && body.back() == '\n') {
            body.back() = ' ';
            line = Trim(line);
        }
        if (indented && !continuation) previousIndented_ = shape;
        previous_ = blank ? Kind::Blank : prose ? Kind::Prose : shape.table ? Kind::Table : Kind::Indented;
        body.append(indented && shape.table ? TableRow(line) : HoldTogether(line, false));
        body.push_back('\n');
    }

    HelpDocument Finish() {
        EndTopic();
        return std::move(document_);
    }

private:
    void Apply(const Directive& directive) {
        if (directive.name == "topic") {
            EndTopic();
            // A topic without a title, or one too many, is dropped whole.
            if (directive.rest.empty() || document_.topics.size() >= kMaxHelpTopics) return;
            current_ = &document_.topics.emplace_back();
            current_->title = directive.rest;
        } else if (!current_) {
            return;
        } else if (directive.name == "context") {
            for (const std::string_view token : Pieces(directive.rest, ' '))
                if (const auto number = ContextNumber(Trim(token))) current_->contexts.push_back(*number);
        } else {
            for (const std::string_view keyword : Pieces(directive.rest, ';')) current_->keywords.emplace_back(keyword);
        }
    }

    void EndTopic() {
        if (!current_) return;
        std::string& body = current_->body;
        while (!body.empty() && (body.back() == '\n' || IsBlank(body.back()))) body.pop_back();
        current_ = nullptr;
    }

    HelpDocument document_;
    enum class Kind { Blank, Prose, Indented, Table };
    HelpTopic* current_ = nullptr;
    Kind previous_ = Kind::Blank;
    Indented previousIndented_;
};

}  // namespace

HelpDocument ParseHelp(std::string_view text) {
    if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
    Parser parser;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        parser.Line(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return parser.Finish();
}

std::vector<int> TableTabStops(std::string_view body, const std::function<int(std::string_view)>& width, int gap) {
    std::vector<std::vector<std::string_view>> rows;
    std::size_t columns = 0;
    for (std::string_view rest = body; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.find('\t') == std::string_view::npos) continue;
        std::vector<std::string_view>& cells = rows.emplace_back();
        for (std::size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
            cells.push_back(line.substr(0, tab));
            line.remove_prefix(tab + 1);
        }
        cells.push_back(line);
        columns = std::max(columns, cells.size());
    }
    // One stop after each column but the last, each from the one before.
    std::vector<int> stops;
    for (std::size_t column = 0; column + 1 < columns; ++column) {
        const int start = stops.empty() ? 0 : stops.back();
        int widest = 0;
        for (const auto& cells : rows)
            if (column + 1 < cells.size()) widest = std::max(widest, width(cells[column]));
        stops.push_back(start + widest + gap);
    }
    return stops;
}

namespace {

// The C library's files: iostreams would bring their locales into the
// program, more than half of its size.
struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::unique_ptr<std::FILE, CloseFile> OpenToRead(const std::string& path) {
#ifdef _WIN32
    return std::unique_ptr<std::FILE, CloseFile>(_wfopen(Widen(path).c_str(), L"rb"));
#else
    return std::unique_ptr<std::FILE, CloseFile>(std::fopen(path.c_str(), "rb"));
#endif
}

}  // namespace

HelpLoad LoadHelpFile(const std::string& path) {
    HelpLoad load;
    const auto in = OpenToRead(path);
    if (!in) return load;
    // Read in blocks up to one byte past the limit: the size the file claims
    // is not trusted, and a huge file never gets a buffer of its size.
    std::string text;
    char block[64 * 1024];
    while (text.size() <= kMaxHelpFileBytes) {
        const std::size_t got = std::fread(block, 1, sizeof block, in.get());
        text.append(block, got);
        if (got < sizeof block) break;
    }
    if (std::ferror(in.get())) return load;
    if (text.size() > kMaxHelpFileBytes) {
        load.status = HelpLoadStatus::TooLarge;
        return load;
    }
    load.document = ParseHelp(text);
    load.status = load.document.topics.empty() ? HelpLoadStatus::NoTopics : HelpLoadStatus::Ok;
    return load;
}

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

bool IsSpaceOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::vector<std::string> FoldedWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSpaceOrLineEnd(text[i])) ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsSpaceOrLineEnd(text[i])) ++i;
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
    while (!prefix.empty() && IsSpaceOrLineEnd(prefix.front())) prefix.remove_prefix(1);
    while (!prefix.empty() && IsSpaceOrLineEnd(prefix.back())) prefix.remove_suffix(1);
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
