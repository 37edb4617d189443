#pragma once
// Ctrl+C during a run asks synthesis to stop, as the progress window's Abort button
// does; a second Ctrl+C ends the program at once.

namespace tickforge::cli {

void InstallAbortSignal();
// True once an interrupt has requested an abort.
bool Interrupted();

}  // namespace tickforge::cli
