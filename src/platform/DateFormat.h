#pragma once
// Date texts: the short date patterns of exported files (their one grammar, used to
// write dates, to check a pattern the user gives and to translate the locale's own
// format), and the ISO forms (YYYY-MM-DD) that the command line reads and writes.
//
// The grammar: a run of one letter is a field (d day, dd two-digit day, M month, MM
// two-digit month, yy last two digits of the year, yyyy four-digit year); text in single
// quotes is copied without the quotes, and two single quotes give one, inside quotes or
// out; every other character is a separator, copied as it stands.

#include "platform/DateTime.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tickforge {

// One piece of a pattern: a run of a letter, or literal text.
struct DatePatternPiece {
    char letter = 0;       // 0 for literal text
    std::size_t run = 0;   // how often the letter is repeated
    std::string text;      // the literal text, quotes resolved
};

struct DatePattern {
    std::vector<DatePatternPiece> pieces;
    bool unclosedQuote = false;  // the last quoted text runs to the end
};

DatePattern ParseDatePattern(std::string_view pattern);

// A pattern read once, to write many dates.
class ShortDateWriter {
public:
    explicit ShortDateWriter(std::string_view pattern);
    // Appends the calendar date of t's whole-day part; the time of day is never
    // written. A run of another letter is copied as it stands; d and M runs longer than
    // two write two digits, y runs other than two write four.
    void Append(std::string& out, DateTimeValue t) const;

private:
    DatePattern pattern_;
};

// The calendar date of t's whole-day part, written in pattern.
std::string FormatShortDate(DateTimeValue t, const std::string& pattern);

// Empty when pattern is usable for --date-format; otherwise why not. Letters outside
// quotes must form one of the six fields, so that a slip such as "mm" (minutes
// elsewhere) or "YYYY" is caught instead of being copied into every date.
std::string CheckDatePattern(const std::string& pattern);

// A Qt date format (UTF-8) reduced to the six fields: month names become two-digit
// months, weekday names are dropped with the separators after them, years of any other
// length become four-digit years. Quoted text and separators stay.
std::string ShortDatePatternOfQtFormat(std::string_view qtFormat);

// "YYYY-MM-DD" (four-digit year, two-digit month and day, a real calendar date) as a
// date-time at midnight; nothing for any other text.
std::optional<DateTimeValue> ParseIsoDate(const std::string& text);

// The calendar date of t's whole-day part as "YYYY-MM-DD".
std::string IsoDateText(DateTimeValue t);
// "06:00:00.000": the time of day of the fraction, rounded to the millisecond and kept
// within its day.
std::string IsoTimeText(DateTimeValue t);
// "2024-01-02T06:00:00.000": the date of the whole-day part and the time of day of the
// fraction, rounded to the millisecond and kept within its day.
std::string IsoDateTimeText(DateTimeValue t);

}  // namespace tickforge
