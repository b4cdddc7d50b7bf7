#include "box_driver.h"

#include "window_probe.h"

#include "application.h"
#include "timer.h"

namespace sorv::test {

BoxContents ReadBox(HWND box) {
    BoxContents contents;
    contents.title = TextOf(box);
    contents.defaultId = LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0));
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring cls = ClassOf(child);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (_wcsicmp(cls.c_str(), L"Button") == 0) {
            contents.buttons.push_back(TextOf(child));
            contents.buttonIds.push_back(GetDlgCtrlID(child));
        } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON)
                contents.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            else
                contents.text = TextOf(child);
        }
    }
    return contents;
}

HWND FindThreadWindow(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found;
    } search{className, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (IsWindowVisible(window) && ClassOf(window) == s->className) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

WhenWindowAppears::WhenWindowAppears(const wchar_t* className, std::function<void(HWND)> action)
    : className_(className), action_(std::move(action)) {
    timer_ = std::make_unique<tk::Timer>(20, [this] {
        if (count_ > 0 && !repeat_) return;
        HWND window = FindThreadWindow(className_.c_str());
        if (!window || window == last_) return;
        last_ = window;
        ++count_;
        action_(window);
    });
}

WhenWindowAppears::~WhenWindowAppears() = default;

void Press(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PostKey(HWND target, WPARAM virtualKey) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() > end) return false;
        tk::App().ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

}  // namespace sorv::test
