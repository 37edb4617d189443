#include "platform/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace tickforge {

namespace {

using namespace std::chrono;

}  // namespace

DateTimeValue EncodeDate(const CivilDate& date)
{
    const sys_days d = sys_days{year{date.year} / month{static_cast<unsigned>(date.month)} / day{static_cast<unsigned>(date.day)}};
    return static_cast<double>((d - Epoch).count());
}

CivilDate DecodeDate(DateTimeValue t)
{
    const year_month_day ymd{Epoch + days{static_cast<long long>(t)}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

TimeOfDay DecodeTime(DateTimeValue t)
{
    const double fraction = std::fabs(t - WholeDays(t));
    long long ms = std::llround(fraction * 86400000.0);
    if (ms >= 86400000LL)
        ms = 86400000LL - 1;
    TimeOfDay time;
    time.millisecond = static_cast<int>(ms % 1000);
    time.second = static_cast<int>(ms / 1000 % 60);
    time.minute = static_cast<int>(ms / 60000 % 60);
    time.hour = static_cast<int>(ms / 3600000);
    return time;
}

Weekday DayOfWeek(DateTimeValue t)
{
    const weekday day{Epoch + days{static_cast<long long>(t)}};
    return static_cast<Weekday>(day.iso_encoding());
}

DateTimeValue NowLocal()
{
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const double date = EncodeDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday});
    const double time = (local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + static_cast<double>(ms) / 1000.0) / 86400.0;
    return date < 0.0 ? date - time : date + time;
}

}  // namespace tickforge
