#include "cli/DirtyLabels.h"

#include "export/HistoryWriter.h"
#include "platform/DateFormat.h"

namespace tickforge::cli {

DirtyLabelsFile::DirtyLabelsFile(std::string path, const ExportFormat& format, const LocaleFormats& formats)
    : path_(std::move(path)), format_(format), formats_(formats)
{
}

void DirtyLabelsFile::WriteMember(int member, const TTimeSeriesSet& bars, const std::vector<Corruption>& corruptions)
{
    std::string line;
    if (!file_) {
        file_ = std::make_unique<StagedFile>(path_);
        for (const char* heading : DirtyLabelHeadings)
            AppendField(line, heading, format_);
        file_->WriteLine(line);
    }
    for (const Corruption& c : corruptions) {
        // A field is named by its column's heading text in the bar file.
        const ExportColumnInfo& column = ColumnOfSeries(c.Series);
        line.clear();
        AppendField(line, std::to_string(member), format_);
        AppendField(line, std::to_string(c.Bar), format_);
        AppendField(line, FormatShortDate(bars.GetTime(SeriesClose, c.Bar), formats_.shortDatePattern), format_);
        AppendField(line, std::to_string(static_cast<int>(c.Kind)), format_);
        AppendField(line, format_.Heading(column.Column), format_);
        AppendField(line, ValueText(column, c.Before, format_.Precision, formats_.decimalSeparator), format_);
        AppendField(line, ValueText(column, c.After, format_.Precision, formats_.decimalSeparator), format_);
        file_->WriteLine(line);
    }
    file_->Checkpoint();
}

void DirtyLabelsFile::Close()
{
    if (file_)
        file_->Commit();
    file_.reset();
}

}  // namespace tickforge::cli
