#include "synthesis/CorruptHistory.h"

#include "support/DailyBars.h"
#include "support/TestHelpers.h"

#include <cmath>
#include <limits>

namespace {

using namespace tickforge;
using tickforge::testing::Bar;
using tickforge::testing::DistinctBars;
using tickforge::testing::FillDailyBars;
using tickforge::testing::SeedAfter;
using tickforge::testing::SharedRandomGuard;

constexpr std::uint32_t StartSeed = 20240102u;

// The bar as the table of corruption kinds says kind leaves it.
Bar Corrupted(Bar bar, std::int32_t kind)
{
    switch (kind) {
    case 1: bar.Open = bar.Close; break;
    case 2: bar.Close = bar.Open; break;
    case 3: bar.High = bar.Low; break;
    case 4: bar.Low = bar.High; break;
    case 5: bar.Volume = 0.0; break;
    case 6: bar.Volume = bar.Volume / 10.0; break;  // volumes 5000 + 7i: not cut to whole numbers
    default: break;
    }
    return bar;
}

class CorruptHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { SharedRandom().SetSeed(StartSeed); }
    SharedRandomGuard guard_;
};

TEST_F(CorruptHistoryTest, EachBarDrawsOnceAndWhenPickedDrawsTheKindItApplies)
{
    constexpr std::int32_t n = 700;
    const auto bars = DistinctBars(n);
    TTimeSeriesSet original;
    FillDailyBars(original, bars);
    // Picked when the first draw lies strictly below the percentage, as reals: 2.5 picks
    // draws 0, 1 and 2; nothing at 0 or NaN; everything above 99.
    for (const double percentage : {0.0, std::numeric_limits<double>::quiet_NaN(), 2.5, 99.5}) {
        SCOPED_TRACE(percentage);
        TTimeSeriesSet set, plain;
        FillDailyBars(set, bars);
        FillDailyBars(plain, bars);
        std::vector<Corruption> applied;
        SharedRandom().SetSeed(StartSeed);
        CorruptHistory(set, percentage, applied);
        const std::uint32_t seedAfter = SharedRandom().Seed();
        SharedRandom().SetSeed(StartSeed);
        CorruptHistory(plain, percentage);  // the plain call draws and changes exactly the same
        EXPECT_EQ(SharedRandom().Seed(), seedAfter);

        RandomSource reference;
        reference.SetSeed(StartSeed);
        std::size_t changed = 0;
        int picked = 0;
        int kinds[7] = {};
        for (std::int32_t i = 0; i < n; ++i) {
            const Bar& bar = bars[static_cast<std::size_t>(i)];
            Bar want = bar;
            if (reference.NextInt(100) < percentage) {
                ++picked;
                const std::int32_t kind = reference.NextInt(7);
                ++kinds[kind];
                want = Corrupted(bar, kind);
                changed += kind != 0;
            }
            const double values[] = {want.Close, want.Volume, want.Open, want.High, want.Low};
            for (std::int32_t s = 0; s < DailyBarSeriesCount; ++s) {
                ASSERT_EQ(set.GetValue(s, i), values[s]) << "series " << s << " bar " << i;
                ASSERT_EQ(plain.GetValue(s, i), values[s]) << "series " << s << " bar " << i;
                ASSERT_EQ(set.GetTime(s, i), original.GetTime(s, i));
            }
        }
        EXPECT_EQ(seedAfter, SeedAfter(StartSeed, n + picked));
        if (!(percentage > 0.0)) {
            EXPECT_EQ(picked, 0);
        }
        if (percentage > 99.0) {
            EXPECT_EQ(picked, n);
            for (int kind = 0; kind < 7; ++kind)
                EXPECT_GT(kinds[kind], 50) << "kind " << kind;  // about one bar in seven stays clean
        }
        // One record for each changed value, in bar order.
        ASSERT_EQ(applied.size(), changed);
        for (std::size_t k = 0; k < changed; ++k) {
            const Corruption& c = applied[k];
            EXPECT_TRUE(k == 0 || c.Bar > applied[k - 1].Bar);
            EXPECT_EQ(c.Before, original.GetValue(c.Series, c.Bar));
            EXPECT_EQ(c.After, set.GetValue(c.Series, c.Bar));
            EXPECT_NE(c.After, c.Before);
        }
    }
}

TEST_F(CorruptHistoryTest, EmptyBarsDrawNothingAndASetWithoutSeriesFails)
{
    TTimeSeriesSet set;
    EXPECT_ERROR_MESSAGE(CorruptHistory(set, 5.0), "List index out of bounds (0)");
    set.SetSeriesCount(DailyBarSeriesCount);
    CorruptHistory(set, 100.0);
    EXPECT_EQ(set.Length(), 0);
    EXPECT_EQ(SharedRandom().Seed(), StartSeed);
}

}  // namespace
