// Condensing the tick path into daily bars: which ticks make a bar, weekends, volume.

#include "synthesis/SynthesisFixture.h"

#include <algorithm>

using namespace tickforge;
using tickforge::testing::SynthesisTest;

namespace {

using DailyBars = SynthesisTest;

TEST_F(DailyBars, OpenIsAQuarterIntoTheDayAndCloseItsLastTick)
{
    request.NumberOfDays = 3;
    Run();
    ASSERT_EQ(bars.SeriesCount(), 5);
    ASSERT_EQ(bars.Length(), 3);
    EXPECT_EQ(bars.Name, "Synth");
    for (int b = 0; b < 3; ++b) {
        const double day = request.StartDate + b;
        EXPECT_DOUBLE_EQ(Time(SeriesOpen, b), day + 250.0 / 1000.0);
        EXPECT_DOUBLE_EQ(Time(SeriesClose, b), day + 999.0 / 1000.0);
        EXPECT_EQ(Time(SeriesVolume, b), Time(SeriesOpen, b));
        // High and low come from the open-to-close stretch and enclose both.
        EXPECT_LE(Value(SeriesLow, b), std::min(Value(SeriesOpen, b), Value(SeriesClose, b)));
        EXPECT_GE(Value(SeriesHigh, b), std::max(Value(SeriesOpen, b), Value(SeriesClose, b)));
        for (int s : {SeriesHigh, SeriesLow}) {
            EXPECT_GE(Time(s, b), Time(SeriesOpen, b));
            EXPECT_LE(Time(s, b), Time(SeriesClose, b));
        }
    }
}

TEST_F(DailyBars, TheFirstQuarterOfTheDayIsNeverScanned)
{
    // A falling path: with four ticks a day, tick 0 of each day is higher than the open
    // (tick 1) but must not become the high.
    Shape(4, 10, 0.0);
    request.BiasPercentPerYear = -50.0;
    Run();
    for (int b = 0; b < bars.Length(); ++b) {
        EXPECT_EQ(Value(SeriesHigh, b), Value(SeriesOpen, b));
        EXPECT_EQ(Time(SeriesHigh, b), Time(SeriesOpen, b));
        EXPECT_EQ(Value(SeriesLow, b), Value(SeriesClose, b));
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
        EXPECT_FALSE(IsWeekend(Time(SeriesClose, b)));
    EXPECT_EQ(DayOfWeek(Time(SeriesClose, 0)), Weekday::Monday);
    EXPECT_EQ(WholeDays(Time(SeriesClose, 5)), EncodeDate({2024, 1, 15}));
    // The weekend's drift shows in Monday's open: two days' more growth than a weekday gap.
    const double weekdayGap = Value(SeriesOpen, 1) / Value(SeriesOpen, 0);
    EXPECT_NEAR(Value(SeriesOpen, 5) / Value(SeriesOpen, 4), weekdayGap * weekdayGap * weekdayGap, 1e-12);

    request.SkipWeekends = false;
    request.NumberOfDays = 7;
    Run();
    EXPECT_EQ(bars.Length(), 7);
}

TEST_F(DailyBars, VolumeIsAHalfWeightAverageOfTheRangeModel)
{
    Shape(1000, 20, 0.03 / std::sqrt(1000.0));
    request.MinVolume = 100.0;
    request.MaxVolume = 4000.0;
    Run();
    const auto raw = [&](int b) {
        const double r = 1.0 + (Value(SeriesHigh, b) - Value(SeriesLow, b)) / Value(SeriesLow, b);
        return (4000.0 - 100.0) * 50.0 * (r * r - 1.0) + 100.0;
    };
    EXPECT_EQ(Value(SeriesVolume, 0), raw(0));
    // Each bar averages with the previous bar's averaged volume, not its raw one.
    for (int b = 1; b < 20; ++b)
        EXPECT_EQ(Value(SeriesVolume, b), (Value(SeriesVolume, b - 1) + raw(b)) / 2.0) << "bar " << b;
}

}  // namespace
