#include "platform/DateTime.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace tickforge;

namespace {

TEST(DateTime, DaysCountFromThe30thOfDecember1899AndWeekendsFromThem)
{
    EXPECT_EQ(EncodeDate({1899, 12, 30}), 0.0);
    EXPECT_EQ(EncodeDate({1900, 1, 1}), 2.0);
    EXPECT_EQ(EncodeDate({2024, 1, 2}), 45293.0);
    EXPECT_EQ(DecodeDate(45293.75), (CivilDate{2024, 1, 2}));
    EXPECT_EQ(DecodeDate(EncodeDate({2000, 2, 29})), (CivilDate{2000, 2, 29}));
    EXPECT_EQ(WholeDays(45293.999), 45293.0);
    EXPECT_EQ(WholeDays(-1.5), -1.0);  // toward zero
    EXPECT_EQ(DayOfWeek(0.0), Weekday::Saturday);
    EXPECT_EQ(DayOfWeek(EncodeDate({2024, 1, 1}) + 0.9), Weekday::Monday);
    EXPECT_EQ(DayOfWeek(-1.0), Weekday::Friday);
    EXPECT_TRUE(IsWeekend(EncodeDate({2024, 1, 6})));
    EXPECT_TRUE(IsWeekend(EncodeDate({2024, 1, 7})));
    EXPECT_FALSE(IsWeekend(EncodeDate({2024, 1, 5})));
}

TEST(DateTime, TimeOfDayToTheMillisecond)
{
    const TimeOfDay t = DecodeTime(45293.0 + (6.0 * 3600 + 7 * 60 + 8.009) / 86400.0);
    EXPECT_EQ(t.hour, 6);
    EXPECT_EQ(t.minute, 7);
    EXPECT_EQ(t.second, 8);
    EXPECT_EQ(t.millisecond, 9);
    EXPECT_EQ(DecodeTime(45293.0 + 0.999999999).hour, 23);  // never rounded into the next day
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
