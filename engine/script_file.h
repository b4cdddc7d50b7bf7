#pragma once
// The script file: a profile (INI) text with section "[Sorv]" and the keys
// NomOriginal, TailleOriginale and Tranches, lines ended by CR LF; then, in
// scripts written since slices have fingerprints, a section "[Empreintes]"
// that readers of the three keys pass over:
//   [Empreintes]
//   Algorithme=XXH64
//   Fichier=<16 hex digits: the whole file>
//   1=<16 hex digits: slice 1>
//   2=...
// A split that writes recovery slices adds, after it:
//   [Secours]
//   Code=<the recovery code's identity, recovery_code.h>
//   Tranches=<K, the number of recovery slices>
//   Taille=<the coding size: the slice size, a multiple of 64>
//   1=<16 hex digits: recovery slice 1>
//   ...
// A split's partial script (the script under its partial name while the
// slices are written) has the [Sorv] section and, instead of the
// fingerprints, the identity of the source it is cutting:
//   [EnCours]
//   Source=<16 hex digits: volume>-<16 hex digits: file index>
//   Secours=<K, the recovery slices it writes; absent when none>
// Written in Windows-1252 when every character fits, otherwise in UTF-8
// with a byte-order mark; read in either (BOM, else valid UTF-8, else
// Windows-1252). Reading is a stream with bounded memory.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "file_id.h"

namespace sorv {

inline constexpr std::string_view kDefaultRecordedName = "c:\\";
// The read buffer of a text value holds 1023 characters and its NUL.
inline constexpr std::size_t kMaxValueChars = 1023;

// What a split writes into [Empreintes], and into [Secours] when it made
// recovery slices.
struct Fingerprints {
    std::uint64_t file = 0;
    std::vector<std::uint64_t> slices;  // slice n at n - 1
    std::uint64_t codingSize = 0;
    std::vector<std::uint64_t> recovery;  // recovery slice r at r - 1
};

// Whether a script has one of its sections: under its name, or under a name
// so near it that it can only be a damaged one.
class RecordedSection {
public:
    bool Present() const { return present_; }

    // For the reader.
    void MarkPresent() { present_ = true; }
    // The header as read, when it was damaged; the first one counts.
    void MarkMisspelled(std::string header) {
        present_ = true;
        if (misspelled_.empty()) misspelled_ = std::move(header);
    }

protected:
    // "en-tête <header as read>" when it was damaged, else "".
    std::string HeaderProblem() const { return misspelled_.empty() ? std::string() : "en-tête " + misspelled_; }

private:
    bool present_ = false;
    std::string misspelled_;
};

// What a script's [Empreintes] section says, as far as it can be read.
class RecordedFingerprints : public RecordedSection {
public:
    // Slices beyond this many have no fingerprint kept (reported unreadable).
    static constexpr std::int64_t kMaxSlices = std::int64_t{1} << 22;

    // XXH64, in any case: the fingerprints below can be compared.
    bool KnownAlgorithm() const;
    // Every byte of a file cut in `slices` slices can be checked: the
    // algorithm is known and either every slice's value or the whole file's
    // can be read.
    bool CanCheckEverything(std::int64_t slices) const;
    bool EverySliceReadable(std::int64_t slices) const;
    // Why a present section cannot serve, in a few French words ("" when it
    // can); with `slices` 0, only what does not depend on the count.
    std::string Unusable(std::int64_t slices) const;
    // Why its values do not fit a script of `slices` slices ("" when they do).
    std::string CountProblem(std::int64_t slices) const;
    // None when the value is missing or is not 16 hexadecimal digits.
    std::optional<std::uint64_t> File() const { return file_; }
    std::optional<std::uint64_t> Slice(std::int64_t n) const;
    // The highest slice number with a key, read or not (0 when none).
    std::int64_t LastSliceKey() const { return lastSliceKey_; }

    // For the reader: the first value of each key counts.
    void SetAlgorithm(std::string algorithm);
    void SetFile(std::optional<std::uint64_t> value);
    void SetSlice(std::int64_t n, std::optional<std::uint64_t> value);
    void NoteSliceKey(std::int64_t n) { lastSliceKey_ = std::max(lastSliceKey_, n); }

private:
    std::int64_t lastSliceKey_ = 0;
    bool algorithmSet_ = false, fileSet_ = false;
    std::string algorithm_;
    std::optional<std::uint64_t> file_;
    std::vector<std::uint64_t> slices_;
    std::vector<std::uint8_t> sliceStates_;  // 0 missing, 1 unreadable, 2 read
};

// What a script's [Secours] section says.
class RecordedRecovery : public RecordedSection {
public:
    // Why the section cannot serve a set of `slices` slices holding `size`
    // bytes, in a few French words ("" when it can).
    std::string Unusable(std::int64_t slices, std::int64_t size) const;
    // Meaningful once Unusable() is "".
    std::int64_t Count() const { return count_.value_or(0); }
    std::int64_t CodingSize() const { return codingSize_.value_or(0); }
    std::optional<std::uint64_t> Slice(std::int64_t r) const { return values_.Slice(r); }

    // For the reader: the first value of each key counts.
    void SetCode(std::string code);
    void SetCount(std::optional<std::int64_t> count);
    void SetCodingSize(std::optional<std::int64_t> size);
    void SetSlice(std::int64_t r, std::optional<std::uint64_t> value) { values_.SetSlice(r, value); }

private:
    bool codeSet_ = false, countSet_ = false, sizeSet_ = false;
    std::string code_;
    std::optional<std::int64_t> count_, codingSize_;
    RecordedFingerprints values_;  // the recovery slices' fingerprints
};

// How a number key was found: a 0 may be a default or an unreadable value.
struct NumberKey {
    bool present = false;
    bool readable = false;
    std::string text;  // as written, at most a line's worth
};

struct ScriptValues {
    std::string NomOriginal{kDefaultRecordedName};
    std::int64_t TailleOriginale = 0;
    std::int64_t Tranches = 0;
    NumberKey TailleOriginaleKey;
    NumberKey TranchesKey;
    RecordedFingerprints Empreintes;
    RecordedRecovery Secours;
    // Partial scripts only: the file being cut, and how many recovery slices
    // the split writes (only those are its own).
    std::optional<FileId> Source;
    std::int64_t SourceRecovery = 0;
};

// The bytes of a script file (UTF-8 names in, file encoding out); the
// [Empreintes] section when fingerprints are given.
std::string ScriptFileBytes(const std::string& nomOriginal, std::int64_t taille, std::int64_t tranches,
                            const Fingerprints* fingerprints = nullptr);

// The partial script of a split of the source `source`.
std::string PartialScriptFileBytes(const std::string& nomOriginal, std::int64_t taille, std::int64_t tranches,
                                   const FileId& source, std::int64_t recoverySlices = 0);

// An integer value as the profile reader reads it: "0x"/"0X" followed by
// something is hexadecimal, anything else decimal; not a number gives 0.
std::int64_t ParseProfileInteger(std::string_view text);
// The same, none when the text is not a number.
std::optional<std::int64_t> ReadProfileInteger(std::string_view text);

// Reads a script fed in chunks of any size. Memory stays bounded whatever
// the input's size or content.
class ScriptReader {
public:
    ScriptReader();
    ~ScriptReader();
    ScriptReader(const ScriptReader&) = delete;
    ScriptReader& operator=(const ScriptReader&) = delete;

    void Feed(std::span<const std::byte> chunk);
    // The values found, defaults for missing keys.
    ScriptValues Finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

ScriptValues ParseScript(std::string_view bytes);

}  // namespace sorv
