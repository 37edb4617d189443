#include "cli/TickFileWriter.h"

#include "export/HistoryWriter.h"
#include "export/PriceText.h"
#include "platform/DateFormat.h"
#include "platform/DateTime.h"

namespace tickforge::cli {

void WriteTicks(StagedFile& file, const TickPathView& ticks, const ExportFormat& format, const LocaleFormats& formats)
{
    std::string line;
    // A day's ticks share their date: work it out once per day.
    double day = 0.0;
    std::string dayText;
    for (std::int64_t i = 0; i < ticks.Count; ++i) {
        const TickPoint& tick = ticks.Points[i];
        const double whole = WholeDays(tick.Time);
        if (i == 0 || whole != day) {
            day = whole;
            dayText = IsoDateText(tick.Time) + "T";
        }
        line.clear();
        AppendField(line, dayText + IsoTimeText(tick.Time), format);
        AppendField(line, PriceText(tick.Value, format.Precision, formats.decimalSeparator), format);
        file.WriteLine(line);
    }
}

}  // namespace tickforge::cli
