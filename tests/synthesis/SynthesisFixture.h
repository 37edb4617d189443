#pragma once
// Shared set-up for synthesis tests: a fixed clock seed so every run is reproducible,
// and a plain request to vary.

#include "platform/DateTime.h"
#include "platform/Random.h"
#include "series/TimeSeries.h"
#include "support/RecordingSink.h"
#include "support/TestHelpers.h"
#include "synthesis/Abort.h"
#include "synthesis/MakeHistory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace tickforge::testing {

inline constexpr std::uint32_t ClockSeed = 12345u;

class SynthesisTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedRandom().SetClockSeedSource([] { return ClockSeed; });
        ClearAbortRequest();
        request.Name = "Synth";
        request.SeedPrice = 3000.0;
        request.TicksPerDay = 1000;
        request.NumberOfDays = 10;
        request.StartDate = EncodeDate({2024, 1, 1});  // a Monday
        request.MinVolume = 0.0;
        request.MaxVolume = 1000.0;
        request.MinPrice = 0.0;
        request.MaxPrice = 5000.0;
        request.ShockDaysPerEvent = 100.0;
        request.ShockMagnitude = 1.0;
        request.TickVolatility = 0.01 / std::sqrt(1000.0);
    }
    void TearDown() override
    {
        SharedRandom().SetClockSeedSource({});
        ClearAbortRequest();
    }

    void Run() { MakeHistory(request, sink, bars); }

    // The seed after n draws from the clock seed.
    static std::uint32_t SeedAfter(long long draws)
    {
        std::uint32_t seed = ClockSeed;
        for (long long k = 0; k < draws; ++k)
            seed = RandomSource::Step(seed);
        return seed;
    }

    HistoryRequest request;
    RecordingSink sink;
    TTimeSeriesSet bars;
};

}  // namespace tickforge::testing
