// What synthesis reports while it works, and how an abort ends it at any moment.

#include "synthesis/SynthesisFixture.h"

#include <algorithm>
#include <functional>

using namespace tickforge;
using tickforge::testing::SynthesisTest;

namespace {

using ProgressAndAbort = SynthesisTest;

TEST_F(ProgressAndAbort, CaptionsAPumpPerTickAndPerDayAndAGaugeThatOnlyRises)
{
    request.NumberOfDays = 30;
    Run();
    EXPECT_EQ(sink.activities, (std::vector<std::string>{"Making History...", "Compressing..."}));
    const auto& gauge = sink.gaugeHistory;
    ASSERT_FALSE(gauge.empty());
    EXPECT_EQ(gauge.front(), 0);
    // Set only when it rises: strictly increasing.
    EXPECT_EQ(std::adjacent_find(gauge.begin(), gauge.end(), std::greater_equal<>()), gauge.end());
    EXPECT_EQ(gauge.back(), 98);  // the last day of 30 in the second half
    EXPECT_EQ(sink.pumps, 30LL * 1000 + 30);
}

TEST_F(ProgressAndAbort, AnAbortAtAnyMomentStopsAtOnceLeavesFiveEmptySeriesAndClearsTheFlag)
{
    request.NumberOfDays = 5;
    const long long ticks = 5LL * 1000;
    for (long long pump : {1LL, ticks, ticks + 1, ticks + 5}) {
        SCOPED_TRACE(pump);
        sink = {};
        sink.onPump = [&] {
            if (sink.pumps == pump)
                RequestAbort();
        };
        Run();
        EXPECT_EQ(sink.pumps, pump);  // nothing is pumped after the abort
        EXPECT_EQ(bars.SeriesCount(), 5);
        EXPECT_EQ(bars.Length(), 0);
        EXPECT_FALSE(AbortRequested());
        // The compression phase still announces itself, then stops at its first test.
        EXPECT_EQ(sink.activities.back(), "Compressing...");
    }
}

TEST_F(ProgressAndAbort, AFlagLeftSetBeforeARunEndsItAtTheFirstTest)
{
    RequestAbort();
    int observed = 0;
    MakeHistory(request, sink, bars, [&](const TickPathView&) { ++observed; });
    EXPECT_EQ(bars.SeriesCount(), 5);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_FALSE(AbortRequested());
    EXPECT_EQ(sink.pumps, 0);
    EXPECT_EQ(observed, 0);  // an aborted path is not shown
    EXPECT_EQ(SharedRandom().Seed(), tickforge::testing::ClockSeed);  // re-seeded, nothing drawn
}

TEST_F(ProgressAndAbort, AQuietSinkPumpsOnlyEveryStrideCalls)
{
    struct StrideSink : ProgressSink {
        StrideSink() : ProgressSink(1000) {}
        void SetActivity(const std::string&) override {}
        int GaugePosition() const override { return 0; }
        void SetGaugePosition(int) override {}
        void Pump() override { ++pumps; }
        int pumps = 0;
    } strideSink;
    request.SkipWeekends = true;
    MakeHistory(request, strideSink, bars);
    EXPECT_EQ(strideSink.pumps, (10 * 1000 + 10) / 1000);
    EXPECT_EQ(bars.Length(), 8);  // weekends dropped from a Monday start
}

}  // namespace
