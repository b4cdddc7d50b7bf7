#include "temporary_files.h"

#include <array>
#include <atomic>
#include <cstring>

namespace sorv::temporary_files {
namespace {

struct Slot {
    std::atomic<bool> used{false};
    char path[4096] = {};
};
static_assert(std::atomic<bool>::is_always_lock_free, "read from a signal handler");

// A join has one partial file at a time, a repair one per file it rebuilds:
// past these, a repair's partial files stay for the next repair to ask about.
std::array<Slot, 16> slots;

}  // namespace

void Add(const std::string& path) {
    if (path.empty() || path.size() >= sizeof(Slot::path)) return;
    for (Slot& slot : slots) {
        if (slot.used.load()) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.used.store(true);
        return;
    }
}

void Forget(const std::string& path) {
    for (Slot& slot : slots)
        if (slot.used.load() && path == slot.path) slot.used.store(false);
}

// On Windows this runs on the console handler's thread: a slot is released
// only once its path is used, so the flow cannot write another path into it
// meanwhile.
void RemoveAll(void (*remove)(const char* path)) {
    for (Slot& slot : slots) {
        if (!slot.used.load()) continue;
        remove(slot.path);
        slot.used.store(false);
    }
}

}  // namespace sorv::temporary_files
