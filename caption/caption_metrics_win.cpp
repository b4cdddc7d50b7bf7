#include "caption_metrics_win.h"

namespace sorv::caption {
namespace {

Size Metric(int x, int y) { return {GetSystemMetrics(x), GetSystemMetrics(y)}; }

}  // namespace

CaptionMetrics CurrentCaptionMetrics() {
    CaptionMetrics m;
    m.dialogFrame = Metric(SM_CXDLGFRAME, SM_CYDLGFRAME);
    m.border = Metric(SM_CXBORDER, SM_CYBORDER);
    m.sizingFrame = Metric(SM_CXFRAME, SM_CYFRAME);
    m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.smallCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    m.button = Metric(SM_CXSIZE, SM_CYSIZE);
    m.smallButton = Metric(SM_CXSMSIZE, SM_CYSMSIZE);
    m.smallIcon = Metric(SM_CXSMICON, SM_CYSMICON);
    return m;
}

bool NewWindowLook() {
    static const bool newLook = LOBYTE(LOWORD(GetVersion())) >= 4;
    return newLook;
}

FrameStyle FrameStyleOf(tk::BorderStyle border) {
    switch (border) {
        case tk::BorderStyle::None: return FrameStyle::None;
        case tk::BorderStyle::Single: return FrameStyle::Single;
        case tk::BorderStyle::Sizeable: return FrameStyle::Sizeable;
        case tk::BorderStyle::Dialog: return FrameStyle::Dialog;
        case tk::BorderStyle::ToolWindow: return FrameStyle::ToolWindow;
        case tk::BorderStyle::SizeToolWin: return FrameStyle::SizeToolWin;
    }
    return FrameStyle::Sizeable;
}

FrameState FrameStateOf(const tk::Form& form) {
    FrameState frame;
    frame.style = FrameStyleOf(form.GetBorderStyle());
    const tk::BorderIcons& icons = form.GetBorderIcons();
    frame.icons = {icons.systemMenu, icons.minimize, icons.maximize, icons.help};
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    frame.window = {r.right - r.left, r.bottom - r.top};
    frame.iconic = IsIconic(form.Handle()) != FALSE;
    frame.zoomed = IsZoomed(form.Handle()) != FALSE;
    frame.newLook = NewWindowLook();
    return frame;
}

}  // namespace sorv::caption
