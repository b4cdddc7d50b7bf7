#pragma once

namespace sorv {

// Sets a flag for the life of a scope and clears it on every way out,
// failures included, so Busy and the running-flow mark never stick.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace sorv
