#include "platform/DateFormat.h"

#include <gtest/gtest.h>

using tickforge::FormatShortDate;
using tickforge::ParseIsoDate;

namespace {

// Day 45293 after 30 December 1899 is 2 January 2024.
constexpr double SecondJanuary2024At16 = 45293.0 + 16.0 / 24.0;

TEST(FormatShortDate, WritesTheFieldsOfThePatternAndCopiesTheRest)
{
    const struct {
        double t;
        const char* pattern;
        const char* text;
    } cases[] = {
        {SecondJanuary2024At16, "d/MM/yyyy", "2/01/2024"},
        {45292.0 + 364.0, "d/MM/yyyy", "30/12/2024"},  // 2024 is a leap year
        {SecondJanuary2024At16, "dd/MM/yyyy", "02/01/2024"},
        {SecondJanuary2024At16, "d/M/yy", "2/1/24"},
        {SecondJanuary2024At16, "yyyy-MM-dd", "2024-01-02"},
        {45292.0 + 329.0, "d/M/yyyy", "25/11/2024"},  // two-digit values are never cut
        {45293.0 + 0.999999, "dd/MM/yyyy", "02/01/2024"},  // the time of day is dropped, not rounded
        {0.0, "dd/MM/yyyy", "30/12/1899"},
        {SecondJanuary2024At16, "yyyy'年'M'月'd'日'", "2024年1月2日"},  // quoted text is copied
        {SecondJanuary2024At16, "d''MM", "2'01"},
        {SecondJanuary2024At16, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatShortDate(c.t, c.pattern), c.text) << c.pattern << " " << c.t;
}

TEST(ParseIsoDate, ReadsRealCalendarDatesOnly)
{
    EXPECT_EQ(ParseIsoDate("2024-01-02"), 45293.0);
    EXPECT_EQ(ParseIsoDate("1899-12-30"), 0.0);
    EXPECT_EQ(ParseIsoDate("2024-02-29"), 45292.0 + 31.0 + 28.0);
    for (const char* text : {"", "2024-1-02", "2024-13-01", "2024-00-10", "2023-02-29", "1900-02-29", "2024-04-31",
                             "2024-01-02 "})
        EXPECT_FALSE(ParseIsoDate(text)) << text;
}

}  // namespace
