#pragma once
// The one window base of the toolkit. Windows of our own classes receive
// `this` through the creation parameters; standard controls are taken over
// once, right after their creation. Each message goes through the window's
// hook chain, then through HandleMessage, a thin switch in each class. No
// exception leaves a window procedure: it goes to the application's error box.
#include <windows.h>

#include <string>
#include <vector>

#include "font.h"
#include "hook_chain.h"

namespace sorv::tk {

class Control;
class GraphicControl;

struct WindowClass {
    std::wstring name;
    UINT style = 0;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;  // the arrow when null
    HICON icon = nullptr;
};

struct CreateSpec {
    std::string caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;  // parent of a child, owner of a top-level window
    HMENU menuOrId = nullptr;
};

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return handle_; }
    // The toolkit window behind a handle, if any.
    static Window* FromHandle(HWND handle);

    // Installs a message hook; the newest hook sees messages first and passes
    // them on through `next`.
    [[nodiscard]] HookRegistration AddHook(MessageHook hook) { return hooks_.Add(std::move(hook)); }
    std::size_t HookCount() const { return hooks_.Size(); }

    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(handle_, msg, wParam, lParam);
    }

    // The font children take unless they are given their own.
    const SharedFont& GetFont() const { return font_; }

    // Children: controls (windowed) and graphic controls (painted by this
    // window and fed its mouse input) register themselves here.
    const std::vector<Control*>& Controls() const { return controls_; }
    const std::vector<GraphicControl*>& GraphicControls() const { return graphics_; }
    // Places the aligned controls against the client edges (top, bottom,
    // left, right, then client).
    void AlignControls();

protected:
    Window();

    // Registers the class once per name and creates a window of it.
    void CreateHandle(const WindowClass& windowClass, const CreateSpec& design);
    // Takes over a standard control just created.
    void Adopt(HWND handle);
    void DestroyHandle();

    virtual LRESULT HandleMessage(const Message& message);
    LRESULT DefaultHandling(const Message& message);
    // Own painting, before the graphic controls; called only when the window
    // paints itself (PaintsItself) or hosts graphic controls.
    virtual void Paint(HDC /*dc*/, const RECT& /*updateRect*/) {}
    virtual bool PaintsItself() const { return false; }
    // The window handle is gone (after WM_NCDESTROY).
    virtual void HandleDestroyed() {}

    void SetFont(SharedFont font) { font_ = std::move(font); }
    int NextControlId() { return nextControlId_++; }

private:
    friend class Control;
    friend class GraphicControl;

    static LRESULT CALLBACK OwnProcedure(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AdoptedProcedure(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT DispatchToHandler(void* self, const Message& message);
    LRESULT Route(const Message& message);
    void Detach();

    LRESULT PaintWithGraphics();
    bool RouteMouse(const Message& message);
    GraphicControl* GraphicAt(POINT point) const;

    HWND handle_ = nullptr;
    WNDPROC classProcedure_ = nullptr;  // the standard control's own procedure
    HookChain hooks_;
    SharedFont font_;
    std::vector<Control*> controls_;
    std::vector<GraphicControl*> graphics_;
    GraphicControl* mouseGraphic_ = nullptr;
    int nextControlId_ = 100;  // clear of IDOK, IDCANCEL and the menu commands
};

}  // namespace sorv::tk
