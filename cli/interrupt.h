#pragma once
// Ctrl+C while sorv-cli runs: the first one asks the running split or join to
// stop (as Escape answered Yes does in the window); a second one ends the
// program as usual.
namespace sorv {

void InstallInterruptHandler();

// Records an interrupt (what the handler does; safe in a signal handler).
void NoteInterrupt();

// True once for each recorded interrupt: the caller takes it.
bool TakeInterrupt();

}  // namespace sorv
