#pragma once
// The program-wide values shared by the split and join flows, the slice-size
// dialog and the main window. Sizes and counts are 64-bit so that files of
// 2 GiB and more are measured and cut correctly.
#include <cstdint>
#include <string>

namespace sorv {

// How many recovery slices a split is asked to write: a count, or a
// percentage of the slice count (rounded up) when `percent` is above 0.
struct RecoveryRequest {
    std::int64_t count = 0;
    std::int32_t percent = 0;
};

struct EngineState {
    std::string StartupFile;
    std::int32_t SizeChoice = 0;
    bool DialogAccepted = false;
    std::string SourceName;
    std::int64_t SourceSize = 0;
    std::string SourceSizeText;
    std::int64_t SliceSize = 0;
    std::string SliceSizeLabel;
    bool NeedsSplit = false;
    std::int64_t SliceCount = 0;
    RecoveryRequest Recovery;
    // Recovery slices of the split under way, from Recovery and SliceCount.
    std::int64_t RecoveryCount = 0;
    std::string BaseName;
    std::string RecordedName;
    std::int64_t RecordedSize = 0;
    std::int64_t RecordedSliceCount = 0;
    bool SlicesVerified = false;
    bool Busy = false;
    bool CancelRequested = false;
};

}  // namespace sorv
