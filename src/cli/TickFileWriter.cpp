#include "cli/TickFileWriter.h"

#include "cli/OutputFile.h"
#include "export/HistoryWriter.h"
#include "export/PriceText.h"
#include "platform/DateTime.h"

#include <cstdio>

namespace tickforge::cli {

namespace {

std::string IsoDateText(double time)
{
    const CivilDate date = DecodeDate(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string IsoTimeText(double time)
{
    const TimeOfDay t = DecodeTime(time);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", t.hour, t.minute, t.second, t.millisecond);
    return text;
}

}  // namespace

std::string IsoDateTimeText(double time) { return IsoDateText(time) + "T" + IsoTimeText(time); }

void WriteTickFile(const std::string& path, const TickPathView& ticks, const ExportFormat& format,
                   const LocaleFormats& formats)
{
    OutputFile file(path, false);
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
    file.Close();
}

}  // namespace tickforge::cli
