#include "text_encoding.h"

#include <array>
#include <utility>

namespace sorv {
namespace {

// Characters of the bytes 0x80 to 0x9F; the undefined five stand for themselves.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kReplacement = 0xFFFD;

// Continuation bytes that follow a lead byte, -1 for a byte that cannot
// start a character. low and high bound the first continuation byte, which
// is what rules out overlong forms, surrogates and values past U+10FFFF.
int ContinuationCount(unsigned char lead, unsigned char& low, unsigned char& high) {
    low = 0x80;
    high = 0xBF;
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
        return 2;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
        return 3;
    }
    return -1;
}

struct Decoded {
    char32_t ch;         // kReplacement when invalid
    std::size_t length;  // bytes used: the character, or the maximal invalid part
    bool valid;
};

Decoded DecodeAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    unsigned char low = 0;
    unsigned char high = 0;
    const int count = ContinuationCount(lead, low, high);
    if (count < 0) return {kReplacement, 1, false};
    char32_t ch = count == 0 ? lead : lead & (0x3F >> count);
    for (int i = 1; i <= count; ++i) {
        if (pos + i >= text.size()) return {kReplacement, static_cast<std::size_t>(i), false};
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if (b < low || b > high) return {kReplacement, static_cast<std::size_t>(i), false};
        ch = (ch << 6) | (b & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {ch, static_cast<std::size_t>(count) + 1, true};
}

void AppendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

std::optional<char> Cp1252Byte(char32_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<char>(ch);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == ch) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace

void Utf8Validator::Feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (failed_) return;
        const auto b = static_cast<unsigned char>(c);
        if (pending_ > 0) {
            if (b < low_ || b > high_) {
                failed_ = true;
            } else {
                --pending_;
                low_ = 0x80;
                high_ = 0xBF;
            }
            continue;
        }
        pending_ = ContinuationCount(b, low_, high_);
        if (pending_ < 0) failed_ = true;
    }
}

std::string Utf16Decoder::Feed(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        if (!first_) {
            first_ = static_cast<unsigned char>(c);
            continue;
        }
        const auto second = static_cast<unsigned char>(c);
        const auto unit = static_cast<char16_t>(bigEndian_ ? *first_ << 8 | second : second << 8 | *first_);
        first_.reset();
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (const char16_t high = std::exchange(high_, 0); high != 0) {
            if (low) {
                AppendUtf8(out, 0x10000 + ((char32_t{high} - 0xD800) << 10) + (unit - 0xDC00));
                continue;
            }
            AppendUtf8(out, kReplacement);
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) high_ = unit;
        else AppendUtf8(out, low ? kReplacement : char32_t{unit});
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    Utf8Validator validator;
    validator.Feed(text);
    return validator.Valid();
}

std::string RepairUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Decoded d = DecodeAt(text, pos);
        if (d.valid) {
            out.append(text.substr(pos, d.length));
        } else {
            AppendUtf8(out, kReplacement);
        }
        pos += d.length;
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char32_t{b});
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Decoded d = DecodeAt(text, pos);
        if (!d.valid) return std::nullopt;
        const std::optional<char> b = Cp1252Byte(d.ch);
        if (!b) return std::nullopt;
        out += *b;
        pos += d.length;
    }
    return out;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t maxChars) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < maxChars && pos < text.size(); ++n) {
        pos += DecodeAt(text, pos).length;
    }
    return text.substr(0, pos);
}

}  // namespace sorv
