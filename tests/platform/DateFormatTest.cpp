#include "platform/DateFormat.h"
#include "platform/DateTime.h"

#include "support/ScopedChange.h"

#include <gtest/gtest.h>

#include <chrono>
#include <utility>

using namespace tickforge;

namespace {

using Cases = std::initializer_list<std::pair<const char*, const char*>>;

// Day 45293 after 30 December 1899 is 2 January 2024.
constexpr double SecondJanuary2024At16 = 45293.0 + 16.0 / 24.0;

TEST(FormatShortDate, WritesTheFieldsOfThePatternAndCopiesTheRest)
{
    const struct {
        double t;
        const char *pattern, *text;
    } cases[] = {
        {SecondJanuary2024At16, "d/MM/yyyy", "2/01/2024"},
        {45292.0 + 364.0, "d/MM/yyyy", "30/12/2024"},  // 2024 is a leap year
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

TEST(CheckDatePattern, AcceptsTheSixFieldsAndRefusesLettersThatAreNoField)
{
    const std::string useFields = "' is not a date field (use d, dd, M, MM, yy, yyyy)";
    for (const auto& [pattern, expected] : Cases{
             {"d/MM/yyyy", ""}, {"dd.MM.yy", ""}, {"d 'de' MM yyyy", ""}, {"yyyyMMdd", ""},
             {"yyyy-mm-dd", "'mm"}, {"YYYY-MM-DD", "'YYYY"}, {"ddd/MM", "'ddd"}, {"d/M/yyy", "'yyy"},
             {"--", "the date pattern holds no date field (d, dd, M, MM, yy, yyyy)"},
             {"", "the date pattern is empty"}, {"d 'of MM", "a quote in the date pattern is not closed"}}) {
        const std::string want = expected[0] == '\'' ? expected + useFields : expected;
        EXPECT_EQ(CheckDatePattern(pattern), want) << pattern;
    }
}

TEST(ShortDatePatternOfQtFormat, KeepsTheSixFieldsAndReducesNamesAndOtherLengths)
{
    for (const auto& [qt, expected] : Cases{
             {"M/d/yy", "M/d/yy"}, {"dd.MM.yyyy", "dd.MM.yyyy"}, {"dddd, d MMMM yyyy", "d MM yyyy"}, {"ddd d MMM", "d MM"},
             {"d MMM y", "d MM yyyy"}, {"yyyy'年'M'月'd'日'", "yyyy年M月d日"}, {"d 'de' MMMM", "d 'de' MM"},
             {"dd''MM", "dd''MM"}, {" d/M/yy ", "d/M/yy"}}) {
        EXPECT_EQ(ShortDatePatternOfQtFormat(qt), expected) << qt;
    }
}

TEST(IsoDates, ReadRealCalendarDatesOnlyAndWriteBothSidesOfDayZero)
{
    EXPECT_EQ(ParseIsoDate("2024-01-02"), 45293.0);
    EXPECT_EQ(ParseIsoDate("2024-02-29"), 45292.0 + 31.0 + 28.0);
    for (const char* text : {"", "2024-1-02", "2024-13-01", "2024-00-10", "2023-02-29", "1900-02-29", "2024-04-31",
                             "2024-01-02 ", "0000-01-01"})
        EXPECT_FALSE(ParseIsoDate(text)) << text;
    // Before day zero the fraction counts backwards from the whole day.
    EXPECT_EQ(IsoDateTimeText(-1.25), "1899-12-29T06:00:00.000");
    EXPECT_EQ(IsoDateTimeText(45293.0 + (6.0 * 3600 + 7 * 60 + 8.009) / 86400.0), "2024-01-02T06:07:08.009");
    EXPECT_EQ(IsoDateTimeText(LastDay + 0.99999999), "9999-12-31T23:59:59.999");
    EXPECT_EQ(IsoDateText(FirstDay), "0001-01-01");
}

// The tests above show how days are counted and split; here the week and the clock.
TEST(DateTime, WeekdaysCountFromTheSaturday30thOfDecember1899BothWays)
{
    EXPECT_EQ(DayOfWeek(0.0), Weekday::Saturday);
    EXPECT_EQ(DayOfWeek(-1.0), Weekday::Friday);
    for (const int day : {5, 6, 7, 8})
        EXPECT_EQ(IsWeekend(EncodeDate({2024, 1, day})), day == 6 || day == 7) << day;
}

TEST(DateTime, NowIsTheWallClockOfTheLocalTimeZoneToTheMillisecond)
{
    using namespace std::chrono;
    const auto day = [](system_clock::time_point t) {  // in a zone two hours east of UTC
        return UnixEpochDay + static_cast<double>(duration_cast<milliseconds>(t.time_since_epoch()).count()) / 864e5 + 2.0 / 24.0;
    };
    double before = 0.0, now = 0.0, after = 0.0;
    {
        const tickforge::testing::Undo zone = tickforge::testing::SetEnvironment("TZ", "XYZ-2");
        ::tzset();
        before = day(system_clock::now());
        now = NowLocal();
        after = day(system_clock::now());
    }
    ::tzset();
    EXPECT_GE(now, before - 1e-9);
    EXPECT_LE(now, after + 1e-9);
}

}  // namespace
