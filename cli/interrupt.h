#pragma once
// Ctrl+C while sorv-cli runs: the first one asks the running split or join to
// stop (as Escape answered Yes does in the window); a second one removes the
// join's partial file and ends the program as usual. On POSIX, SIGTERM and
// SIGHUP are taken the same way, and so is a closed output pipe (SIGPIPE),
// which only ever asks for the stop: it comes again with every write.
namespace sorv {

void InstallInterruptHandler();

// What the handler does with each interrupt; true when the program must end
// now (the partial files are gone by then). Safe in a signal handler.
bool HandleInterrupt();

// Records an interrupt (safe in a signal handler).
void NoteInterrupt();

// True once for each recorded interrupt: the caller takes it. Once the
// program was told to end (SIGTERM, SIGHUP, SIGPIPE), true every time.
bool TakeInterrupt();

// True once a signal told the program to end (SIGTERM, SIGHUP, SIGPIPE):
// the run stops and the process ends by it.
bool EndingBySignal();

#ifndef _WIN32
// After a run that SIGTERM, SIGHUP or SIGPIPE stopped: ends the process by
// that signal, as it would have ended without the clean-up, so that its
// caller sees why. Returns when no such signal came.
void EndByTerminationSignal();
#endif

}  // namespace sorv
