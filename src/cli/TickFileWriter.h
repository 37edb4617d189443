#pragma once
// Writes a tick path as delimited text: one line per tick, the tick's date and time in
// ISO 8601 with milliseconds, then the price before the tick's move in the export's
// precision, with the export's quoting, delimiter and decimal separator.

#include "export/ExportFormat.h"
#include "platform/LocaleFormats.h"
#include "platform/StagedFile.h"
#include "synthesis/MakeHistory.h"

#include <string>

namespace tickforge::cli {

// Adds the lines of ticks to file.
void WriteTicks(StagedFile& file, const TickPathView& ticks, const ExportFormat& format, const LocaleFormats& formats);

}  // namespace tickforge::cli
