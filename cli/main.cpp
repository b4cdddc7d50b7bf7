// sorv-cli: the slicing engine on the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "interrupt.h"
#include "run_cli.h"

#ifdef _WIN32
#include <windows.h>

namespace {

std::string Narrow(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();  // the terminating NUL
    return utf8;
}

bool IsConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Log lines are UTF-8: let the console show them as such.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
    const sorv::Console console{stdin, stdout, stderr, IsConsole(STD_INPUT_HANDLE), IsConsole(STD_ERROR_HANDLE)};
    sorv::InstallInterruptHandler();
    return sorv::RunCli(args, console);
}

#else
#include <unistd.h>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const sorv::Console console{stdin, stdout, stderr, isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1};
    sorv::InstallInterruptHandler();
    return sorv::RunCli(args, console);
}
#endif
