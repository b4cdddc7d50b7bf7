#pragma once
// What a split keeps to make its recovery slices: the code, the recovery
// bands of the current band of slice offsets, and for the later bands the
// fingerprint of what each slice holds past the first band, against which
// the slices are checked when they are read back.
#include <cstdint>
#include <vector>

#include "recovery_bands.h"
#include "recovery_code.h"

namespace sorv {

class SplitRecovery final : public ByteObserver {
public:
    SplitRecovery(std::uint32_t slices, std::uint32_t count, std::uint64_t codingSize, std::uint64_t sourceSize,
                  std::uint64_t budget = kRecoveryMemory);
    // Its band feeder points back at it: it stays where it was made.
    SplitRecovery(const SplitRecovery&) = delete;
    SplitRecovery& operator=(const SplitRecovery&) = delete;

    std::uint32_t Count() const { return set_.RecoveryCount(); }
    std::uint64_t CodingSize() const { return codingSize_; }
    std::uint64_t Width() const { return regions_.Width(); }
    std::uint64_t Bands() const { return BandCount(codingSize_, Width()); }
    // Slice `index` (from 0) holds this many bytes.
    std::uint64_t SliceLength(std::uint32_t index) const { return SliceLengthOf(index, codingSize_, sourceSize_); }
    // What the later bands read back, all slices together.
    std::uint64_t ReadBackBytes() const;

    // During the copy: the first band of each slice goes into the regions.
    void StartSlice(std::uint32_t index);
    void Observe(std::span<const std::byte> bytes) override;
    void EndSlice();
    std::uint64_t TailFingerprint(std::uint32_t index) const { return tails_.at(index); }

    // Later bands: the regions cleared, then each slice's band fed.
    BandRegions& Regions() { return regions_; }
    BandFeeder& Feeder() { return feeder_; }

private:
    RecoverySet set_;
    RecoveryEncoder encoder_;
    std::uint64_t codingSize_, sourceSize_;
    BandRegions regions_;
    BandFeeder feeder_;
    FingerprintFrom tail_;
    std::vector<std::uint64_t> tails_;
    std::uint32_t index_ = 0;
};

}  // namespace sorv
