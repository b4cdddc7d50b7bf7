#pragma once
// The program's windows as sorv.exe makes them, in-process, the main window
// shown.
#include <functional>
#include <string>
#include <vector>

#include "Unit1.h"
#include "application.h"
#include "box_driver.h"
#include "sorv_windows_win.h"

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

struct Program : ProgramWindows<WatchedForm1> {
    explicit Program(std::vector<std::string> arguments = {}, bool show = true)
        : ProgramWindows((tk::App().SetTitle(kApplicationTitle), std::move(arguments))) {
        if (show) Show();
    }
    void Show() {
        Form1.Show();
        PumpUntil([this] { return GetActiveWindow() == Form1.Handle(); });
        PumpUntil([] { return false; }, 30);
    }
};

inline bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const auto& l : lines)
        if (l == line) return true;
    return false;
}

}  // namespace sorv::test
