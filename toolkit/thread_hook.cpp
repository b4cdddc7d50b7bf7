#include "thread_hook.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <vector>

#include "guard.h"
#include "handles.h"

namespace sorv::tk {

struct ThreadHookAccess {
    static void Call(ThreadHook& hook, int code, WPARAM wParam, LPARAM lParam) {
        hook.callback_(code, wParam, lParam);
    }
};

namespace {

struct Installed {
    HookHandle handle;
    std::vector<ThreadHook*> hooks;
};

std::map<int, Installed>& Kinds() {
    static std::map<int, Installed> kinds;
    return kinds;
}

template <int Kind>
LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam) {
    auto& installed = Kinds()[Kind];
    if (code >= 0) {
        const std::vector<ThreadHook*> hooks = installed.hooks;
        for (ThreadHook* hook : hooks) {
            if (std::find(installed.hooks.begin(), installed.hooks.end(), hook) == installed.hooks.end()) continue;
            Guard([&] { ThreadHookAccess::Call(*hook, code, wParam, lParam); }, OnError::Drop);
        }
    }
    return CallNextHookEx(installed.handle.get(), code, wParam, lParam);
}

HOOKPROC ProcedureFor(int kind) {
    switch (kind) {
        case WH_CALLWNDPROC: return Procedure<WH_CALLWNDPROC>;
        case WH_CBT: return Procedure<WH_CBT>;
        case WH_GETMESSAGE: return Procedure<WH_GETMESSAGE>;
        default: throw std::invalid_argument("unsupported thread hook kind");
    }
}

}  // namespace

ThreadHook::ThreadHook(int kind, Callback callback) : kind_(kind), callback_(std::move(callback)) {
    HOOKPROC procedure = ProcedureFor(kind);
    Installed& installed = Kinds()[kind];
    if (!installed.handle) {
        installed.handle.reset(SetWindowsHookExW(kind, procedure, nullptr, GetCurrentThreadId()));
        if (!installed.handle) throw std::runtime_error("SetWindowsHookEx failed");
    }
    installed.hooks.push_back(this);
}

ThreadHook::~ThreadHook() {
    Installed& installed = Kinds()[kind_];
    std::erase(installed.hooks, this);
    if (installed.hooks.empty()) installed.handle.reset();
}

}  // namespace sorv::tk
