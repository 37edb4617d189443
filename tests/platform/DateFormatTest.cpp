#include "platform/DateFormat.h"

#include <gtest/gtest.h>

using tickforge::FormatShortDate;
using tickforge::ParseIsoDate;

namespace {

// 2 January 2024 is day 45293 after 30 December 1899 (1 January 2024 is 45292, the
// serial number spreadsheets also use for dates after March 1900).
constexpr double SecondJanuary2024At16 = 45293.0 + 16.0 / 24.0;

TEST(FormatShortDate, DefaultPatternWritesDayUnpaddedMonthPaddedAndFourDigitYear)
{
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "d/MM/yyyy"), "2/01/2024");
    EXPECT_EQ(FormatShortDate(45293.0 + 30.0, "d/MM/yyyy"), "1/02/2024");
    EXPECT_EQ(FormatShortDate(45292.0 + 365.0 - 1.0, "d/MM/yyyy"), "30/12/2024");  // 2024 is a leap year
}

TEST(FormatShortDate, FieldWidthsFollowTheNumberOfLetters)
{
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "dd/MM/yyyy"), "02/01/2024");
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "d/M/yy"), "2/1/24");
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "M/d/yyyy"), "1/2/2024");
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "yyyy-MM-dd"), "2024-01-02");
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "dd.MM.yy"), "02.01.24");
}

TEST(FormatShortDate, TwoDigitFieldsDoNotCutLongerValues)
{
    // 25 November 2024: day and month already have two digits.
    const double t = 45292.0 + 329.0;
    EXPECT_EQ(FormatShortDate(t, "d/M/yyyy"), "25/11/2024");
    EXPECT_EQ(FormatShortDate(t, "dd/MM/yy"), "25/11/24");
}

TEST(FormatShortDate, TimeOfDayIsDroppedNotRounded)
{
    EXPECT_EQ(FormatShortDate(45293.0 + 0.999999, "dd/MM/yyyy"), "02/01/2024");
    EXPECT_EQ(FormatShortDate(45293.0, "dd/MM/yyyy"), "02/01/2024");
}

TEST(FormatShortDate, DayZeroIsThirtiethDecember1899)
{
    EXPECT_EQ(FormatShortDate(0.0, "dd/MM/yyyy"), "30/12/1899");
    EXPECT_EQ(FormatShortDate(0.0, "yy"), "99");
}

TEST(FormatShortDate, QuotedTextAndOtherCharactersAreCopied)
{
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "yyyy'年'M'月'd'日'"), "2024年1月2日");
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "d 'de' MM"), "2 de 01");
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, "d''MM"), "2'01");
    EXPECT_EQ(FormatShortDate(SecondJanuary2024At16, ""), "");
}

TEST(ParseIsoDate, ReadsRealCalendarDates)
{
    ASSERT_TRUE(ParseIsoDate("2024-01-02").has_value());
    EXPECT_EQ(*ParseIsoDate("2024-01-02"), 45293.0);
    EXPECT_EQ(*ParseIsoDate("1899-12-30"), 0.0);
    EXPECT_EQ(*ParseIsoDate("2024-02-29"), 45292.0 + 31.0 + 28.0);
}

TEST(ParseIsoDate, RefusesOtherTexts)
{
    EXPECT_FALSE(ParseIsoDate(""));
    EXPECT_FALSE(ParseIsoDate("2024-1-02"));
    EXPECT_FALSE(ParseIsoDate("2024/01/02"));
    EXPECT_FALSE(ParseIsoDate("2024-13-01"));
    EXPECT_FALSE(ParseIsoDate("2024-00-10"));
    EXPECT_FALSE(ParseIsoDate("2023-02-29"));
    EXPECT_FALSE(ParseIsoDate("1900-02-29"));
    EXPECT_FALSE(ParseIsoDate("2024-04-31"));
    EXPECT_FALSE(ParseIsoDate("2024-01-02 "));
    EXPECT_FALSE(ParseIsoDate("20x4-01-02"));
}

}  // namespace
