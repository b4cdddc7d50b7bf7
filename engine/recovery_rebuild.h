#pragma once
// Rebuilds missing data slices from recovery slices, and makes recovery
// slices again, band by band of the slice offsets, in bounded memory:
//   syndromes := the band of the recovery slices used;
//   each present data slice's band is added into them (and into the
//   recovery slices being made again);
//   the missing bands are solved, added into the recovery slices being made
//   again, and handed out in order, band after band.
// Reading and writing are the caller's: files, message runs and stops.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "recovery_bands.h"
#include "recovery_code.h"

namespace sorv {

struct RebuildJob {
    std::uint32_t dataCount = 0;
    std::uint32_t recoveryCount = 0;
    std::uint64_t codingSize = 0;
    std::uint64_t fileSize = 0;
    std::vector<std::uint32_t> missing;  // data slices to rebuild, from 0
    std::vector<std::uint32_t> rows;     // sound recovery slices, one per missing slice
    std::vector<std::uint32_t> remake;   // recovery slices to make again
};

class Rebuilder {
public:
    // Reads `length` bytes at `offset` of a data slice (recovery false) or
    // recovery slice and shows them to `to`; false when a stop was asked
    // (a file that holds fewer bytes throws).
    using Read = std::function<bool(bool recovery, std::uint32_t index, std::uint64_t offset, std::uint64_t length,
                                    ByteObserver& to)>;
    // The next bytes of a rebuilt data slice or remade recovery slice.
    using Emit = std::function<void(bool recovery, std::uint32_t index, std::uint64_t offset,
                                    std::span<const std::byte> bytes)>;

    explicit Rebuilder(RebuildJob job, std::uint64_t budget = kRecoveryMemory);
    // Its band feeder points back at it: it stays where it was made.
    Rebuilder(const Rebuilder&) = delete;
    Rebuilder& operator=(const Rebuilder&) = delete;
    const RebuildJob& Job() const { return job_; }
    std::uint64_t Bands() const { return BandCount(job_.codingSize, regions_.Width()); }
    std::uint64_t SliceLength(std::uint32_t data) const { return SliceLengthOf(data, job_.codingSize, job_.fileSize); }
    bool IsMissing(std::uint32_t data) const;

    // The three steps of a band, for a caller that reads the present slices
    // itself (a join that gathers them while it copies).
    bool LoadRows(std::uint64_t band, const Read& read);
    // Shows a present slice's bytes from offset 0 (whole) or from the band's start.
    BandFeeder& StartPresent(std::uint32_t data, std::uint64_t band);
    void Finish(std::uint64_t band, const Emit& emit);
    // Every band, the present slices read through `read`; false when stopped.
    bool Run(const Read& read, const Emit& emit);

private:
    RebuildJob job_;
    RecoverySet set_;
    RecoverySolver solver_;
    RecoveryEncoder encoder_;
    BandRegions regions_;  // syndromes, then recovery slices remade, then rebuilt bands
    std::vector<std::span<std::byte>> syndromes_, remade_, rebuilt_, gathered_;
    BandFeeder feeder_;
};

}  // namespace sorv
