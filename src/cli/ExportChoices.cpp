#include "cli/ExportChoices.h"

namespace tickforge::cli {

ExportFormat MakeExportFormat(const CliOptions& o)
{
    const auto included = [&](char letter) { return o.columns.find(letter) != std::string::npos; };
    ExportFormat format;
    format.TickerColumn = included('T');
    format.DateColumn = included('D');
    format.OpenColumn = included('O');
    format.HighColumn = included('H');
    format.LowColumn = included('L');
    format.CloseColumn = included('C');
    format.VolumeColumn = included('V');
    format.WriteHeadings = o.headings.Given();
    format.QuoteValues = !o.noQuotes.Given();
    format.Delimiter = o.tab.Given() ? '\t' : ',';
    format.Precision = o.precision;
    format.MultipleFiles = o.multipleFiles.Given();
    return format;
}

bool IsBatch(const CliOptions& o) { return o.count > 1 || o.multipleFiles.Given(); }

}  // namespace tickforge::cli
