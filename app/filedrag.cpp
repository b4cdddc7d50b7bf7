#include "filedrag.h"

#include <algorithm>
#include <string_view>

#include "scope_guards.h"
#include "utf16.h"
#include "window.h"

namespace sorv {
namespace {

// A menu of this thread is open: its own message loop runs.
bool MenuLoopRuns() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE) != 0;
}

// Passes a menu loop that will not end may take before the drop is handled
// inside it after all.
constexpr int kMaxMenuDeferrals = 100;

}  // namespace

TFileDrag::TFileDrag(tk::Window* owner) {
    if (owner != nullptr && owner->Handle() != nullptr) {
        owner_ = owner;
        hook_ = owner->AddHook([this](const tk::Message& message, const tk::NextHook& next) {
            return Hook(message, next);
        });
    } else {
        enableDrop_ = false;
    }
    SetEnableDrop(enableDrop_);
}

TFileDrag::~TFileDrag() {
    hook_.Remove();
    SetEnableDrop(false);
}

HWND TFileDrag::Window() const {
    return owner_ != nullptr ? owner_->Handle() : nullptr;
}

void TFileDrag::SetEnableDrop(bool enable) {
    enableDrop_ = enable;
    if (const HWND window = Window(); window != nullptr) {
        DragAcceptFiles(window, enable ? TRUE : FALSE);
    }
}

LRESULT TFileDrag::Hook(const tk::Message& message, const tk::NextHook& next) {
    if (message.msg == WM_DROPFILES) {
        // Handled inside a menu's loop, the handler (a whole split or join)
        // would put its questions under a menu that keeps the mouse: the
        // menu is closed, and the drop comes again once its loop has ended.
        if (MenuLoopRuns() && menuDeferrals_ < kMaxMenuDeferrals) {
            ++menuDeferrals_;
            EndMenu();
            PostMessageW(message.window, WM_DROPFILES, message.wParam, 0);
            return 0;
        }
        menuDeferrals_ = 0;
        HandleDrop(reinterpret_cast<HDROP>(message.wParam));
        return 0;
    }
    const LRESULT result = next(message);
    if (message.msg == WM_CREATE && enableDrop_) {
        // The owner's window was made anew (a changed border style): it
        // must accept drops again.
        DragAcceptFiles(message.window, TRUE);
    }
    return result;
}

void TFileDrag::HandleDrop(HDROP drop) {
    // The drop data goes back to the shell whichever way the handler leaves.
    const ScopeExit release([drop] { DragFinish(drop); });
    std::vector<wchar_t> name(kInitialNameBuffer);
    files_.clear();
    fileCount_ = static_cast<int>(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
    for (int i = 0; i < fileCount_; ++i) {
        const auto index = static_cast<UINT>(i);
        const std::size_t needed = std::size_t{DragQueryFileW(drop, index, nullptr, 0)} + 1;
        if (needed > name.size()) {
            name.assign(needed, L'\0');
        }
        const UINT copied = DragQueryFileW(drop, index, name.data(), static_cast<UINT>(name.size()));
        files_.push_back(Narrow(std::wstring_view(name.data(), std::min<std::size_t>(copied, name.size() - 1))));
    }
    nameBufferSize_ = name.size();
    if (OnDrop) {
        POINT point{};
        DragQueryPoint(drop, &point);
        // A copy: the handler runs long (a whole split or join) and may
        // replace the handler or end this component meanwhile.
        const TDropEvent handler = OnDrop;
        handler(this, point.x, point.y);
    }
}

}  // namespace sorv
