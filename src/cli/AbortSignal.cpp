#include "cli/AbortSignal.h"

#include "synthesis/Abort.h"

#include <atomic>
#include <csignal>

namespace tickforge::cli {

namespace {

std::atomic<int> caughtSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnInterrupt(int signalNumber)
{
    caughtSignal.store(signalNumber, std::memory_order_relaxed);
    RequestAbort();
    // The next signal takes the default way out.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

}  // namespace

void InstallAbortSignal()
{
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    // A closed standard output is an ordinary write error, reported as such.
    std::signal(SIGPIPE, SIG_IGN);
}

bool Interrupted() { return caughtSignal.load(std::memory_order_relaxed) != 0; }

int InterruptedExitStatus()
{
    const int signalNumber = caughtSignal.load(std::memory_order_relaxed);
    return 128 + (signalNumber != 0 ? signalNumber : SIGINT);
}

}  // namespace tickforge::cli
