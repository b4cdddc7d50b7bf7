#pragma once
// When a copy lets the window's pending messages run inside a slice: every
// 50 ms or so, whatever the device's speed. The copy goes in pieces that take
// about 20 ms each (a floppy writes 2 KiB in the time a disk writes
// megabytes), and the clock is looked at between two pieces. Pure: the clock
// is read by the caller, in microseconds from any origin.
#include <cstdint>

namespace sorv {

class PumpCadence {
public:
    static constexpr std::int64_t kInterval = 50'000;

    // True when the last run is kInterval old or more.
    bool Due(std::int64_t now) const { return now - lastRun_ >= kInterval; }
    void Ran(std::int64_t now) { lastRun_ = now; }

private:
    std::int64_t lastRun_ = 0;
};

class PieceSizer {
public:
    static constexpr std::uint64_t kSmallest = 2048;            // one block
    static constexpr std::uint64_t kFirst = kSmallest;  // a slow device is not known yet
    static constexpr std::uint64_t kLargest = 64 * 1024 * 1024;
    static constexpr std::int64_t kTarget = 20'000;              // microseconds a piece

    std::uint64_t Next() const { return next_; }
    // The last piece moved `bytes` in `elapsed` microseconds.
    void Took(std::uint64_t bytes, std::int64_t elapsed);

private:
    std::uint64_t next_ = kFirst;
};

}  // namespace sorv
