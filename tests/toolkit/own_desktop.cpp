// Linked into every test that opens windows: the test runs on a desktop of
// its own, so that tests running at the same time (under one Wine server)
// do not take the activation and the focus from one another.
#include <windows.h>

#include <cwchar>

namespace {

const bool onOwnDesktop = [] {
    wchar_t name[64];
    std::swprintf(name, 64, L"sorv-test-%lu", GetCurrentProcessId());
    HDESK desktop = CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop != nullptr && SetThreadDesktop(desktop) != FALSE;
}();

}  // namespace
