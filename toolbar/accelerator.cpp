#include "accelerator.h"

namespace sorv::tb97 {
namespace {

// Upper case of ASCII and Latin-1 letters, the captions' alphabet.
char32_t Upper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    return c;
}

// The code point starting at `text[i]`, with `i` moved past it.
char32_t Decode(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (i + length > text.size()) length = 1;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) c = (c << 6) | (byte(i + k) & 0x3F);
    i += length;
    return c;
}

}  // namespace

bool IsAccelerator(char16_t character, std::string_view caption) {
    for (std::size_t i = 0; i < caption.size();) {
        if (caption[i] != '&') {
            Decode(caption, i);
            continue;
        }
        ++i;
        if (i >= caption.size()) return false;
        if (caption[i] == '&') {
            ++i;
            continue;
        }
        return Upper(Decode(caption, i)) == Upper(character);
    }
    return false;
}

}  // namespace sorv::tb97
