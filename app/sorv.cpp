// Program entry: the application object, the windows in their start-up
// order, and the message loop until the main window closes.
#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "application.h"
#include "help_request.h"
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
    sorv::tk::Application& app = sorv::tk::App();
    app.SetTitle("sorv");
    app.HelpFile = "sorv.hlp";
    app.SetIcon(LoadIconW(instance, MAKEINTRESOURCEW(SORV_MAIN_ICON)));
    sorv::RouteHelpTo(sorv::ProgramHelpViewer());
    try {
        sorv::TForm1 Form1(CommandLineArguments());
        sorv::TAboutBox AboutBox;
        sorv::TForm3 Form3(Form1.engine.state, Form1);
        sorv::TForm4 Form4(Form1, Form1.FileDrag1);
        Form1.SetDialogs(&AboutBox, &Form3, &Form4);
        Form1.Show();
        app.Run();
    } catch (const std::exception& error) {
        app.HandleException(error);
        return 1;
    }
    return 0;
}
