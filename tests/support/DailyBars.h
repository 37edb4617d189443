#pragma once
// Builds small daily bar sets for the tests, and keeps the shared random source's
// state from leaking between tests.

#include "platform/Random.h"
#include "series/TimeSeries.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tickforge::testing {

struct Bar {
    double CloseTime = 0.0;
    double Open = 0.0;
    double High = 0.0;
    double Low = 0.0;
    double Close = 0.0;
    double Volume = 0.0;
};

// Five series in the bar set order. The other series get times of their own, a little
// before the close, so that a test can see which time a reader takes.
inline void FillDailyBars(TTimeSeriesSet& set, const std::vector<Bar>& bars)
{
    set.SetSeriesCount(DailyBarSeriesCount);
    set.SetLength(static_cast<std::int32_t>(bars.size()));
    for (std::int32_t i = 0; i < set.Length(); ++i) {
        const Bar& bar = bars[static_cast<std::size_t>(i)];
        set.SetValue(SeriesClose, i, bar.Close);
        set.SetTime(SeriesClose, i, bar.CloseTime);
        set.SetValue(SeriesVolume, i, bar.Volume);
        set.SetTime(SeriesVolume, i, bar.CloseTime - 0.25);
        set.SetValue(SeriesOpen, i, bar.Open);
        set.SetTime(SeriesOpen, i, bar.CloseTime - 0.25);
        set.SetValue(SeriesHigh, i, bar.High);
        set.SetTime(SeriesHigh, i, bar.CloseTime - 0.125);
        set.SetValue(SeriesLow, i, bar.Low);
        set.SetTime(SeriesLow, i, bar.CloseTime - 0.0625);
    }
}

// n bars whose five values all differ, within and across bars.
inline std::vector<Bar> DistinctBars(std::int32_t n)
{
    std::vector<Bar> bars;
    for (std::int32_t i = 0; i < n; ++i) {
        const double base = 1000.0 + 10.0 * i;
        bars.push_back({45293.0 + i + 0.6, base + 1.0, base + 4.0, base - 3.0, base + 2.0, 5000.0 + 7.0 * i});
    }
    return bars;
}

// Saves the shared random seed and restores it, with the real clock, at the end.
class SharedRandomGuard {
public:
    SharedRandomGuard() : saved_(SharedRandom().Seed()) {}
    ~SharedRandomGuard()
    {
        SharedRandom().SetSeed(saved_);
        SharedRandom().SetClockSeedSource({});
    }
    SharedRandomGuard(const SharedRandomGuard&) = delete;
    SharedRandomGuard& operator=(const SharedRandomGuard&) = delete;

private:
    std::uint32_t saved_;
};

}  // namespace tickforge::testing
