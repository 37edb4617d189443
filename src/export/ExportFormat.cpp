#include "export/ExportFormat.h"

namespace tickforge {

ExportFormat::ExportFormat()
{
    for (const ExportColumnInfo& column : ExportColumns) {
        Include(column.Column, column.IncludedAtStart);
        Heading(column.Column) = column.Heading;
    }
}

void ExportFormat::IncludeOnly(std::string_view letters)
{
    for (const ExportColumnInfo& column : ExportColumns)
        Include(column.Column, letters.find(column.Letter) != std::string_view::npos);
}

const ExportColumnInfo& ColumnOfSeries(std::int32_t series)
{
    for (const ExportColumnInfo& column : ExportColumns) {
        if (column.Series == series)
            return column;
    }
    return ColumnInfo(ExportColumn::Volume);
}

std::string ColumnLetters(const ExportFormat& format)
{
    std::string letters;
    for (const ExportColumnInfo& column : ExportColumns) {
        if (format.Includes(column.Column))
            letters += column.Letter;
    }
    return letters;
}

std::string ExampleLine(const ExportFormat& format)
{
    std::string example;
    for (const char letter : ColumnLetters(format)) {
        if (!example.empty())
            example += ',';
        example += letter;
    }
    return example;
}

bool HasValueColumn(const ExportFormat& format)
{
    for (const ExportColumnInfo& column : ExportColumns) {
        if (IsValueColumn(column) && format.Includes(column.Column))
            return true;
    }
    return false;
}

}  // namespace tickforge
