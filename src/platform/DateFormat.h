#pragma once
// Date texts: the whole-day part of a date-time in the user's short date pattern,
// and the ISO form (YYYY-MM-DD) that the command line accepts.

#include "platform/DateTime.h"

#include <optional>
#include <string>

namespace tickforge {

// The calendar date of t's whole-day part, written in pattern. The pattern's fields
// are d (day), dd (day, two digits), M (month), MM (month, two digits), yy (year, last
// two digits) and yyyy (year, four digits); text in single quotes is copied without
// the quotes, two single quotes give one; every other character is a separator and
// is copied as it stands. The time of day is never written.
std::string FormatShortDate(DateTimeValue t, const std::string& pattern);

// "YYYY-MM-DD" (four-digit year, two-digit month and day, a real calendar date) as a
// date-time at midnight; nothing for any other text.
std::optional<DateTimeValue> ParseIsoDate(const std::string& text);

}  // namespace tickforge
