// Program entry: the application object, the windows in their start-up
// order, and the message loop until the main window closes.
#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "application.h"
#include "sorv_windows_win.h"
#include "resource_ids.h"
#include "utf16.h"

namespace {

// The arguments after the program's own name.
std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(CommandLineToArgvW(GetCommandLineW(), &count),
                                                              &LocalFree);
    if (!argv) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(sorv::Narrow(argv.get()[i]));
    return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    sorv::SetUpApplication(LoadIconW(instance, MAKEINTRESOURCEW(SORV_MAIN_ICON)));
    try {
        sorv::ProgramWindows<> windows(CommandLineArguments());
        windows.Form1.Show();
        sorv::tk::App().Run();
    } catch (const std::exception& error) {
        sorv::tk::App().HandleException(error);
        return 1;
    } catch (...) {
        sorv::tk::App().ShowException("Erreur inconnue");
        return 1;
    }
    return 0;
}
