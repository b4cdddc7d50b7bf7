#include "recovery_field.h"

#include <array>
#include <atomic>
#include <bit>
#include <stdexcept>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define SORV_X86_KERNELS 1
#endif

namespace sorv::gf16 {

namespace {

constexpr std::uint32_t kOrder = 65535;  // of the multiplicative group

// a · x, reduced: the one step that every product and table is built from.
constexpr Element TimesX(Element a) {
    return static_cast<Element>((a << 1) ^ ((a & 0x8000) ? (kPolynomial & 0xFFFF) : 0));
}

// Logarithms to the base x, which generates the multiplicative group since
// the polynomial is primitive. The antilogarithms are written twice over, so
// that a sum of two logarithms needs no reduction.
struct LogTables {
    std::array<std::uint16_t, 65536> log{};
    std::array<Element, 2 * kOrder> antilog{};

    LogTables() {
        Element power = 1;
        for (std::uint32_t i = 0; i < kOrder; ++i) {
            antilog[i] = antilog[i + kOrder] = power;
            log[power] = static_cast<std::uint16_t>(i);
            power = TimesX(power);
        }
    }
};

const LogTables& Logs() {
    static const LogTables tables;
    return tables;
}

// basis[b] = factor · x^b: a product by factor is the XOR of the basis
// entries of the other operand's bits.
std::array<Element, 16> ProductBasis(Element factor) {
    std::array<Element, 16> basis{};
    for (auto& entry : basis) {
        entry = factor;
        factor = TimesX(factor);
    }
    return basis;
}

// table[i] = the XOR of basis[b] over the bits b of i, for i < 2^bits.
void FillSubsetSums(const Element* basis, unsigned bits, Element* table) {
    table[0] = 0;
    for (unsigned i = 1; i < (1u << bits); ++i) table[i] = table[i & (i - 1)] ^ basis[std::countr_zero(i)];
}

void CheckRegions(std::span<const std::byte> source, std::span<std::byte> target) {
    if (source.size() != target.size()) throw std::invalid_argument("gf16: source and target regions differ in size");
    if (source.size() % kRegionBlock != 0)
        throw std::invalid_argument("gf16: a region's size is not a multiple of 64 bytes");
}

using RegionKernel = void (*)(Element factor, const std::byte* source, std::byte* target, std::size_t blocks);

// The portable kernel: the products of every low byte and every high byte.
template <bool Accumulate>
void PortableKernel(Element factor, const std::byte* source, std::byte* target, std::size_t blocks) {
    const auto basis = ProductBasis(factor);
    std::array<Element, 256> byLow, byHigh;
    FillSubsetSums(basis.data(), 8, byLow.data());
    FillSubsetSums(basis.data() + 8, 8, byHigh.data());
    for (std::size_t block = 0; block < blocks; ++block, source += kRegionBlock, target += kRegionBlock) {
        for (std::size_t i = 0; i < kRegionBlock / 2; ++i) {
            const Element product = byLow[std::to_integer<std::uint8_t>(source[i])] ^
                                    byHigh[std::to_integer<std::uint8_t>(source[i + kRegionBlock / 2])];
            const auto low = static_cast<std::byte>(product & 0xFF), high = static_cast<std::byte>(product >> 8);
            target[i] = Accumulate ? target[i] ^ low : low;
            target[i + kRegionBlock / 2] = Accumulate ? target[i + kRegionBlock / 2] ^ high : high;
        }
    }
}

#ifdef SORV_X86_KERNELS

// The vector kernels look up the product of each of an element's four
// nibbles in 16-byte tables, one for each nibble and half of the product:
// nibbles[2·p + h][n] is byte h of factor · (n << 4p).
struct alignas(16) NibbleTables {
    std::uint8_t bytes[8][16];
};

NibbleTables MakeNibbleTables(Element factor) {
    const auto basis = ProductBasis(factor);
    NibbleTables tables;
    for (unsigned nibble = 0; nibble < 4; ++nibble) {
        Element products[16];
        FillSubsetSums(basis.data() + 4 * nibble, 4, products);
        for (unsigned n = 0; n < 16; ++n) {
            tables.bytes[2 * nibble][n] = static_cast<std::uint8_t>(products[n] & 0xFF);
            tables.bytes[2 * nibble + 1][n] = static_cast<std::uint8_t>(products[n] >> 8);
        }
    }
    return tables;
}

// One half (h = 0 low, 1 high) of the products of 16 elements whose nibbles,
// lowest first, are n[0..3].
__attribute__((target("ssse3"))) inline __m128i LookUp128(const __m128i* tables, const __m128i* n, int h) {
    return _mm_xor_si128(_mm_xor_si128(_mm_shuffle_epi8(tables[h], n[0]), _mm_shuffle_epi8(tables[2 + h], n[1])),
                         _mm_xor_si128(_mm_shuffle_epi8(tables[4 + h], n[2]), _mm_shuffle_epi8(tables[6 + h], n[3])));
}

// Sixteen elements per step: the low bytes at `at`, the high bytes 32 on.
template <bool Accumulate>
__attribute__((target("ssse3"))) void Ssse3Kernel(Element factor, const std::byte* source, std::byte* target,
                                                  std::size_t blocks) {
    const NibbleTables nibbles = MakeNibbleTables(factor);
    __m128i tables[8];
    for (int i = 0; i < 8; ++i) tables[i] = _mm_load_si128(reinterpret_cast<const __m128i*>(nibbles.bytes[i]));
    const __m128i mask = _mm_set1_epi8(0x0F);
    // Two steps per turn: the next step's loads start before this one's stores.
#pragma GCC unroll 2
    for (std::size_t step = 0; step < 2 * blocks; ++step) {
        const std::size_t at = step / 2 * kRegionBlock + step % 2 * 16;
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + at));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + at + 32));
        const __m128i n[4] = {_mm_and_si128(low, mask), _mm_and_si128(_mm_srli_epi16(low, 4), mask),
                              _mm_and_si128(high, mask), _mm_and_si128(_mm_srli_epi16(high, 4), mask)};
        for (int h = 0; h < 2; ++h) {
            auto* out = reinterpret_cast<__m128i*>(target + at + 32 * h);
            const __m128i product = LookUp128(tables, n, h);
            _mm_storeu_si128(out, Accumulate ? _mm_xor_si128(product, _mm_loadu_si128(out)) : product);
        }
    }
}

__attribute__((target("avx2"))) inline __m256i LookUp256(const __m256i* tables, const __m256i* n, int h) {
    return _mm256_xor_si256(
        _mm256_xor_si256(_mm256_shuffle_epi8(tables[h], n[0]), _mm256_shuffle_epi8(tables[2 + h], n[1])),
        _mm256_xor_si256(_mm256_shuffle_epi8(tables[4 + h], n[2]), _mm256_shuffle_epi8(tables[6 + h], n[3])));
}

// A whole block per step: the 16-byte tables are the same in both lanes.
template <bool Accumulate>
__attribute__((target("avx2"))) void Avx2Kernel(Element factor, const std::byte* source, std::byte* target,
                                                std::size_t blocks) {
    const NibbleTables nibbles = MakeNibbleTables(factor);
    __m256i tables[8];
    for (int i = 0; i < 8; ++i)
        tables[i] = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(nibbles.bytes[i])));
    const __m256i mask = _mm256_set1_epi8(0x0F);
    // Two steps per turn: the next step's loads start before this one's stores.
#pragma GCC unroll 2
    for (std::size_t block = 0; block < blocks; ++block, source += kRegionBlock, target += kRegionBlock) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + 32));
        const __m256i n[4] = {_mm256_and_si256(low, mask), _mm256_and_si256(_mm256_srli_epi16(low, 4), mask),
                              _mm256_and_si256(high, mask), _mm256_and_si256(_mm256_srli_epi16(high, 4), mask)};
        for (int h = 0; h < 2; ++h) {
            auto* out = reinterpret_cast<__m256i*>(target + 32 * h);
            const __m256i product = LookUp256(tables, n, h);
            _mm256_storeu_si256(out, Accumulate ? _mm256_xor_si256(product, _mm256_loadu_si256(out)) : product);
        }
    }
}

#endif  // SORV_X86_KERNELS

struct KernelPair {
    RegionKernel multiply;
    RegionKernel multiplyAdd;
};

KernelPair KernelsOf(Kernel kernel) {
    switch (kernel) {
#ifdef SORV_X86_KERNELS
        case Kernel::Ssse3:
            return {Ssse3Kernel<false>, Ssse3Kernel<true>};
        case Kernel::Avx2:
            return {Avx2Kernel<false>, Avx2Kernel<true>};
#endif
        default:
            return {PortableKernel<false>, PortableKernel<true>};
    }
}

std::atomic<int> g_chosen{-1};

Kernel Fastest() {
    for (const Kernel kernel : {Kernel::Avx2, Kernel::Ssse3})
        if (KernelAvailable(kernel)) return kernel;
    return Kernel::Portable;
}

void Apply(bool accumulate, Element factor, std::span<const std::byte> source, std::span<std::byte> target) {
    CheckRegions(source, target);
    const KernelPair kernels = KernelsOf(ActiveKernel());
    (accumulate ? kernels.multiplyAdd : kernels.multiply)(factor, source.data(), target.data(),
                                                          source.size() / kRegionBlock);
}

}  // namespace

Element Multiply(Element a, Element b) {
    if (a == 0 || b == 0) return 0;
    const LogTables& t = Logs();
    return t.antilog[t.log[a] + t.log[b]];
}

Element Inverse(Element a) {
    if (a == 0) throw std::domain_error("gf16: 0 has no inverse");
    const LogTables& t = Logs();
    return t.antilog[(kOrder - t.log[a]) % kOrder];
}

Element Divide(Element a, Element b) { return Multiply(a, Inverse(b)); }

Element Power(Element a, std::uint32_t n) {
    if (n == 0) return 1;
    if (a == 0) return 0;
    const LogTables& t = Logs();
    return t.antilog[static_cast<std::uint64_t>(t.log[a]) * n % kOrder];
}

void MultiplyAdd(Element factor, std::span<const std::byte> source, std::span<std::byte> target) {
    Apply(true, factor, source, target);
}

void Multiply(Element factor, std::span<const std::byte> source, std::span<std::byte> target) {
    Apply(false, factor, source, target);
}

bool KernelAvailable(Kernel kernel) {
#ifdef SORV_X86_KERNELS
    __builtin_cpu_init();
    if (kernel == Kernel::Ssse3) return __builtin_cpu_supports("ssse3");
    if (kernel == Kernel::Avx2) return __builtin_cpu_supports("avx2");
#endif
    return kernel == Kernel::Portable;
}

Kernel ActiveKernel() {
    int chosen = g_chosen.load(std::memory_order_relaxed);
    if (chosen < 0) {
        chosen = static_cast<int>(Fastest());
        g_chosen.store(chosen, std::memory_order_relaxed);
    }
    return static_cast<Kernel>(chosen);
}

void SetKernelForTesting(Kernel kernel) {
    if (!KernelAvailable(kernel)) throw std::invalid_argument("gf16: this processor cannot run that kernel");
    g_chosen.store(static_cast<int>(kernel), std::memory_order_relaxed);
}

}  // namespace sorv::gf16
