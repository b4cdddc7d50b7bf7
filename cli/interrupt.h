#pragma once
// Ctrl+C while sorv-cli runs: the first one asks the running split or join to
// stop (as Escape answered Yes does in the window); a second one removes the
// join's partial file and ends the program as usual.
namespace sorv {

void InstallInterruptHandler();

// What the handler does with each interrupt; true when the program must end
// now (the partial files are gone by then). Safe in a signal handler.
bool HandleInterrupt();

// Records an interrupt (safe in a signal handler).
void NoteInterrupt();

// True once for each recorded interrupt: the caller takes it.
bool TakeInterrupt();

}  // namespace sorv
