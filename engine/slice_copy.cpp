#include "slice_copy.h"

#include <algorithm>

#include "sizes.h"

namespace sorv {

namespace {

// What a read that nobody watches shows its bytes to.
class Nobody final : public ByteObserver {
public:
    void Observe(std::span<const std::byte>) override {}
};

}  // namespace

std::uint64_t SliceCopy::Piece(File& from, File* to, std::uint64_t bytes, ByteObserver* observer) {
    if (to != nullptr) return from.CopyTo(*to, bytes, buffer_, observer);
    Nobody nobody;
    return from.ReadThrough(bytes, buffer_, observer != nullptr ? *observer : nobody);
}

void SliceCopy::RunMessages() {
    ui_.ProcessMessages();
    if (const auto now = ui_.ClockMicroseconds()) cadence_.Ran(*now);
}

bool SliceCopy::RunMessagesIfDue() {
    // Without a clock each copy went in one piece: they run after it.
    if (const auto now = ui_.ClockMicroseconds(); !now || cadence_.Due(*now)) RunMessages();
    return stopAsked_;
}

SliceCopy::Result SliceCopy::Copy(File& from, File* to, std::uint64_t maxBytes, ByteObserver* observer,
                                  std::int64_t& shown) {
    Result result;
    // Without a clock a slice goes in one piece and messages run after it.
    if (!ui_.ClockMicroseconds()) {
        result.copied = Piece(from, to, maxBytes, observer);
        return result;
    }
    while (result.copied < maxBytes) {
        const std::uint64_t piece = std::min(sizer_.Next(), maxBytes - result.copied);
        const std::int64_t start = ui_.ClockMicroseconds().value_or(0);
        const std::uint64_t got = Piece(from, to, piece, observer);
        result.copied += got;
        const std::int64_t now = ui_.ClockMicroseconds().value_or(0);
        sizer_.Took(got, now - start);
        if (got < piece) break;  // the reader ran out
        if (result.copied == maxBytes || !cadence_.Due(now)) continue;
        // The bar shows the whole blocks copied so far.
        const auto blocks = static_cast<std::int64_t>(result.copied / kBlockSize) * kBlockSize;
        ui_.AdvanceProgress(blocks - shown);
        shown = blocks;
        RunMessages();
        if (stopAsked_) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

}  // namespace sorv
