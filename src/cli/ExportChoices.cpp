#include "cli/ExportChoices.h"

namespace tickforge::cli {

ExportFormat MakeExportFormat(const CliOptions& o)
{
    ExportFormat format;
    format.IncludeOnly(o.columns);
    format.WriteHeadings = o.headings.Given();
    format.QuoteValues = !o.noQuotes.Given();
    format.Delimiter = o.tab.Given() ? '\t' : ',';
    format.Precision = o.precision;
    format.MultipleFiles = o.multipleFiles.Given();
    return format;
}

bool IsBatch(const CliOptions& o) { return o.count > 1 || o.multipleFiles.Given(); }

}  // namespace tickforge::cli
