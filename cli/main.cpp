// sorv-cli: the slicing engine on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "interrupt.h"
#include "run_cli.h"

#ifdef _WIN32
#include <windows.h>

#include "utf16.h"

namespace {

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Log lines are UTF-8: let the console show them as such.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(sorv::Narrow(argv[i]));
    const sorv::Console console{stdin, stdout, stderr, IsConsole(STD_INPUT_HANDLE), IsConsole(STD_ERROR_HANDLE)};
    sorv::InstallInterruptHandler();
    return sorv::RunCli(args, console);
}

#else
#include <sys/resource.h>
#include <unistd.h>

namespace {

// A split or a repair keeps every recovery slice it writes open at once, up
// to 65,534 of them: the usual soft limit of 1,024 open files would stop it
// after all the work. The hard limit is what the system allows us.
void RaiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

int main(int argc, char** argv) {
    RaiseOpenFileLimit();
    std::vector<std::string> args(argv + 1, argv + argc);
    const sorv::Console console{stdin, stdout, stderr, isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1};
    sorv::InstallInterruptHandler();
    const int status = sorv::RunCli(args, console);
    sorv::EndByTerminationSignal();
    return status;
}
#endif
