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

TickFileWriter::TickFileWriter(const std::string& path, const ExportFormat& format, const LocaleFormats& formats)
    : file_(path, false), format_(format), formats_(formats)
{
}

void TickFileWriter::Write(const TickPathView& ticks)
{
    for (std::int64_t i = 0; i < ticks.Count; ++i) {
        const TickPoint& tick = ticks.Points[i];
        const double whole = WholeDays(tick.Time);
        if (dayText_.empty() || whole != day_) {
            day_ = whole;
            dayText_ = IsoDateText(tick.Time) + "T";
        }
        line_.clear();
        AppendField(line_, dayText_ + IsoTimeText(tick.Time), format_);
        AppendField(line_, PriceText(tick.Value, format_.Precision, formats_.decimalSeparator), format_);
        file_.WriteLine(line_);
    }
}

}  // namespace tickforge::cli
