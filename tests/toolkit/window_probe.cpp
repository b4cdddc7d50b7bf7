#include "window_probe.h"

namespace sorv::test {

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

LOGFONTW FontOf(HWND window) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

bool ShowsLastLineOfText(HWND edit) {
    const auto lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    const auto start = SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(lines - 2), 0);
    const auto at = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(start), 0);
    RECT client{};
    GetClientRect(edit, &client);
    const int y = static_cast<short>(HIWORD(at));
    return at != -1 && y >= 0 && y < client.bottom;
}

}  // namespace sorv::test
