#pragma once
// Small daily bar sets for the tests, and control of the shared random source.

#include "platform/Random.h"
#include "series/TimeSeries.h"
#include "support/ScopedChange.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace tickforge::testing {

struct Bar {
    double CloseTime, Open, High, Low, Close, Volume;
};

// Five series in the bar set order. The other series get times a little before the
// close, so that a test can see which time a reader takes.
inline void FillDailyBars(TTimeSeriesSet& set, const std::vector<Bar>& bars)
{
    set.SetSeriesCount(DailyBarSeriesCount);
    set.SetLength(static_cast<std::int32_t>(bars.size()));
    for (std::int32_t i = 0; i < set.Length(); ++i) {
        const Bar& bar = bars[static_cast<std::size_t>(i)];
        const double t = bar.CloseTime;
        const std::pair<double, double> fields[] = {
            {t, bar.Close}, {t - 0.25, bar.Volume}, {t - 0.25, bar.Open}, {t - 0.125, bar.High}, {t - 0.0625, bar.Low}};
        for (std::int32_t s = 0; s < DailyBarSeriesCount; ++s) {
            set.SetTime(s, i, fields[s].first);
            set.SetValue(s, i, fields[s].second);
        }
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

// The seed after the given number of draws from seed.
inline std::uint32_t SeedAfter(std::uint32_t seed, long long draws)
{
    for (long long k = 0; k < draws; ++k)
        seed = RandomSource::Step(seed);
    return seed;
}

// Restores the shared random seed, and the real clock as its seed source, at the end.
inline Undo KeepSharedRandom()
{
    return Undo([seed = SharedRandom().Seed()] {
        SharedRandom().SetSeed(seed);
        SharedRandom().SetClockSeedSource({});
    });
}

}  // namespace tickforge::testing
