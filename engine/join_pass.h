#pragma once
// What one pass of a join over the slices did: shared by the copy and the
// rebuild from recovery slices.
#include <cstdint>
#include <vector>

#include "engine.h"
#include "fingerprint_observer.h"

namespace sorv {

// What one pass over the slices did.
struct Engine::JoinPass {
    std::uint64_t rebuilt = 0;     // bytes written
    std::uint64_t slicesHold = 0;  // what the slices hold, excess included
    bool sliceSizeWrong = false;
    std::uint64_t firstSize = 0;
    bool cutOtherwise = false;  // slices of other sizes than a split makes
    std::int64_t damaged = 0;
    bool stopped = false;
    SliceAndFileFingerprints seen;
    // With recovery slices: the slices to rebuild (from 0).
    std::vector<std::uint32_t> bad;
    bool failed = false;  // said already; nothing to keep
};

}  // namespace sorv
