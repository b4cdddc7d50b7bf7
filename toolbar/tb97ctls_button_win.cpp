#include "tb97ctls_button_win.h"

#include <commctrl.h>

#include <map>

#include "timer.h"
#include "win_geometry.h"

namespace sorv::toolbar {
namespace {

struct TipWindow {
    HWND handle = nullptr;
    int tools = 0;
    bool active = true;
};

void Activate(TipWindow& window, bool active) {
    if (window.active == active || !window.handle || !IsWindow(window.handle)) return;
    window.active = active;
    SendMessageW(window.handle, TTM_ACTIVATE, active, 0);
}

std::map<HWND, TipWindow>& TipWindows() {
    static std::map<HWND, TipWindow> windows;
    return windows;
}

UINT_PTR ToolId(const ControlTip* tip) { return reinterpret_cast<UINT_PTR>(tip); }

// The parent's tooltip window, made on first need; owned by the parent, it
// goes with it.
HWND TipWindowOf(HWND parent) {
    TipWindow& entry = TipWindows()[parent];
    if (entry.handle && IsWindow(entry.handle)) return entry.handle;
    static const bool registered = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)registered;
    entry = {CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr),
             0};
    return entry.handle;
}

TTTOOLINFOW ToolInfo(HWND parent, const ControlTip* tip) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = parent;
    info.uId = ToolId(tip);
    return info;
}

}  // namespace

void ControlTip::Place(HWND parent, const Rect& rect, const std::wstring& text) {
    if (text.empty() || !parent) {
        Remove();
        return;
    }
    const bool sameTool = parent == parent_ && tip_ && IsWindow(tip_);
    if (sameTool && rect == rect_ && text == text_) return;
    if (!sameTool) Remove();
    rect_ = rect;
    text_ = text;
    TTTOOLINFOW info = ToolInfo(parent, this);
    info.rect = ToRECT(rect);
    info.lpszText = text_.data();
    if (sameTool) {
        SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        return;
    }
    tip_ = TipWindowOf(parent);
    if (!tip_) return;
    // The tooltip watches the parent's mouse messages itself.
    info.uFlags = TTF_SUBCLASS;
    if (SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
        parent_ = parent;
        ++TipWindows()[parent].tools;
    } else {
        tip_ = nullptr;
    }
}

void ControlTip::SetActive(bool active) {
    if (!parent_) return;
    if (auto it = TipWindows().find(parent_); it != TipWindows().end()) Activate(it->second, active);
}

void ControlTip::DeactivateAll() {
    for (auto& [parent, window] : TipWindows()) Activate(window, false);
}

void ControlTip::Remove() {
    if (!parent_) return;
    auto it = TipWindows().find(parent_);
    if (tip_ && IsWindow(tip_)) {
        TTTOOLINFOW info = ToolInfo(parent_, this);
        SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    if (it != TipWindows().end() && --it->second.tools <= 0) {
        if (it->second.handle && IsWindow(it->second.handle)) DestroyWindow(it->second.handle);
        TipWindows().erase(it);
    }
    parent_ = nullptr;
    tip_ = nullptr;
}

namespace {

class ToolkitTimer : public ButtonTimer {
public:
    ToolkitTimer(unsigned intervalMs, std::function<void()> onTick) : timer_(intervalMs, std::move(onTick), false) {}
    bool Enabled() const override { return timer_.Enabled(); }
    void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }
    void SetInterval(unsigned intervalMs) override { timer_.SetInterval(intervalMs); }

private:
    tk::Timer timer_;
};

}  // namespace

ButtonTimerFactory& ButtonTimers() {
    static ButtonTimerFactory factory = [](unsigned intervalMs, std::function<void()> onTick) {
        return std::unique_ptr<ButtonTimer>(std::make_unique<ToolkitTimer>(intervalMs, std::move(onTick)));
    };
    return factory;
}

}  // namespace sorv::toolbar
