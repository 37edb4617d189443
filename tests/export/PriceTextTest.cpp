#include "export/PriceText.h"

#include "support/TestHelpers.h"

#include <limits>

namespace {

using tickforge::PriceText;
using tickforge::VolumeText;

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(PriceText, SignificantDigitsRoundedHalfUpInFixedOrScientificForm)
{
    const struct {
        double v;
        int precision;
        const char* text;
    } cases[] = {
        {3012.3456, 5, "3012.3"}, {100.0, 5, "100"}, {99.999996, 5, "100"}, {2987.65432, 5, "2987.7"},
        {123456.7, 5, "1.2346E5"}, {0.00123, 5, "0.00123"}, {0.0000123, 5, "1.23E-5"},
        {12345.0, 5, "12345"},  // an exponent equal to the precision stays fixed
        // 3012.3456 at every precision: at least two digits; scientific below four
        {3012.3456, 1, "3E3"}, {3012.3456, 3, "3.01E3"}, {3012.3456, 4, "3012"}, {3012.3456, 9, "3012.3456"},
        {0.15, 1, "0.15"},
        // half up, not to even; carries across powers of ten
        {1.25, 2, "1.3"}, {0.125, 2, "0.13"}, {9.99, 2, "10"}, {1.96, 2, "2"}, {99999.5, 5, "1E5"}, {12345.0, 4, "1.235E4"},
        {0.00099951, 3, "0.001"},
        {0.0009995, 3, "0.000999"},  // the nearest double is 9.99499999...E-4: no carry
        {0.6885405, 6, "0.688541"},  // 0.68854049999999999976 is 0.688540500000000000 in 18 digits,
        {0.0115, 2, "0.011"},        // and 0.011499999999999999806 stays 0.0114999999999999998
        // the form's boundaries
        {0.0001, 5, "0.0001"}, {0.00001, 5, "1E-5"}, {1.5e-300, 5, "1.5E-300"}, {1234567890.0, 9, "1.23456789E9"},
        // sign, zero and values that are no finite number
        {-0.0000123, 5, "-1.23E-5"}, {0.0, 5, "0"}, {-0.0, 5, "0"},
        {Inf, 5, "INF"}, {-Inf, 5, "INF"}, {NaN, 5, "NAN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PriceText(c.v, c.precision), c.text) << c.v << " at " << c.precision;
    for (double v : {1.25, 47.0, 123456.7})
        EXPECT_EQ(PriceText(v, 1), PriceText(v, 2)) << v;
    EXPECT_EQ(PriceText(123456.7, 5, ','), "1,2346E5");  // the given decimal separator
}

TEST(VolumeText, TruncatesTowardZeroAndRefusesWhatNoSixtyFourBitIntegerHolds)
{
    const std::pair<double, const char*> cases[] = {{12345.67, "12345"}, {12345.99, "12345"}, {9876.2, "9876"},
                                                    {-3.7, "-3"},        {-0.5, "0"},         {0.0, "0"},
                                                    {9.2e18, "9200000000000000000"}};
    for (const auto& [v, text] : cases)
        EXPECT_EQ(VolumeText(v), text) << v;
    for (double v : {1e19, -1e19, NaN, Inf})
        EXPECT_ERROR_MESSAGE(VolumeText(v), "Invalid floating point operation");
}

}  // namespace
