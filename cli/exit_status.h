#pragma once
// How the end of a run is reported to the caller of sorv-cli.
#include <string>
#include <string_view>

#include "engine.h"

namespace sorv {

inline constexpr int kExitCompleted = 0;
inline constexpr int kExitStopped = 1;
inline constexpr int kExitError = 2;
inline constexpr int kExitUsage = 64;

// 0 when "...Ok" was logged, 2 when the operation failed (a fault found, a
// damaged script, an error said), 1 when it stopped or was refused.
int ExitStatusFor(Outcome outcome);

// An error's text as the program's error box shows it: "." appended when the
// last character sorts after ".".
std::string ErrorBoxText(std::string_view what);

}  // namespace sorv
