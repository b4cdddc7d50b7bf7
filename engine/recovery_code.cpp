#include "recovery_code.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>

namespace sorv {

namespace {

using gf16::Element;

// The two sets of points of the Cauchy matrix, apart while N + K <= 65536.
Element RowPoint(std::uint32_t row) { return static_cast<Element>(0xFFFF - row); }
Element DataPoint(std::uint32_t data) { return static_cast<Element>(data); }

void CheckIndex(std::uint32_t index, std::uint32_t limit, const char* what) {
    if (index >= limit)
        throw std::out_of_range(std::string("recovery code: ") + what + " " + std::to_string(index) +
                                " is outside a set of " + std::to_string(limit));
}

void CheckIndices(const std::vector<std::uint32_t>& indices, std::uint32_t limit, const char* what) {
    for (const std::uint32_t index : indices) CheckIndex(index, limit, what);
    std::vector<std::uint32_t> sorted = indices;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
        throw std::invalid_argument(std::string("recovery code: ") + what + " named twice");
}

void CheckCount(std::span<const std::span<std::byte>> regions, std::size_t expected) {
    if (regions.size() != expected)
        throw std::invalid_argument("recovery code: " + std::to_string(regions.size()) + " regions given for " +
                                    std::to_string(expected));
}

// The product of (z + points[l]) over every l but `skipped`.
Element ProductOfSums(Element z, const std::vector<Element>& points, std::size_t skipped) {
    Element product = 1;
    for (std::size_t l = 0; l < points.size(); ++l)
        if (l != skipped) product = gf16::Multiply(product, z ^ points[l]);
    return product;
}

// For the Cauchy matrix 1 / (x_i + y_k), with a(z) = prod (z + x_l) and
// b(z) = prod (z + y_l): interpolating at the points y shows that the
// inverse's entry (k, i) is a(y_k) b(x_i) / ((x_i + y_k) a'(x_i) b'(y_k)),
// where a'(x_i) = prod over l != i of (x_i + x_l), b' likewise. These are the
// factors of y_k: a(y_k) / b'(y_k) (of x_i: b(x_i) / a'(x_i)).
std::vector<Element> InverseFactors(const std::vector<Element>& own, const std::vector<Element>& other) {
    std::vector<Element> factors(own.size());
    for (std::size_t k = 0; k < own.size(); ++k)
        factors[k] = gf16::Divide(ProductOfSums(own[k], other, other.size()), ProductOfSums(own[k], own, k));
    return factors;
}

std::vector<Element> Points(const std::vector<std::uint32_t>& indices, Element (*point)(std::uint32_t)) {
    std::vector<Element> points(indices.size());
    std::transform(indices.begin(), indices.end(), points.begin(), point);
    return points;
}

std::vector<std::uint32_t> AllRows(const RecoverySet& set) {
    std::vector<std::uint32_t> rows(set.RecoveryCount());
    std::iota(rows.begin(), rows.end(), 0u);
    return rows;
}

std::vector<std::uint32_t> UsedRows(std::vector<std::uint32_t> available, std::size_t missingCount) {
    if (available.size() < missingCount)
        throw std::invalid_argument("recovery code: " + std::to_string(missingCount) + " missing slices and only " +
                                    std::to_string(available.size()) + " recovery slices");
    available.resize(missingCount);
    return available;
}

}  // namespace

RecoverySet::RecoverySet(std::uint32_t dataCount, std::uint32_t recoveryCount)
    : dataCount_(dataCount), recoveryCount_(recoveryCount) {
    if (dataCount == 0) throw std::invalid_argument("recovery code: a set without data slices");
    if (dataCount > kRecoveryMaxFiles || recoveryCount > kRecoveryMaxFiles - dataCount)
        throw std::invalid_argument("recovery code: " + std::to_string(dataCount) + " + " +
                                    std::to_string(recoveryCount) + " slices, more than " +
                                    std::to_string(kRecoveryMaxFiles));
}

gf16::Element RecoverySet::Coefficient(std::uint32_t row, std::uint32_t data) const {
    CheckIndex(row, recoveryCount_, "recovery slice");
    CheckIndex(data, dataCount_, "data slice");
    return gf16::Inverse(RowPoint(row) ^ DataPoint(data));
}

RecoveryEncoder::RecoveryEncoder(const RecoverySet& set) : set_(set), rows_(AllRows(set)) {}

RecoveryEncoder::RecoveryEncoder(const RecoverySet& set, std::vector<std::uint32_t> rows)
    : set_(set), rows_(std::move(rows)) {
    CheckIndices(rows_, set.RecoveryCount(), "recovery slice");
}

void RecoveryEncoder::Add(std::uint32_t data, std::span<const std::byte> band,
                          std::span<const std::span<std::byte>> targets) const {
    CheckCount(targets, rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        gf16::MultiplyAdd(set_.Coefficient(rows_[i], data), band, targets[i]);
}

RecoverySolver::RecoverySolver(const RecoverySet& set, std::vector<std::uint32_t> missing,
                               std::vector<std::uint32_t> available)
    : missing_(std::move(missing)), syndromes_(set, UsedRows(std::move(available), missing_.size())) {
    CheckIndices(missing_, set.DataCount(), "data slice");
    const std::vector<Element> x = Points(Rows(), RowPoint), y = Points(missing_, DataPoint);
    missingFactor_ = InverseFactors(y, x);
    rowFactor_ = InverseFactors(x, y);
}

void RecoverySolver::AddPresent(std::uint32_t data, std::span<const std::byte> band,
                                std::span<const std::span<std::byte>> syndromes) const {
    if (std::find(missing_.begin(), missing_.end(), data) != missing_.end())
        throw std::invalid_argument("recovery code: data slice " + std::to_string(data) + " is the one missing");
    syndromes_.Add(data, band, syndromes);
}

void RecoverySolver::Solve(std::span<const std::span<std::byte>> syndromes,
                           std::span<const std::span<std::byte>> rebuilt) const {
    CheckCount(syndromes, missing_.size());
    CheckCount(rebuilt, missing_.size());
    for (std::size_t k = 0; k < missing_.size(); ++k) {
        gf16::Multiply(InverseEntry(k, 0), syndromes[0], rebuilt[k]);
        for (std::size_t i = 1; i < syndromes.size(); ++i)
            gf16::MultiplyAdd(InverseEntry(k, i), syndromes[i], rebuilt[k]);
    }
}

gf16::Element RecoverySolver::InverseEntry(std::size_t k, std::size_t i) const {
    const Element sum = RowPoint(Rows().at(i)) ^ DataPoint(missing_.at(k));
    return gf16::Divide(gf16::Multiply(missingFactor_[k], rowFactor_[i]), sum);
}

}  // namespace sorv
