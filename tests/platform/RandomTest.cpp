#include "platform/Random.h"

#include <gtest/gtest.h>

#include <ctime>

using tickforge::RandomSource;

namespace {

TEST(RandomSource, LinearCongruentialStepsAndTheirRealAndIntegerReadings)
{
    RandomSource source;
    EXPECT_EQ(source.NextReal(), 1.0 / 4294967296.0);  // from seed 0: 0 * 134775813 + 1
    EXPECT_EQ(source.Seed(), 1u);
    EXPECT_EQ(source.NextInt(100), 3);  // 134775814 * 100 / 2^32 = 3.14
    EXPECT_EQ(source.Seed(), 134775814u);
    source.SetSeed(0xFFFFFFFFu);  // wraps: (2^32 - 1) * 134775813 + 1 = -134775812 mod 2^32
    EXPECT_EQ(source.NextReal(), static_cast<double>(0u - 134775812u) / 4294967296.0);
    EXPECT_EQ(source.NextInt(0), 0);

    // Without an installed source the seed is the milliseconds since midnight UTC: soon
    // after the whole second read before, across midnight too.
    const long long before = static_cast<long long>(std::time(nullptr) % 86400) * 1000;
    source.ReseedFromClock();
    EXPECT_LT((static_cast<long long>(source.Seed()) - before + 86400000) % 86400000, 5000);
}

}  // namespace
