#include "TB97Cmn.h"

#include <array>
#include <memory>

#include "thread_hook.h"

namespace sorv {
namespace {

struct HookManager {
    HookRegistry<THookProc> registry;
    std::array<std::unique_ptr<tk::ThreadHook>, kSystemHookCount> hooks;
};

HookManager& Manager() {
    static HookManager manager;
    return manager;
}

void Notify(THookProcType kind, HWND window, WPARAM wParam, LPARAM lParam) {
    for (THookProc proc : Manager().registry.CallbacksFor(kind)) {
        try {
            proc(kind, window, wParam, lParam);
        } catch (...) {
            // Nothing may unwind through the system's hook chain.
        }
    }
}

void OnCallWindowProc(int, WPARAM, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == WM_ACTIVATEAPP)
        Notify(THookProcType::hkActivateApp, call->hwnd, call->wParam, call->lParam);
    else if (call->message == WM_WINDOWPOSCHANGED)
        Notify(THookProcType::hkWindowPosChanged, call->hwnd, call->wParam, call->lParam);
}

void OnComputerBasedTraining(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_DESTROYWND) Notify(THookProcType::hkPreDestroy, reinterpret_cast<HWND>(wParam), wParam, lParam);
}

void OnGetMessage(int, WPARAM, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg->message == WM_MOUSEMOVE) Notify(THookProcType::hkMouseMove, msg->hwnd, msg->wParam, msg->lParam);
}

std::unique_ptr<tk::ThreadHook> MakeHook(SystemHook hook) {
    switch (hook) {
        case SystemHook::CallWindowProc: return std::make_unique<tk::ThreadHook>(WH_CALLWNDPROC, OnCallWindowProc);
        case SystemHook::ComputerBasedTraining: return std::make_unique<tk::ThreadHook>(WH_CBT, OnComputerBasedTraining);
        default: return std::make_unique<tk::ThreadHook>(WH_GETMESSAGE, OnGetMessage);
    }
}

void Apply(const HookRegistry<THookProc>::Change& change) {
    auto& hooks = Manager().hooks;
    for (SystemHook hook : change.remove) hooks[static_cast<std::size_t>(hook)].reset();
    for (SystemHook hook : change.install) hooks[static_cast<std::size_t>(hook)] = MakeHook(hook);
}

}  // namespace

void InstallHookProc(THookProc proc, THookProcTypes kinds) { Apply(Manager().registry.Register(proc, kinds)); }

void UninstallHookProc(THookProc proc) { Apply(Manager().registry.Unregister(proc)); }

}  // namespace sorv
