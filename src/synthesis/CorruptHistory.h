#pragma once
// Dirty data: spoils a share of the bars of a daily bar set the way bad market data
// looks (one field overwritten by another of the same bar, or the volume zeroed or
// cut to a tenth). Draws from the shared random source without re-seeding it.

#include "series/TimeSeries.h"

#include <cstdint>
#include <vector>

namespace tickforge {

// The kinds of corruption, numbered as the random draw picks them.
enum CorruptionKind : std::int32_t {
    CorruptNothing = 0,        // picked, but the bar stays clean
    CorruptOpenFromClose = 1,  // open := close
    CorruptCloseFromOpen = 2,  // close := open
    CorruptHighFromLow = 3,    // high := low
    CorruptLowFromHigh = 4,    // low := high
    CorruptVolumeZero = 5,     // volume := 0
    CorruptVolumeTenth = 6,    // volume := volume / 10
    CorruptionKindCount = 7
};

// One value that a corruption overwrote.
struct Corruption {
    std::int32_t Bar = 0;
    CorruptionKind Kind = CorruptNothing;
    std::int32_t Series = 0;  // the bar set index of the changed field
    double Before = 0.0;
    double After = 0.0;
};

// For every bar in order: draws n in [0, 100); when n < percentage, draws a kind in
// [0, 7) and applies it. Only values change, never times or the length. A set without
// series fails with "List index out of bounds (0)".
void CorruptHistory(TTimeSeriesSet& bars, double percentage);

// The same, and appends to applied every value changed (kind 0 changes none), in bar
// order. The random draws are the same as those of the plain call.
void CorruptHistory(TTimeSeriesSet& bars, double percentage, std::vector<Corruption>& applied);

}  // namespace tickforge
