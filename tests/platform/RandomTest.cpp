#include "platform/Random.h"

#include <gtest/gtest.h>

#include <cstdint>

using tickforge::RandomSource;

namespace {

TEST(RandomSource, StepsTheSeedWithTheLinearCongruentialRule)
{
    RandomSource source;
    EXPECT_EQ(source.Seed(), 0u);
    // From seed 0: 0 * 134775813 + 1 = 1, then 134775814, then (134775814 * 134775813 + 1) mod 2^32.
    source.NextReal();
    EXPECT_EQ(source.Seed(), 1u);
    source.NextReal();
    EXPECT_EQ(source.Seed(), 134775814u);
    source.NextReal();
    const std::uint64_t expected = (134775814ULL * 134775813ULL + 1ULL) % 4294967296ULL;
    EXPECT_EQ(source.Seed(), static_cast<std::uint32_t>(expected));
}

TEST(RandomSource, RealIsTheNewSeedOverTwoToThe32)
{
    RandomSource source;
    source.SetSeed(0xFFFFFFFFu);
    // (2^32 - 1) * 134775813 + 1 = -134775812 mod 2^32.
    const double real = source.NextReal();
    EXPECT_EQ(real, static_cast<double>(static_cast<std::uint32_t>(0u - 134775812u)) / 4294967296.0);
    EXPECT_GE(real, 0.0);
    EXPECT_LT(real, 1.0);
}

TEST(RandomSource, IntegerIsTheUpperHalfOfSeedTimesN)
{
    RandomSource source;
    source.SetSeed(0x7FFFFFFFu);
    const std::uint32_t next = RandomSource::Step(0x7FFFFFFFu);
    EXPECT_EQ(source.NextInt(100), static_cast<std::int32_t>((static_cast<std::uint64_t>(next) * 100u) >> 32));
    EXPECT_EQ(source.NextInt(0), 0);
    for (int i = 0; i < 1000; ++i) {
        const auto v = source.NextInt(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
    }
}

TEST(RandomSource, ReseedUsesTheInstalledClockSource)
{
    RandomSource source;
    source.SetClockSeedSource([] { return 43921337u; });
    source.ReseedFromClock();
    EXPECT_EQ(source.Seed(), 43921337u);
    source.SetClockSeedSource({});
    source.ReseedFromClock();
    EXPECT_LT(source.Seed(), 86400000u);
}

TEST(RandomSource, SharedInstanceStartsAtSeedZero)
{
    // Tests that draw from the shared source set its seed first; at start it is 0.
    EXPECT_LT(tickforge::MillisecondsSinceMidnightUtc(), 86400000u);
    EXPECT_EQ(&tickforge::SharedRandom(), &tickforge::SharedRandom());
}

}  // namespace
