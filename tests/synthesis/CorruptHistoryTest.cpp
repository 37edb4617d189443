#include "synthesis/CorruptHistory.h"

#include "support/DailyBars.h"
#include "support/TestHelpers.h"

#include <cmath>
#include <utility>

namespace {

using namespace tickforge;
using namespace tickforge::testing;

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
    }
    return bar;
}

class CorruptHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { SharedRandom().SetSeed(StartSeed); }
    Undo keepRandom_ = KeepSharedRandom();
};

TEST_F(CorruptHistoryTest, EachBarDrawsOnceAndWhenPickedDrawsTheKindItApplies)
{
    constexpr std::int32_t n = 700;
    const auto bars = DistinctBars(n);
    // Picked when the first draw lies strictly below the percentage, as reals: 2.5 picks
    // draws 0, 1 and 2; nothing at 0 or NaN; nearly everything at 99.5.
    for (const double percentage : {0.0, std::nan(""), 2.5, 99.5}) {
        SCOPED_TRACE(percentage);
        RandomSource reference;
        reference.SetSeed(StartSeed);
        std::vector<Bar> want = bars;
        std::vector<std::pair<std::int32_t, std::int32_t>> changes;  // bar and kind
        for (std::int32_t i = 0; i < n; ++i) {
            if (reference.NextInt(100) < percentage) {
                const std::int32_t kind = reference.NextInt(7);
                want[i] = Corrupted(want[i], kind);
                if (kind != 0)
                    changes.emplace_back(i, kind);
            }
        }
        TTimeSeriesSet original, expected, set, plain;
        for (auto* s : {&original, &set, &plain})
            FillDailyBars(*s, bars);
        FillDailyBars(expected, want);
        std::vector<Corruption> applied;
        SharedRandom().SetSeed(StartSeed);
        CorruptHistory(set, percentage, applied);
        EXPECT_EQ(SharedRandom().Seed(), reference.Seed());
        SharedRandom().SetSeed(StartSeed);
        CorruptHistory(plain, percentage);  // the plain call draws and changes exactly the same
        EXPECT_EQ(SharedRandom().Seed(), reference.Seed());
        for (std::int32_t s = 0; s < DailyBarSeriesCount; ++s)
            for (std::int32_t i = 0; i < n; ++i)
                for (const TTimeSeriesSet* got : {&set, &plain}) {
                    ASSERT_EQ(got->GetValue(s, i), expected.GetValue(s, i)) << "series " << s << " bar " << i;
                    ASSERT_EQ(got->GetTime(s, i), expected.GetTime(s, i));
                }
        // One record for each changed value, in bar order.
        ASSERT_EQ(applied.size(), changes.size());
        for (std::size_t k = 0; k < changes.size(); ++k) {
            const Corruption& c = applied[k];
            EXPECT_EQ(std::pair(c.Bar, static_cast<std::int32_t>(c.Kind)), changes[k]);
            EXPECT_EQ(c.Before, original.GetValue(c.Series, c.Bar));
            EXPECT_EQ(c.After, set.GetValue(c.Series, c.Bar));
            EXPECT_NE(c.After, c.Before);
        }
    }
}

TEST_F(CorruptHistoryTest, EmptyBarsDrawNothing)
{
    TTimeSeriesSet set;
    set.SetSeriesCount(DailyBarSeriesCount);
    CorruptHistory(set, 100.0);
    EXPECT_EQ(SharedRandom().Seed(), StartSeed);
}

}  // namespace
