#include "dwm_frame.h"

namespace sorv::caption {
namespace {

SetWindowAttributeFunction testFunction = nullptr;

SetWindowAttributeFunction SystemFunction() {
    // Looked up once; the library stays loaded for the program's life. Only
    // the system folder is searched, never the program's or the current one.
    static const SetWindowAttributeFunction function = [] {
        HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return dwm ? reinterpret_cast<SetWindowAttributeFunction>(
                         reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")))
                   : nullptr;
    }();
    return function;
}

}  // namespace

void UsePaintedFrame(HWND window) {
    const SetWindowAttributeFunction function = testFunction ? testFunction : SystemFunction();
    if (!function || !window) return;
    const DWORD policy = kNcRenderingDisabled;
    function(window, kNcRenderingPolicy, &policy, sizeof policy);
}

void SetDwmSetWindowAttributeForTesting(SetWindowAttributeFunction function) { testFunction = function; }

}  // namespace sorv::caption
