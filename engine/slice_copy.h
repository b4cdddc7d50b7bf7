#pragma once
// The one copy of a slice's bytes, for every flow: N bytes from a reader to
// a writer (or to none, only to be looked at), shown to an observer that
// fingerprints them, the window's messages let run at their cadence, and a
// stop asked during one of those runs acted on at once.
#include <cstdint>

#include "copy_buffer.h"
#include "file_system.h"
#include "front_end.h"
#include "pump_cadence.h"

namespace sorv {

class SliceCopy {
public:
    struct Result {
        std::uint64_t copied = 0;
        bool stopped = false;  // a stop was asked inside: the copy ended there
    };

    // `stopAsked` is the flag the Escape handling sets.
    SliceCopy(FrontEnd& ui, const bool& stopAsked) : ui_(ui), stopAsked_(stopAsked) {}

    // Copies up to maxBytes from `from` to `to` (only reads when `to` is
    // null). `shown` counts the progress
    // shown at message runs inside the copy, in whole blocks; the caller
    // shows the rest.
    Result Copy(File& from, File* to, std::uint64_t maxBytes, ByteObserver* observer, std::int64_t& shown);
    // Lets the pending messages run once, now.
    void RunMessages();
    // Lets them run when their time has come, for a caller whose copies are
    // each too short to run them inside; true when a stop was asked.
    bool RunMessagesIfDue();

private:
    std::uint64_t Piece(File& from, File* to, std::uint64_t bytes, ByteObserver* observer);

    FrontEnd& ui_;
    const bool& stopAsked_;
    PumpCadence cadence_;
    PieceSizer sizer_;
    CopyBuffer buffer_;
};

}  // namespace sorv
