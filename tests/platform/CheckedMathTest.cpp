#include "platform/CheckedMath.h"

#include "support/TestHelpers.h"

#include <limits>

using namespace tickforge;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(CheckedMath, NumbersPassUnchangedAndInfinitiesAndNaNsBecomeTheUsersErrors)
{
    EXPECT_EQ(CheckedDiv(1.0, 4.0), 0.25);
    EXPECT_EQ(CheckedPow(0.0, 0.5), 0.0);
    EXPECT_EQ(CheckedPow(-2.0, 3.0), -8.0);
    EXPECT_EQ(CheckedSqrt(16.0), 4.0);
    EXPECT_EQ(CheckedSqrt(0.0), 0.0);
    EXPECT_ERROR_MESSAGE(CheckedDiv(1.0, 0.0), "Floating point division by zero");
    EXPECT_ERROR_MESSAGE(CheckedDiv(-1.0, -0.0), "Floating point division by zero");
    EXPECT_ERROR_MESSAGE(CheckedDiv(0.0, 0.0), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(CheckedDiv(1e308, 1e-308), "Floating point overflow");
    EXPECT_ERROR_MESSAGE(CheckedPow(-0.5, 1.0 / 365.0), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(CheckedPow(10.0, 400.0), "Floating point overflow");
    EXPECT_ERROR_MESSAGE(CheckedPow(0.0, -1.0), "Floating point division by zero");
    // pow itself gives 1 for these, and an infinity for the first.
    EXPECT_ERROR_MESSAGE(CheckedPow(-Inf, 0.5), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(CheckedPow(NaN, 0.0), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(CheckedPow(1.0, NaN), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(CheckedSqrt(NaN), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(CheckedSqrt(-1.0), "Invalid floating point operation");
    EXPECT_ERROR_MESSAGE(CheckFinite(Inf), "Floating point overflow");
    EXPECT_ERROR_MESSAGE(CheckFinite(NaN), "Invalid floating point operation");
}

}  // namespace
