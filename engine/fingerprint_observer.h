#pragma once
// What a copy shows its bytes to: the fingerprint of the current slice and
// the one of the whole file, fed piece by piece so that a piece is still in
// the processor's cache when the second fingerprint reads it. A join leaves
// the whole file's out where the slices' own fingerprints already tell.
#include <algorithm>

#include "file_system.h"
#include "fingerprint.h"

namespace sorv {

class SliceAndFileFingerprints final : public ByteObserver {
public:
    void Observe(std::span<const std::byte> bytes) override {
        constexpr std::size_t kPiece = 64 * 1024;
        for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
            const auto piece = bytes.subspan(at, std::min(kPiece, bytes.size() - at));
            slice.Add(piece);
            if (withFile) file.Add(piece);
        }
    }

    Fingerprint slice;
    Fingerprint file;
    bool withFile = true;
};

}  // namespace sorv
