// The tick path as an observer of MakeHistory sees it: the same path the bars are made
// from, seen once, and not at all after an abort; watching changes no bar.

#include "synthesis/SynthesisFixture.h"

#include <vector>

using namespace tickforge;
using tickforge::testing::SynthesisTest;

namespace {

using TickPathObserver = SynthesisTest;

TEST_F(TickPathObserver, SeesEveryTickOnceAndTheBarsComeFromThem)
{
    request.TicksPerDay = 8;
    request.NumberOfDays = 5;
    request.SkipWeekends = false;
    int calls = 0;
    std::vector<TickPoint> ticks;
    MakeHistory(request, sink, bars, [&](const TickPathView& view) {
        ++calls;
        ticks.assign(view.Points, view.Points + view.Count);
    });
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(ticks.size(), 40u);
    ASSERT_EQ(bars.Length(), 5);
    EXPECT_EQ(ticks[0].Value, 3000.0);
    EXPECT_EQ(ticks[0].Time, request.StartDate);
    for (int d = 0; d < 5; ++d) {
        // The open is the tick a quarter into the day (8 div 4 = 2), the close the last.
        const TickPoint& open = ticks[static_cast<std::size_t>(d * 8 + 2)];
        const TickPoint& close = ticks[static_cast<std::size_t>(d * 8 + 7)];
        EXPECT_EQ(bars.GetValue(SeriesOpen, d), open.Value);
        EXPECT_EQ(bars.GetTime(SeriesOpen, d), open.Time);
        EXPECT_EQ(bars.GetValue(SeriesClose, d), close.Value);
        EXPECT_EQ(bars.GetTime(SeriesClose, d), close.Time);
    }
}

TEST_F(TickPathObserver, WatchingChangesNeitherTheBarsNorTheRandomSequence)
{
    request.ShockMagnitude = 3.0;
    request.ShockDaysPerEvent = 2.0;
    Run();
    const std::uint32_t seedAfterPlain = SharedRandom().Seed();
    std::vector<double> plain;
    for (int s = 0; s < DailyBarSeriesCount; ++s)
        for (int b = 0; b < bars.Length(); ++b)
            plain.push_back(bars.GetValue(s, b));

    MakeHistory(request, sink, bars, [](const TickPathView&) {});
    EXPECT_EQ(SharedRandom().Seed(), seedAfterPlain);
    std::vector<double> watched;
    for (int s = 0; s < DailyBarSeriesCount; ++s)
        for (int b = 0; b < bars.Length(); ++b)
            watched.push_back(bars.GetValue(s, b));
    EXPECT_EQ(watched, plain);
}

TEST_F(TickPathObserver, IsNotCalledAfterAnAbort)
{
    RequestAbort();
    int calls = 0;
    MakeHistory(request, sink, bars, [&](const TickPathView&) { ++calls; });
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_FALSE(AbortRequested());
}

TEST_F(TickPathObserver, AnErrorItRaisesEndsTheRun)
{
    EXPECT_ERROR_MESSAGE(MakeHistory(request, sink, bars, [](const TickPathView&) { throw Error("disk full"); }),
                         "disk full");
}

}  // namespace
