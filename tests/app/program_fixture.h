#pragma once
// The program's windows as sorv.exe creates them, in-process and in the same
// order (main window, About box, slice-size dialog, options dialog), the main
// window shown.
#include <functional>
#include <string>
#include <vector>

#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "application.h"
#include "box_driver.h"

namespace sorv::test {

// The main window, with a look at each log line as it is added (to act at a
// precise point of an operation, as a user pressing a key then would).
class WatchedForm1 : public TForm1 {
public:
    using TForm1::TForm1;
    std::function<void(const std::string& line)> afterLine;
    void AppendLog(const std::string& line) override {
        TForm1::AppendLog(line);
        if (afterLine) afterLine(line);
    }
};

struct Program {
    explicit Program(std::vector<std::string> arguments = {}, bool show = true)
        : Form1((tk::App().SetTitle("sorv"), std::move(arguments))),
          Form3(Form1.engine.state, Form1),
          Form4(Form1, Form1.FileDrag1) {
        Form1.SetDialogs(&AboutBox, &Form3, &Form4);
        if (show) Show();
    }
    void Show() {
        Form1.Show();
        PumpUntil([this] { return GetActiveWindow() == Form1.Handle(); });
        PumpUntil([] { return false; }, 30);
    }

    WatchedForm1 Form1;
    TAboutBox AboutBox;
    TForm3 Form3;
    TForm4 Form4;
};

inline bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const auto& l : lines)
        if (l == line) return true;
    return false;
}

}  // namespace sorv::test
