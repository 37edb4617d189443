// What the tick path means, checked by hand: the yearly bias, a bound that the price may
// never touch, and tick times on both sides of day zero. The rest of the path is checked
// against the two-phase engine.

#include "synthesis/SynthesisFixture.h"

using namespace tickforge;
using tickforge::testing::SynthesisTest;

namespace {

using TickPath = SynthesisTest;

TEST_F(TickPath, BiasCompoundsToTheYearlyRateOverThreeHundredSixtyFiveDays)
{
    Shape(1000, 366, 0.0);
    request.BiasPercentPerYear = 4.5;
    Run();
    // The open of day 365 comes 365 * 1000 ticks after the open of day 0.
    EXPECT_NEAR(Value(SeriesOpen, 365) / Value(SeriesOpen, 0), 1.045, 1e-9);
}

// Without volatility every attempt of a tick draws the same candidate: the price moved by
// the drift, which with one tick a day is the daily factor.
double FirstMove(double biasPercent) { return std::pow(1.0 + biasPercent / 100.0, 1.0 / 365.0) * 3000.0; }

TEST_F(TickPath, APriceOnAHardBoundIsRefusedUntilAnErrorOrAnAbortEndsTheRedraws)
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
    sink.onPump = [this] {
        if (sink.pumps == 10)
            RequestAbort();
    };
    sink.pumps = 0;
    EXPECT_FALSE(MakeHistory(request, sink, bars));
    EXPECT_EQ(sink.pumps, 10);
    EXPECT_EQ(bars.SeriesCount(), 5);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_FALSE(AbortRequested());
}

TEST_F(TickPath, TickTimesCountBackwardsFromTheWholeDayBeforeDayZero)
{
    // Wednesday 27 to Sunday 31 December 1899 from the middle of a day, four ticks a day:
    // each day's ticks stay on that day, Friday the last weekday.
    request.StartDate = EncodeDate({1899, 12, 27}) - 0.5;
    request.SkipWeekends = true;
    Shape(4, 5, 0.0);
    Run();
    ASSERT_EQ(bars.Length(), 3);
    EXPECT_EQ(Time(SeriesOpen, 0), -3.25);  // tick 1 of 4
    EXPECT_EQ(Time(SeriesClose, 2), -1.75);  // tick 3 of 4
    EXPECT_EQ(DecodeDate(Time(SeriesClose, 2)), (CivilDate{1899, 12, 29}));
}

}  // namespace
