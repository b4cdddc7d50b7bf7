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
// The first signal that tells the program to end, not merely to stop (0: none).
std::atomic<int> endingSignal{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "set from a signal handler");

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    // FALSE passes it on to the default handler, which ends the process.
    return HandleInterrupt() ? FALSE : TRUE;
}
#else
constexpr int kHandledSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

void EndBy(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void OnInterruptSignal(int signal) {
    if (signal != SIGINT) {
        int none = 0;
        endingSignal.compare_exchange_strong(none, signal);
    }
    if (signal == SIGPIPE) {
        NoteInterrupt();
        return;
    }
    // Ended by the signal itself, as the caller expects (delivered when the
    // handler returns).
    if (HandleInterrupt()) EndBy(signal);
}
#endif

}  // namespace

void InstallInterruptHandler() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = OnInterruptSignal;
    // One handler at a time: the clean-up is not run twice at once.
    sigemptyset(&action.sa_mask);
    for (const int signal : kHandledSignals) sigaddset(&action.sa_mask, signal);
    // No SA_RESTART: a question waiting on the terminal is interrupted too.
    action.sa_flags = 0;
    // A write past the file-size limit (`ulimit -f`) then fails, and is said,
    // instead of ending the program with its partial file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    for (const int signal : kHandledSignals) {
        struct sigaction inherited {};
        sigaction(signal, nullptr, &inherited);
        // Ignored by whoever started the program (nohup, a background job):
        // it stays ignored.
        if (inherited.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
    }
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

bool TakeInterrupt() { return pending.exchange(false) || EndingBySignal(); }

bool EndingBySignal() { return endingSignal.load() != 0; }

#ifndef _WIN32
void EndByTerminationSignal() {
    if (const int signal = endingSignal.load()) EndBy(signal);
}
#endif

}  // namespace sorv
