// What synthesis reports while it works, and how an abort ends it at any moment.

#include "synthesis/SynthesisFixture.h"

#include <algorithm>
#include <functional>

using namespace tickforge;
using tickforge::testing::ClockSeed;
using tickforge::testing::SynthesisTest;

namespace {

using ProgressAndAbort = SynthesisTest;

// Draws taken from the shared source since it held seed.
long long DrawsSince(std::uint32_t seed)
{
    long long draws = 0;
    for (; seed != SharedRandom().Seed(); ++draws)
        seed = RandomSource::Step(seed);
    return draws;
}

TEST_F(ProgressAndAbort, CaptionsAGaugeThatOnlyRisesAndAPumpAtLeastEveryStride)
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
    EXPECT_GE(sink.pumps, 30LL * 1000 / PollStride + 1);
}

TEST_F(ProgressAndAbort, AnAbortAtAnyMomentIsHonouredWithinAStrideOfTicksAndLeavesFiveEmptySeries)
{
    request.NumberOfDays = 40;  // 40,000 ticks: about ten strides
    request.ShockDaysPerEvent = 1e12;  // two draws a tick
    Run();
    const std::vector<int> fullGauge = sink.gaugeHistory;
    const long long pumpsOfARun = sink.pumps;
    for (long long pump : {1LL, 2LL, pumpsOfARun - 1, pumpsOfARun}) {
        SCOPED_TRACE(pump);
        sink = {};
        sink.onPump = [&] {
            if (sink.pumps == pump)
                RequestAbort();
        };
        Run();
        EXPECT_EQ(sink.pumps, pump);  // nothing is pumped after the abort
        EXPECT_LE(DrawsSince(ClockSeed) / 2, pump * PollStride);
        EXPECT_EQ(bars.SeriesCount(), 5);
        EXPECT_EQ(bars.Length(), 0);
        EXPECT_FALSE(AbortRequested());
        // The second half still announces itself, then stops at its first test.
        EXPECT_EQ(sink.activities.back(), "Compressing...");
        EXPECT_TRUE(std::equal(sink.gaugeHistory.begin(), sink.gaugeHistory.end(), fullGauge.begin()));
    }
    // An abort that arrives between two pumps, as a signal does, is honoured as soon.
    sink = {};
    MakeHistory(request, sink, bars, [](const TickPathView&) { RequestAbort(); });
    EXPECT_LE(DrawsSince(ClockSeed) / 2, 2 * PollStride);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_FALSE(AbortRequested());
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
    EXPECT_EQ(observed, 0);
    EXPECT_EQ(SharedRandom().Seed(), ClockSeed);  // re-seeded, nothing drawn
}

}  // namespace
