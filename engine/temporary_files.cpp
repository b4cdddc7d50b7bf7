#include "temporary_files.h"

#include <array>
#include <atomic>
#include <cstring>

namespace sorv::temporary_files {
namespace {

// A slot changes hands by one exchange at a time: the flow writes a path
// only into a free slot it has claimed, and the interrupt handler (on
// Windows, another thread) reads one only from a slot it has taken for
// removing, which the flow then leaves alone.
enum State : int { kFree, kWriting, kUsed, kRemoving };

struct Slot {
    std::atomic<int> state{kFree};
    char path[4096] = {};
};
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");

// A join has one partial file at a time, a repair one per file it rebuilds:
// past these, a repair's partial files stay for the next repair to ask about.
std::array<Slot, 16> slots;

bool Move(Slot& slot, int from, int to) { return slot.state.compare_exchange_strong(from, to); }

}  // namespace

void Add(const std::string& path) {
    if (path.empty() || path.size() >= sizeof(Slot::path)) return;
    for (Slot& slot : slots) {
        if (!Move(slot, kFree, kWriting)) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(kUsed);
        return;
    }
}

// Paths are written by the flow's own thread only: it may read them.
void Forget(const std::string& path) {
    for (Slot& slot : slots)
        if (slot.state.load() == kUsed && path == slot.path) Move(slot, kUsed, kFree);
}

void RemoveAll(void (*remove)(const char* path)) {
    for (Slot& slot : slots) {
        if (!Move(slot, kUsed, kRemoving)) continue;
        remove(slot.path);
        slot.state.store(kFree);
    }
}

}  // namespace sorv::temporary_files
