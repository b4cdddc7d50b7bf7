#include "recovery_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

#include "scope_guards.h"

namespace sorv {
namespace {

using gf16::Element;
using Bytes = std::vector<std::byte>;

// Schoolbook product: shift and add, then reduce by x^16 + x^12 + x^3 + x + 1.
Element SlowProduct(Element a, Element b) {
    std::uint32_t product = 0;
    for (int bit = 0; bit < 16; ++bit) product ^= (b >> bit & 1) ? std::uint32_t{a} << bit : 0;
    for (int bit = 31; bit >= 16; --bit) product ^= (product >> bit & 1) ? 0x1100Bu << (bit - 16) : 0;
    return static_cast<Element>(product);
}

// The byte layout, written out independently: 32 low bytes, 32 high bytes.
Element ElementOf(const Bytes& region, std::size_t e) {
    const std::size_t at = e / 32 * 64 + e % 32;
    return static_cast<Element>(std::to_integer<unsigned>(region[at]) | std::to_integer<unsigned>(region[at + 32])
                                                                            << 8);
}

std::mt19937 random_engine(19);

Bytes RandomBytes(std::size_t size) {
    Bytes bytes(size);
    for (auto& b : bytes) b = static_cast<std::byte>(random_engine());
    return bytes;
}

// k distinct values below n, in random order.
std::vector<std::uint32_t> Draw(std::uint32_t k, std::uint32_t n) {
    std::vector<std::uint32_t> all(n);
    std::iota(all.begin(), all.end(), 0u);
    std::shuffle(all.begin(), all.end(), random_engine);
    all.resize(k);
    return all;
}

// Logarithms from the schoolbook product: x reaches every non-zero element
// before it comes back to 1 (the polynomial is primitive). The field's
// products, quotients, powers and inverses agree with both references.
TEST(RecoveryField, AgreesWithTheSchoolbookAndLogReferences) {
    std::vector<Element> antilog(65535);
    std::vector<std::int64_t> log(65536, -1);
    Element power = 1;
    for (int i = 0; i < 65535; ++i, power = SlowProduct(power, 2)) {
        ASSERT_EQ(log[power], -1) << "x^" << i << " came back";
        antilog[i] = power, log[power] = i;
    }
    ASSERT_EQ(power, 1);
    for (std::uint32_t trial = 0; trial < 20000; ++trial) {
        const auto a = static_cast<Element>(random_engine()), b = static_cast<Element>(random_engine() % 65535 + 1);
        ASSERT_EQ(gf16::Multiply(a, b), SlowProduct(a, b)) << a << " · " << b;
        ASSERT_EQ(gf16::Multiply(a, b), a ? antilog[(log[a] + log[b]) % 65535] : 0);
        ASSERT_EQ(gf16::Divide(a, b), a ? antilog[(log[a] + 65535 - log[b]) % 65535] : 0);
        ASSERT_EQ(gf16::Power(b, 7 * trial), antilog[log[b] * 7 * trial % 65535]) << b << "^" << 7 * trial;
    }
    for (std::uint32_t a = 1; a < 65536; ++a)
        ASSERT_EQ(SlowProduct(gf16::Inverse(static_cast<Element>(a)), static_cast<Element>(a)), 1);
    EXPECT_EQ(gf16::Power(0, 0), 1);
    EXPECT_EQ(gf16::Power(0, 3), 0);
    EXPECT_THROW(gf16::Inverse(0), std::domain_error);
    EXPECT_THROW(gf16::Divide(1, 0), std::domain_error);
}

// Multiply or MultiplyAdd (add) over `blocks` blocks at an odd address when
// misaligned, in place or not, against the schoolbook product.
void CheckRegionProduct(Element factor, std::size_t blocks, std::size_t misalignment, bool inPlace, bool add) {
    const Bytes source = RandomBytes(blocks * 64), was = inPlace ? source : RandomBytes(blocks * 64);
    Bytes in(misalignment), out(misalignment);
    in.insert(in.end(), source.begin(), source.end());
    out.insert(out.end(), was.begin(), was.end());
    const auto target = std::span(out).subspan(misalignment),
               operand = inPlace ? target : std::span(in).subspan(misalignment);
    add ? gf16::MultiplyAdd(factor, operand, target) : gf16::Multiply(factor, operand, target);
    const Bytes after(target.begin(), target.end());
    for (std::size_t e = 0; e < blocks * 32; ++e)
        ASSERT_EQ(ElementOf(after, e), SlowProduct(factor, ElementOf(source, e)) ^ (add ? ElementOf(was, e) : 0))
            << "kernel " << static_cast<int>(gf16::ActiveKernel()) << ", factor " << factor << ", element " << e;
}

TEST(RecoveryField, EveryKernelMultipliesRegionsElementByElement) {
    const ScopeExit restore([kernel = gf16::ActiveKernel()] { gf16::SetKernelForTesting(kernel); });
    const Element factors[] = {0, 1, 2, 0x8000, 0xFFFF, 0x100B, static_cast<Element>(random_engine())};
    struct Shape {
        std::size_t blocks, misalignment;
        bool inPlace;
    };
    for (const auto kernel : {gf16::Kernel::Portable, gf16::Kernel::Ssse3, gf16::Kernel::Avx2}) {
        if (!gf16::KernelAvailable(kernel)) {
            std::printf("kernel %d is not on this processor: not tested\n", static_cast<int>(kernel));
            continue;
        }
        gf16::SetKernelForTesting(kernel);
        for (const Element factor : factors)
            for (const Shape& s : {Shape{1, 0, false}, {37, 1, false}, {4, 3, true}, {130, 0, true}})
                for (const bool add : {false, true})
                    CheckRegionProduct(factor, s.blocks, s.misalignment, s.inPlace, add);
    }
    Bytes region(128);
    EXPECT_THROW(gf16::Multiply(5, std::span(region).first(64), std::span(region)), std::invalid_argument);
    EXPECT_THROW(gf16::MultiplyAdd(5, std::span(region).first(96), std::span(region).last(96)), std::invalid_argument);
}

// The solver's inverse times the matrix of the coefficients it was made from
// is the identity: every entry for small m, sampled entries for a large one;
// N + K = 65536 in the first draw.
TEST(RecoveryCode, EverySquarePartOfTheCauchyMatrixIsInverted) {
    struct Part {
        std::uint32_t data, recovery, m, samples;
    };
    for (const Part d :
         {Part{65496, 40, 40, 0}, {300, 200, 64, 0}, {16, 16, 16, 0}, {2, 1, 1, 0}, {40000, 3000, 3000, 60}}) {
        const RecoverySet set(d.data, d.recovery);
        const RecoverySolver solver(set, Draw(d.m, d.data), Draw(d.m, d.recovery));
        for (std::size_t n = 0; n < (d.samples ? d.samples : d.m * d.m); ++n) {
            const std::size_t k = d.samples ? random_engine() % d.m : n / d.m;
            const std::size_t column = d.samples ? (n % 2 ? k : random_engine() % d.m) : n % d.m;
            Element sum = 0;
            for (std::size_t i = 0; i < d.m; ++i)
                sum ^=
                    SlowProduct(solver.InverseEntry(k, i), set.Coefficient(solver.Rows()[i], solver.Missing()[column]));
            ASSERT_EQ(sum, k == column ? 1 : 0) << "m " << d.m << ", entry " << k << ", " << column;
        }
    }
}

// The band [at, at + size) of every slice.
std::vector<std::span<std::byte>> Bands(std::vector<Bytes>& slices, std::size_t at, std::size_t size) {
    std::vector<std::span<std::byte>> bands;
    for (Bytes& slice : slices) bands.push_back(std::span(slice).subspan(at, size));
    return bands;
}

// Random slices of two bands (the last one short, zero-padded) and their
// recovery slices, checked at one element each against the code's identity
// (the sum over j of data_j / ((65535 - r) ^ j)); `lost` files of the N + K
// erased at random, and the data slices among them rebuilt band by band.
void CheckRoundTrip(std::uint32_t dataCount, std::uint32_t recoveryCount, std::uint32_t lost, std::size_t band) {
    const RecoverySet set(dataCount, recoveryCount);
    std::vector<Bytes> data(dataCount), recovery(recoveryCount, Bytes(2 * band));
    for (auto& slice : data) slice = RandomBytes(2 * band);
    std::fill(data.back().begin() + random_engine() % (2 * band), data.back().end(), std::byte{0});
    const RecoveryEncoder encoder(set);
    for (std::size_t at = 0; at < 2 * band; at += band)
        for (std::uint32_t j = 0; j < dataCount; ++j)
            encoder.Add(j, std::span(data[j]).subspan(at, band), Bands(recovery, at, band));
    for (std::uint32_t r = 0; r < recoveryCount; ++r) {
        const std::size_t e = random_engine() % band;
        Element expected = 0;
        for (std::uint32_t j = 0; j < dataCount; ++j)
            expected ^= SlowProduct(gf16::Inverse(static_cast<Element>((65535 - r) ^ j)), ElementOf(data[j], e));
        ASSERT_EQ(ElementOf(recovery[r], e), expected) << "recovery slice " << r << ", element " << e;
    }
    const std::vector<std::uint32_t> erased = Draw(lost, dataCount + recoveryCount);
    const auto isErased = [&](std::uint32_t file) {
        return std::find(erased.begin(), erased.end(), file) != erased.end();
    };
    std::vector<std::uint32_t> missing, available;
    for (const std::uint32_t file : Draw(dataCount + recoveryCount, dataCount + recoveryCount)) {
        if (file < dataCount && isErased(file)) missing.push_back(file);
        if (file >= dataCount && !isErased(file)) available.push_back(file - dataCount);
    }
    if (lost > recoveryCount) {
        EXPECT_THROW(RecoverySolver(set, missing, available), std::invalid_argument);
        return;
    }
    const RecoverySolver solver(set, missing, available);
    std::vector<Bytes> syndromes(missing.size()), rebuilt(missing.size(), Bytes(band));
    for (std::size_t at = 0; at < 2 * band; at += band) {
        for (std::size_t i = 0; i < missing.size(); ++i)
            syndromes[i].assign(recovery[solver.Rows()[i]].begin() + at,
                                recovery[solver.Rows()[i]].begin() + at + band);
        for (std::uint32_t j = 0; j < dataCount; ++j)
            if (!isErased(j)) solver.AddPresent(j, std::span(data[j]).subspan(at, band), Bands(syndromes, 0, band));
        solver.Solve(Bands(syndromes, 0, band), Bands(rebuilt, 0, band));
        for (std::size_t k = 0; k < missing.size(); ++k)
            ASSERT_TRUE(std::equal(rebuilt[k].begin(), rebuilt[k].end(), data[missing[k]].begin() + at))
                << "slice " << missing[k];
    }
}

TEST(RecoveryCode, AnyKLossesAreRebuiltAndOneMoreIsRefused) {
    struct Case {
        std::uint32_t data, recovery, lost;
        std::size_t band;
        int trials;
    };
    for (const Case c : {Case{1, 1, 1, 64, 3},
                         {3, 2, 2, 128, 8},
                         {10, 4, 4, 64, 8},
                         {300, 3, 3, 192, 3},
                         {20, 8, 8, 64, 4},
                         {12, 5, 2, 128, 6},
                         {10, 4, 5, 64, 4},
                         {2, 1, 2, 64, 4},
                         {5, 0, 0, 64, 1}})
        for (int trial = 0; trial < c.trials; ++trial) {
            SCOPED_TRACE(testing::Message()
                         << c.data << " + " << c.recovery << ", " << c.lost << " lost, trial " << trial);
            CheckRoundTrip(c.data, c.recovery, c.lost, c.band);
        }
}

TEST(RecoveryCode, InvalidInputsAreRefused) {
    const RecoverySet set(10, 3);
    const RecoveryEncoder encoder(set);
    const RecoverySolver solver(set, {4}, {2, 0});
    Bytes band(64);
    const std::vector<std::span<std::byte>> one{std::span(band)};
    EXPECT_NO_THROW(RecoverySet(65000, 536));
    EXPECT_NO_THROW(RecoverySet(1, 65535));
    EXPECT_EQ(solver.Rows(), std::vector<std::uint32_t>{2});
    for (const auto& refused :
         std::vector<std::function<void()>>{[] { RecoverySet(0, 1); }, [] { RecoverySet(65000, 537); },
                                            [] { RecoverySet(1, 65536); }, [] { RecoverySet(70000, 0); },
                                            [&] {
                                                RecoveryEncoder(set, {1, 1});
                                            },
                                            [&] {
                                                RecoverySolver(set, {1, 2}, {0});
                                            },
                                            [&] {
                                                RecoverySolver(set, {1, 1}, {0, 2});
                                            },
                                            [&] { encoder.Add(0, band, one); },
                                            [&] { solver.AddPresent(4, band, one); }, [&] { solver.Solve({}, one); }})
        EXPECT_THROW(refused(), std::invalid_argument);
    for (const auto& outside : std::vector<std::function<void()>>{
             [&] { set.Coefficient(3, 0); }, [&] { set.Coefficient(0, 10); }, [&] { RecoveryEncoder(set, {3}); },
             [&] { RecoverySolver(set, {10}, {0}); }, [&] { RecoverySolver(set, {0}, {5}); },
             [&] { RecoveryEncoder(set, {0}).Add(10, band, one); }})
        EXPECT_THROW(outside(), std::out_of_range);
}

}  // namespace
}  // namespace sorv
