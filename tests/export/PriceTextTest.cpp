#include "export/PriceText.h"

#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using tickforge::PriceText;
using tickforge::VolumeText;

TEST(PriceText, ExamplesAtPrecisionFive)
{
    EXPECT_EQ(PriceText(3012.3456, 5), "3012.3");
    EXPECT_EQ(PriceText(100.0, 5), "100");
    EXPECT_EQ(PriceText(99.999996, 5), "100");
    EXPECT_EQ(PriceText(2987.65432, 5), "2987.7");
    EXPECT_EQ(PriceText(123456.7, 5), "1.2346E5");
    EXPECT_EQ(PriceText(0.00123, 5), "0.00123");
    EXPECT_EQ(PriceText(0.0000123, 5), "1.23E-5");
    EXPECT_EQ(PriceText(12345.0, 5), "12345");  // exponent equal to the precision stays fixed
}

TEST(PriceText, OneNumberAtEveryPrecision)
{
    // 3012.3456 cut to P digits: 3|0 -> 3 (two digits at least), 301, 3012, 30123, 301234|56 -> 301235.
    EXPECT_EQ(PriceText(3012.3456, 1), "3E3");
    EXPECT_EQ(PriceText(3012.3456, 2), "3E3");
    EXPECT_EQ(PriceText(3012.3456, 3), "3.01E3");
    EXPECT_EQ(PriceText(3012.3456, 4), "3012");
    EXPECT_EQ(PriceText(3012.3456, 5), "3012.3");
    EXPECT_EQ(PriceText(3012.3456, 6), "3012.35");
    EXPECT_EQ(PriceText(3012.3456, 7), "3012.346");
    EXPECT_EQ(PriceText(3012.3456, 8), "3012.3456");
    EXPECT_EQ(PriceText(3012.3456, 9), "3012.3456");
}

TEST(PriceText, PrecisionOneWritesAsPrecisionTwo)
{
    for (double v : {0.15, 1.25, 9.99, 47.0, 3005.5, 0.000777, 123456.7})
        EXPECT_EQ(PriceText(v, 1), PriceText(v, 2)) << v;
    EXPECT_EQ(PriceText(0.15, 1), "0.15");
    EXPECT_EQ(PriceText(47.0, 1), "47");
}

TEST(PriceText, RoundsHalfUpAndCarriesAcrossPowersOfTen)
{
    EXPECT_EQ(PriceText(1.25, 2), "1.3");     // exactly half: up, not to even
    EXPECT_EQ(PriceText(0.125, 2), "0.13");
    EXPECT_EQ(PriceText(9.99, 2), "10");
    EXPECT_EQ(PriceText(99999.5, 5), "1E5");  // the carry makes the exponent too large
    EXPECT_EQ(PriceText(12345.0, 4), "1.235E4");
    EXPECT_EQ(PriceText(0.00099951, 3), "0.001");
    // The double nearest 0.0009995 lies just below it (9.99499999...E-4): no carry.
    EXPECT_EQ(PriceText(0.0009995, 3), "0.000999");
}

TEST(PriceText, FixedAndScientificBoundaries)
{
    EXPECT_EQ(PriceText(0.0001, 5), "0.0001");   // exponent -3: still fixed
    EXPECT_EQ(PriceText(0.00001, 5), "1E-5");    // exponent -4: scientific
    EXPECT_EQ(PriceText(0.5, 5), "0.5");
    EXPECT_EQ(PriceText(1.0, 5), "1");
    EXPECT_EQ(PriceText(100000.0, 5), "1E5");
    EXPECT_EQ(PriceText(1e20, 9), "1E20");
    EXPECT_EQ(PriceText(1.5e-300, 5), "1.5E-300");
    EXPECT_EQ(PriceText(123456789.0, 9), "123456789");
    EXPECT_EQ(PriceText(1234567890.0, 9), "1.23456789E9");
}

TEST(PriceText, SignZeroAndNonFiniteValues)
{
    EXPECT_EQ(PriceText(-2987.65432, 5), "-2987.7");
    EXPECT_EQ(PriceText(-0.0000123, 5), "-1.23E-5");
    EXPECT_EQ(PriceText(0.0, 5), "0");
    EXPECT_EQ(PriceText(-0.0, 5), "0");
    EXPECT_EQ(PriceText(std::numeric_limits<double>::infinity(), 5), "INF");
    EXPECT_EQ(PriceText(-std::numeric_limits<double>::infinity(), 5), "INF");
    EXPECT_EQ(PriceText(std::numeric_limits<double>::quiet_NaN(), 5), "NAN");
}

TEST(PriceText, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(PriceText(3012.3456, 5, ','), "3012,3");
    EXPECT_EQ(PriceText(0.00123, 5, ','), "0,00123");
    EXPECT_EQ(PriceText(123456.7, 5, ','), "1,2346E5");
    EXPECT_EQ(PriceText(3000.0, 5, ','), "3000");
}

TEST(VolumeText, TruncatesTowardZero)
{
    EXPECT_EQ(VolumeText(12345.67), "12345");
    EXPECT_EQ(VolumeText(12345.99), "12345");
    EXPECT_EQ(VolumeText(9876.2), "9876");
    EXPECT_EQ(VolumeText(-3.7), "-3");
    EXPECT_EQ(VolumeText(-0.5), "0");
    EXPECT_EQ(VolumeText(0.0), "0");
    EXPECT_EQ(VolumeText(9.2e18), "9200000000000000000");
}

TEST(VolumeText, ValuesNoSixtyFourBitIntegerHoldsAreInvalid)
{
    EXPECT_ERROR_MESSAGE(VolumeText(1e19), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(VolumeText(-1e19), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(VolumeText(std::numeric_limits<double>::quiet_NaN()), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(VolumeText(std::numeric_limits<double>::infinity()), "Invalid floating point operation");
}

}  // namespace
