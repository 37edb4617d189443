// Condensing the tick path into daily bars: which ticks make a bar, weekends, volume.

#include "synthesis/SynthesisFixture.h"

using namespace tickforge;
using tickforge::testing::SynthesisTest;

namespace {

using DailyBars = SynthesisTest;

TEST_F(DailyBars, OpenIsAQuarterIntoTheDayAndCloseItsLastTick)
{
    request.SkipWeekends = false;
    request.NumberOfDays = 3;
    Run();
    ASSERT_EQ(bars.SeriesCount(), 5);
    ASSERT_EQ(bars.Length(), 3);
    for (int b = 0; b < 3; ++b) {
        const double day = request.StartDate + b;
        EXPECT_DOUBLE_EQ(bars.GetTime(SeriesOpen, b), day + 250.0 / 1000.0);
        EXPECT_DOUBLE_EQ(bars.GetTime(SeriesClose, b), day + 999.0 / 1000.0);
        EXPECT_EQ(bars.GetTime(SeriesVolume, b), bars.GetTime(SeriesOpen, b));
        // High and low come from the open-to-close stretch and enclose both.
        const double open = bars.GetValue(SeriesOpen, b);
        const double close = bars.GetValue(SeriesClose, b);
        EXPECT_LE(bars.GetValue(SeriesLow, b), std::min(open, close));
        EXPECT_GE(bars.GetValue(SeriesHigh, b), std::max(open, close));
        for (int s : {SeriesHigh, SeriesLow}) {
            EXPECT_GE(bars.GetTime(s, b), bars.GetTime(SeriesOpen, b));
            EXPECT_LE(bars.GetTime(s, b), bars.GetTime(SeriesClose, b));
        }
    }
    EXPECT_EQ(bars.Name, "Synth");
}

TEST_F(DailyBars, WithOneTickADayEveryFieldIsThatTick)
{
    request.TicksPerDay = 1;
    request.TickVolatility = 0.01;
    request.SkipWeekends = false;
    request.MinVolume = 100.0;
    Run();
    for (int b = 0; b < bars.Length(); ++b) {
        for (int s : {SeriesHigh, SeriesLow, SeriesClose})
            EXPECT_EQ(bars.GetValue(s, b), bars.GetValue(SeriesOpen, b));
        EXPECT_EQ(bars.GetValue(SeriesVolume, b), 100.0);
    }
}

TEST_F(DailyBars, TheFirstQuarterOfTheDayIsNeverScanned)
{
    // A falling path: with four ticks a day, tick 0 of each day is higher than the open
    // (tick 1) but must not become the high.
    request.TicksPerDay = 4;
    request.TickVolatility = 0.0;
    request.BiasPercentPerYear = -50.0;
    request.SkipWeekends = false;
    Run();
    for (int b = 0; b < bars.Length(); ++b) {
        EXPECT_EQ(bars.GetValue(SeriesHigh, b), bars.GetValue(SeriesOpen, b));
        EXPECT_EQ(bars.GetTime(SeriesHigh, b), bars.GetTime(SeriesOpen, b));
        EXPECT_EQ(bars.GetValue(SeriesLow, b), bars.GetValue(SeriesClose, b));
    }
}

TEST_F(DailyBars, WeekendBarsAreDroppedButTheirTicksStillMoveThePrice)
{
    request.StartDate = EncodeDate({2024, 1, 6});  // a Saturday
    request.SkipWeekends = true;
    request.TickVolatility = 0.0;
    request.BiasPercentPerYear = 10.0;
    Run();
    ASSERT_EQ(bars.Length(), 6);  // Monday to Friday and the next Monday
    for (int b = 0; b < 6; ++b)
        EXPECT_FALSE(IsWeekend(bars.GetTime(SeriesClose, b)));
    EXPECT_EQ(DayOfWeek(bars.GetTime(SeriesClose, 0)), Weekday::Monday);
    EXPECT_EQ(WholeDays(bars.GetTime(SeriesClose, 5)), EncodeDate({2024, 1, 15}));
    // The weekend's drift shows in Monday's open: two days' more growth than a weekday gap.
    const double weekdayGap = bars.GetValue(SeriesOpen, 1) / bars.GetValue(SeriesOpen, 0);
    const double weekendGap = bars.GetValue(SeriesOpen, 5) / bars.GetValue(SeriesOpen, 4);
    EXPECT_NEAR(weekendGap, weekdayGap * weekdayGap * weekdayGap, 1e-12);

    request.SkipWeekends = false;
    request.NumberOfDays = 7;
    Run();
    EXPECT_EQ(bars.Length(), 7);
}

TEST_F(DailyBars, VolumeIsAHalfWeightAverageOfTheRangeModel)
{
    request.SkipWeekends = false;
    request.NumberOfDays = 20;
    request.MinVolume = 100.0;
    request.MaxVolume = 4000.0;
    request.TickVolatility = 0.03 / std::sqrt(1000.0);
    Run();
    const auto raw = [&](int b) {
        const double r = 1.0 + (bars.GetValue(SeriesHigh, b) - bars.GetValue(SeriesLow, b)) / bars.GetValue(SeriesLow, b);
        return (4000.0 - 100.0) * 50.0 * (r * r - 1.0) + 100.0;
    };
    EXPECT_EQ(bars.GetValue(SeriesVolume, 0), raw(0));
    for (int b = 1; b < 20; ++b)
        EXPECT_EQ(bars.GetValue(SeriesVolume, b), (bars.GetValue(SeriesVolume, b - 1) + raw(b)) / 2.0) << "bar " << b;
}

TEST_F(DailyBars, AZeroLowStopsTheRunWithTheBarsSoFar)
{
    request.SeedPrice = 0.0;
    request.SkipWeekends = false;
    EXPECT_ERROR_MESSAGE(Run(), "Invalid floating point operation");
    EXPECT_EQ(bars.Length(), 10);  // not cut to the bars written
}

}  // namespace
