#include "cli/AbortSignal.h"

#include "synthesis/Abort.h"

#include <atomic>
#include <csignal>

namespace tickforge::cli {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnInterrupt(int)
{
    interrupted.store(true, std::memory_order_relaxed);
    RequestAbort();
    // The next interrupt takes the default way out.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

}  // namespace

void InstallAbortSignal()
{
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
}

bool Interrupted() { return interrupted.load(std::memory_order_relaxed); }

}  // namespace tickforge::cli
