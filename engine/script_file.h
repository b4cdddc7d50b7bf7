#pragma once
// The script file: a profile (INI) text with section "[Sorv]" and the keys
// NomOriginal, TailleOriginale and Tranches, lines ended by CR LF.
// Written in Windows-1252 when every character fits, otherwise in UTF-8
// with a byte-order mark; read in either (BOM, else valid UTF-8, else
// Windows-1252). Reading is a stream with bounded memory.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sorv {

inline constexpr std::string_view kDefaultRecordedName = "c:\\";
// The read buffer of a text value holds 1023 characters and its NUL.
inline constexpr std::size_t kMaxValueChars = 1023;

struct ScriptValues {
    std::string NomOriginal{kDefaultRecordedName};
    std::int64_t TailleOriginale = 0;
    std::int64_t Tranches = 0;
    // Whether the two numbers were there at all (0 may be a default).
    bool HasTailleOriginale = false;
    bool HasTranches = false;
};

// The bytes of a script file (UTF-8 names in, file encoding out).
std::string ScriptFileBytes(const std::string& nomOriginal, std::int64_t taille, std::int64_t tranches);

// An integer value as the profile reader reads it: "0x"/"0X" followed by
// something is hexadecimal, anything else decimal; not a number gives 0.
std::int64_t ParseProfileInteger(std::string_view text);

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
    Impl* impl_;
};

ScriptValues ParseScript(std::string_view bytes);

}  // namespace sorv
