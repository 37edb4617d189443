#pragma once
// Date-time values: days since 30 December 1899 as a double; the fraction is the
// time of day.

namespace tickforge {

using DateTimeValue = double;

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
