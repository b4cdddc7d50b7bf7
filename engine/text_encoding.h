#pragma once
// UTF-8 (the text inside the program) and Windows-1252 (the ANSI code page
// of the files and names of the system it comes from): checks and
// conversions.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sorv {

// Shortest forms only; surrogates and code points above U+10FFFF are invalid.
bool IsValidUtf8(std::string_view text);

// Checks UTF-8 fed in pieces cut anywhere, even inside a character.
class Utf8Validator {
public:
    void Feed(std::string_view bytes);
    // Everything fed so far is valid and ends on a whole character.
    bool Valid() const { return !failed_ && pending_ == 0; }

private:
    bool failed_ = false;
    int pending_ = 0;           // continuation bytes still expected
    unsigned char low_ = 0x80;  // range allowed for the next one
    unsigned char high_ = 0xBF;
};

// UTF-16 fed in pieces cut anywhere, even inside a unit or a surrogate
// pair, given back as UTF-8; a lone surrogate becomes U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(bool bigEndian = false) : bigEndian_(bigEndian) {}
    std::string Feed(std::string_view bytes);

private:
    bool bigEndian_;
    std::optional<unsigned char> first_;  // the first byte of a unit
    char16_t high_ = 0;                   // a high surrogate waiting for its pair
};

// Valid UTF-8; each maximal invalid part of the input becomes U+FFFD.
std::string RepairUtf8(std::string_view text);

// Every byte maps; the five bytes Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value.
std::string Cp1252ToUtf8(std::string_view bytes);

// nullopt when the text is not valid UTF-8 or a character has no byte.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// The first maxChars characters (code points) of UTF-8 text; an invalid
// byte counts as one character.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxChars);

}  // namespace sorv
