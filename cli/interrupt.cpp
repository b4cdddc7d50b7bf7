#include "interrupt.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace sorv {

namespace {

std::atomic<bool> pending{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

#ifdef _WIN32
std::atomic<bool> seen{false};

BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    // FALSE passes the second one on to the default handler, which ends the process.
    if (seen.exchange(true)) return FALSE;
    NoteInterrupt();
    return TRUE;
}
#else
extern "C" void OnInterruptSignal(int) { NoteInterrupt(); }
#endif

}  // namespace

void InstallInterruptHandler() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = OnInterruptSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND puts the default back for the second Ctrl+C. No
    // SA_RESTART: a question waiting on the terminal is interrupted too.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
#endif
}

void NoteInterrupt() { pending.store(true); }

bool TakeInterrupt() { return pending.exchange(false); }

}  // namespace sorv
