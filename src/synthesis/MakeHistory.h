#pragma once
// History synthesis: simulates every tick of every calendar day as a multiplicative
// random walk and condenses each day into an open-high-low-close bar with a volume as
// soon as its ticks are made, so a run needs the same memory for any number of ticks.

#include "series/TimeSeries.h"
#include "synthesis/HistoryRequest.h"
#include "synthesis/ProgressSink.h"

#include <cstdint>
#include <functional>

namespace tickforge {

namespace messages {
inline constexpr const char* MakingHistory = "Making History...";
inline constexpr const char* Compressing = "Compressing...";
inline constexpr const char* NoMoveInsideBounds = "No price move stays inside the price bounds";
}  // namespace messages

// Ticks between two abort tests and message pumps: a few microseconds of work.
inline constexpr std::int64_t PollStride = 4096;
// Consecutive rejected attempts of one tick between two message pumps and abort tests,
// and the number after which the tick is given up.
inline constexpr std::uint32_t RedrawPumpInterval = 65536;
inline constexpr std::uint32_t RedrawLimit = 100000000;

// Re-seeds the shared random source from the clock, then fills result with five
// series (close, volume, open, high, low) holding one bar per kept day. After an
// abort the five series are empty and the abort request is cleared. Errors are raised
// as tickforge::Error with the user's message. Returns false after an abort.
bool MakeHistory(const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result);

// One sample of the tick path: the price before the tick's move, and the tick's time.
struct TickPoint {
    double Time;
    double Value;
};

// Consecutive ticks of the path, in order; valid only during the observer's call.
struct TickPathView {
    const TickPoint* Points = nullptr;
    std::int64_t Count = 0;
};
using TickPathObserver = std::function<void(const TickPathView&)>;

// The same; observeTicks, when set, receives the tick path in order, at most PollStride
// ticks at a time, while the ticks are made. An abort stops the delivery part way. What
// it raises ends the run as an error of the ticks does.
bool MakeHistory(const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result,
                 const TickPathObserver& observeTicks);

}  // namespace tickforge
