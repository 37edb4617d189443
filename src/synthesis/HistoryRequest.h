#pragma once
// Every value one generation run passes to synthesis.

#include <cstdint>
#include <string>

namespace tickforge {

struct HistoryRequest {
    std::string Name;                 // name given to the result set
    double SeedPrice = 0.0;           // price of the first tick
    std::int32_t TicksPerDay = 1;     // T, at least 1
    std::int32_t NumberOfDays = 0;    // N, calendar days, weekends included
    double StartDate = 0.0;           // first day; only its whole-day part is used
    bool SoftBounds = false;          // steps shrink near the bounds before the hard test
    bool MinBoundActive = false;
    bool MaxBoundActive = false;
    double MinVolume = 0.0;           // offset of the volume model
    double MaxVolume = 0.0;           // scale of the volume model, not a cap
    double MinPrice = 0.0;
    double MaxPrice = 0.0;
    double BiasPercentPerYear = 0.0;  // 0 when bias is off
    double ShockDaysPerEvent = 100.0; // mean days between shock events
    double ShockMagnitude = 1.0;      // upper limit of the shock multiplier; 1 when shocks are off
    double TickVolatility = 0.0;      // daily volatility / 100 / sqrt(T)
    bool SkipWeekends = false;        // drop the bars of Saturdays and Sundays
};

}  // namespace tickforge
