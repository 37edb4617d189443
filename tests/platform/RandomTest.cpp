#include "platform/Random.h"

#include <gtest/gtest.h>

#include <cstdint>

using tickforge::RandomSource;

namespace {

TEST(RandomSource, StepsTheSeedWithTheLinearCongruentialRuleFromZero)
{
    RandomSource source;
    EXPECT_EQ(source.Seed(), 0u);
    source.NextReal();
    EXPECT_EQ(source.Seed(), 1u);  // 0 * 134775813 + 1
    source.NextReal();
    EXPECT_EQ(source.Seed(), 134775814u);
}

TEST(RandomSource, RealIsTheNewSeedOverTwoToThe32AndIntegerTheUpperHalfOfSeedTimesN)
{
    RandomSource source;
    source.SetSeed(0xFFFFFFFFu);
    // (2^32 - 1) * 134775813 + 1 = -134775812 mod 2^32.
    EXPECT_EQ(source.NextReal(), static_cast<double>(0u - 134775812u) / 4294967296.0);

    // 134775814 * 100 / 2^32 = 3.14
    source.SetSeed(1u);
    EXPECT_EQ(source.NextInt(100), 3);
    EXPECT_EQ(source.NextInt(0), 0);
    for (int i = 0; i < 1000; ++i) {
        const auto v = source.NextInt(7);
        ASSERT_TRUE(v >= 0 && v < 7) << v;
    }
}

TEST(RandomSource, ReseedUsesTheInstalledClockSourceOrTheMillisecondsSinceMidnight)
{
    RandomSource source;
    source.SetClockSeedSource([] { return 43921337u; });
    source.ReseedFromClock();
    EXPECT_EQ(source.Seed(), 43921337u);
    source.SetClockSeedSource({});
    source.ReseedFromClock();
    EXPECT_LT(source.Seed(), 86400000u);
}

}  // namespace
