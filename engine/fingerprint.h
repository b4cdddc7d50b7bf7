#pragma once
// Fingerprints of slices and whole files: XXH64, seed 0. They are what the
// xxhsum tool shows, so a user can check a slice by hand.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sorv {

inline constexpr std::string_view kFingerprintAlgorithm = "XXH64";

// The fingerprint of bytes given in pieces of any size.
class Fingerprint {
public:
    Fingerprint();
    void Add(std::span<const std::byte> bytes);
    std::uint64_t Value() const;
    // Back to the fingerprint of nothing.
    void Reset();

private:
    // The library's streaming state, kept here so that no allocation is needed.
    alignas(8) std::array<unsigned char, 96> state_;
};

// 16 lower-case hexadecimal digits, as xxhsum writes them.
std::string FingerprintText(std::uint64_t value);
// Exactly 16 hexadecimal digits, either case; anything else is unreadable.
std::optional<std::uint64_t> ParseFingerprintText(std::string_view text);

}  // namespace sorv
