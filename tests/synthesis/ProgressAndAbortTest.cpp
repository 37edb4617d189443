// How often synthesis pumps messages, and how an abort ends it at any moment, also while
// a price on a hard bound is redrawn. Captions and gauge are checked against the
// two-phase engine.

#include "synthesis/SynthesisFixture.h"

#include <algorithm>

using namespace tickforge;
using tickforge::testing::ClockSeed;
using tickforge::testing::SeedAfter;
using tickforge::testing::SynthesisTest;

namespace {

using ProgressAndAbort = SynthesisTest;

TEST_F(ProgressAndAbort, AnAbortAtAnyPumpOrLeftSetBeforeTheRunEndsItThereWithFiveEmptySeries)
{
    request.NumberOfDays = 40;         // 40,000 ticks: a pump every stride of ticks...
    request.ShockDaysPerEvent = 1e12;  // (two draws a tick)
    std::vector<std::string> pumpedWhile;
    sink.onPump = [&] { pumpedWhile.push_back(sink.Activity()); };
    Run();
    EXPECT_EQ(std::count(pumpedWhile.begin(), pumpedWhile.end(), "Making History..."), 10);
    EXPECT_EQ(std::count(pumpedWhile.begin(), pumpedWhile.end(), "Compressing..."), 1);  // ... and of days
    const std::vector<int> fullGauge = sink.gaugeHistory;

    for (long long pump : {0LL, 1LL, 2LL, 10LL, 11LL}) {
        SCOPED_TRACE(pump);
        sink = {};
        if (pump == 0)
            RequestAbort();
        sink.onPump = [&] {
            if (sink.pumps == pump)
                RequestAbort();
        };
        long long watched = 0;
        EXPECT_FALSE(MakeHistory(request, sink, bars, [&](const TickPathView& view) { watched += view.Count; }));
        EXPECT_EQ(sink.pumps, pump);
        // Every tick made before the pump, and not one more, was drawn and delivered.
        EXPECT_EQ(watched, std::min(std::max(pump - 1, 0LL) * PollStride, 40000LL));
        EXPECT_EQ(SharedRandom().Seed(), SeedAfter(ClockSeed, 2 * watched));
        EXPECT_EQ(bars.SeriesCount(), 5);
        EXPECT_EQ(bars.Length(), 0);
        EXPECT_FALSE(AbortRequested());
        // The second half still announces itself, then stops at its first test.
        EXPECT_EQ(sink.activities.back(), "Compressing...");
        EXPECT_TRUE(std::equal(sink.gaugeHistory.begin(), sink.gaugeHistory.end(), fullGauge.begin()));
    }
}

TEST_F(ProgressAndAbort, ASinkWhoseGaugeStaysPutStillGetsTheWholeRun)
{
    struct StuckGauge : tickforge::testing::RecordingSink {
        int GaugePosition() const override { return 0; }
    } stuck;
    Run();
    const double lastClose = Value(SeriesClose, 9);
    const std::uint32_t seed = SharedRandom().Seed();
    EXPECT_TRUE(MakeHistory(request, stuck, bars));
    EXPECT_EQ(Value(SeriesClose, 9), lastClose);
    EXPECT_EQ(SharedRandom().Seed(), seed);
}

// Without volatility every attempt of a tick draws the same candidate: the price moved by
// the drift, which with one tick a day is the daily factor.
double FirstMove(double biasPercent) { return std::pow(1.0 + biasPercent / 100.0, 1.0 / 365.0) * 3000.0; }

TEST_F(ProgressAndAbort, APriceOnAHardBoundIsRefusedUntilAnErrorOrAnAbortEndsTheRedraws)
{
    Shape(1, 1, 0.0);
    request.BiasPercentPerYear = 1e6;
    request.MaxBoundActive = true;
    request.MaxPrice = FirstMove(1e6);
    EXPECT_ERROR_MESSAGE(Run(), "No price move stays inside the price bounds");
    // The redraws pumped messages every 65,536 attempts on the way...
    EXPECT_GE(sink.pumps, static_cast<long long>(RedrawLimit / RedrawPumpInterval));
    // ... so that Abort still works, ending the run like any abort.
    request.BiasPercentPerYear = -50.0;
    request.MaxBoundActive = false;
    request.MinBoundActive = true;
    request.MinPrice = FirstMove(-50.0);
    sink = {};
    sink.onPump = [this] {
        if (sink.pumps == 10)
            RequestAbort();
    };
    EXPECT_FALSE(MakeHistory(request, sink, bars));
    EXPECT_EQ(sink.pumps, 10);
    EXPECT_EQ(bars.SeriesCount(), 5);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_FALSE(AbortRequested());
}

}  // namespace
