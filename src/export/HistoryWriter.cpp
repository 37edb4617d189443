#include "export/HistoryWriter.h"

#include "export/PriceText.h"
#include "platform/DateFormat.h"
#include "platform/Error.h"

#include <vector>

namespace tickforge {

void AppendField(std::string& line, std::string_view text, const ExportFormat& format)
{
    if (!line.empty())
        line += format.Delimiter;
    if (format.QuoteValues) {
        line += '"';
        line += text;
        line += '"';
    } else {
        line += text;
    }
}

std::string ValueText(const ExportColumnInfo& column, double value, std::int32_t precision, char decimalSeparator)
{
    return column.Series == SeriesVolume ? VolumeText(value) : PriceText(value, precision, decimalSeparator);
}

void WriteHistoryFile(const std::string& path, bool append, const TTimeSeriesSet& bars, const ExportFormat& format,
                      const std::string& tickerText, bool writeHeadings, const LocaleFormats& formats)
{
    StagedFile file(path.empty() ? bars.Name + ".csv" : path,
                    append ? StagedFile::Mode::Append : StagedFile::Mode::Replace);
    WriteHistory(file, bars, format, tickerText, writeHeadings, formats);
    file.Checkpoint();
    file.Commit();
}

void WriteHistory(StagedFile& file, const TTimeSeriesSet& bars, const ExportFormat& format,
                  const std::string& tickerText, bool writeHeadings, const LocaleFormats& formats)
{
    std::string line;

    std::vector<const ExportColumnInfo*> columns;
    for (const ExportColumnInfo& column : ExportColumns) {
        if (format.Includes(column.Column))
            columns.push_back(&column);
    }

    if (writeHeadings) {
        for (const ExportColumnInfo* column : columns)
            AppendField(line, format.Heading(column->Column), format);
        file.WriteLine(line);
    }

    const ShortDateWriter dates(formats.shortDatePattern);
    std::string dateText;
    const std::int32_t length = bars.Length();
    for (std::int32_t i = 0; i < length; ++i) {
        line.clear();
        for (const ExportColumnInfo* column : columns) {
            switch (column->Column) {
            case ExportColumn::Ticker:
                AppendField(line, tickerText, format);
                break;
            case ExportColumn::Date:
                dateText.clear();
                dates.Append(dateText, bars.GetTime(SeriesClose, i));
                AppendField(line, dateText, format);
                break;
            default:
                AppendField(line,
                            ValueText(*column, bars.GetValue(column->Series, i), format.Precision,
                                      formats.decimalSeparator),
                            format);
            }
        }
        file.WriteLine(line);
    }
}

}  // namespace tickforge
