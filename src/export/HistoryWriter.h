#pragma once
// Writes one daily bar set as delimited text: an optional heading line, then one line
// per bar, every line ended by carriage return and line feed. Columns in the fixed
// order ticker, date, open, high, low, close, volume, each optional.

#include "export/ExportFormat.h"
#include "platform/LocaleFormats.h"
#include "platform/StagedFile.h"
#include "series/TimeSeries.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tickforge {

// Adds one field to line: quoted when the format quotes values, and preceded by the
// delimiter unless line is still empty. Nothing inside text is escaped.
void AppendField(std::string& line, std::string_view text, const ExportFormat& format);

// A value column's text: the volume as a whole number, a price with precision
// significant digits.
std::string ValueText(const ExportColumnInfo& column, double value, std::int32_t precision, char decimalSeparator);

// Writes bars to path (an empty path means the set's Name + ".csv"). append false
// creates or empties the file; append true adds to the end of an existing file, and a
// missing file is an error. Prices use the format's precision and the locale's
// decimal separator; the date is the close time's day in the locale's short date
// pattern. The file changes only once every line is written; a failure raises
// tickforge::Error and leaves it as it was.
void WriteHistoryFile(const std::string& path, bool append, const TTimeSeriesSet& bars, const ExportFormat& format,
                      const std::string& tickerText, bool writeHeadings, const LocaleFormats& formats = {});

// The same lines, added to a staged file that the caller checkpoints and commits.
void WriteHistory(StagedFile& file, const TTimeSeriesSet& bars, const ExportFormat& format,
                  const std::string& tickerText, bool writeHeadings, const LocaleFormats& formats = {});

}  // namespace tickforge
