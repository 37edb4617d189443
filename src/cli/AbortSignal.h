#pragma once
// Ctrl+C (SIGINT) or SIGTERM during a run asks synthesis to stop, as the progress
// window's Abort button does; a second signal ends the program at once.

namespace tickforge::cli {

void InstallAbortSignal();
// True once a signal has requested an abort.
bool Interrupted();
// The exit status that reports the signal: 128 + its number (130 for Ctrl+C).
int InterruptedExitStatus();

}  // namespace tickforge::cli
