#pragma once
// Date-time values: days since 30 December 1899 as a double; the whole part is the
// date, the fraction's size is the time of day (before day zero the fraction counts
// backwards: -1.25 is 29 December 1899, 06:00).

#include <chrono>

namespace tickforge {

using DateTimeValue = double;

// Day zero of every date-time value.
inline constexpr std::chrono::sys_days Epoch{std::chrono::year{1899} / std::chrono::December / 30};
// Day number of 1 January 1970, where the system clock and Qt's chart axis start.
inline constexpr double UnixEpochDay = static_cast<double>((std::chrono::sys_days{std::chrono::year{1970} / 1 / 1} - Epoch).count());

// The years a history's days may fall in: both front ends accept start dates in them
// and refuse a history that would leave them.
inline constexpr int FirstYear = 1;
inline constexpr int LastYear = 9999;
inline constexpr double FirstDay =
    static_cast<double>((std::chrono::sys_days{std::chrono::year{FirstYear} / 1 / 1} - Epoch).count());
inline constexpr double LastDay =
    static_cast<double>((std::chrono::sys_days{std::chrono::year{LastYear} / 12 / 31} - Epoch).count());

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    bool operator==(const CivilDate&) const = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The whole-day part, truncated toward zero.
inline double WholeDays(DateTimeValue t) { return static_cast<double>(static_cast<long long>(t)); }

DateTimeValue EncodeDate(const CivilDate& date);
// The calendar date of the whole-day part.
CivilDate DecodeDate(DateTimeValue t);
// The time of day of the fraction, rounded to the millisecond.
TimeOfDay DecodeTime(DateTimeValue t);

enum class Weekday { Monday = 1, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday };
Weekday DayOfWeek(DateTimeValue t);
inline bool IsWeekend(DateTimeValue t)
{
    const Weekday d = DayOfWeek(t);
    return d == Weekday::Saturday || d == Weekday::Sunday;
}

// The current local date and time.
DateTimeValue NowLocal();

}  // namespace tickforge
