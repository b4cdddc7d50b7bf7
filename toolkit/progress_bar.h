#pragma once
// A progress bar over a byte count: the range may go far beyond 65535, and
// the position never passes the maximum.
#include <cstdint>

#include "control.h"

namespace sorv::tk {

class ProgressBar : public Control {
public:
    ProgressBar(Window& parent, std::string name, const Rect& bounds);

    // Minimum stays 0.
    void SetMax(std::int64_t maximum);
    std::int64_t Max() const { return max_; }
    // Clamped to 0..Max.
    void SetPosition(std::int64_t position);
    std::int64_t Position() const { return position_; }
    void StepBy(std::int64_t delta) { SetPosition(position_ + delta); }

private:
    std::int64_t max_ = 100;
    std::int64_t position_ = 0;
    int shift_ = 0;
};

}  // namespace sorv::tk
