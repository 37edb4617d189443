#include "export/ExportFormat.h"

namespace tickforge {

std::string ExampleLine(const ExportFormat& format)
{
    const struct {
        bool included;
        char letter;
    } columns[] = {
        {format.TickerColumn, 'T'}, {format.DateColumn, 'D'}, {format.OpenColumn, 'O'}, {format.HighColumn, 'H'},
        {format.LowColumn, 'L'},    {format.CloseColumn, 'C'}, {format.VolumeColumn, 'V'},
    };
    std::string example;
    for (const auto& column : columns) {
        if (!column.included)
            continue;
        if (!example.empty())
            example += ',';
        example += column.letter;
    }
    return example;
}

bool HasValueColumn(const ExportFormat& format)
{
    return format.OpenColumn || format.HighColumn || format.LowColumn || format.CloseColumn || format.VolumeColumn;
}

}  // namespace tickforge
