#pragma once
// Arithmetic in GF(2^16), the field of the recovery slices' code: the
// polynomials over GF(2) of degree below 16, taken modulo the primitive
// polynomial x^16 + x^12 + x^3 + x + 1. Addition is XOR.
//
// Regions are byte strings cut into blocks of 64 bytes, each holding 32
// elements: bytes 0..31 are the low bytes of elements 0..31, bytes 32..63
// their high bytes. With the two halves apart, the vector kernels find 16 or
// 32 low bytes (or high bytes) side by side and never shuffle them into
// place. Every kernel reads and writes this one layout, whatever the machine.
#include <cstddef>
#include <cstdint>
#include <span>

namespace sorv::gf16 {

using Element = std::uint16_t;

inline constexpr std::uint32_t kPolynomial = 0x1100B;
inline constexpr std::size_t kRegionBlock = 64;

Element Multiply(Element a, Element b);
// Throws std::domain_error for 0.
Element Inverse(Element a);
// a / b; throws std::domain_error when b is 0.
Element Divide(Element a, Element b);
// a to the power n; 0 to the power 0 is 1.
Element Power(Element a, std::uint32_t n);

// target ^= factor · source, element by element. The two regions have the
// same size, a multiple of kRegionBlock (std::invalid_argument otherwise), and
// are either one and the same region or apart.
void MultiplyAdd(Element factor, std::span<const std::byte> source, std::span<std::byte> target);
// target = factor · source, with the same rules.
void Multiply(Element factor, std::span<const std::byte> source, std::span<std::byte> target);

// The region kernels, all with the same results; the fastest one that the
// processor runs is chosen at the first use.
enum class Kernel { Portable, Ssse3, Avx2 };

bool KernelAvailable(Kernel kernel);
Kernel ActiveKernel();
// For the tests, which run every kernel the machine has: throws
// std::invalid_argument for a kernel that this processor cannot run.
void SetKernelForTesting(Kernel kernel);

}  // namespace sorv::gf16
