#pragma once
// Reads a real daily history from a CSV file. Columns are found by their headings,
// case-insensitive: a date (heading Date, Time, Timestamp or Day, or a C date format
// such as "%Y-%m-%d" that the column's dates follow), Open, High, Low, Close, and
// Volume when present; other columns (Adj Close, a ticker) are ignored. Fields are
// separated by commas, semicolons or tabs, whichever the heading line uses most.
// Dates are yyyy-MM-dd or the user's short date pattern; numbers use the user's
// decimal separator or a full stop.

#include "analysis/DailyHistory.h"
#include "platform/LocaleFormats.h"

#include <string>

namespace tickforge {

// Fewer bars than this give no usable statistics or fit.
inline constexpr int MinimumBars = 30;

// Rows with an empty field (or "null") are skipped and counted. A file that cannot be
// used raises tickforge::Error with "FILE:LINE: what is wrong" (just "FILE: ..." when
// it cannot be opened).
DailyHistory ReadHistoryCsv(const std::string& path, const LocaleFormats& formats);

// The user's short date pattern (d, dd, M, MM, yy, yyyy, quoted text, separators) as a
// format of the C library's strptime.
std::string StrptimeFormat(const std::string& shortDatePattern);

}  // namespace tickforge
