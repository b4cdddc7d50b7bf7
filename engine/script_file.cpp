#include "script_file.h"

#include "fingerprint.h"
#include "recovery_code.h"
#include "text_encoding.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace sorv {
namespace {

constexpr std::string_view kSection = "Sorv";
constexpr std::string_view kFingerprintSection = "Empreintes";
constexpr std::string_view kFingerprintHeader = "[Empreintes]";
// What a damaged section is called when its keys turn up without it.
constexpr std::string_view kFingerprintHeaderLost = "[Empreintes] manquant";
constexpr std::string_view kAlgorithmKey = "Algorithme";
constexpr std::string_view kFileKey = "Fichier";
constexpr std::string_view kInProgressSection = "EnCours";
constexpr std::string_view kRecoverySection = "Secours";
constexpr std::string_view kRecoveryHeader = "[Secours]";
constexpr std::string_view kRecoveryHeaderLost = "[Secours] manquant";
constexpr std::string_view kCodeKey = "Code";
constexpr std::string_view kCountKey = "Tranches";
constexpr std::string_view kCodingSizeKey = "Taille";
constexpr std::string_view kSourceKey = "Source";
// Slice values found before the slice count is known (a section placed
// before [Sorv]) are held, up to this many.
constexpr std::size_t kMaxHeldSlices = std::size_t{1} << 16;
constexpr std::string_view kBom = "\xEF\xBB\xBF";
// Notepad's "Unicode" and "Unicode big endian": UTF-16 behind its mark.
constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianBom = "\xFE\xFF";
constexpr std::array<std::string_view, 3> kKeys = {"NomOriginal", "TailleOriginale", "Tranches"};
enum KeyIndex : std::size_t { kNomOriginal, kTailleOriginale, kTranches, kNoKey };
// The keys of the sections other than [Sorv]: [Empreintes], [EnCours], [Secours].
enum class SectionKey { None, Algorithm, File, Slice, Source, SourceRecovery, Code, Count, CodingSize, RecoverySlice };

// Section and key names longer than this cannot be ours.
constexpr std::size_t kNameCap = 64;
// Room for the longest value kept: an opening quote and 1023 characters of
// up to four bytes each.
constexpr std::size_t kValueCap = 4 * kMaxValueChars + 4;

// CR counts as a blank so that a stray CR (an "\r\r\n" ending) is trimmed too.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Text gathered byte by byte with its leading and trailing blanks left out
// and at most cap bytes kept; blanks are held back until a non-blank shows
// they are inside the text.
class TrimmedText {
public:
    explicit TrimmedText(std::size_t cap) : cap_(cap) {}

    void Clear() {
        kept_.clear();
        blanks_.clear();
        overflow_ = false;
        last_ = '\0';
    }

    void Add(char c) {
        if (IsBlank(c)) {
            if ((!kept_.empty() || overflow_) && blanks_.size() <= cap_) blanks_ += c;
            return;
        }
        last_ = c;
        if (overflow_ || kept_.size() + blanks_.size() + 1 > cap_) {
            overflow_ = true;
        } else {
            kept_ += blanks_;
            kept_ += c;
        }
        blanks_.clear();
    }

    std::string_view Kept() const { return kept_; }
    // The text went beyond cap: Kept() is only its beginning.
    bool Overflowed() const { return overflow_; }
    // The last non-blank byte, kept or not.
    char Last() const { return last_; }

private:
    std::size_t cap_;
    std::string kept_;
    std::string blanks_;
    bool overflow_ = false;
    char last_ = '\0';
};

struct FoundValue {
    std::string raw;  // file bytes, quotes removed, possibly cut short
    bool cut = false;
};

FoundValue Unquoted(const TrimmedText& text) {
    std::string_view kept = text.Kept();
    const bool longEnough = text.Overflowed() || kept.size() >= 2;
    if (longEnough && (kept.front() == '"' || kept.front() == '\'') && text.Last() == kept.front()) {
        kept.remove_prefix(1);
        if (!text.Overflowed()) kept.remove_suffix(1);
    }
    return {std::string(kept), text.Overflowed()};
}

std::optional<std::int64_t> ParseHex(std::string_view digits) {
    std::uint64_t value = 0;
    for (const char c : digits) {
        int d = 0;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        if (value >> 60 != 0) return std::nullopt;  // beyond 16 significant digits
        value = value << 4 | static_cast<std::uint64_t>(d);
    }
    return static_cast<std::int64_t>(value);
}

std::optional<std::int64_t> ParseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulated as a negative number, whose range includes INT64_MIN.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const int d = c - '0';
        if (value < (kMin + d) / 10) return std::nullopt;
        value = value * 10 - d;
    }
    if (negative) return value;
    if (value == kMin) return std::nullopt;
    return -value;
}

// Keys only the fingerprints' section has: seen elsewhere, they say its
// header was lost.
bool IsSectionKey(std::string_view name) {
    return EqualsIgnoringAsciiCase(name, kAlgorithmKey) || EqualsIgnoringAsciiCase(name, kFileKey);
}

// Keys only the recovery section has (its Tranches is [Sorv]'s too).
bool IsRecoveryKey(std::string_view name) {
    return EqualsIgnoringAsciiCase(name, kCodeKey) || EqualsIgnoringAsciiCase(name, kCodingSizeKey);
}

// A section name one or two letters away from ours (a typing slip, a
// damaged byte) is a damaged header of ours, not a section of someone else.
bool NearlyNamed(std::string_view name, std::string_view ours) {
    if (EqualsIgnoringAsciiCase(name, ours) || name.size() + 2 < ours.size() || name.size() > ours.size() + 2)
        return false;
    std::vector<std::size_t> row(ours.size() + 1);
    for (std::size_t j = 0; j <= ours.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= name.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= ours.size(); ++j) {
            const std::size_t up = row[j];
            const bool same = AsciiLower(name[i - 1]) == AsciiLower(ours[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[ours.size()] <= 2;
}

std::optional<FileId> ParseSourceIdentity(std::string_view text) {
    const auto dash = text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto volume = ParseFingerprintText(text.substr(0, dash));
    const auto index = ParseFingerprintText(text.substr(dash + 1));
    if (!volume || !index) return std::nullopt;
    return FileId{*volume, *index};
}

// A name on a line of its own: characters that would end the line or the
// value early cannot be recorded as they are.
std::string OneLine(std::string name) {
    for (char& c : name) {
        if (c == '\r' || c == '\n' || c == '\0') c = '_';
    }
    return name;
}

// Readers, ours and the profile functions, trim a value's edge blanks and
// take off one pair of quotes: a name that begins or ends with either goes
// inside quotes, so that it comes back as it was.
std::string QuotedWhereNeeded(std::string_view name) {
    const bool needed = !name.empty() && (IsBlank(name.front()) || IsBlank(name.back()) ||
                                          name.front() == '"' || name.front() == '\'');
    return needed ? "\"" + std::string(name) + "\"" : std::string(name);
}

std::string ScriptText(std::string_view name, std::int64_t taille, std::int64_t tranches) {
    std::string out = "[Sorv]\r\nNomOriginal=";
    out += QuotedWhereNeeded(name);
    out += "\r\nTailleOriginale=" + std::to_string(taille);
    out += "\r\nTranches=" + std::to_string(tranches) + "\r\n";
    return out;
}

// After a blank line, as the profile functions separate sections.
std::string FingerprintText(const Fingerprints& fingerprints) {
    std::string out = "\r\n[" + std::string(kFingerprintSection) + "]\r\n";
    out += std::string(kAlgorithmKey) + "=" + std::string(kFingerprintAlgorithm) + "\r\n";
    out += std::string(kFileKey) + "=" + sorv::FingerprintText(fingerprints.file) + "\r\n";
    for (std::size_t i = 0; i < fingerprints.slices.size(); ++i)
        out += std::to_string(i + 1) + "=" + sorv::FingerprintText(fingerprints.slices[i]) + "\r\n";
    return out;
}

std::string RecoveryText(const Fingerprints& fingerprints) {
    std::string out = "\r\n[" + std::string(kRecoverySection) + "]\r\n";
    out += std::string(kCodeKey) + "=" + std::string(kRecoveryCodeIdentity) + "\r\n";
    out += std::string(kCountKey) + "=" + std::to_string(fingerprints.recovery.size()) + "\r\n";
    out += std::string(kCodingSizeKey) + "=" + std::to_string(fingerprints.codingSize) + "\r\n";
    for (std::size_t i = 0; i < fingerprints.recovery.size(); ++i)
        out += std::to_string(i + 1) + "=" + sorv::FingerprintText(fingerprints.recovery[i]) + "\r\n";
    return out;
}

// A slice key is its number as we write it: decimal, no sign, no leading zero.
std::int64_t SliceKeyNumber(std::string_view name) {
    if (name.empty() || name.size() > 18 || name.front() == '0') return 0;
    if (name.find_first_not_of("0123456789") != std::string_view::npos) return 0;
    return ParseDecimal(name).value_or(0);
}

}  // namespace

std::string ScriptFileBytes(const std::string& nomOriginal, std::int64_t taille, std::int64_t tranches,
                            const Fingerprints* fingerprints) {
    const std::string name = OneLine(nomOriginal);
    std::string section = fingerprints ? FingerprintText(*fingerprints) : std::string();
    if (fingerprints && !fingerprints->recovery.empty()) section += RecoveryText(*fingerprints);
    // Windows-1252 bytes that also read as UTF-8 would be read back as UTF-8.
    const std::optional<std::string> ansi = Utf8ToCp1252(name);
    if (ansi && !(IsValidUtf8(*ansi) && *ansi != name)) return ScriptText(*ansi, taille, tranches) + section;
    return std::string(kBom) + ScriptText(RepairUtf8(name), taille, tranches) + section;
}

std::string PartialScriptFileBytes(const std::string& nomOriginal, std::int64_t taille, std::int64_t tranches,
                                   const FileId& source, std::int64_t recoverySlices) {
    std::string bytes = ScriptFileBytes(nomOriginal, taille, tranches) + "\r\n[" + std::string(kInProgressSection) +
                        "]\r\n" + std::string(kSourceKey) + "=" + sorv::FingerprintText(source.volume) + "-" +
                        sorv::FingerprintText(source.index) + "\r\n";
    if (recoverySlices > 0) bytes += std::string(kRecoverySection) + "=" + std::to_string(recoverySlices) + "\r\n";
    return bytes;
}

bool RecordedFingerprints::KnownAlgorithm() const { return EqualsIgnoringAsciiCase(algorithm_, kFingerprintAlgorithm); }

bool RecordedFingerprints::EverySliceReadable(std::int64_t slices) const {
    for (std::int64_t n = 1; n <= slices; ++n)
        if (!Slice(n)) return false;
    return true;
}

bool RecordedFingerprints::CanCheckEverything(std::int64_t slices) const { return Unusable(slices).empty(); }

std::string RecordedFingerprints::Unusable(std::int64_t slices) const {
    if (std::string header = HeaderProblem(); !header.empty()) return header;
    if (algorithm_.empty()) return "pas d'algorithme";
    if (!KnownAlgorithm()) return "algorithme " + algorithm_ + " inconnu";
    if (!file_ && !EverySliceReadable(slices)) return "valeurs illisibles";
    return slices > 0 ? CountProblem(slices) : std::string();
}

// A value for a slice past the count: the section, or the count, belongs to another set.
std::string RecordedFingerprints::CountProblem(std::int64_t slices) const {
    if (LastSliceKey() <= slices) return {};
    return "les empreintes comptent " + std::to_string(LastSliceKey()) + " tranches, le script " + std::to_string(slices);
}

std::optional<std::uint64_t> RecordedFingerprints::Slice(std::int64_t n) const {
    if (n < 1 || n > static_cast<std::int64_t>(slices_.size())) return std::nullopt;
    const auto i = static_cast<std::size_t>(n - 1);
    return sliceStates_[i] == 2 ? std::optional<std::uint64_t>(slices_[i]) : std::nullopt;
}

void RecordedFingerprints::SetAlgorithm(std::string algorithm) {
    if (algorithmSet_) return;
    algorithmSet_ = true;
    algorithm_ = std::move(algorithm);
}

void RecordedFingerprints::SetFile(std::optional<std::uint64_t> value) {
    if (fileSet_) return;
    fileSet_ = true;
    file_ = value;
}

void RecordedFingerprints::SetSlice(std::int64_t n, std::optional<std::uint64_t> value) {
    if (n < 1 || n > kMaxSlices) return;
    const auto i = static_cast<std::size_t>(n - 1);
    if (i >= slices_.size()) {
        slices_.resize(i + 1);
        sliceStates_.resize(i + 1);
    }
    if (sliceStates_[i] != 0) return;
    slices_[i] = value.value_or(0);
    sliceStates_[i] = value ? 2 : 1;
}

void RecordedRecovery::SetCode(std::string code) {
    if (std::exchange(codeSet_, true)) return;
    code_ = std::move(code);
}

void RecordedRecovery::SetCount(std::optional<std::int64_t> count) {
    if (!std::exchange(countSet_, true)) count_ = count;
}

void RecordedRecovery::SetCodingSize(std::optional<std::int64_t> size) {
    if (!std::exchange(sizeSet_, true)) codingSize_ = size;
}

std::string RecordedRecovery::Unusable(std::int64_t slices, std::int64_t size) const {
    if (std::string header = HeaderProblem(); !header.empty()) return header;
    if (code_ != kRecoveryCodeIdentity) return code_.empty() ? "pas de code" : "code " + code_ + " inconnu";
    if (!count_ || *count_ <= 0) return "Tranches illisible";
    if (slices <= 0 || *count_ > static_cast<std::int64_t>(kRecoveryMaxFiles) - 1 - slices) return "trop de tranches";
    if (!codingSize_ || *codingSize_ <= 0 || *codingSize_ % static_cast<std::int64_t>(gf16::kRegionBlock) != 0)
        return "Taille illisible";
    // The slices are that size, the last one holding what remains (divided,
    // not multiplied: a hostile Taille must not wrap round to a fitting one).
    if (size <= 0 || (size - 1) / *codingSize_ + 1 != slices) return "Taille ne correspond pas aux tranches";
    for (std::int64_t r = 1; r <= *count_; ++r)
        if (!Slice(r)) return "empreinte de la tranche de secours " + std::to_string(r) + " illisible";
    return {};
}

std::optional<std::int64_t> ReadProfileInteger(std::string_view text) {
    text = TrimBlanks(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return ParseHex(text.substr(2));
    }
    return ParseDecimal(text);
}

std::int64_t ParseProfileInteger(std::string_view text) { return ReadProfileInteger(text).value_or(0); }

struct ScriptReader::Impl {
    enum class State { LineStart, Section, Key, Value, SkipLine };

    // The first bytes, held until they show whether a byte-order mark starts the file.
    std::string head;
    bool headDone = false;
    bool marked = false;  // a mark at the start says UTF-8, or UTF-16 read as UTF-8
    std::optional<Utf16Decoder> utf16;
    Utf8Validator validator;

    enum class Section { Other, Sorv, Fingerprints, InProgress, Recovery };

    State state = State::LineStart;
    Section section = Section::Other;
    TrimmedText name{kNameCap};
    TrimmedText value{kValueCap};
    KeyIndex key = kNoKey;
    SectionKey sectionKey = SectionKey::None;
    std::int64_t sliceNumber = 0;
    std::array<std::optional<FoundValue>, 3> found;
    RecordedFingerprints fingerprints;
    RecordedRecovery recovery;
    std::vector<std::pair<std::int64_t, std::optional<std::uint64_t>>> heldSlices;
    std::optional<FileId> source;
    bool sourceSet = false;
    std::int64_t sourceRecovery = 0;

    void Take(std::string_view bytes) {
        if (!headDone) {
            while (head.size() < kBom.size() && !bytes.empty()) {
                head += bytes.front();
                bytes.remove_prefix(1);
            }
            if (head.size() < kBom.size()) return;
            EndHead();
        }
        Text(bytes);
    }

    void EndHead() {
        headDone = true;
        const bool bigEndian = head.starts_with(kUtf16BigEndianBom);
        if (bigEndian || head.starts_with(kUtf16Bom)) utf16.emplace(bigEndian);
        marked = utf16 || head == kBom;
        const std::string start = std::exchange(head, {});
        Text(std::string_view(start).substr(marked ? (utf16 ? kUtf16Bom : kBom).size() : 0));
    }

    void Text(std::string_view bytes) {
        if (utf16) {
            const std::string text = utf16->Feed(bytes);
            for (const char c : text) Step(c);
            return;
        }
        validator.Feed(bytes);
        for (const char c : bytes) Step(c);
    }

    void Step(char c) {
        if (c == '\n') {
            EndLine();
            return;
        }
        switch (state) {
        case State::LineStart:
            if (IsBlank(c)) return;
            name.Clear();
            if (c == '[') {
                state = State::Section;
                return;
            }
            state = State::Key;
            [[fallthrough]];
        case State::Key:
            if (c == '=') {
                StartValue();
            } else {
                name.Add(c);
            }
            return;
        case State::Section:
            if (c == ']') {
                EndSection();
                state = State::SkipLine;
            } else {
                name.Add(c);
            }
            return;
        case State::Value:
            // As in a C string, a NUL ends the value.
            if (c == '\0') {
                EndValue();
                state = State::SkipLine;
            } else {
                value.Add(c);
            }
            return;
        case State::SkipLine:
            return;
        }
    }

    void EndLine() {
        if (state == State::Key && !name.Overflowed()) NoteDamagedHeaderLine(name.Kept());
        if (state == State::Section) EndSection();
        if (state == State::Value) EndValue();
        state = State::LineStart;
    }

    // A header whose bracket was damaged reads as a line without a value;
    // the keys after it are not the previous section's.
    void NoteDamagedHeaderLine(std::string_view line) {
        if (NearlyNamed(line, kFingerprintHeader)) fingerprints.MarkMisspelled(std::string(line));
        else if (NearlyNamed(line, kRecoveryHeader)) recovery.MarkMisspelled(std::string(line));
        else return;
        section = Section::Other;
    }

    void EndSection() {
        section = Section::Other;
        if (name.Overflowed()) return;
        const std::string_view kept = name.Kept();
        if (EqualsIgnoringAsciiCase(kept, kSection)) {
            section = Section::Sorv;
        } else if (EqualsIgnoringAsciiCase(kept, kInProgressSection)) {
            section = Section::InProgress;
        } else if (EqualsIgnoringAsciiCase(kept, kRecoverySection)) {
            section = Section::Recovery;
            recovery.MarkPresent();
        } else if (EqualsIgnoringAsciiCase(kept, kFingerprintSection)) {
            section = Section::Fingerprints;
            fingerprints.MarkPresent();
        } else if (NearlyNamed(kept, kFingerprintSection)) {
            fingerprints.MarkMisspelled("[" + std::string(kept) + "]");
        } else if (NearlyNamed(kept, kRecoverySection)) {
            // Only once no section of ours matched: [EnCours] is two letters from it.
            recovery.MarkMisspelled("[" + std::string(kept) + "]");
        }
    }

    // A recovery key in another section of ours: the recovery section's
    // header was lost, and its keys fell into the section before it. Under
    // [Empreintes] the keys from there on are the recovery section's, not
    // slice fingerprints. A section of someone else's keeps its keys: a
    // script with notes of its own still joins as it did.
    void NoteStrayRecoveryKey() {
        const bool underFingerprints = section == Section::Fingerprints;
        if ((section != Section::Sorv && !underFingerprints) ||
            !(IsRecoveryKey(name.Kept()) || (underFingerprints && EqualsIgnoringAsciiCase(name.Kept(), kCountKey))))
            return;
        recovery.MarkMisspelled(std::string(kRecoveryHeaderLost));
        if (underFingerprints) section = Section::Other;
    }

    void StartValue() {
        key = kNoKey;
        sectionKey = SectionKey::None;
        NoteStrayRecoveryKey();
        if (section == Section::Sorv && !name.Overflowed()) {
            for (std::size_t i = 0; i < kKeys.size(); ++i) {
                if (EqualsIgnoringAsciiCase(name.Kept(), kKeys[i])) key = static_cast<KeyIndex>(i);
            }
        }
        if (section == Section::Fingerprints && !name.Overflowed()) StartFingerprintValue();
        if (section != Section::Fingerprints && section != Section::Recovery && IsSectionKey(name.Kept()))
            fingerprints.MarkMisspelled(std::string(kFingerprintHeaderLost));
        if (section == Section::Recovery && !name.Overflowed()) StartRecoveryValue();
        if (section == Section::InProgress && !sourceSet && EqualsIgnoringAsciiCase(name.Kept(), kSourceKey))
            sectionKey = SectionKey::Source;
        if (section == Section::InProgress && EqualsIgnoringAsciiCase(name.Kept(), kRecoverySection))
            sectionKey = SectionKey::SourceRecovery;
        // The first occurrence wins.
        if ((key == kNoKey || found[key]) && sectionKey == SectionKey::None) {
            state = State::SkipLine;
            return;
        }
        value.Clear();
        state = State::Value;
    }

    void StartFingerprintValue() {
        if (EqualsIgnoringAsciiCase(name.Kept(), kAlgorithmKey)) {
            sectionKey = SectionKey::Algorithm;
        } else if (EqualsIgnoringAsciiCase(name.Kept(), kFileKey)) {
            sectionKey = SectionKey::File;
        } else if ((sliceNumber = SliceKeyNumber(name.Kept())) > 0) {
            sectionKey = SectionKey::Slice;
        }
    }

    void StartRecoveryValue() {
        const std::string_view kept = name.Kept();
        if (EqualsIgnoringAsciiCase(kept, kCodeKey)) sectionKey = SectionKey::Code;
        else if (EqualsIgnoringAsciiCase(kept, kCountKey)) sectionKey = SectionKey::Count;
        else if (EqualsIgnoringAsciiCase(kept, kCodingSizeKey)) sectionKey = SectionKey::CodingSize;
        else if ((sliceNumber = SliceKeyNumber(kept)) > 0 && sliceNumber < kRecoveryMaxFiles)
            sectionKey = SectionKey::RecoverySlice;
    }

    void EndValue() {
        if (key != kNoKey) {
            found[key] = Unquoted(value);
            if (key == kTranches) ReleaseHeldSlices();
            return;
        }
        const FoundValue text = Unquoted(value);
        const std::optional<std::uint64_t> number = text.cut ? std::nullopt : ParseFingerprintText(text.raw);
        switch (sectionKey) {
        case SectionKey::Algorithm: fingerprints.SetAlgorithm(text.cut ? std::string("?") : text.raw); break;
        case SectionKey::File: fingerprints.SetFile(number); break;
        case SectionKey::Slice: TakeSlice(sliceNumber, number); break;
        case SectionKey::Source:
            sourceSet = true;
            if (!text.cut) source = ParseSourceIdentity(text.raw);
            break;
        case SectionKey::SourceRecovery:
            sourceRecovery = text.cut ? 0 : std::clamp<std::int64_t>(ParseProfileInteger(text.raw), 0, kRecoveryMaxFiles);
            break;
        case SectionKey::Code: recovery.SetCode(text.cut ? std::string("?") : text.raw); break;
        case SectionKey::Count: recovery.SetCount(text.cut ? std::nullopt : ReadProfileInteger(text.raw)); break;
        case SectionKey::CodingSize: recovery.SetCodingSize(text.cut ? std::nullopt : ReadProfileInteger(text.raw)); break;
        case SectionKey::RecoverySlice: recovery.SetSlice(sliceNumber, number); break;
        case SectionKey::None: break;
        }
    }

    // Only as many as the script has slices (a huge key number must not make
    // a huge table); before the count is known, a bounded number is held.
    void TakeSlice(std::int64_t n, std::optional<std::uint64_t> number) {
        if (found[kTranches]) {
            fingerprints.NoteSliceKey(n);
            if (n <= ParseProfileInteger(found[kTranches]->raw)) fingerprints.SetSlice(n, number);
        } else if (heldSlices.size() < kMaxHeldSlices) {
            heldSlices.emplace_back(n, number);
        }
    }

    void ReleaseHeldSlices() {
        for (const auto& [n, number] : heldSlices) TakeSlice(n, number);
        heldSlices.clear();
        heldSlices.shrink_to_fit();
    }

    ScriptValues Finish() {
        if (!headDone) EndHead();
        EndLine();
        ScriptValues values;
        if (const auto& nom = found[kNomOriginal]) {
            // Behind a mark, a name that is not UTF-8 was typed in ANSI by an editor that kept the mark.
            const bool utf8 = marked ? IsValidUtf8(nom->raw) : validator.Valid();
            const std::string text = utf8 ? RepairUtf8(nom->raw) : Cp1252ToUtf8(nom->raw);
            values.NomOriginal = std::string(Utf8Prefix(text, kMaxValueChars));
        }
        values.TailleOriginaleKey = NumberFound(kTailleOriginale);
        values.TranchesKey = NumberFound(kTranches);
        values.TailleOriginale = IntegerFound(kTailleOriginale);
        values.Tranches = IntegerFound(kTranches);
        // Recovery slices are only written beside fingerprints: without them
        // the section was lost, not left out.
        if (recovery.Present() && !fingerprints.Present()) fingerprints.MarkMisspelled(std::string(kFingerprintHeaderLost));
        values.Empreintes = std::move(fingerprints);
        values.Secours = std::move(recovery);
        values.Source = source;
        values.SourceRecovery = sourceRecovery;
        return values;
    }

    // A number too long to keep has more than a number's digits.
    std::int64_t IntegerFound(KeyIndex k) const {
        return found[k] && !found[k]->cut ? ParseProfileInteger(found[k]->raw) : 0;
    }

    NumberKey NumberFound(KeyIndex k) const {
        NumberKey number;
        if (!found[k]) return number;
        number.present = true;
        number.readable = !found[k]->cut && ReadProfileInteger(found[k]->raw).has_value();
        // Kept for the messages only when it can be shown as it is.
        const std::string& raw = found[k]->raw;
        const bool printable = std::all_of(raw.begin(), raw.end(), [](char c) { return c >= ' ' && c <= '~'; });
        if (!found[k]->cut && printable && raw.size() <= 40) number.text = raw;
        return number;
    }
};

ScriptReader::ScriptReader() : impl_(std::make_unique<Impl>()) {}

// Here, where Impl is complete.
ScriptReader::~ScriptReader() = default;

void ScriptReader::Feed(std::span<const std::byte> chunk) {
    impl_->Take(std::string_view(reinterpret_cast<const char*>(chunk.data()), chunk.size()));
}

ScriptValues ScriptReader::Finish() { return impl_->Finish(); }

ScriptValues ParseScript(std::string_view bytes) {
    ScriptReader reader;
    reader.Feed(std::as_bytes(std::span(bytes.data(), bytes.size())));
    return reader.Finish();
}

}  // namespace sorv
