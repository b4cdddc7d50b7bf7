#include "glyph_slots.h"

namespace sorv::tb97 {

SlotSet::Allocation SlotSet::Allocate() {
    Allocation allocation;
    for (int slot = 0; slot < Capacity(); ++slot) {
        if (!used_[slot]) {
            allocation.slot = slot;
            break;
        }
    }
    if (allocation.slot < 0) {
        allocation.slot = Capacity();
        allocation.appended = true;
        used_.push_back(false);
    }
    used_[allocation.slot] = true;
    ++count_;
    return allocation;
}

void SlotSet::Free(int slot) {
    if (!Used(slot)) return;
    used_[slot] = false;
    --count_;
}

}  // namespace sorv::tb97
