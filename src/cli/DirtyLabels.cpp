#include "cli/DirtyLabels.h"

#include "export/HistoryWriter.h"
#include "export/PriceText.h"
#include "platform/DateFormat.h"

namespace tickforge::cli {

namespace {

// A field is named by its column's heading text in the bar file.
const std::string& FieldName(const ExportFormat& format, std::int32_t series)
{
    switch (series) {
    case SeriesOpen: return format.OpenHeading;
    case SeriesHigh: return format.HighHeading;
    case SeriesLow: return format.LowHeading;
    case SeriesClose: return format.CloseHeading;
    default: return format.VolumeHeading;
    }
}

}  // namespace

DirtyLabelsFile::DirtyLabelsFile(std::string path, const ExportFormat& format, const LocaleFormats& formats)
    : path_(std::move(path)), format_(format), formats_(formats)
{
}

void DirtyLabelsFile::WriteMember(int member, const TTimeSeriesSet& bars, const std::vector<Corruption>& corruptions)
{
    std::string line;
    if (!file_) {
        file_ = std::make_unique<OutputFile>(path_, false);
        for (const char* heading : DirtyLabelHeadings)
            AppendField(line, heading, format_);
        file_->WriteLine(line);
    }
    const auto valueText = [&](std::int32_t series, double v) {
        return series == SeriesVolume ? VolumeText(v) : PriceText(v, format_.Precision, formats_.decimalSeparator);
    };
    for (const Corruption& c : corruptions) {
        line.clear();
        AppendField(line, std::to_string(member), format_);
        AppendField(line, std::to_string(c.Bar), format_);
        AppendField(line, FormatShortDate(bars.GetTime(SeriesClose, c.Bar), formats_.shortDatePattern), format_);
        AppendField(line, std::to_string(static_cast<int>(c.Kind)), format_);
        AppendField(line, FieldName(format_, c.Series), format_);
        AppendField(line, valueText(c.Series, c.Before), format_);
        AppendField(line, valueText(c.Series, c.After), format_);
        file_->WriteLine(line);
    }
}

void DirtyLabelsFile::Close()
{
    if (file_)
        file_->Close();
}

}  // namespace tickforge::cli
