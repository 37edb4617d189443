#pragma once
// Writes a tick path as delimited text: one line per tick, the tick's date and time in
// ISO 8601 with milliseconds, then the price before the tick's move in the export's
// precision, with the export's quoting, delimiter and decimal separator.

#include "cli/OutputFile.h"
#include "export/ExportFormat.h"
#include "platform/LocaleFormats.h"
#include "synthesis/MakeHistory.h"

#include <string>

namespace tickforge::cli {

// "2024-01-02T06:00:00.000": the date of the whole-day part and the time of day of the
// fraction, rounded to the millisecond and kept within its day.
std::string IsoDateTimeText(double time);

// A tick file written as the ticks are made, a block at a time.
class TickFileWriter {
public:
    // Creates or replaces the file at path.
    TickFileWriter(const std::string& path, const ExportFormat& format, const LocaleFormats& formats);
    // Adds the ticks that follow those written so far.
    void Write(const TickPathView& ticks);
    // Flushes and closes; a failure raises.
    void Close() { file_.Close(); }

private:
    OutputFile file_;
    const ExportFormat& format_;
    const LocaleFormats& formats_;
    std::string line_;
    // A day's ticks share their date: it is worked out once per day.
    double day_ = 0.0;
    std::string dayText_;
};

}  // namespace tickforge::cli
