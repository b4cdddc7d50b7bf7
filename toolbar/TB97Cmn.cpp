#include "TB97Cmn.h"

#include <array>
#include <memory>

#include "guard.h"
#include "thread_hook.h"

namespace sorv::toolbar {
namespace {

struct HookManager {
    HookRegistry<THookProc> registry;
    HookDemand demand;
    std::array<std::unique_ptr<tk::ThreadHook>, kSystemHookCount> hooks;
};

HookManager& Manager() {
    static HookManager manager;
    return manager;
}

void Notify(THookProcType kind, HWND window, WPARAM wParam, LPARAM lParam) {
    // Each callback under its own guard, so that the others still run.
    for (THookProc proc : Manager().registry.CallbacksFor(kind))
        tk::Guard([&] { proc(kind, window, wParam, lParam); }, tk::OnError::Drop);
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

// A system hook is in place while a registration needs it and some callback
// has work for it.
void Apply() {
    HookManager& manager = Manager();
    for (SystemHook hook : {SystemHook::CallWindowProc, SystemHook::ComputerBasedTraining, SystemHook::GetMessage}) {
        auto& installed = manager.hooks[static_cast<std::size_t>(hook)];
        const bool wanted = manager.registry.Needs(hook) && manager.demand.Wanted(hook);
        if (!wanted) {
            installed.reset();
        } else if (!installed) {
            installed = MakeHook(hook);
        }
    }
}

}  // namespace

void InstallHookProc(THookProc proc, THookProcTypes kinds) {
    Manager().registry.Register(proc, kinds);
    Apply();
}

void UninstallHookProc(THookProc proc) {
    Manager().registry.Unregister(proc);
    Apply();
}

void WantHooks(THookProcTypes kinds, bool on) {
    Manager().demand.Want(kinds, on);
    Apply();
}

}  // namespace sorv::toolbar
