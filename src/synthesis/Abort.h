#pragma once
// The process-wide abort flag. The progress window's Abort button sets it; synthesis
// polls it and clears it when it ends an aborted run. Atomic so that a signal handler
// may set it too.

#include <atomic>

namespace tickforge {

namespace detail {
inline std::atomic<bool> abortRequested{false};
}

inline bool AbortRequested() { return detail::abortRequested.load(std::memory_order_relaxed); }
inline void RequestAbort() { detail::abortRequested.store(true, std::memory_order_relaxed); }
inline void ClearAbortRequest() { detail::abortRequested.store(false, std::memory_order_relaxed); }

}  // namespace tickforge
