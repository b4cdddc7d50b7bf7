#pragma once
// The one window base of the toolkit. A window of one of our own classes
// knows its object from the very first message it gets (WM_GETMINMAXINFO
// comes before WM_NCCREATE): the object waits in a slot of the creating
// thread while CreateWindowEx runs. Standard controls are subclassed right
// after their creation. Each message goes through the window's hook chain,
// then through HandleMessage, which decodes the messages components answer
// into typed handlers; overriding HandleMessage stays the way to see any
// message. No exception leaves a window procedure: it goes to the
// application's error box.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "deferred_layout.h"
#include "font.h"
#include "geometry.h"
#include "hook_chain.h"
#include "mouse.h"

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

struct WindowDescription {
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
    // them on through `next`. Hooks stay when the window is re-created.
    [[nodiscard]] HookRegistration AddHook(MessageHook hook) { return hooks_.Add(std::move(hook)); }
    std::size_t HookCount() const { return hooks_.Size(); }

    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(handle_, msg, wParam, lParam);
    }

    // The client area, at (0, 0), and its size.
    Rect ClientRect() const;
    Size ClientSize() const { return ClientRect().Extent(); }
    // The whole window, frame included, in screen coordinates.
    Rect WindowRect() const;
    // The window's text (a form's caption, a control's text), UTF-8.
    std::string WindowText() const;
    void ChangeWindowText(std::string_view text);

    // The font children take unless they are given their own.
    const SharedFont& GetFont() const { return font_; }

    // Children: controls (windowed) and graphic controls (painted by this
    // window and fed its mouse input) register themselves here.
    const std::vector<Control*>& Controls() const { return controls_; }
    const std::vector<GraphicControl*>& GraphicControls() const { return graphics_; }
    // The topmost visible graphic control at a client point, disabled ones
    // too when asked.
    GraphicControl* GraphicAt(Point client, bool includeDisabled = false) const;
    // The window's layout (its aligned controls; a dock's rows, a tool
    // window's children and size): runs now, or when the outermost update
    // ends, and again while a running one is asked for anew. Controls ask
    // for it when an aligned one moves in or out, changes its size, shows or
    // hides; the window asks for it when its own size changes.
    void RequestLayout() { layout_.Request(); }
    // Prefer a LayoutUpdate scope to the pair.
    void BeginUpdate() { layout_.BeginUpdate(); }
    void EndUpdate() { layout_.EndUpdate(); }
    // An update is open or the layout is running.
    bool LayoutHeld() const { return layout_.Held(); }

    // True while the window is destroyed and made again with new styles.
    bool Recreating() const { return recreating_; }
    // True once this window or one of its parents has begun to be destroyed:
    // what a component does "not while destroying" it skips then.
    bool Destroying() const;
    // The window this one is a child of, if any.
    virtual Window* ParentWindow() const { return nullptr; }

protected:
    Window();

    // Registers the class once per name and creates a window of it; the
    // window is bound to this object from its first message on.
    void CreateHandle(const WindowClass& windowClass, const WindowDescription& design);
    // Takes over a standard control just created: its window procedure is
    // replaced by the toolkit's, which passes on to the class's.
    void Adopt(HWND handle);
    void DestroyHandle();
    // Destroys the window and makes it again through `create`: meanwhile the
    // child windows and the windows it owns wait on the application's hidden
    // window, then come back in their order. Hooks, child objects and fonts
    // belong to the object and carry over.
    void RecreateHandle(const std::function<void()>& create);

    virtual LRESULT HandleMessage(const Message& message);
    LRESULT DefaultHandling(const Message& message);

    // Typed handlers, decoded once by HandleMessage. Each default gives the
    // message its default handling.
    //
    // WM_NCCALCSIZE: the client rectangle for a proposed window rectangle,
    // both in the parent's client coordinates (the screen's for a top-level
    // window). DefaultNcCalcSize is the platform's answer.
    virtual Rect NcCalcSize(const Message& message, const Rect& proposed);
    Rect DefaultNcCalcSize(const Message& message, const Rect& proposed);
    // WM_NCHITTEST: an HT* code for a point on the screen.
    virtual LRESULT NcHitTest(const Message& message, Point screen);
    // WM_NCPAINT: `update` is the region to repaint, in screen coordinates,
    // or null for the whole frame.
    virtual LRESULT NcPaint(const Message& message, HRGN update);
    // WM_NC?BUTTONDOWN and WM_NC?BUTTONDBLCLK.
    virtual LRESULT NcButtonDown(const Message& message, MouseButton button, int hitTest, Point screen,
                                 bool doubleClick);
    // WM_SIZE, after the aligned controls have been placed.
    virtual void Resized(const Message& /*message*/, UINT /*kind*/, Size /*client*/) {}
    // WM_MOVE: the client area's new origin.
    virtual void Moved(const Message& /*message*/, Point /*clientOrigin*/) {}
    // WM_ACTIVATE: WA_INACTIVE, WA_ACTIVE or WA_CLICKACTIVE; `other` is the
    // window losing or gaining the activation.
    virtual LRESULT Activate(const Message& message, UINT state, bool minimized, HWND other);
    // WM_MOUSEACTIVATE: an MA_ code.
    virtual LRESULT MouseActivate(const Message& message, HWND topLevel, int hitTest, UINT mouseMessage);
    // WM_GETMINMAXINFO: change the limits after or instead of the default.
    virtual void GetMinMaxInfo(const Message& message, MINMAXINFO& limits);

    // A child entered this window's lists (its window made, or moved here)
    // or left them (destroyed, or moved away). A graphic control is told at
    // its construction, before its own class is complete: keep the pointer,
    // ask later what it is.
    virtual void ControlEntered(Control& /*control*/) {}
    virtual void ControlLeft(Control& /*control*/) {}
    virtual void GraphicEntered(GraphicControl& /*graphic*/) {}
    virtual void GraphicLeft(GraphicControl& /*graphic*/) {}

    // The system's colours changed: this window's own part, after its
    // controls and graphic controls have been told.
    virtual void SysColorChanged() {}

    // Own painting, before the graphic controls; called only when the window
    // paints itself (PaintsItself) or hosts graphic controls.
    virtual void Paint(HDC /*dc*/, const Rect& /*updateRect*/) {}
    virtual bool PaintsItself() const { return false; }
    // Input (keys, the mouse, a click or command sent by a tool) is about to
    // reach this window; its form runs what must come first.
    virtual void InputArrives() {
        if (Window* parent = ParentWindow()) parent->InputArrives();
    }
    // The layout proper, run by RequestLayout when the window has a handle
    // and is not being destroyed: by default the aligned controls.
    virtual void PerformLayout() { AlignControls(); }
    // Places the aligned controls against the client edges (top, bottom,
    // left, right, then client).
    void AlignControls();
    // The window handle is gone (after WM_NCDESTROY).
    virtual void HandleDestroyed() {}

    // Marks the object as being destroyed; each form calls it first in its
    // destructor, before its controls and components go.
    void BeginDestroy() { destroying_ = true; }

    void SetFont(SharedFont font) { font_ = std::move(font); }
    int NextControlId() { return nextControlId_++; }

private:
    friend class Control;
    friend class GraphicControl;

    static LRESULT CALLBACK OwnProcedure(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AdoptedProcedure(HWND handle, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT DispatchToHandler(void* self, const Message& message);
    void Bind(HWND handle);
    LRESULT Route(const Message& message);
    void Detach();
    LRESULT DecodeNonClient(const Message& message);
    // A command or a colour request from a control of ours, handed to that
    // control; false when the message is not one it answers.
    bool ReflectToControl(const Message& message, LRESULT& result);

    LRESULT PaintWithGraphics();
    bool RouteMouse(const Message& message);
    // The graphic control loses the mouse it held after a press.
    void CancelPress(GraphicControl& graphic);
    void BroadcastSysColorChange();

    HWND handle_ = nullptr;
    bool subclassed_ = false;  // a standard control's window, taken over
    WNDPROC classProcedure_ = nullptr;  // what it had before
    bool recreating_ = false;
    bool destroying_ = false;
    bool paintFailed_ = false;  // the last paint raised an error
    LRESULT defaultNcCalcSize_ = 0;
    HookChain hooks_;
    SharedFont font_;
    std::vector<Control*> controls_;
    std::vector<GraphicControl*> graphics_;
    GraphicControl* mouseGraphic_ = nullptr;
    DeferredLayout layout_{[this] {
        if (handle_ && !Destroying()) PerformLayout();
    }};
    int nextControlId_ = 100;  // clear of IDOK, IDCANCEL and the menu commands
};

}  // namespace sorv::tk
