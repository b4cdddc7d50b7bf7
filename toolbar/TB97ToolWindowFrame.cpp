// The tool window's non-client area: its frames' metrics, sizing, hit tests
// and painting.
#include "TB97Dock.h"
#include "TB97ToolWindow.h"
#include "canvas.h"
#include "frame_paint.h"
#include "nonclient_dc.h"
#include "private_messages.h"
#include "win_geometry.h"

namespace sorv {
namespace {

struct HitCode {
    dock::FrameHit hit;
    int code;
};
constexpr HitCode kHitCodes[] = {
    {dock::FrameHit::Nowhere, HTNOWHERE},   {dock::FrameHit::Client, HTCLIENT},
    {dock::FrameHit::Close, HTCLOSE},       {dock::FrameHit::Left, HTLEFT},
    {dock::FrameHit::Right, HTRIGHT},       {dock::FrameHit::Top, HTTOP},
    {dock::FrameHit::Bottom, HTBOTTOM},     {dock::FrameHit::TopLeft, HTTOPLEFT},
    {dock::FrameHit::TopRight, HTTOPRIGHT}, {dock::FrameHit::BottomLeft, HTBOTTOMLEFT},
    {dock::FrameHit::BottomRight, HTBOTTOMRIGHT},
};

int CodeOf(dock::FrameHit hit) {
    for (const HitCode& c : kHitCodes)
        if (c.hit == hit) return c.code;
    return HTNOWHERE;
}

}  // namespace

dock::FrameHit TCustomToolWindow97::FrameHitOf(int hitTest) {
    for (const HitCode& c : kHitCodes)
        if (c.code == hitTest) return c.hit;
    return dock::FrameHit::Nowhere;
}

void TCustomToolWindow97::CreateParams(tk::ControlParams& params) const {
    tk::CustomControl::CreateParams(params);
    params.windowClass.name = L"TToolWindow97";
    params.windowClass.style = CS_DBLCLKS;
    params.windowClass.background = nullptr;
    params.caption = Text().empty() ? Name() : Text();
    params.exStyle = 0;
    if (docked_) {
        params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    } else {
        params.style = WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (resizable_ ? WS_THICKFRAME : 0);
    }
}

int TCustomToolWindow97::CaptionHeight() const {
    const DWORD version = GetVersion();
    return dock::CaptionHeight(LOBYTE(LOWORD(version)), GetSystemMetrics(SM_CYSMCAPTION),
                               GetSystemMetrics(SM_CYCAPTION));
}

Size TCustomToolWindow97::FloatingBorder() const {
    return resizable_ ? Size{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)}
                      : Size{GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME)};
}

dock::Insets TCustomToolWindow97::FrameInsetsFor(TDock97* target) const {
    if (target) return dock::DockedFrame(target->Kind(), target->AllowDrag(), dragHandleStyle_);
    return dock::FloatingFrame(FloatingBorder(), CaptionHeight());
}

dock::Insets TCustomToolWindow97::FrameInsets() const { return FrameInsetsFor(docked_ ? dockedTo_ : nullptr); }

Size TCustomToolWindow97::OuterSize(Size client, TDock97* target) const {
    const Size frame = FrameInsetsFor(target).Total();
    return {client.cx + frame.cx, client.cy + frame.cy};
}

Size TCustomToolWindow97::ClientSize() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return {client.right, client.bottom};
}

Rect TCustomToolWindow97::NcCalcSize(const tk::Message&, const Rect& proposed) {
    const dock::Insets insets = FrameInsets();
    return {proposed.left + insets.left, proposed.top + insets.top, proposed.right - insets.right,
            proposed.bottom - insets.bottom};
}

LRESULT TCustomToolWindow97::NcHitTest(const tk::Message& message, Point screen) {
    if (docked_) {
        // The frame and the handle start drags like the client area.
        const LRESULT code = tk::CustomControl::NcHitTest(message, screen);
        return code == HTNOWHERE ? HTCLIENT : code;
    }
    RECT window{};
    GetWindowRect(Handle(), &window);
    dock::FloatingHitTest frame;
    frame.window = {window.right - window.left, window.bottom - window.top};
    frame.border = FloatingBorder();
    frame.captionHeight = CaptionHeight();
    frame.closeButton = closeButton_;
    frame.resizable = resizable_;
    frame.eightWay = params_.eightWayResize;
    return CodeOf(dock::HitTestFloating(frame, {screen.x - window.left, screen.y - window.top}));
}

LRESULT TCustomToolWindow97::NcPaint(const tk::Message&, HRGN update) {
    if (docked_)
        DrawDockedFrame(update);
    else
        DrawFloatingFrame(update, {});
    return 0;
}

void TCustomToolWindow97::DrawDockedFrame(HRGN update) {
    if (!docked_ || !Handle()) return;
    RECT window{};
    GetWindowRect(Handle(), &window);
    const dock::Insets insets = FrameInsets();
    DockedFramePaint frame;
    frame.window = {window.right - window.left, window.bottom - window.top};
    frame.client = {insets.left, insets.top, frame.window.cx - insets.right, frame.window.cy - insets.bottom};
    frame.kind = dockedTo_->Kind();
    frame.allowDrag = dockedTo_->AllowDrag();
    frame.handle = dragHandleStyle_;
    frame.raisedBorder = borderStyle_ == TBorderStyle::bsSingle;
    frame.color = tk::ColorToRgb(color_);
    if (dockedTo_->HasBackground() && dockedTo_->BackgroundOnToolbars()) {
        TDock97* dock = dockedTo_;
        const POINT origin = dock->TileOriginIn(Handle());
        const RECT tile{origin.x, origin.y, frame.window.cx, frame.window.cy};
        frame.background = [dock, tile](HDC dc, const RECT& area, const RECT* exclude) {
            dock->DrawBackground(dc, area, tile, exclude);
        };
    }
    tk::NonClientDc dc(Handle(), update);
    sorv::DrawDockedFrame(dc.get(), frame);
}

void TCustomToolWindow97::DrawFloatingFrame(HRGN update, FloatingParts parts) {
    if (docked_ || !Handle()) return;
    RECT window{};
    GetWindowRect(Handle(), &window);
    FloatingFramePaint frame;
    frame.window = {window.right - window.left, window.bottom - window.top};
    frame.border = FloatingBorder();
    frame.captionHeight = CaptionHeight();
    frame.clientWidth = ClientSize().cx;
    frame.closeButton = closeButton_;
    frame.closePressed = closePressed_;
    frame.active = !inactiveCaption_;
    frame.caption = Text();
    tk::NonClientDc dc(Handle(), update);
    sorv::DrawFloatingFrame(dc.get(), frame, parts);
}

void TCustomToolWindow97::RequestDockedFrameRepaint() {
    if (!Handle()) return;
    // One repaint for any number of requests.
    MSG pending;
    while (PeekMessageW(&pending, Handle(), tk::kDockedFrameRepaintMessage, tk::kDockedFrameRepaintMessage, PM_REMOVE)) {
    }
    PostMessageW(Handle(), tk::kDockedFrameRepaintMessage, 0, 0);
}

bool TCustomToolWindow97::HandleFrameMessage(const tk::Message& message, LRESULT& result) {
    switch (message.msg) {
        case tk::kDockedFrameRepaintMessage:
            DrawDockedFrame(nullptr);
            result = 0;
            return true;
        case WM_NCACTIVATE:
            // The system would paint its own frame over ours.
            if (docked_) return false;
            result = TRUE;
            return true;
        case WM_SETTEXT:
            result = DefaultHandling(message);
            if (!docked_) DrawFloatingFrame(nullptr, {false, false, true});
            return true;
        default: return false;
    }
}

}  // namespace sorv
