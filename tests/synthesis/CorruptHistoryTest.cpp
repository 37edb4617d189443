#include "synthesis/CorruptHistory.h"

#include "support/DailyBars.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace tickforge;
using tickforge::testing::Bar;
using tickforge::testing::DistinctBars;
using tickforge::testing::FillDailyBars;
using tickforge::testing::SharedRandomGuard;

class CorruptHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { SharedRandom().SetSeed(StartSeed); }

    // The seed after the given number of draws from StartSeed.
    static std::uint32_t SeedAfter(int draws)
    {
        std::uint32_t seed = StartSeed;
        for (int i = 0; i < draws; ++i)
            seed = RandomSource::Step(seed);
        return seed;
    }

    // Expects bar i of set to equal bar exactly, times included.
    static void ExpectBar(const TTimeSeriesSet& set, std::int32_t i, const Bar& bar)
    {
        EXPECT_EQ(set.GetValue(SeriesOpen, i), bar.Open) << "bar " << i;
        EXPECT_EQ(set.GetValue(SeriesHigh, i), bar.High) << "bar " << i;
        EXPECT_EQ(set.GetValue(SeriesLow, i), bar.Low) << "bar " << i;
        EXPECT_EQ(set.GetValue(SeriesClose, i), bar.Close) << "bar " << i;
        EXPECT_EQ(set.GetValue(SeriesVolume, i), bar.Volume) << "bar " << i;
    }

    static void ExpectTimesUnchanged(const TTimeSeriesSet& set, const TTimeSeriesSet& original)
    {
        ASSERT_EQ(set.Length(), original.Length());
        for (std::int32_t s = 0; s < DailyBarSeriesCount; ++s)
            for (std::int32_t i = 0; i < set.Length(); ++i)
                EXPECT_EQ(set.GetTime(s, i), original.GetTime(s, i)) << "series " << s << " bar " << i;
    }

    // The bar as the table of corruption kinds says kind leaves it.
    static Bar Corrupted(Bar bar, std::int32_t kind)
    {
        switch (kind) {
        case 1: bar.Open = bar.Close; break;
        case 2: bar.Close = bar.Open; break;
        case 3: bar.High = bar.Low; break;
        case 4: bar.Low = bar.High; break;
        case 5: bar.Volume = 0.0; break;
        case 6: bar.Volume = bar.Volume / 10.0; break;
        default: break;
        }
        return bar;
    }

    static constexpr std::uint32_t StartSeed = 20240102u;
    SharedRandomGuard guard_;
};

TEST_F(CorruptHistoryTest, PercentageZeroChangesNothingAndDrawsOncePerBar)
{
    const auto bars = DistinctBars(50);
    TTimeSeriesSet set;
    FillDailyBars(set, bars);
    CorruptHistory(set, 0.0);
    for (std::int32_t i = 0; i < 50; ++i)
        ExpectBar(set, i, bars[static_cast<std::size_t>(i)]);
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(50));
}

TEST_F(CorruptHistoryTest, NegativeOrNotANumberPercentagePicksNoBar)
{
    const auto bars = DistinctBars(30);
    TTimeSeriesSet set;
    FillDailyBars(set, bars);
    CorruptHistory(set, -5.0);
    CorruptHistory(set, std::numeric_limits<double>::quiet_NaN());
    for (std::int32_t i = 0; i < 30; ++i)
        ExpectBar(set, i, bars[static_cast<std::size_t>(i)]);
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(60));
}

TEST_F(CorruptHistoryTest, PercentageHundredPicksEveryBarAndAppliesTheDrawnKind)
{
    const std::int32_t n = 700;
    const auto bars = DistinctBars(n);
    TTimeSeriesSet set;
    FillDailyBars(set, bars);
    TTimeSeriesSet original;
    FillDailyBars(original, bars);

    CorruptHistory(set, 100.0);

    // Replay the documented draws: n in [0, 100), always below 100, then the kind.
    RandomSource reference;
    reference.SetSeed(StartSeed);
    int kindCounts[7] = {};
    for (std::int32_t i = 0; i < n; ++i) {
        EXPECT_LT(reference.NextInt(100), 100);
        const std::int32_t kind = reference.NextInt(7);
        ASSERT_GE(kind, 0);
        ASSERT_LT(kind, 7);
        ++kindCounts[kind];
        ExpectBar(set, i, Corrupted(bars[static_cast<std::size_t>(i)], kind));
    }
    EXPECT_EQ(SharedRandom().Seed(), reference.Seed());
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(2 * n));
    // Every kind occurs in 700 draws; kind 0 leaves about one bar in seven clean.
    for (int kind = 0; kind < 7; ++kind)
        EXPECT_GT(kindCounts[kind], 50) << "kind " << kind;
    ExpectTimesUnchanged(set, original);
}

TEST_F(CorruptHistoryTest, AnythingAboveNinetyNinePicksEveryBar)
{
    TTimeSeriesSet set;
    FillDailyBars(set, DistinctBars(40));
    CorruptHistory(set, 99.5);
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(80));
}

TEST_F(CorruptHistoryTest, PickComparesTheDrawStrictlyWithThePercentageAsReals)
{
    const std::int32_t n = 400;
    for (const double percentage : {3.0, 2.5, 0.5, 1.0}) {
        SharedRandom().SetSeed(StartSeed);
        TTimeSeriesSet set;
        FillDailyBars(set, DistinctBars(n));
        std::vector<Corruption> applied;
        CorruptHistory(set, percentage, applied);

        // Bar i is picked exactly when its first draw is below the percentage.
        RandomSource reference;
        reference.SetSeed(StartSeed);
        std::vector<Corruption> expected;
        int picked = 0;
        for (std::int32_t i = 0; i < n; ++i) {
            const std::int32_t draw = reference.NextInt(100);
            if (draw < percentage) {
                ++picked;
                const std::int32_t kind = reference.NextInt(7);
                if (kind != 0)
                    expected.push_back({i, static_cast<CorruptionKind>(kind), 0, 0.0, 0.0});
            }
        }
        EXPECT_EQ(SharedRandom().Seed(), SeedAfter(n + picked)) << percentage;
        ASSERT_EQ(applied.size(), expected.size()) << percentage;
        for (std::size_t j = 0; j < applied.size(); ++j) {
            EXPECT_EQ(applied[j].Bar, expected[j].Bar);
            EXPECT_EQ(applied[j].Kind, expected[j].Kind);
        }
    }
}

TEST_F(CorruptHistoryTest, RecordNamesEveryChangedValueWithItsOldAndNewValue)
{
    const auto bars = DistinctBars(300);
    TTimeSeriesSet set;
    FillDailyBars(set, bars);
    std::vector<Corruption> applied;
    CorruptHistory(set, 100.0, applied);

    ASSERT_FALSE(applied.empty());
    std::int32_t previousBar = -1;
    for (const Corruption& c : applied) {
        EXPECT_GT(c.Bar, previousBar);  // bar order, one value per bar
        previousBar = c.Bar;
        EXPECT_NE(c.Kind, CorruptNothing);
        const Bar& bar = bars[static_cast<std::size_t>(c.Bar)];
        EXPECT_EQ(set.GetValue(c.Series, c.Bar), c.After);
        switch (c.Kind) {
        case CorruptOpenFromClose:
            EXPECT_EQ(c.Series, SeriesOpen);
            EXPECT_EQ(c.Before, bar.Open);
            EXPECT_EQ(c.After, bar.Close);
            break;
        case CorruptCloseFromOpen:
            EXPECT_EQ(c.Series, SeriesClose);
            EXPECT_EQ(c.Before, bar.Close);
            EXPECT_EQ(c.After, bar.Open);
            break;
        case CorruptHighFromLow:
            EXPECT_EQ(c.Series, SeriesHigh);
            EXPECT_EQ(c.Before, bar.High);
            EXPECT_EQ(c.After, bar.Low);
            break;
        case CorruptLowFromHigh:
            EXPECT_EQ(c.Series, SeriesLow);
            EXPECT_EQ(c.Before, bar.Low);
            EXPECT_EQ(c.After, bar.High);
            break;
        case CorruptVolumeZero:
            EXPECT_EQ(c.Series, SeriesVolume);
            EXPECT_EQ(c.Before, bar.Volume);
            EXPECT_EQ(c.After, 0.0);
            break;
        case CorruptVolumeTenth:
            EXPECT_EQ(c.Series, SeriesVolume);
            EXPECT_EQ(c.Before, bar.Volume);
            EXPECT_EQ(c.After, bar.Volume / 10.0);
            break;
        default:
            ADD_FAILURE() << "unexpected kind " << c.Kind;
        }
    }
}

TEST_F(CorruptHistoryTest, RecordingDrawsAndChangesExactlyAsThePlainCall)
{
    TTimeSeriesSet plain;
    TTimeSeriesSet recorded;
    FillDailyBars(plain, DistinctBars(250));
    FillDailyBars(recorded, DistinctBars(250));
    CorruptHistory(plain, 40.0);
    const std::uint32_t afterPlain = SharedRandom().Seed();
    SharedRandom().SetSeed(StartSeed);
    std::vector<Corruption> applied;
    CorruptHistory(recorded, 40.0, applied);
    EXPECT_EQ(SharedRandom().Seed(), afterPlain);
    for (std::int32_t s = 0; s < DailyBarSeriesCount; ++s)
        EXPECT_EQ(plain.Series[static_cast<std::size_t>(s)]->Samples.size(), recorded.Series[static_cast<std::size_t>(s)]->Samples.size());
    for (std::int32_t i = 0; i < 250; ++i)
        for (std::int32_t s = 0; s < DailyBarSeriesCount; ++s)
            EXPECT_EQ(plain.GetValue(s, i), recorded.GetValue(s, i));
}

TEST_F(CorruptHistoryTest, VolumeTenthOf1005Is100Point5AndHighLowCanCrossTheBody)
{
    // Find a seed whose second draw gives kind 6, then one giving kind 3.
    auto seedForKind = [](std::int32_t wanted) {
        for (std::uint32_t seed = 1;; ++seed) {
            RandomSource r;
            r.SetSeed(seed);
            r.NextInt(100);
            if (r.NextInt(7) == wanted)
                return seed;
        }
    };
    TTimeSeriesSet set;
    FillDailyBars(set, {{45293.6, 10.0, 12.0, 9.0, 11.0, 1005.0}});
    SharedRandom().SetSeed(seedForKind(6));
    CorruptHistory(set, 100.0);
    EXPECT_EQ(set.GetValue(SeriesVolume, 0), 100.5);

    SharedRandom().SetSeed(seedForKind(3));
    CorruptHistory(set, 100.0);
    EXPECT_EQ(set.GetValue(SeriesHigh, 0), 9.0);
    EXPECT_EQ(set.GetValue(SeriesLow, 0), 9.0);
    // The bar is no longer consistent: its high lies below its open and close.
    EXPECT_LT(set.GetValue(SeriesHigh, 0), set.GetValue(SeriesOpen, 0));
    EXPECT_LT(set.GetValue(SeriesHigh, 0), set.GetValue(SeriesClose, 0));
}

TEST_F(CorruptHistoryTest, EmptyBarsDrawNothing)
{
    TTimeSeriesSet set;
    set.SetSeriesCount(DailyBarSeriesCount);
    CorruptHistory(set, 100.0);
    EXPECT_EQ(set.Length(), 0);
    EXPECT_EQ(SharedRandom().Seed(), StartSeed);
}

TEST_F(CorruptHistoryTest, SetWithoutSeriesFailsAtTheFirstAccess)
{
    TTimeSeriesSet set;
    EXPECT_ERROR_MESSAGE(CorruptHistory(set, 5.0), "List index out of bounds (0)");
    EXPECT_EQ(SharedRandom().Seed(), StartSeed);
}

TEST(CorruptionKindText, NamesEachKind)
{
    EXPECT_STREQ(CorruptionKindText(CorruptOpenFromClose), "open := close");
    EXPECT_STREQ(CorruptionKindText(CorruptVolumeTenth), "volume := volume / 10");
}

}  // namespace
