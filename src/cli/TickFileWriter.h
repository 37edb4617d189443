#pragma once
// Writes a tick path as delimited text: one line per tick, the tick's date and time in
// ISO 8601 with milliseconds, then the price before the tick's move in the export's
// precision, with the export's quoting, delimiter and decimal separator.

#include "export/ExportFormat.h"
#include "platform/LocaleFormats.h"
#include "synthesis/MakeHistory.h"

#include <string>

namespace tickforge::cli {

// "2024-01-02T06:00:00.000": the date of the whole-day part and the time of day of the
// fraction, rounded to the millisecond and kept within its day.
std::string IsoDateTimeText(double time);

// Creates or replaces the file at path.
void WriteTickFile(const std::string& path, const TickPathView& ticks, const ExportFormat& format,
                   const LocaleFormats& formats);

}  // namespace tickforge::cli
