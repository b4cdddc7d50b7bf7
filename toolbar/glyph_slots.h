#pragma once
// The slots of an image list shared by buttons: an image goes to the lowest
// free slot, the list grows by one when none is free, and a freed slot keeps
// its image until it is reused (slots never move, so the buttons' indexes
// stay valid).
#include <vector>

namespace sorv::tb97 {

class SlotSet {
public:
    struct Allocation {
        int slot = -1;
        bool appended = false;  // the list must grow by one image for it
    };

    Allocation Allocate();
    // Frees a used slot; anything else is ignored.
    void Free(int slot);
    bool Used(int slot) const { return slot >= 0 && slot < Capacity() && used_[slot]; }
    int Count() const { return count_; }
    int Capacity() const { return static_cast<int>(used_.size()); }

private:
    std::vector<bool> used_;
    int count_ = 0;
};

}  // namespace sorv::tb97
