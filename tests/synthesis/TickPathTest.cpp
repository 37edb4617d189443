// The tick phase: the price model, the draws it consumes, the bounds, the tick times,
// and the tick path as an observer sees it. Its failures are checked beside the
// two-phase engine.

#include "synthesis/SynthesisFixture.h"


using namespace tickforge;
using tickforge::testing::ClockSeed;
using tickforge::testing::SeedAfter;
using tickforge::testing::SynthesisTest;

namespace {

using TickPath = SynthesisTest;

TEST_F(TickPath, FollowsTheRandomSequenceFromTheClockSeed)
{
    // With one tick a day the open of bar d is tick d, so the bars show the path itself.
    Shape(1, 4, 0.01);
    Run();
    ASSERT_EQ(bars.Length(), 4);
    std::uint32_t seed = ClockSeed;
    double price = 3000.0;
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(Value(SeriesOpen, d), price) << "tick " << d;
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
    request.MinVolume = 250.0;
    Run();
    ASSERT_EQ(bars.Length(), 10);
    for (int b = 0; b < 10; ++b) {
        for (int s : {SeriesOpen, SeriesHigh, SeriesLow, SeriesClose})
            EXPECT_EQ(Value(s, b), 3000.0);
        EXPECT_EQ(Value(SeriesVolume, b), 250.0);  // no range: exactly the minimum volume
    }
}

TEST_F(TickPath, BiasCompoundsToTheYearlyRateOverThreeHundredSixtyFiveDays)
{
    Shape(1000, 366, 0.0);
    request.BiasPercentPerYear = 4.5;
    Run();
    // The open of day 365 comes 365 * 1000 ticks after the open of day 0.
    EXPECT_NEAR(Value(SeriesOpen, 365) / Value(SeriesOpen, 0), 1.045, 1e-9);
}

TEST_F(TickPath, ShocksConsumeAThirdDrawEvenWithMagnitudeOne)
{
    Shape(10, 3, 0.0);
    request.ShockDaysPerEvent = 1e-9;  // every attempt starts an event
    Run();
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(ClockSeed, 3 * 30));
    for (int b = 0; b < 3; ++b)
        EXPECT_EQ(Value(SeriesClose, b), 3000.0);  // the multiplier is exactly 1

    request.ShockDaysPerEvent = 1e12;  // never
    Run();
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(ClockSeed, 2 * 30));
}

TEST_F(TickPath, AShockEnlargesTheStep)
{
    Shape(1, 2, 0.01);
    request.ShockDaysPerEvent = 1e-9;
    request.ShockMagnitude = 3.0;
    Run();
    std::uint32_t seed = RandomSource::Step(ClockSeed);
    const double step = (RandomSource::ToReal(seed) - 0.5) * 0.0295;
    seed = RandomSource::Step(RandomSource::Step(seed));
    EXPECT_EQ(Value(SeriesOpen, 1), (1.0 + step * (1.0 + RandomSource::ToReal(seed) * 2.0)) * 3000.0);
}

TEST_F(TickPath, HardBoundsKeepEveryPriceStrictlyInside)
{
    Shape(1000, 30, 0.2);
    request.MinBoundActive = request.MaxBoundActive = true;
    request.MinPrice = 2900.0;
    request.MaxPrice = 3100.0;
    Run();
    bool nearMax = false;
    for (int b = 0; b < bars.Length(); ++b) {
        EXPECT_LT(Value(SeriesHigh, b), 3100.0);
        EXPECT_GT(Value(SeriesLow, b), 2900.0);
        nearMax = nearMax || Value(SeriesHigh, b) > 3090.0;
    }
    EXPECT_TRUE(nearMax) << "the walk should reach the bounds with this volatility";
}

TEST_F(TickPath, SoftUpperBoundDampsTheStepNearTheTop)
{
    Shape(1, 2, 0.01);
    request.SeedPrice = 95.0;
    request.SoftBounds = request.MaxBoundActive = true;
    request.MaxPrice = 100.0;
    Run();
    const double step = (RandomSource::ToReal(RandomSource::Step(ClockSeed)) - 0.5) * 0.0295;
    // Any candidate near 95 lies above 90 % of the band 0..100: the step is divided by 40.
    EXPECT_EQ(Value(SeriesOpen, 1), (1.0 + step / 40.0) * 95.0);
}

TEST_F(TickPath, ImpossibleBoundsEndWithAnErrorOrAnAbortInsteadOfHanging)
{
    // No volatility and a drift that carries the price onto the upper bound: once there,
    // no candidate can ever be accepted.
    Shape(1, 5, 0.0);
    request.BiasPercentPerYear = 1e6;
    request.MaxBoundActive = true;
    request.MaxPrice = 3100.0;
    EXPECT_ERROR_MESSAGE(Run(), "No price move stays inside the price bounds");
    // The redraws pumped messages every 65,536 attempts on the way...
    EXPECT_GE(sink.pumps, static_cast<long long>(RedrawLimit / RedrawPumpInterval));
    // ... so that Abort still works, ending the run like any abort.
    sink.onPump = [this] {
        if (sink.pumps > 10)
            RequestAbort();
    };
    sink.pumps = 0;
    Run();
    EXPECT_EQ(bars.SeriesCount(), 5);
    EXPECT_EQ(bars.Length(), 0);
    EXPECT_FALSE(AbortRequested());
}

TEST_F(TickPath, TickTimesStartAtMidnightAndStayOnTheirDay)
{
    request.StartDate += 0.75;  // a start with a time of day
    Shape(4, 2, 0.0);
    Run();
    const double day0 = EncodeDate({2024, 1, 1});
    EXPECT_EQ(Time(SeriesOpen, 0), day0 + 0.25);   // tick 1 of 4
    EXPECT_EQ(Time(SeriesClose, 0), day0 + 0.75);  // tick 3 of 4
    EXPECT_EQ(Time(SeriesHigh, 0), day0 + 0.25);   // ties keep the earliest tick
    EXPECT_EQ(Time(SeriesOpen, 1), day0 + 1.25);

    // Before day zero a time of day counts backwards from the whole day: Wednesday 27 to
    // Sunday 31 December 1899, each day's ticks on that day, Friday the last weekday.
    request.StartDate = EncodeDate({1899, 12, 27}) - 0.5;
    request.SkipWeekends = true;
    Shape(4, 5, 0.0);
    Run();
    ASSERT_EQ(bars.Length(), 3);
    EXPECT_EQ(Time(SeriesOpen, 0), -3.25);
    EXPECT_EQ(Time(SeriesClose, 2), -1.75);
    EXPECT_EQ(DecodeDate(Time(SeriesClose, 2)), (CivilDate{1899, 12, 29}));
    request.SkipWeekends = false;

    // Summing 1/T four million times drifts by more than a tick; times taken from the
    // tick's index do not.
    request.StartDate = EncodeDate({2030, 1, 1});
    Shape(100000, 40, 0.01 / std::sqrt(100000.0));
    Run();
    ASSERT_EQ(bars.Length(), 40);
    for (int b = 0; b < 40; ++b)
        EXPECT_EQ(Time(SeriesClose, b), request.StartDate + b + 99999.0 * (1.0 / 100000.0)) << "bar " << b;
}

using TickPathObserver = SynthesisTest;

TEST_F(TickPathObserver, SeesEveryTickOnceInOrderAndChangesNothingAndItsErrorEndsTheRun)
{
    Shape(3000, 5, 0.01 / std::sqrt(3000.0));
    request.ShockMagnitude = 3.0;
    request.ShockDaysPerEvent = 2.0;
    Run();
    const std::uint32_t seedAfterPlain = SharedRandom().Seed();
    const double lastClose = Value(SeriesClose, 4);

    std::vector<TickPoint> ticks;
    MakeHistory(request, sink, bars, [&](const TickPathView& view) {
        EXPECT_LE(view.Count, PollStride);
        ticks.insert(ticks.end(), view.Points, view.Points + view.Count);
    });
    EXPECT_EQ(SharedRandom().Seed(), seedAfterPlain);
    EXPECT_EQ(Value(SeriesClose, 4), lastClose);
    ASSERT_EQ(ticks.size(), 15000u);
    EXPECT_EQ(ticks[0].Value, 3000.0);
    EXPECT_EQ(ticks[0].Time, request.StartDate);
    // The open of day 4 is the tick a quarter into it, its close the last.
    EXPECT_EQ(Value(SeriesOpen, 4), ticks[4 * 3000 + 750].Value);
    EXPECT_EQ(Time(SeriesOpen, 4), ticks[4 * 3000 + 750].Time);
    EXPECT_EQ(Value(SeriesClose, 4), ticks[14999].Value);
    EXPECT_EQ(Time(SeriesClose, 4), ticks[14999].Time);

    EXPECT_ERROR_MESSAGE(MakeHistory(request, sink, bars, [](const TickPathView&) { throw Error("disk full"); }),
                         "disk full");
}

}  // namespace
