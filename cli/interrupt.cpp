#include "interrupt.h"

#include <atomic>

#include "file_system.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace sorv {

namespace {

std::atomic<bool> pending{false};
std::atomic<int> interrupts{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "set from a signal handler");

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    // FALSE passes it on to the default handler, which ends the process.
    return HandleInterrupt() ? FALSE : TRUE;
}
#else
extern "C" void OnInterruptSignal(int) {
    if (!HandleInterrupt()) return;
    // Ended by the signal itself, as the caller expects of a Ctrl+C.
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
}
#endif

}  // namespace

void InstallInterruptHandler() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = OnInterruptSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a question waiting on the terminal is interrupted too.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
#endif
}

bool HandleInterrupt() {
    if (interrupts.fetch_add(1) == 0) {
        NoteInterrupt();
        return false;
    }
    RemoveTemporaryFilesNow();
    return true;
}

void NoteInterrupt() { pending.store(true); }

bool TakeInterrupt() { return pending.exchange(false); }

}  // namespace sorv
