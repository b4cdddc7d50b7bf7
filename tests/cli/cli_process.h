#pragma once
// Runs a program as a child process with standard input from /dev/null and
// its two output streams captured.
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace sorv::test {

struct ProcessResult {
    int exitCode = -1;     // -1 when it ended by a signal
    int signal = 0;        // the signal that ended it, if any
    bool timedOut = false;  // killed after the deadline
    std::string out, err;
};

// Called with each complete line of standard output (without its "\n").
using OutLineHandler = std::function<void(pid_t child, const std::string& line)>;

ProcessResult RunProcess(const std::vector<std::string>& argv, const OutLineHandler& onOutLine = {},
                         int timeoutSeconds = 30);

}  // namespace sorv::test
