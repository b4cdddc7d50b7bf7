#pragma once
// Plays the user for the program's modal windows: a timer watches this
// thread's windows and, each time one shows, reads it and answers it by
// posting clicks and keys, as a user would.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "box_driver.h"

namespace sorv::tk {
class Timer;
}

namespace sorv::test {

class UserDriver {
public:
    UserDriver();
    ~UserDriver();
    UserDriver(const UserDriver&) = delete;
    UserDriver& operator=(const UserDriver&) = delete;

    // Called when the slice-size dialog shows.
    std::function<void(HWND dialog)> onSliceDialog;
    // Called when the file-open dialog shows.
    std::function<void(HWND dialog)> onOpenDialog;
    // Called when a message box shows; the default presses its first button.
    std::function<void(HWND box, const BoxContents& contents)> onBox;
    // Called when any other window of the program shows (TForm4, TAboutBox).
    std::function<void(HWND window, const std::wstring& className)> onOtherWindow;

    std::vector<BoxContents> boxes;  // every box seen, in order
    int sliceDialogs = 0;
    int openDialogs = 0;
    std::map<std::wstring, int> shown;  // showings by window class

private:
    void Look();

    std::unique_ptr<tk::Timer> timer_;
    std::set<HWND> visible_;
    bool looking_ = false;
};

// Posts a click to a button (push, radio or check box).
void Click(HWND button);

}  // namespace sorv::test
