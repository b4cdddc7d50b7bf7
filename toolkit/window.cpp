#include "window.h"

#include <windowsx.h>

#include <exception>
#include <set>
#include <stdexcept>

#include "align_layout.h"
#include "application.h"
#include "control.h"
#include "graphic_control.h"
#include "utf16.h"

namespace sorv::tk {
namespace {

// The window property that carries the toolkit object of a handle.
const wchar_t* const kSelfProperty = L"sorv.tk.window";

void RegisterOnce(const WindowClass& windowClass, WNDPROC procedure) {
    static std::set<std::wstring> registered;
    if (registered.contains(windowClass.name)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = windowClass.cursor ? windowClass.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = windowClass.icon;
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("RegisterClassEx failed for " + Narrow(windowClass.name));
    registered.insert(windowClass.name);
}

bool IsMouseMessage(UINT msg) {
    return msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_LBUTTONDBLCLK ||
           msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN ||
           msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK;
}

}  // namespace

Window::Window() : font_(DefaultFont()) {}

Window::~Window() { DestroyHandle(); }

Window* Window::FromHandle(HWND handle) {
    return handle ? static_cast<Window*>(GetPropW(handle, kSelfProperty)) : nullptr;
}

void Window::CreateHandle(const WindowClass& windowClass, const CreateSpec& design) {
    RegisterOnce(windowClass, OwnProcedure);
    const std::wstring caption = Widen(design.caption);
    HWND handle = CreateWindowExW(design.exStyle, windowClass.name.c_str(), caption.c_str(), design.style, design.x, design.y,
                                  design.width, design.height, design.parent, design.menuOrId, GetModuleHandleW(nullptr), this);
    if (!handle) throw std::runtime_error("CreateWindowEx failed for " + Narrow(windowClass.name));
}

void Window::Adopt(HWND handle) {
    handle_ = handle;
    SetPropW(handle, kSelfProperty, this);
    classProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AdoptedProcedure)));
}

void Window::DestroyHandle() {
    if (handle_) DestroyWindow(handle_);
    // A window of another thread or one already half gone: forget it anyway.
    if (handle_) Detach();
}

void Window::Detach() {
    if (!handle_) return;
    RemovePropW(handle_, kSelfProperty);
    if (classProcedure_) {
        SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProcedure_));
        classProcedure_ = nullptr;
    }
    handle_ = nullptr;
    mouseGraphic_ = nullptr;
    HandleDestroyed();
}

LRESULT CALLBACK Window::OwnProcedure(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->handle_ = handle;
        SetPropW(handle, kSelfProperty, self);
    } else {
        self = FromHandle(handle);
    }
    if (!self) return DefWindowProcW(handle, msg, wParam, lParam);
    return self->Route({handle, msg, wParam, lParam});
}

LRESULT CALLBACK Window::AdoptedProcedure(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(handle);
    if (!self) return DefWindowProcW(handle, msg, wParam, lParam);
    return self->Route({handle, msg, wParam, lParam});
}

LRESULT Window::DispatchToHandler(void* self, const Message& message) {
    return static_cast<Window*>(self)->HandleMessage(message);
}

LRESULT Window::Route(const Message& message) {
    LRESULT result = 0;
    try {
        result = hooks_.Run(message, DispatchToHandler, this);
    } catch (const std::exception& e) {
        Application::Instance().HandleException(e);
    } catch (...) {
        Application::Instance().HandleException(std::runtime_error("Erreur inconnue"));
    }
    if (message.msg == WM_NCDESTROY && handle_ == message.window) {
        if (classProcedure_) CallWindowProcW(classProcedure_, message.window, message.msg, message.wParam, message.lParam);
        Detach();
    }
    return result;
}

LRESULT Window::DefaultHandling(const Message& message) {
    // For an adopted control the class procedure sees WM_NCDESTROY once, from
    // Route, after the hooks and handlers.
    if (message.msg == WM_NCDESTROY && classProcedure_) return 0;
    if (classProcedure_)
        return CallWindowProcW(classProcedure_, message.window, message.msg, message.wParam, message.lParam);
    return DefWindowProcW(message.window, message.msg, message.wParam, message.lParam);
}

LRESULT Window::HandleMessage(const Message& message) {
    switch (message.msg) {
        case WM_COMMAND:
            if (message.lParam) {
                if (auto* control = dynamic_cast<Control*>(FromHandle(reinterpret_cast<HWND>(message.lParam)))) {
                    control->HandleCommand(HIWORD(message.wParam));
                    return 0;
                }
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (auto* control = dynamic_cast<Control*>(FromHandle(reinterpret_cast<HWND>(message.lParam)))) {
                if (HBRUSH brush = control->ControlColor(reinterpret_cast<HDC>(message.wParam)))
                    return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_SIZE:
            AlignControls();
            break;
        case WM_PAINT:
            if (PaintsItself() || !graphics_.empty()) return PaintWithGraphics();
            break;
        default:
            if (IsMouseMessage(message.msg) && RouteMouse(message)) return 0;
            break;
    }
    return DefaultHandling(message);
}

void Window::AlignControls() {
    if (!handle_) return;
    std::vector<Control*> aligned;
    std::vector<AlignItem> items;
    for (Control* control : controls_) {
        if (control->GetAlign() == Align::None || !control->Visible()) continue;
        aligned.push_back(control);
        items.push_back({control->GetAlign(), control->BoundsRect()});
    }
    if (aligned.empty()) return;
    RECT client{};
    GetClientRect(handle_, &client);
    const std::vector<RECT> placed = LayoutAligned(client, items);
    for (std::size_t i = 0; i < aligned.size(); ++i) {
        const RECT& r = placed[i];
        aligned[i]->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
}

LRESULT Window::PaintWithGraphics() {
    PaintDc dc(handle_);
    Paint(dc.get(), dc.UpdateRect());
    for (GraphicControl* graphic : graphics_) {
        if (!graphic->Visible()) continue;
        const RECT bounds = graphic->Bounds();
        RECT overlap{};
        if (!IntersectRect(&overlap, &bounds, &dc.UpdateRect())) continue;
        const int saved = SaveDC(dc.get());
        IntersectClipRect(dc.get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
        SetViewportOrgEx(dc.get(), bounds.left, bounds.top, nullptr);
        graphic->Paint(dc.get());
        RestoreDC(dc.get(), saved);
    }
    return 0;
}

GraphicControl* Window::GraphicAt(POINT point) const {
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        const RECT bounds = (*it)->Bounds();
        if ((*it)->Visible() && (*it)->Enabled() && PtInRect(&bounds, point)) return *it;
    }
    return nullptr;
}

bool Window::RouteMouse(const Message& message) {
    if (graphics_.empty()) return false;
    const POINT point{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    GraphicControl* target = mouseGraphic_ ? mouseGraphic_ : GraphicAt(point);
    if (!target) return false;
    const RECT bounds = target->Bounds();
    const int x = point.x - bounds.left;
    const int y = point.y - bounds.top;
    const auto keys = message.wParam;
    switch (message.msg) {
        case WM_MOUSEMOVE:
            target->MouseMove(x, y, keys);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // Like a window, the control gets the mouse until the button is up.
            mouseGraphic_ = target;
            SetCapture(handle_);
            target->MouseDown(message.msg == WM_LBUTTONDOWN   ? MouseButton::Left
                              : message.msg == WM_RBUTTONDOWN ? MouseButton::Right
                                                              : MouseButton::Middle,
                              x, y, keys);
            break;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            target->DoubleClick(x, y, keys);
            break;
        default: {
            mouseGraphic_ = nullptr;
            if (GetCapture() == handle_) ReleaseCapture();
            target->MouseUp(message.msg == WM_LBUTTONUP   ? MouseButton::Left
                            : message.msg == WM_RBUTTONUP ? MouseButton::Right
                                                          : MouseButton::Middle,
                            x, y, keys);
            break;
        }
    }
    return true;
}

}  // namespace sorv::tk
