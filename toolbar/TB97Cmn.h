#pragma once
// The hook manager shared by the tool windows and the tool-bar buttons: one
// registry of callbacks for the thread hooks of the user-interface thread.
// The system hooks are in place while some registered callback needs them
// and has work for them.
#include <windows.h>

#include "tb97cmn_hook_rules.h"

namespace sorv::toolbar {

using THookProc = void (*)(THookProcType code, HWND window, WPARAM wParam, LPARAM lParam);

// Registering a registered callback again only counts it once more; each
// registration is undone by one UninstallHookProc. Exceptions thrown by a
// callback are dropped, and the other callbacks still run.
void InstallHookProc(THookProc proc, THookProcTypes kinds);
void UninstallHookProc(THookProc proc);
// Says that some callback has work for events of these kinds from now on
// (on) or no longer (off): the system hooks wait for it (see HookDemand).
void WantHooks(THookProcTypes kinds, bool on);

}  // namespace sorv::toolbar
