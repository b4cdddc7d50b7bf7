#include "window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <set>
#include <unordered_map>
#include <stdexcept>
#include <utility>

#include "align_layout.h"
#include "application.h"
#include "control.h"
#include "graphic_control.h"
#include "guard.h"
#include "scope_guards.h"
#include "utf16.h"
#include "win_geometry.h"

namespace sorv::tk {
namespace {

// The toolkit object of each handle. A table in this process rather than a
// window property: every message looks its window up, and under Wine each
// GetProp is a round trip to the window server. The windows belong to the
// user-interface thread; a handle of another thread or process is not here.
// Never destroyed: the application's hidden window goes with the statics,
// after this thread's own objects are gone, and still looks itself up.
std::unordered_map<HWND, Window*>& Objects() {
    thread_local auto* objects = new std::unordered_map<HWND, Window*>;
    return *objects;
}

// A handle reused by a newer window keeps that window.
void Forget(HWND handle, const Window* window) {
    const auto found = Objects().find(handle);
    if (found != Objects().end() && found->second == window) Objects().erase(found);
}

// The object whose window CreateWindowEx is making on this thread, until its
// first message binds it.
thread_local Window* creating = nullptr;

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
    wc.hIconSm = windowClass.icon;
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("RegisterClassEx failed for " + Narrow(windowClass.name));
    registered.insert(windowClass.name);
}

std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::vector<HWND> OwnedWindows(HWND owner) {
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{owner, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (GetWindow(window, GW_OWNER) == s->owner) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsInput(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
           (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) || msg == BM_CLICK || msg == WM_COMMAND ||
           msg == WM_SYSCOMMAND;
}

bool IsMouseMessage(UINT msg) {
    return msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_LBUTTONDBLCLK ||
           msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN ||
           msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK;
}

}  // namespace

Window::Window() : font_(DefaultFont()) {}

Window::~Window() {
    destroying_ = true;
    DestroyHandle();
}

bool Window::Destroying() const {
    for (const Window* window = this; window; window = window->ParentWindow())
        if (window->destroying_) return true;
    return false;
}

Rect Window::ClientRect() const {
    RECT client{};
    GetClientRect(handle_, &client);
    return FromRECT(client);
}

Rect Window::WindowRect() const {
    RECT window{};
    GetWindowRect(handle_, &window);
    return FromRECT(window);
}

std::string Window::WindowText() const {
    const int length = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(handle_, text.data(), length + 1)));
    return Narrow(text);
}

void Window::ChangeWindowText(std::string_view text) { SetWindowTextW(handle_, Widen(text).c_str()); }

Window* Window::FromHandle(HWND handle) {
    if (!handle) return nullptr;
    const auto found = Objects().find(handle);
    return found == Objects().end() ? nullptr : found->second;
}

void Window::CreateHandle(const WindowClass& windowClass, const WindowDescription& design) {
    RegisterOnce(windowClass, OwnProcedure);
    const std::wstring caption = Widen(design.caption);
    // A window created while this one's first messages run (a child made in
    // WM_CREATE) takes the slot in turn; this one is bound by then.
    Window* const outer = std::exchange(creating, this);
    const ScopeExit restore([outer] { creating = outer; });
    HWND handle = CreateWindowExW(design.exStyle, windowClass.name.c_str(), caption.c_str(), design.style, design.x,
                                  design.y, design.width, design.height, design.parent, design.menuOrId,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!handle) throw std::runtime_error("CreateWindowEx failed for " + Narrow(windowClass.name));
}

void Window::Bind(HWND handle) {
    handle_ = handle;
    Objects()[handle] = this;
}

void Window::Adopt(HWND handle) {
    Bind(handle);
    // Not SetWindowSubclass: it finds its data through a window property on
    // every message, a round trip to the window server under Wine.
    classProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AdoptedProcedure)));
    if (!classProcedure_) {
        Forget(handle, this);
        handle_ = nullptr;
        throw std::runtime_error("cannot take over the window procedure");
    }
    subclassed_ = true;
}

void Window::DestroyHandle() {
    if (handle_) DestroyWindow(handle_);
    // A window of another thread or one already half gone: forget it anyway.
    if (handle_) Detach();
}

void Window::Detach() {
    if (!handle_) return;
    Forget(handle_, this);
    if (subclassed_) {
        if (GetWindowLongPtrW(handle_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(AdoptedProcedure))
            SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProcedure_));
        subclassed_ = false;
    }
    handle_ = nullptr;
    mouseGraphic_ = nullptr;
    HandleDestroyed();
}

void Window::RecreateHandle(const std::function<void()>& create) {
    if (!handle_) {
        create();
        return;
    }
    const FlagScope recreating(recreating_);

    HWND parking = App().Handle();
    const std::vector<HWND> children = DirectChildren(handle_);
    const std::vector<HWND> owned = OwnedWindows(handle_);
    for (HWND child : children) ::SetParent(child, parking);
    for (HWND window : owned) SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parking));
    DestroyHandle();

    create();
    HWND previous = HWND_TOP;
    for (HWND child : children) {
        ::SetParent(child, handle_);
        SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
    }
    for (HWND window : owned) SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(handle_));
}

LRESULT CALLBACK Window::OwnProcedure(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(handle);
    if (!self && creating && !creating->handle_) {
        self = std::exchange(creating, nullptr);
        self->Bind(handle);
    }
    if (!self) return DefWindowProcW(handle, msg, wParam, lParam);
    return self->Route({handle, msg, wParam, lParam});
}

LRESULT CALLBACK Window::AdoptedProcedure(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Window* self = FromHandle(handle)) return self->Route({handle, msg, wParam, lParam});
    // Left in a chain that another procedure put above it: the class's own.
    const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(handle, GCLP_WNDPROC));
    return CallWindowProcW(procedure, handle, msg, wParam, lParam);
}

LRESULT Window::DispatchToHandler(void* self, const Message& message) {
    return static_cast<Window*>(self)->HandleMessage(message);
}

LRESULT Window::Route(const Message& message) {
    LRESULT result = 0;
    if (IsInput(message.msg)) Guard([this] { InputArrives(); });
    // A paint that keeps failing is reported once: the error box over the
    // window makes it paint again, and again after the box has gone.
    const bool painting = message.msg == WM_PAINT || message.msg == WM_NCPAINT || message.msg == WM_ERASEBKGND;
    const bool painted = Guard([&] { result = hooks_.Run(message, DispatchToHandler, this); },
                               painting && paintFailed_ ? OnError::Drop : OnError::Report);
    if (painting) paintFailed_ = !painted;
    if (message.msg == WM_NCDESTROY && handle_ == message.window) {
        if (subclassed_) CallWindowProcW(classProcedure_, message.window, message.msg, message.wParam, message.lParam);
        Detach();
    }
    return result;
}

LRESULT Window::DefaultHandling(const Message& message) {
    // For a subclassed control the class procedure sees WM_NCDESTROY once,
    // from Route, after the hooks and handlers.
    if (message.msg == WM_NCDESTROY && subclassed_) return 0;
    if (subclassed_) return CallWindowProcW(classProcedure_, message.window, message.msg, message.wParam, message.lParam);
    return DefWindowProcW(message.window, message.msg, message.wParam, message.lParam);
}

Rect Window::NcCalcSize(const Message& message, const Rect& proposed) { return DefaultNcCalcSize(message, proposed); }

Rect Window::DefaultNcCalcSize(const Message& message, const Rect& proposed) {
    // Both forms of the message start with the rectangle to work on.
    auto* rect = reinterpret_cast<RECT*>(message.lParam);
    *rect = ToRECT(proposed);
    defaultNcCalcSize_ = DefaultHandling(message);
    return FromRECT(*rect);
}

LRESULT Window::NcHitTest(const Message& message, Point) { return DefaultHandling(message); }

LRESULT Window::NcPaint(const Message& message, HRGN) { return DefaultHandling(message); }

LRESULT Window::NcButtonDown(const Message& message, MouseButton, int, Point, bool) { return DefaultHandling(message); }

LRESULT Window::Activate(const Message& message, UINT, bool, HWND) { return DefaultHandling(message); }

LRESULT Window::MouseActivate(const Message& message, HWND, int, UINT) { return DefaultHandling(message); }

void Window::GetMinMaxInfo(const Message& message, MINMAXINFO&) { DefaultHandling(message); }

LRESULT Window::DecodeNonClient(const Message& message) {
    const Point screen{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    const auto hitTest = static_cast<int>(message.wParam);
    switch (message.msg) {
        case WM_NCCALCSIZE: {
            const LRESULT outer = std::exchange(defaultNcCalcSize_, 0);
            auto* rect = reinterpret_cast<RECT*>(message.lParam);
            *rect = ToRECT(NcCalcSize(message, FromRECT(*rect)));
            return std::exchange(defaultNcCalcSize_, outer);
        }
        case WM_NCHITTEST: return NcHitTest(message, screen);
        case WM_NCPAINT: return NcPaint(message, message.wParam == 1 ? nullptr : reinterpret_cast<HRGN>(message.wParam));
        case WM_NCLBUTTONDOWN: return NcButtonDown(message, MouseButton::Left, hitTest, screen, false);
        case WM_NCLBUTTONDBLCLK: return NcButtonDown(message, MouseButton::Left, hitTest, screen, true);
        case WM_NCRBUTTONDOWN: return NcButtonDown(message, MouseButton::Right, hitTest, screen, false);
        case WM_NCRBUTTONDBLCLK: return NcButtonDown(message, MouseButton::Right, hitTest, screen, true);
        case WM_NCMBUTTONDOWN: return NcButtonDown(message, MouseButton::Middle, hitTest, screen, false);
        case WM_NCMBUTTONDBLCLK: return NcButtonDown(message, MouseButton::Middle, hitTest, screen, true);
        default: return DefaultHandling(message);
    }
}

bool Window::ReflectToControl(const Message& message, LRESULT& result) {
    const bool command = message.msg == WM_COMMAND;
    const bool colour =
        message.msg == WM_CTLCOLORSTATIC || message.msg == WM_CTLCOLOREDIT || message.msg == WM_CTLCOLORBTN;
    if ((!command && !colour) || !message.lParam) return false;
    auto* control = dynamic_cast<Control*>(FromHandle(reinterpret_cast<HWND>(message.lParam)));
    if (!control) return false;
    if (command) {
        control->HandleCommand(HIWORD(message.wParam));
        result = 0;
        return true;
    }
    HBRUSH brush = control->ControlColor(reinterpret_cast<HDC>(message.wParam));
    result = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
}

LRESULT Window::HandleMessage(const Message& message) {
    if (LRESULT reflected = 0; ReflectToControl(message, reflected)) return reflected;
    switch (message.msg) {
        case WM_NCCALCSIZE:
        case WM_NCHITTEST:
        case WM_NCPAINT:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDOWN:
        case WM_NCMBUTTONDBLCLK:
            return DecodeNonClient(message);
        case WM_SIZE:
            RequestLayout();
            Resized(message, static_cast<UINT>(message.wParam), Size{LOWORD(message.lParam), HIWORD(message.lParam)});
            break;
        case WM_MOVE:
            Moved(message, Point{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)});
            break;
        case WM_ACTIVATE:
            return Activate(message, LOWORD(message.wParam), HIWORD(message.wParam) != 0,
                            reinterpret_cast<HWND>(message.lParam));
        case WM_MOUSEACTIVATE:
            return MouseActivate(message, reinterpret_cast<HWND>(message.wParam), LOWORD(message.lParam),
                                 HIWORD(message.lParam));
        case WM_GETMINMAXINFO:
            GetMinMaxInfo(message, *reinterpret_cast<MINMAXINFO*>(message.lParam));
            return 0;
        case WM_PAINT:
            if (PaintsItself() || !graphics_.empty()) return PaintWithGraphics();
            break;
        case WM_CANCELMODE:
            if (mouseGraphic_) CancelPress(*mouseGraphic_);
            break;
        case WM_CAPTURECHANGED:
            // Another window took the mouse in the middle of a press.
            if (mouseGraphic_ && reinterpret_cast<HWND>(message.lParam) != handle_) CancelPress(*mouseGraphic_);
            break;
        case WM_SYSCOLORCHANGE:
            BroadcastSysColorChange();
            break;
        default:
            if (IsMouseMessage(message.msg) && RouteMouse(message)) return 0;
            break;
    }
    return DefaultHandling(message);
}

// One pass: placing a control that then changes another's size (a dock
// fitting its new width to its rows) asks for the layout again.
void Window::AlignControls() {
    std::vector<Control*> aligned;
    std::vector<AlignItem> items;
    for (Control* control : controls_) {
        if (control->GetAlign() == Align::None || !control->Handle() || !control->Visible()) continue;
        aligned.push_back(control);
        items.push_back({control->GetAlign(), control->BoundsRect()});
    }
    const std::vector<Rect> placed = LayoutAligned(ClientRect(), items);
    for (std::size_t i = 0; i < aligned.size(); ++i) {
        const Rect& r = placed[i];
        if (r == items[i].bounds) continue;
        aligned[i]->SetBounds(r);
    }
}

LRESULT Window::PaintWithGraphics() {
    PaintDc dc(handle_);
    {
        // The window's own painting leaves out what opaque controls cover.
        const int saved = SaveDC(dc.get());
        for (GraphicControl* graphic : graphics_) {
            if (!graphic->Visible() || !graphic->Opaque()) continue;
            const Rect r = graphic->Bounds();
            ExcludeClipRect(dc.get(), r.left, r.top, r.right, r.bottom);
        }
        Paint(dc.get(), dc.UpdateRect());
        RestoreDC(dc.get(), saved);
    }
    const Rect update = dc.UpdateRect();
    for (GraphicControl* graphic : graphics_) {
        const Rect bounds = graphic->Bounds();
        if (!graphic->Visible() || Intersect(bounds, update).IsEmpty()) continue;
        const int saved = SaveDC(dc.get());
        IntersectClipRect(dc.get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
        SetViewportOrgEx(dc.get(), bounds.left, bounds.top, nullptr);
        graphic->Paint(dc.get());
        RestoreDC(dc.get(), saved);
    }
    return 0;
}

GraphicControl* Window::GraphicAt(Point client, bool includeDisabled) const {
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        const GraphicControl& graphic = **it;
        if (graphic.Visible() && (includeDisabled || graphic.Enabled()) && graphic.Bounds().Contains(client))
            return *it;
    }
    return nullptr;
}

void Window::CancelPress(GraphicControl& graphic) {
    if (mouseGraphic_ != &graphic) return;
    // Cleared first: letting the capture go comes back as WM_CAPTURECHANGED.
    mouseGraphic_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
    graphic.CancelMode();
}

void Window::BroadcastSysColorChange() {
    for (GraphicControl* graphic : graphics_) graphic->SysColorChanged();
    // Only top-level windows hear of it from the system.
    for (Control* control : controls_)
        if (control->Handle()) SendMessageW(control->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    SysColorChanged();
}

bool Window::RouteMouse(const Message& message) {
    if (graphics_.empty()) return false;
    const Point point{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    GraphicControl* target = mouseGraphic_ ? mouseGraphic_ : GraphicAt(point);
    if (!target) return false;
    const Rect bounds = target->Bounds();
    MouseEvent event{MouseButton::Left, point.x - bounds.left, point.y - bounds.top, message.wParam, false};
    switch (message.msg) {
        case WM_MOUSEMOVE:
            target->MouseMove(event);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            // Like a window, the control gets the mouse until the button is
            // up; the second press of a double click is a press too.
            event.button = message.msg == WM_LBUTTONDOWN || message.msg == WM_LBUTTONDBLCLK   ? MouseButton::Left
                           : message.msg == WM_RBUTTONDOWN || message.msg == WM_RBUTTONDBLCLK ? MouseButton::Right
                                                                                              : MouseButton::Middle;
            event.doubleClick = message.msg == WM_LBUTTONDBLCLK || message.msg == WM_RBUTTONDBLCLK ||
                                message.msg == WM_MBUTTONDBLCLK;
            mouseGraphic_ = target;
            SetCapture(handle_);
            target->MouseDown(event);
            break;
        default:
            event.button = message.msg == WM_LBUTTONUP   ? MouseButton::Left
                           : message.msg == WM_RBUTTONUP ? MouseButton::Right
                                                         : MouseButton::Middle;
            mouseGraphic_ = nullptr;
            if (GetCapture() == handle_) ReleaseCapture();
            target->MouseUp(event);
            break;
    }
    return true;
}

}  // namespace sorv::tk
