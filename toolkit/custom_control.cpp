#include "custom_control.h"

namespace sorv::tk {

CustomControl::CustomControl(Window& parent, std::string name, const Rect& bounds)
    : Control(parent, std::move(name), bounds) {}

void CustomControl::CreateParams(ControlParams& params) const {
    params.windowClass = WindowClass{L"TCustomControl", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    params.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

ControlParams CustomControl::Params() const {
    ControlParams params;
    CreateParams(params);
    return params;
}

void CustomControl::Create() {
    if (Handle()) return;
    const ControlParams params = Params();
    CreateOwnControl(params.windowClass, params.style, params.exStyle, params.caption);
}

void CustomControl::ReparentWindow() {
    const bool child = (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_CHILD) != 0;
    if (ParentWindow() && child != ((Params().style & WS_CHILD) != 0))
        RecreateWindow();
    else
        Control::ReparentWindow();
}

void CustomControl::RecreateWindow() {
    if (!Handle()) {
        Create();
        return;
    }
    const Rect bounds = BoundsRect();
    const bool visible = Visible();
    const bool wasChild = (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_CHILD) != 0;
    HWND above = GetWindow(Handle(), GW_HWNDPREV);
    const std::string text = Text();
    ControlParams params = Params();
    params.style = visible ? (params.style | WS_VISIBLE) : (params.style & ~WS_VISIBLE);
    RecreateHandle([&] {
        SetCreationBounds(bounds);
        CreateOwnControl(params.windowClass, params.style, params.exStyle, text);
    });
    // A child keeps its place among its siblings.
    if (wasChild && (params.style & WS_CHILD))
        SetWindowPos(Handle(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace sorv::tk
