#pragma once
// One run of sorv-cli over already decoded (UTF-8) arguments; returns the
// exit status.
#include <string>
#include <vector>

#include "console_front_end.h"

namespace sorv {

int RunCli(const std::vector<std::string>& args, const Console& console);

}  // namespace sorv
