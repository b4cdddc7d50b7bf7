#pragma once
// How the flows feed slices to the recovery code: the memory they may use,
// the bands that memory allows, and an observer that adds a slice's bytes,
// as a copy shows them in pieces of any size, into the regions of a band.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine_state.h"
#include "file_system.h"
#include "fingerprint.h"

namespace sorv {

// A set holds at most this many slices and recovery slices together.
inline constexpr std::int64_t kMaxSetFiles = 65535;
// What the recovery bands of one flow may take, whatever K and the slice
// size: with the copy buffer and the code's tables, a run stays far below
// 64 MiB.
inline constexpr std::uint64_t kRecoveryMemory = std::uint64_t{40} << 20;

// The recovery slices a request asks of a split of `slices` slices: the
// count, or ceil(percent / 100 × slices), at least 1 when percent > 0.
std::int64_t RecoverySliceCount(const RecoveryRequest& request, std::int64_t slices);

// The widest band, a multiple of 64 bytes and at most `codingSize`, of
// which `regions` regions fit in `budget`.
std::uint64_t BandWidth(std::uint64_t codingSize, std::uint64_t regions, std::uint64_t budget = kRecoveryMemory);
// How many bands of `width` cover `codingSize`.
std::uint64_t BandCount(std::uint64_t codingSize, std::uint64_t width);
// What slice `index` (from 0) of a file of `fileSize` bytes cut every
// `codingSize` bytes holds: less for the last, 0 past the end.
std::uint64_t SliceLengthOf(std::uint64_t index, std::uint64_t codingSize, std::uint64_t fileSize);

// `count` zeroed regions of `width` bytes each, in one allocation.
class BandRegions {
public:
    BandRegions(std::size_t count, std::size_t width);
    std::span<const std::span<std::byte>> All() const { return spans_; }
    std::span<std::byte> operator[](std::size_t i) const { return spans_[i]; }
    std::size_t Width() const { return width_; }
    void Clear();

private:
    std::size_t width_;
    std::vector<std::byte> bytes_;
    std::vector<std::span<std::byte>> spans_;
};

// Adds the bytes of one slice at a time that fall in a window of its offsets
// [start, start + width) into regions of that width, in whole 64-byte blocks
// (the slice's end padded with zeros): add(data, blocks, regions at the
// blocks' offset) does the arithmetic (an encoder's or a solver's).
class BandFeeder final : public ByteObserver {
public:
    using Add = std::function<void(std::uint32_t data, std::span<const std::byte> blocks,
                                   std::span<const std::span<std::byte>> targets)>;
    BandFeeder(Add add, std::span<const std::span<std::byte>> regions);

    void StartSlice(std::uint32_t data, std::uint64_t windowStart);
    // The bytes of the slice from the offset the last call left (the window's
    // start for a read of the band alone, 0 for a whole slice).
    void StartAt(std::uint64_t offset) { at_ = offset; }
    void Observe(std::span<const std::byte> bytes) override;
    void EndSlice();

private:
    void AddBlocks(std::span<const std::byte> blocks, std::uint64_t offset);

    Add add_;
    std::vector<std::span<std::byte>> regions_, shifted_;
    std::uint64_t width_ = 0, start_ = 0, at_ = 0;
    std::uint32_t data_ = 0;
    std::vector<std::byte> carry_;  // a block split between two pieces, zeros after it
};

// Shows every piece to two observers in turn.
class BothObservers final : public ByteObserver {
public:
    BothObservers(ByteObserver& first, ByteObserver& second) : first_(first), second_(second) {}
    void Observe(std::span<const std::byte> bytes) override {
        first_.Observe(bytes);
        second_.Observe(bytes);
    }

private:
    ByteObserver& first_;
    ByteObserver& second_;
};

// The fingerprint of a slice's bytes from an offset on: what is read back of
// it later is checked against it.
class FingerprintFrom final : public ByteObserver {
public:
    void Start(std::uint64_t from) {
        skip_ = from;
        fingerprint.Reset();
    }
    void Observe(std::span<const std::byte> bytes) override {
        const auto skipped = static_cast<std::size_t>(std::min<std::uint64_t>(skip_, bytes.size()));
        skip_ -= skipped;
        fingerprint.Add(bytes.subspan(skipped));
    }
    Fingerprint fingerprint;

private:
    std::uint64_t skip_ = 0;
};

}  // namespace sorv
