// What synthesis reports while it works, and how an abort ends it at any moment.

#include "synthesis/SynthesisFixture.h"

#include <algorithm>

using namespace tickforge;
using tickforge::testing::SynthesisTest;

namespace {

using ProgressAndAbort = SynthesisTest;

TEST_F(ProgressAndAbort, CaptionsAndAGaugeThatOnlyRises)
{
    request.NumberOfDays = 30;
    Run();
    EXPECT_EQ(sink.activities, (std::vector<std::string>{"Making History...", "Compressing..."}));
    ASSERT_FALSE(sink.gaugeHistory.empty());
    EXPECT_EQ(sink.gaugeHistory.front(), 0);
    EXPECT_TRUE(std::is_sorted(sink.gaugeHistory.begin(), sink.gaugeHistory.end()));
    EXPECT_EQ(std::adjacent_find(sink.gaugeHistory.begin(), sink.gaugeHistory.end()), sink.gaugeHistory.end());
    EXPECT_LE(sink.gaugeHistory.size(), 100u);
    EXPECT_EQ(sink.gaugeHistory.back(), 50 * 29 / 30 + 50);
    EXPECT_TRUE(std::find(sink.gaugeHistory.begin(), sink.gaugeHistory.end(), 49) != sink.gaugeHistory.end());
    // One pump per tick and one per day.
    EXPECT_EQ(sink.pumps, 30LL * 1000 + 30);
}

TEST_F(ProgressAndAbort, AnAbortAtAnyMomentLeavesFiveEmptySeriesAndClearsTheFlag)
{
    request.NumberOfDays = 5;
    const long long ticks = 5LL * 1000;
    for (long long pump : {1LL, 2LL, 777LL, ticks, ticks + 1, ticks + 3, ticks + 5}) {
        sink = {};
        sink.AbortAtPump(pump);
        Run();
        EXPECT_EQ(bars.SeriesCount(), 5) << "abort at pump " << pump;
        EXPECT_EQ(bars.Length(), 0) << "abort at pump " << pump;
        EXPECT_FALSE(AbortRequested());
        // The compression phase still announces itself, then stops at its first test.
        EXPECT_EQ(sink.activities.back(), "Compressing...");
    }
}

TEST_F(ProgressAndAbort, AnAbortStopsTheTicksAtOnce)
{
    request.NumberOfDays = 5;
    sink.AbortAtPump(100);
    Run();
    // No further tick pumps after the abort; the compression phase pumps nothing either.
    EXPECT_EQ(sink.pumps, 100);
}

TEST_F(ProgressAndAbort, AFlagLeftSetBeforeARunEndsItAtTheFirstTest)
{
    RequestAbort();
    Run();
    EXPECT_EQ(bars.SeriesCount(), 5);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_FALSE(AbortRequested());
    EXPECT_EQ(sink.pumps, 0);
    // The run re-seeded but drew nothing.
    EXPECT_EQ(SharedRandom().Seed(), tickforge::testing::ClockSeed);
}

TEST_F(ProgressAndAbort, AQuietSinkPumpsOnlyEveryStrideCalls)
{
    // The stride lets a sink pump real events every few thousand ticks at the cost of a
    // countdown per tick.
    class StrideSink : public ProgressSink {
    public:
        StrideSink() : ProgressSink(1000) {}
        void SetActivity(const std::string&) override {}
        int GaugePosition() const override { return gauge; }
        void SetGaugePosition(int p) override { gauge = p; }
        int gauge = 0;
        int pumps = 0;

    protected:
        void Pump() override { ++pumps; }
    } strideSink;
    request.NumberOfDays = 10;
    request.SkipWeekends = true;
    MakeHistory(request, strideSink, bars);
    EXPECT_EQ(strideSink.pumps, (10 * 1000 + 10) / 1000);
    EXPECT_EQ(bars.Length(), 8);  // weekends dropped from a Monday start
}

}  // namespace
