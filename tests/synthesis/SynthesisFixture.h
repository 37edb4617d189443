#pragma once
// Shared set-up for synthesis tests: a fixed clock seed so that every run is
// reproducible, and a plain request to vary (ten days from a Monday, weekends kept).

#include "platform/DateTime.h"
#include "platform/Random.h"
#include "series/TimeSeries.h"
#include "support/DailyBars.h"
#include "support/RecordingSink.h"
#include "support/TestHelpers.h"
#include "synthesis/Abort.h"
#include "synthesis/MakeHistory.h"

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
        request = {};
        request.Name = "Synth";
        request.SeedPrice = 3000.0;
        request.StartDate = EncodeDate({2024, 1, 1});  // a Monday
        request.MaxVolume = 1000.0;
        request.MaxPrice = 5000.0;
        Shape(1000, 10, 0.01 / std::sqrt(1000.0));
    }
    void TearDown() override { ClearAbortRequest(); }

    void Shape(std::int32_t ticksPerDay, std::int32_t days, double tickVolatility)
    {
        request.TicksPerDay = ticksPerDay;
        request.NumberOfDays = days;
        request.TickVolatility = tickVolatility;
    }
    void Run() { MakeHistory(request, sink, bars); }
    double Value(std::int32_t s, std::int32_t b) const { return bars.GetValue(s, b); }

    SharedRandomGuard guard;
    HistoryRequest request;
    RecordingSink sink;
    TTimeSeriesSet bars;
};

}  // namespace tickforge::testing
