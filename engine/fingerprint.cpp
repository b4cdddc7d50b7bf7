#include "fingerprint.h"

#define XXH_INLINE_ALL
#include "xxhash.h"

#include <new>

namespace sorv {

namespace {

static_assert(sizeof(XXH64_state_t) <= 96 && alignof(XXH64_state_t) <= 8, "room for the library's state");

}  // namespace

Fingerprint::Fingerprint() : state_{} { Reset(); }

void Fingerprint::Reset() { XXH64_reset(new (state_.data()) XXH64_state_t, 0); }

void Fingerprint::Add(std::span<const std::byte> bytes) {
    XXH64_update(std::launder(reinterpret_cast<XXH64_state_t*>(state_.data())), bytes.data(), bytes.size());
}

std::uint64_t Fingerprint::Value() const {
    return XXH64_digest(std::launder(reinterpret_cast<const XXH64_state_t*>(state_.data())));
}

std::string FingerprintText(std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return text;
}

std::optional<std::uint64_t> ParseFingerprintText(std::string_view text) {
    if (text.size() != 16) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    return value;
}

}  // namespace sorv
