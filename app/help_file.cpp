#include "help_file.h"

#include <charconv>
#include <fstream>
#include <optional>

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
        // Lines of one paragraph flow together, so the viewer wraps them at its
        // own width; indented lines (list items) and blank lines stay.
        const bool prose = !Trim(line).empty() && !IsBlank(line.front());
        if (prose && previousWasProse_ && !body.empty() && body.back() == '\n') body.back() = ' ';
        previousWasProse_ = prose;
        body.append(line);
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
    HelpTopic* current_ = nullptr;
    bool previousWasProse_ = false;
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

HelpLoad LoadHelpFile(const std::filesystem::path& path) {
    HelpLoad load;
    std::ifstream in(path, std::ios::binary);
    if (!in) return load;
    // Read in blocks up to one byte past the limit: the size the file claims
    // is not trusted, and a huge file never gets a buffer of its size.
    std::string text;
    char block[64 * 1024];
    while (text.size() <= kMaxHelpFileBytes) {
        in.read(block, sizeof block);
        text.append(block, static_cast<std::size_t>(in.gcount()));
        if (!in) break;
    }
    if (in.bad()) return load;
    if (text.size() > kMaxHelpFileBytes) {
        load.status = HelpLoadStatus::TooLarge;
        return load;
    }
    load.document = ParseHelp(text);
    load.status = load.document.topics.empty() ? HelpLoadStatus::NoTopics : HelpLoadStatus::Ok;
    return load;
}

}  // namespace sorv
