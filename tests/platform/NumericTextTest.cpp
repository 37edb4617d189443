#include "platform/NumericText.h"

#include "support/TestHelpers.h"

#include <gtest/gtest.h>

using namespace tickforge;

namespace {

TEST(StrToInt, AcceptsWhatAPersonTypes)
{
    EXPECT_EQ(StrToInt("180"), 180);
    EXPECT_EQ(StrToInt("  -5 "), -5);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToInt, RejectsEverythingElseWithTheTextInTheMessage)
{
    for (const char* text : {"", " ", "-", "+", "1.5", "1e3", "abc", "12a", "2147483648", "-2147483649",
                             "99999999999999999999", "1 2"})
        EXPECT_ERROR_MESSAGE(StrToInt(text), std::string("'") + text + "' is not a valid integer value");
}

TEST(StrToFloat, AcceptsDecimalsAndExponents)
{
    EXPECT_EQ(StrToFloat("4.5"), 4.5);
    EXPECT_EQ(StrToFloat(" -0.25 "), -0.25);
    EXPECT_EQ(StrToFloat("5."), 5.0);
    EXPECT_EQ(StrToFloat(".5"), 0.5);
    EXPECT_EQ(StrToFloat("1e3"), 1000.0);
    EXPECT_EQ(StrToFloat("2.5E-2"), 0.025);
    EXPECT_EQ(StrToFloat("1e-400"), 0.0);
}

TEST(StrToFloat, UsesTheLocaleDecimalSeparator)
{
    const LocaleFormats comma{',', "dd.MM.yyyy"};
    EXPECT_EQ(StrToFloat("4,5", comma), 4.5);
    EXPECT_ERROR_MESSAGE(StrToFloat("4.5", comma), "'4.5' is not a valid floating point value");
}

TEST(StrToFloat, RejectsEverythingElseWithTheTextInTheMessage)
{
    for (const char* text : {"", "  ", "-", ".", "-.", "e5", "1e", "1e+", "inf", "nan", "INF", "1,5", "1.2.3",
                             "1e400", "--1", "0x10", "3000 5"})
        EXPECT_ERROR_MESSAGE(StrToFloat(text), std::string("'") + text + "' is not a valid floating point value");
}

}  // namespace
