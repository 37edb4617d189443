#include "platform/DateTime.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace tickforge;

namespace {

// The date tests show how days are counted and split; here the week and the clock.
TEST(DateTime, WeekdaysCountFromTheSaturday30thOfDecember1899BothWays)
{
    EXPECT_EQ(DayOfWeek(0.0), Weekday::Saturday);
    EXPECT_EQ(DayOfWeek(-1.0), Weekday::Friday);
    EXPECT_EQ(DayOfWeek(EncodeDate({2024, 1, 1}) + 0.9), Weekday::Monday);
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
        tickforge::testing::EnvironmentOverride zone("TZ", std::string("XYZ-2"));
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
