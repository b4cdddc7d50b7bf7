#pragma once
// The recovery slices' code: a systematic Cauchy Reed-Solomon erasure code.
// A set of N data slices and K recovery slices survives the loss of any K of
// its N + K files. Its identity, which the script records so that a reader
// can tell which code made the recovery slices:
//
// - Field: GF(2^16) modulo x^16 + x^12 + x^3 + x + 1 (0x1100B); addition is
//   XOR (recovery_field.h).
// - Bytes to elements: every slice is taken as blocks of 64 bytes; in each
//   block, byte i (0 <= i < 32) is the low byte and byte 32 + i the high
//   byte of element i. A slice shorter than the coding size is padded with
//   zero bytes, which the padding adds nothing to.
// - Coefficients: recovery slice r (from 0) is, element by element,
//       recovery_r = sum over j of coefficient(r, j) · data_j,
//       coefficient(r, j) = 1 / ((65535 - r) XOR j),
//   for the data slices j from 0. They do not depend on N or K, so a slice's
//   coefficients stay the same whatever the size of its set, valid while
//   N + K <= 65536. The matrix is a Cauchy matrix: every square part of it is
//   invertible, which is what makes any K losses repairable.
//
// Everything works on regions, bands of the slices of a bounded size that
// the caller chooses (a multiple of 64 bytes), so that memory does not grow
// with the slice size.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "recovery_field.h"

namespace sorv {

// The identity above, in one line, for the script.
inline constexpr std::string_view kRecoveryCodeIdentity = "cauchy-gf16-1100b-split64";
inline constexpr std::uint32_t kRecoveryMaxFiles = 65536;

// The counts of a set: N data slices (at least 1) and K recovery slices,
// N + K <= kRecoveryMaxFiles (std::invalid_argument otherwise).
class RecoverySet {
public:
    RecoverySet(std::uint32_t dataCount, std::uint32_t recoveryCount);
    std::uint32_t DataCount() const { return dataCount_; }
    std::uint32_t RecoveryCount() const { return recoveryCount_; }
    // The coefficient of data slice `data` in recovery slice `row`;
    // std::out_of_range outside the set.
    gf16::Element Coefficient(std::uint32_t row, std::uint32_t data) const;

private:
    std::uint32_t dataCount_, recoveryCount_;
};

// Adds bands of data slices into the same bands of chosen recovery slices.
// The recovery bands start at zero; once every data slice's band has been
// added (in any order), they hold the recovery slices' band.
class RecoveryEncoder {
public:
    // Every recovery slice of the set, in order.
    explicit RecoveryEncoder(const RecoverySet& set);
    // The recovery slices `rows` (distinct, each below K), in that order.
    RecoveryEncoder(const RecoverySet& set, std::vector<std::uint32_t> rows);
    const std::vector<std::uint32_t>& Rows() const { return rows_; }
    // targets[i] ^= coefficient(Rows()[i], data) · band, for every i. The
    // regions all have the band's size.
    void Add(std::uint32_t data, std::span<const std::byte> band, std::span<const std::span<std::byte>> targets) const;

private:
    RecoverySet set_;
    std::vector<std::uint32_t> rows_;
};

// Rebuilds m missing data slices from m recovery slices, band by band:
// 1. syndrome i := the band of recovery slice Rows()[i];
// 2. AddPresent(j, band of data slice j, syndromes) for every data slice j
//    that is present (not in Missing());
// 3. Solve(syndromes, rebuilt) writes the bands of Missing()[k] in rebuilt[k].
class RecoverySolver {
public:
    // `missing`: distinct data slices; `available`: distinct recovery slices
    // at hand, of which the first missing.size() are used. Fewer available
    // than missing, or an index outside the set: std::invalid_argument
    // (std::out_of_range for the index).
    RecoverySolver(const RecoverySet& set, std::vector<std::uint32_t> missing, std::vector<std::uint32_t> available);
    const std::vector<std::uint32_t>& Missing() const { return missing_; }
    const std::vector<std::uint32_t>& Rows() const { return syndromes_.Rows(); }
    void AddPresent(std::uint32_t data, std::span<const std::byte> band,
                    std::span<const std::span<std::byte>> syndromes) const;
    // Reads the syndromes (left as they are), writes rebuilt bands apart from them.
    void Solve(std::span<const std::span<std::byte>> syndromes, std::span<const std::span<std::byte>> rebuilt) const;
    // Entry (k, i) of the inverse of the matrix coefficient(Rows()[i], Missing()[k]):
    // missing band k = sum over i of InverseEntry(k, i) · syndrome i.
    gf16::Element InverseEntry(std::size_t k, std::size_t i) const;

private:
    std::vector<std::uint32_t> missing_;
    RecoveryEncoder syndromes_;
    // The inverse of a Cauchy matrix 1 / (x_i + y_k) is, entry by entry,
    // missingFactor_[k] · rowFactor_[i] / (x_i + y_k): m values each, however
    // large m² would be.
    std::vector<gf16::Element> missingFactor_, rowFactor_;
};

}  // namespace sorv
