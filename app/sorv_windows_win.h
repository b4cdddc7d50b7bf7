#pragma once
// The program's four windows, made in their start-up order (the main window,
// the About box, the slice-size dialog, the options dialog) and wired to one
// another. sorv.exe and the window tests make the same.
#include <windows.h>

#include <string>
#include <vector>

#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "help_request_win.h"

namespace sorv {

inline constexpr char kApplicationTitle[] = "sorv";

// The application object as the program sets it up: its title, its help
// file "sorv.hlp", its icon, and help requests shown in the help viewer.
void SetUpApplication(HICON icon);

// `MainWindow` is TForm1, or a test's window derived from it.
template <class MainWindow = TForm1>
struct ProgramWindows {
    // `arguments`: the command-line arguments after the program's name.
    explicit ProgramWindows(std::vector<std::string> arguments)
        : Form1(std::move(arguments)), Form3(Form1.engine.state, Form1, [] { return ProgramHelpFile(); }), Form4(Form1, Form1.FileDrag1) {
        Form1.SetDialogs(&AboutBox, &Form3, &Form4);
    }

    MainWindow Form1;
    TAboutBox AboutBox;
    TForm3 Form3;
    TForm4 Form4;
};

}  // namespace sorv
