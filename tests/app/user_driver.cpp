#include "user_driver.h"

#include "window_probe.h"

#include "message_box.h"
#include "timer.h"

namespace sorv::test {
namespace {

std::set<HWND> VisibleThreadWindows() {
    std::set<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            if (IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(param)->insert(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

UserDriver::UserDriver() {
    onBox = [](HWND box, const BoxContents& contents) {
        if (!contents.buttonIds.empty()) Press(box, contents.buttonIds.front());
    };
    visible_ = VisibleThreadWindows();  // windows already up are not new showings
    timer_ = std::make_unique<tk::Timer>(15, [this] { Look(); });
}

UserDriver::~UserDriver() = default;

void UserDriver::Look() {
    if (looking_) return;
    looking_ = true;
    const std::set<HWND> now = VisibleThreadWindows();
    for (HWND window : now) {
        if (visible_.contains(window)) continue;  // already handled this showing
        const std::wstring cls = ClassOf(window);
        ++shown[cls];
        if (cls == L"TForm3") {
            ++sliceDialogs;
            if (onSliceDialog) onSliceDialog(window);
        } else if (cls == L"#32770" && GetDlgItem(window, tk::kBoxTextId)) {
            boxes.push_back(ReadBox(window));
            if (onBox) onBox(window, boxes.back());
        } else if (cls == L"#32770") {
            ++openDialogs;
            if (onOpenDialog) onOpenDialog(window);
        } else if (onOtherWindow) {
            onOtherWindow(window, cls);
        }
    }
    visible_ = now;
    looking_ = false;
}

}  // namespace sorv::test
