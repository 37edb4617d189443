// The tick phase seen through the bars: the price model, the draws it consumes, the
// bounds and the tick times.

#include "synthesis/SynthesisFixture.h"

#include <algorithm>

using namespace tickforge;
using tickforge::testing::ClockSeed;
using tickforge::testing::SynthesisTest;

namespace {

using TickPath = SynthesisTest;

TEST_F(TickPath, FollowsTheRandomSequenceFromTheClockSeed)
{
    // With one tick a day the open of bar d is tick d, so the bars show the path itself.
    request.TicksPerDay = 1;
    request.NumberOfDays = 4;
    request.SkipWeekends = false;
    request.TickVolatility = 0.01;
    Run();
    ASSERT_EQ(bars.Length(), 4);

    std::uint32_t seed = ClockSeed;
    double price = 3000.0;
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(bars.GetValue(SeriesOpen, d), price) << "tick " << d;
        seed = RandomSource::Step(seed);
        const double step = (RandomSource::ToReal(seed) - 0.5) * (2.95 * 0.01);
        seed = RandomSource::Step(seed);  // u2: no shock at 1 in 100 days here
        ASSERT_GE(RandomSource::ToReal(seed), 1.0 / 100.0);
        price = (1.0 + step) * price;
    }
    EXPECT_EQ(SharedRandom().Seed(), seed);
}

TEST_F(TickPath, ZeroVolatilityWithoutBiasKeepsTheSeedPriceExactly)
{
    request.TickVolatility = 0.0;
    request.SkipWeekends = false;
    request.MinVolume = 250.0;
    Run();
    ASSERT_EQ(bars.Length(), 10);
    for (int b = 0; b < 10; ++b) {
        for (int s : {SeriesOpen, SeriesHigh, SeriesLow, SeriesClose})
            EXPECT_EQ(bars.GetValue(s, b), 3000.0);
        EXPECT_EQ(bars.GetValue(SeriesVolume, b), 250.0);
    }
}

TEST_F(TickPath, BiasCompoundsToTheYearlyRateOverThreeHundredSixtyFiveDays)
{
    request.TickVolatility = 0.0;
    request.BiasPercentPerYear = 4.5;
    request.NumberOfDays = 366;
    request.SkipWeekends = false;
    Run();
    ASSERT_EQ(bars.Length(), 366);
    // The open of day 365 comes 365 * 1000 ticks after the open of day 0.
    const double growth = bars.GetValue(SeriesOpen, 365) / bars.GetValue(SeriesOpen, 0);
    EXPECT_NEAR(growth, 1.045, 1e-9);
    // Within a day the drift per tick is about 1.2059e-7.
    const double perTick = std::pow(bars.GetValue(SeriesClose, 0) / bars.GetValue(SeriesOpen, 0), 1.0 / 749.0) - 1.0;
    EXPECT_NEAR(perTick, 1.2059e-7, 1e-11);
}

TEST_F(TickPath, ABiasBelowMinusOneHundredPercentIsInvalid)
{
    request.BiasPercentPerYear = -150.0;
    EXPECT_ERROR_MESSAGE(Run(), "Invalid floating point operation");
}

TEST_F(TickPath, ShocksConsumeAThirdDrawEvenWithMagnitudeOne)
{
    request.TicksPerDay = 10;
    request.NumberOfDays = 3;
    request.SkipWeekends = false;
    request.TickVolatility = 0.0;
    request.ShockDaysPerEvent = 1e-9;  // every attempt starts an event
    Run();
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(3LL * 30));
    for (int b = 0; b < 3; ++b)
        EXPECT_EQ(bars.GetValue(SeriesClose, b), 3000.0);  // the multiplier is exactly 1

    request.ShockDaysPerEvent = 1e12;  // never
    Run();
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(2LL * 30));
}

TEST_F(TickPath, AShockEnlargesTheStep)
{
    request.TicksPerDay = 1;
    request.NumberOfDays = 2;
    request.SkipWeekends = false;
    request.TickVolatility = 0.01;
    request.ShockDaysPerEvent = 1e-9;
    request.ShockMagnitude = 3.0;
    Run();
    std::uint32_t seed = RandomSource::Step(ClockSeed);
    const double step = (RandomSource::ToReal(seed) - 0.5) * 0.0295;
    seed = RandomSource::Step(RandomSource::Step(seed));
    const double shocked = step * (1.0 + RandomSource::ToReal(seed) * 2.0);
    EXPECT_EQ(bars.GetValue(SeriesOpen, 1), (1.0 + shocked) * 3000.0);
}

TEST_F(TickPath, ShockProbabilityDividingByZeroFails)
{
    request.ShockDaysPerEvent = 0.0;
    EXPECT_ERROR_MESSAGE(Run(), "Floating point division by zero");
    // A failure in the tick phase leaves five zeroed series of the requested length.
    ASSERT_EQ(bars.SeriesCount(), 5);
    ASSERT_EQ(bars.Length(), 10);
    for (int s = 0; s < 5; ++s)
        for (int b = 0; b < 10; ++b) {
            EXPECT_EQ(bars.GetValue(s, b), 0.0);
            EXPECT_EQ(bars.GetTime(s, b), 0.0);
        }
}

TEST_F(TickPath, HardBoundsKeepEveryPriceStrictlyInside)
{
    request.TickVolatility = 0.2;
    request.NumberOfDays = 30;
    request.SkipWeekends = false;
    request.MinBoundActive = request.MaxBoundActive = true;
    request.MinPrice = 2900.0;
    request.MaxPrice = 3100.0;
    Run();
    bool touchedNearMax = false;
    for (int b = 0; b < bars.Length(); ++b) {
        EXPECT_LT(bars.GetValue(SeriesHigh, b), 3100.0);
        EXPECT_GT(bars.GetValue(SeriesLow, b), 2900.0);
        touchedNearMax = touchedNearMax || bars.GetValue(SeriesHigh, b) > 3090.0;
    }
    EXPECT_TRUE(touchedNearMax) << "the walk should reach the bounds with this volatility";
}

TEST_F(TickPath, SoftUpperBoundDampsTheStepNearTheTop)
{
    request.TicksPerDay = 1;
    request.NumberOfDays = 2;
    request.SkipWeekends = false;
    request.SeedPrice = 95.0;
    request.TickVolatility = 0.01;
    request.SoftBounds = true;
    request.MaxBoundActive = true;
    request.MinPrice = 0.0;
    request.MaxPrice = 100.0;
    Run();
    const std::uint32_t seed = RandomSource::Step(ClockSeed);
    const double step = (RandomSource::ToReal(seed) - 0.5) * 0.0295;
    // Any candidate near 95 lies above 90 % of the band, so the step is divided by 40.
    EXPECT_EQ(bars.GetValue(SeriesOpen, 1), (1.0 + step / 40.0) * 95.0);
}

TEST_F(TickPath, SoftBoundsWithAnEmptyBandDivideByZero)
{
    request.SoftBounds = true;
    request.MaxBoundActive = true;
    request.MinPrice = request.MaxPrice = 5000.0;
    EXPECT_ERROR_MESSAGE(Run(), "Floating point division by zero");

    request.TickVolatility = 0.0;
    request.SeedPrice = 5000.0;
    EXPECT_ERROR_MESSAGE(Run(), "Invalid floating point operation");
}

TEST_F(TickPath, AStepBeyondTheRangeOfADoubleOverflows)
{
    request.TickVolatility = 1e308;
    EXPECT_ERROR_MESSAGE(Run(), "Floating point overflow");
}

TEST_F(TickPath, ImpossibleBoundsEndWithAnErrorInsteadOfHanging)
{
    // No volatility and a drift that carries the price onto the upper bound: once there,
    // no candidate can ever be accepted.
    request.TicksPerDay = 1;
    request.NumberOfDays = 5;
    request.TickVolatility = 0.0;
    request.BiasPercentPerYear = 1e6;
    request.MaxBoundActive = true;
    request.MaxPrice = 3100.0;
    long long pumpsBefore = 0;
    EXPECT_ERROR_MESSAGE(Run(), "No price move stays inside the price bounds");
    pumpsBefore = sink.pumps;
    // The redraws pumped messages every 65,536 attempts on the way.
    EXPECT_GE(pumpsBefore, static_cast<long long>(RedrawLimit / RedrawPumpInterval));
}

TEST_F(TickPath, AbortWhileRedrawingEndsTheRunLikeAnyAbort)
{
    request.TicksPerDay = 1;
    request.NumberOfDays = 5;
    request.TickVolatility = 0.0;
    request.BiasPercentPerYear = 1e6;
    request.MaxBoundActive = true;
    request.MaxPrice = 3100.0;
    sink.onPump = [this] {
        if (sink.pumps > 10)
            RequestAbort();
    };
    Run();
    EXPECT_EQ(bars.SeriesCount(), 5);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_FALSE(AbortRequested());
}

TEST_F(TickPath, TickTimesStartAtMidnightAndStayOnTheirDay)
{
    request.StartDate = EncodeDate({2024, 1, 1}) + 0.75;  // a start with a time of day
    request.TicksPerDay = 4;
    request.NumberOfDays = 2;
    request.SkipWeekends = false;
    request.TickVolatility = 0.0;
    Run();
    const double day0 = EncodeDate({2024, 1, 1});
    EXPECT_EQ(bars.GetTime(SeriesOpen, 0), day0 + 0.25);   // tick 1 of 4
    EXPECT_EQ(bars.GetTime(SeriesClose, 0), day0 + 0.75);  // tick 3 of 4
    EXPECT_EQ(bars.GetTime(SeriesHigh, 0), day0 + 0.25);   // ties keep the earliest tick
    EXPECT_EQ(bars.GetTime(SeriesOpen, 1), day0 + 1.25);
}

TEST_F(TickPath, DenseLongHistoriesKeepEveryBarOnItsOwnDate)
{
    // Summing 1/T four million times drifts by more than one tick; times taken from the
    // tick's index do not.
    request.StartDate = EncodeDate({2030, 1, 1});
    request.TicksPerDay = 100000;
    request.NumberOfDays = 40;
    request.SkipWeekends = false;
    Run();
    ASSERT_EQ(bars.Length(), 40);
    for (int b = 0; b < 40; ++b) {
        const double day = request.StartDate + b;
        EXPECT_EQ(WholeDays(bars.GetTime(SeriesClose, b)), day) << "bar " << b;
        EXPECT_EQ(bars.GetTime(SeriesClose, b), day + 99999.0 * (1.0 / 100000.0));
    }
}

TEST_F(TickPath, TickCountsBeyondASampleIndexAreRefusedBeforeAnythingChanges)
{
    bars.SetSeriesCount(2);
    bars.SetLength(3);
    bars.Name = "Old";
    request.NumberOfDays = 3000000;
    request.TicksPerDay = 1000;
    EXPECT_ERROR_MESSAGE(Run(), "Range check error");
    request.NumberOfDays = -3;
    EXPECT_ERROR_MESSAGE(Run(), "Range check error");
    EXPECT_EQ(bars.SeriesCount(), 2);
    EXPECT_EQ(bars.Length(), 3);
    EXPECT_EQ(bars.Name, "Old");
}

TEST_F(TickPath, NoDaysGiveFiveEmptySeries)
{
    request.NumberOfDays = 0;
    Run();
    EXPECT_EQ(bars.SeriesCount(), 5);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_EQ(bars.Name, "Synth");
}

}  // namespace
