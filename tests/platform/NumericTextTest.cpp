#include "platform/CheckedMath.h"
#include "platform/NumericText.h"

#include "support/TestHelpers.h"

#include <cstdint>
#include <limits>
#include <utility>

using namespace tickforge;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(StrToInt, AcceptsWhatAPersonTypesAndNamesTheTextOtherwise)
{
    const std::pair<const char*, std::int32_t> good[] = {
        {"180", 180}, {"  -5 ", -5}, {"+7", 7}, {"007", 7}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(StrToInt(text), value) << text;
    for (const char* text : {"", " ", "-", "+", "1.5", "1e3", "abc", "12a", "2147483648", "-2147483649",
                             "99999999999999999999", "1 2"})
        EXPECT_ERROR_MESSAGE(StrToInt(text), std::string("'") + text + "' is not a valid integer value");
}

TEST(StrToFloat, AcceptsDecimalsAndExponentsAndNamesTheTextOtherwise)
{
    const std::pair<const char*, double> good[] = {{"4.5", 4.5}, {" -0.25 ", -0.25}, {"5.", 5.0}, {".5", 0.5},
                                                   {"1e3", 1000.0}, {"2.5E-2", 0.025}, {"1e-400", 0.0}};
    for (const auto& [text, value] : good)
        EXPECT_EQ(StrToFloat(text), value) << text;
    // Long texts: the value counts, not how it is written.
    const std::string zeros(500, '0');
    EXPECT_EQ(StrToFloat("0." + zeros + "1"), 0.0);
    EXPECT_EQ(StrToFloat("-0." + zeros + "1e400"), -1e-101);
    EXPECT_EQ(StrToFloat("1" + zeros + "e-490"), 1e10);
    for (const std::string& text : std::initializer_list<std::string>{"", "  ", "-", ".", "-.", "e5", "1e", "1e+", "inf", "nan", "INF", "1,5", "1.2.3",
                                   "1e400", "--1", "0x10", "3000 5", "1" + zeros.substr(0, 400) + "e-10"})
        EXPECT_ERROR_MESSAGE(StrToFloat(text), "'" + text + "' is not a valid floating point value");
    // The user's decimal separator, and only that one.
    EXPECT_EQ(StrToFloat("4,5", LocaleFormats{',', "dd.MM.yyyy"}), 4.5);
    EXPECT_THROW(StrToFloat("4.5", LocaleFormats{',', "dd.MM.yyyy"}), Error);
}

TEST(CheckedMath, NumbersPassUnchangedAndInfinitiesAndNaNsBecomeTheUsersErrors)
{
    EXPECT_EQ(CheckedDiv(1.0, 4.0), 0.25);
    EXPECT_EQ(CheckedPow(0.0, 0.5), 0.0);
    EXPECT_EQ(CheckedPow(-2.0, 3.0), -8.0);
    EXPECT_EQ(CheckedSqrt(0.0), 0.0);
    EXPECT_ERROR_MESSAGE(CheckedDiv(1.0, 0.0), "Floating point division by zero");
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
}

}  // namespace
