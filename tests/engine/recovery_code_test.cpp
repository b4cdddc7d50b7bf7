#include "recovery_code.h"
#include "scope_guards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

namespace sorv {
namespace {

using gf16::Element;
using Bytes = std::vector<std::byte>;

// Schoolbook product: shift and add, then reduce by x^16 + x^12 + x^3 + x + 1.
Element SlowProduct(Element a, Element b) {
    std::uint32_t product = 0;
    for (int bit = 0; bit < 16; ++bit)
        if (b >> bit & 1) product ^= std::uint32_t{a} << bit;
    for (int bit = 31; bit >= 16; --bit)
        if (product >> bit & 1) product ^= 0x1100Bu << (bit - 16);
    return static_cast<Element>(product);
}

// Logarithms built from the schoolbook product; x must reach every non-zero
// element before it comes back to 1, or the polynomial is not primitive.
struct ReferenceLogs {
    std::vector<Element> antilog = std::vector<Element>(65535);
    std::vector<int> log = std::vector<int>(65536, -1);
    ReferenceLogs() {
        Element power = 1;
        for (int i = 0; i < 65535; ++i, power = SlowProduct(power, 2)) {
            EXPECT_EQ(log[power], -1) << "x^" << i << " came back";
            antilog[i] = power;
            log[power] = i;
        }
        EXPECT_EQ(power, 1);
    }
    Element Product(Element a, Element b) const {
        return a && b ? antilog[(log[a] + log[b]) % 65535] : 0;
    }
    Element Inverse(Element a) const { return antilog[(65535 - log[a]) % 65535]; }
};

const ReferenceLogs& Reference() {
    static const ReferenceLogs logs;
    return logs;
}

// The byte layout, written out independently: 32 low bytes, 32 high bytes.
Element ElementOf(const Bytes& region, std::size_t e) {
    const std::size_t at = e / 32 * 64 + e % 32;
    return static_cast<Element>(std::to_integer<unsigned>(region[at]) | std::to_integer<unsigned>(region[at + 32]) << 8);
}

std::mt19937 random_engine(19);

Bytes RandomBytes(std::size_t size) {
    Bytes bytes(size);
    for (auto& b : bytes) b = static_cast<std::byte>(random_engine());
    return bytes;
}

std::uint32_t Below(std::uint32_t n) { return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random_engine); }

// k distinct values below n, in random order.
std::vector<std::uint32_t> Draw(std::uint32_t k, std::uint32_t n) {
    std::vector<std::uint32_t> all(n);
    std::iota(all.begin(), all.end(), 0u);
    std::shuffle(all.begin(), all.end(), random_engine);
    all.resize(k);
    return all;
}

TEST(RecoveryField, AgreesWithTheSchoolbookAndLogReferences) {
    const ReferenceLogs& ref = Reference();
    for (int trial = 0; trial < 20000; ++trial) {
        const auto a = static_cast<Element>(random_engine()), b = static_cast<Element>(trial < 16 ? 1u << trial : random_engine());
        ASSERT_EQ(gf16::Multiply(a, b), SlowProduct(a, b)) << a << " · " << b;
        ASSERT_EQ(ref.Product(a, b), SlowProduct(a, b));
        if (b) {
            ASSERT_EQ(gf16::Divide(a, b), ref.Product(a, ref.Inverse(b)));
        }
    }
    for (std::uint32_t a = 1; a < 65536; ++a) ASSERT_EQ(SlowProduct(gf16::Inverse(static_cast<Element>(a)), static_cast<Element>(a)), 1);
    for (const auto& [a, n] : {std::pair<Element, std::uint32_t>{3, 0}, {0, 0}, {0, 5}, {2, 16}, {0x1234, 65535}, {0x8001, 70000}}) {
        Element expected = 1;
        for (std::uint32_t i = 0; i < n; ++i) expected = SlowProduct(expected, a);
        EXPECT_EQ(gf16::Power(a, n), expected) << a << "^" << n;
    }
    EXPECT_THROW(gf16::Inverse(0), std::domain_error);
    EXPECT_THROW(gf16::Divide(1, 0), std::domain_error);
}

// Multiply or MultiplyAdd (add) of factor over `blocks` blocks, at an odd
// address when misaligned, in place or not, against the schoolbook product.
void CheckRegionProduct(Element factor, std::size_t blocks, std::size_t misalignment, bool inPlace, bool add) {
    const std::size_t size = blocks * 64;
    const Bytes source = RandomBytes(size), before = RandomBytes(size);
    Bytes buffer(size + misalignment);
    const std::span<std::byte> out = std::span(buffer).subspan(misalignment);
    std::copy(inPlace ? source.begin() : before.begin(), inPlace ? source.end() : before.end(), out.begin());
    Bytes separate(size + misalignment);
    std::copy(source.begin(), source.end(), separate.begin() + static_cast<std::ptrdiff_t>(misalignment));
    const std::span<const std::byte> in = inPlace ? out : std::span(separate).subspan(misalignment);
    if (add)
        gf16::MultiplyAdd(factor, in, out);
    else
        gf16::Multiply(factor, in, out);
    const Bytes after(out.begin(), out.end()), &was = inPlace ? source : before;
    for (std::size_t e = 0; e < size / 2; ++e)
        ASSERT_EQ(ElementOf(after, e), SlowProduct(factor, ElementOf(source, e)) ^ (add ? ElementOf(was, e) : 0))
            << "kernel " << static_cast<int>(gf16::ActiveKernel()) << ", factor " << factor << ", element " << e;
}

TEST(RecoveryField, EveryKernelMultipliesRegionsElementByElement) {
    const ScopeExit restore([kernel = gf16::ActiveKernel()] { gf16::SetKernelForTesting(kernel); });
    const Element factors[] = {0, 1, 2, 0x8000, 0xFFFF, 0x100B, static_cast<Element>(random_engine()),
                               static_cast<Element>(random_engine())};
    struct Shape { std::size_t blocks, misalignment; bool inPlace; };
    const Shape shapes[] = {{1, 0, false}, {37, 1, false}, {4, 3, true}, {130, 0, true}};
    for (const auto kernel : {gf16::Kernel::Portable, gf16::Kernel::Ssse3, gf16::Kernel::Avx2}) {
        if (!gf16::KernelAvailable(kernel)) {
            std::printf("kernel %d is not available here: not tested\n", static_cast<int>(kernel));
            continue;
        }
        gf16::SetKernelForTesting(kernel);
        for (const Element factor : factors)
            for (const Shape& shape : shapes)
                for (const bool add : {false, true}) CheckRegionProduct(factor, shape.blocks, shape.misalignment, shape.inPlace, add);
    }
    Bytes region(128);
    EXPECT_THROW(gf16::Multiply(5, std::span(region).first(64), std::span(region).first(128)), std::invalid_argument);
    EXPECT_THROW(gf16::MultiplyAdd(5, std::span(region).first(96), std::span(region).last(96)), std::invalid_argument);
}

// The inverse that the solver holds, times the matrix of the coefficients
// it was made from, is the identity: every entry for small m, sampled
// entries for a large one; N + K = 65536 in the first draw.
TEST(RecoveryCode, EverySquarePartOfTheCauchyMatrixIsInverted) {
    const ReferenceLogs& ref = Reference();
    struct Part { std::uint32_t data, recovery, m, samples; };
    for (const Part d : {Part{65496, 40, 40, 0}, {300, 200, 100, 0}, {16, 16, 16, 0}, {2, 1, 1, 0}, {40000, 3000, 3000, 60}}) {
        const RecoverySet set(d.data, d.recovery);
        const RecoverySolver solver(set, Draw(d.m, d.data), Draw(d.m, d.recovery));
        const auto product = [&](std::size_t k, std::size_t column) {
            Element sum = 0;
            for (std::size_t i = 0; i < d.m; ++i)
                sum ^= ref.Product(solver.InverseEntry(k, i), set.Coefficient(solver.Rows()[i], solver.Missing()[column]));
            return sum;
        };
        for (std::size_t n = 0; n < (d.samples ? d.samples : d.m * d.m); ++n) {
            const std::size_t k = d.samples ? Below(d.m) : n / d.m, column = d.samples ? (n % 2 ? k : Below(d.m)) : n % d.m;
            ASSERT_EQ(product(k, column), k == column ? 1 : 0) << "m " << d.m << ", entry " << k << ", " << column;
        }
    }
}

std::vector<std::span<std::byte>> Bands(std::vector<Bytes>& slices, const std::vector<std::uint32_t>& which,
                                        std::size_t offset, std::size_t size) {
    std::vector<std::span<std::byte>> bands;
    for (const std::uint32_t i : which) bands.push_back(std::span(slices[i]).subspan(offset, size));
    return bands;
}

// Random slices (the last one short, zero-padded), their recovery slices,
// `lost` files of the N + K erased at random, rebuilt band by band.
void CheckRoundTrip(std::uint32_t dataCount, std::uint32_t recoveryCount, std::uint32_t lost, std::size_t bandSize) {
    const RecoverySet set(dataCount, recoveryCount);
    const std::size_t size = 2 * bandSize;
    std::vector<Bytes> data(dataCount), recovery(recoveryCount, Bytes(size));
    for (auto& slice : data) slice = RandomBytes(size);
    std::fill(data.back().begin() + static_cast<std::ptrdiff_t>(Below(static_cast<std::uint32_t>(size))), data.back().end(), std::byte{0});
    const RecoveryEncoder encoder(set);
    for (std::size_t offset = 0; offset < size; offset += bandSize)
        for (std::uint32_t j = 0; j < dataCount; ++j)
            encoder.Add(j, std::span(data[j]).subspan(offset, bandSize), Bands(recovery, encoder.Rows(), offset, bandSize));
    // The code's identity, by the reference arithmetic: coefficient(r, j) = 1 / ((65535 - r) ^ j).
    for (std::uint32_t r = 0; r < recoveryCount; ++r) {
        const std::size_t e = Below(static_cast<std::uint32_t>(size / 2));
        Element expected = 0;
        for (std::uint32_t j = 0; j < dataCount; ++j)
            expected ^= SlowProduct(Reference().Inverse(static_cast<Element>((65535 - r) ^ j)), ElementOf(data[j], e));
        ASSERT_EQ(ElementOf(recovery[r], e), expected) << "recovery slice " << r << ", element " << e;
    }
    std::vector<std::uint32_t> missing, available;
    const std::vector<std::uint32_t> erased = Draw(lost, dataCount + recoveryCount);
    for (std::uint32_t r : Draw(recoveryCount, recoveryCount))
        if (std::find(erased.begin(), erased.end(), dataCount + r) == erased.end()) available.push_back(r);
    for (std::uint32_t file : erased)
        if (file < dataCount) missing.push_back(file);
    if (lost > recoveryCount) {
        EXPECT_THROW(RecoverySolver(set, missing, available), std::invalid_argument);
        return;
    }
    const RecoverySolver solver(set, missing, available);
    std::vector<Bytes> syndromes(missing.size(), Bytes(bandSize)), rebuilt(missing.size(), Bytes(bandSize));
    std::vector<std::uint32_t> all(missing.size());
    std::iota(all.begin(), all.end(), 0u);
    for (std::size_t offset = 0; offset < size; offset += bandSize) {
        for (std::size_t i = 0; i < missing.size(); ++i)
            std::copy_n(recovery[solver.Rows()[i]].begin() + static_cast<std::ptrdiff_t>(offset), bandSize, syndromes[i].begin());
        for (std::uint32_t j = 0; j < dataCount; ++j)
            if (std::find(missing.begin(), missing.end(), j) == missing.end())
                solver.AddPresent(j, std::span(data[j]).subspan(offset, bandSize), Bands(syndromes, all, 0, bandSize));
        const auto in = Bands(syndromes, all, 0, bandSize);
        solver.Solve(std::vector<std::span<const std::byte>>(in.begin(), in.end()), Bands(rebuilt, all, 0, bandSize));
        for (std::size_t k = 0; k < missing.size(); ++k)
            ASSERT_TRUE(std::equal(rebuilt[k].begin(), rebuilt[k].end(), data[missing[k]].begin() + static_cast<std::ptrdiff_t>(offset)))
                << "data slice " << missing[k] << " at " << offset;
    }
}

TEST(RecoveryCode, AnyKLossesAreRebuiltAndOneMoreIsRefused) {
    struct Case { std::uint32_t data, recovery, lost; std::size_t bandSize; int trials; };
    for (const Case c : {Case{1, 1, 1, 64, 3}, {3, 2, 2, 128, 8}, {10, 4, 4, 64, 8}, {300, 3, 3, 192, 3},
                         {20, 8, 8, 64, 4}, {12, 5, 2, 128, 6}, {10, 4, 5, 64, 4}, {2, 1, 2, 64, 4}, {5, 0, 0, 64, 1}})
        for (int trial = 0; trial < c.trials; ++trial) {
            SCOPED_TRACE(testing::Message() << c.data << " + " << c.recovery << ", " << c.lost << " lost, trial " << trial);
            CheckRoundTrip(c.data, c.recovery, c.lost, c.bandSize);
        }
}

TEST(RecoveryCode, InvalidInputsAreRefused) {
    const RecoverySet set(10, 3);
    const RecoveryEncoder encoder(set);
    const RecoverySolver solver(set, {4}, {2, 0});
    Bytes band(64);
    std::vector<std::span<std::byte>> one{std::span(band)};
    EXPECT_NO_THROW(RecoverySet(65000, 536));
    EXPECT_NO_THROW(RecoverySet(1, 65535));
    EXPECT_EQ(solver.Rows(), std::vector<std::uint32_t>{2});
    for (const auto& refused : std::vector<std::function<void()>>{
             [] { RecoverySet(0, 1); }, [] { RecoverySet(65000, 537); }, [] { RecoverySet(1, 65536); },
             [&] { RecoveryEncoder(set, {1, 1}); }, [&] { RecoverySolver(set, {1, 2}, {0}); },
             [&] { RecoverySolver(set, {1, 1}, {0, 2}); }, [&] { encoder.Add(0, band, one); },
             [&] { solver.AddPresent(4, band, one); }, [&] { solver.Solve({}, one); }})
        EXPECT_THROW(refused(), std::invalid_argument);
    for (const auto& outside : std::vector<std::function<void()>>{
             [&] { set.Coefficient(3, 0); }, [&] { set.Coefficient(0, 10); }, [&] { RecoveryEncoder(set, {3}); },
             [&] { RecoverySolver(set, {10}, {0}); }, [&] { RecoverySolver(set, {0}, {5}); }, [&] { RecoveryEncoder(set, {0}).Add(10, band, one); }})
        EXPECT_THROW(outside(), std::out_of_range);
}

}  // namespace
}  // namespace sorv
