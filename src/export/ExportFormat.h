#pragma once
// The export format dialog's choices, carried as one record from the dialog to the
// export command and the history file writer. The defaults are the dialog's state
// when the program starts.

#include "series/TimeSeries.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tickforge {

// The columns of an exported file, in the file's order.
enum class ExportColumn : std::uint8_t { Ticker, Date, Open, High, Low, Close, Volume };
inline constexpr std::size_t ExportColumnCount = 7;

// What a bar of ticker and date columns has no series for.
inline constexpr std::int32_t NoSeries = -1;

struct ExportColumnInfo {
    ExportColumn Column;
    char Letter;           // in the example line and on the command line
    const char* Name;      // the dialog's controls are "cb" + Name and "eb" + Name
    const char* Heading;   // the heading text at start
    bool IncludedAtStart;
    std::int32_t Series;   // the bar series whose values a value column writes
};

// Every column, in the file's order (ExportColumns[i].Column is column i).
inline constexpr std::array<ExportColumnInfo, ExportColumnCount> ExportColumns = {{
    {ExportColumn::Ticker, 'T', "Ticker", "TICKER", false, NoSeries},
    {ExportColumn::Date, 'D', "Date", "DATE", true, NoSeries},
    {ExportColumn::Open, 'O', "Open", "OPEN", true, SeriesOpen},
    {ExportColumn::High, 'H', "High", "HIGH", true, SeriesHigh},
    {ExportColumn::Low, 'L', "Low", "LOW", true, SeriesLow},
    {ExportColumn::Close, 'C', "Close", "CLOSE", true, SeriesClose},
    {ExportColumn::Volume, 'V', "Volume", "VOLUME", true, SeriesVolume},
}};

constexpr const ExportColumnInfo& ColumnInfo(ExportColumn column) { return ExportColumns[static_cast<std::size_t>(column)]; }
// Open, high, low, close and volume; ticker and date are not value columns.
constexpr bool IsValueColumn(const ExportColumnInfo& column) { return column.Series != NoSeries; }
// The value column that writes a bar series.
const ExportColumnInfo& ColumnOfSeries(std::int32_t series);

struct ExportFormat {
    ExportFormat();

    bool Includes(ExportColumn column) const { return Included[static_cast<std::size_t>(column)]; }
    void Include(ExportColumn column, bool included) { Included[static_cast<std::size_t>(column)] = included; }
    // Includes exactly the columns whose letters stand in letters.
    void IncludeOnly(std::string_view letters);
    const std::string& Heading(ExportColumn column) const { return Headings[static_cast<std::size_t>(column)]; }
    std::string& Heading(ExportColumn column) { return Headings[static_cast<std::size_t>(column)]; }

    std::array<bool, ExportColumnCount> Included{};         // per column, in the table's order
    std::array<std::string, ExportColumnCount> Headings;   // per column
    bool WriteHeadings = false;
    bool QuoteValues = true;
    char Delimiter = ',';          // a comma or a tab (character 9)
    std::int32_t Precision = 5;    // significant digits of prices, 1 to 9
    bool MultipleFiles = false;    // a batch writes one file per history
};

inline constexpr std::int32_t MinimumPrecision = 1;
inline constexpr std::int32_t MaximumPrecision = 9;

// The letters of the included columns in the file's order: "DOHLCV" for the defaults.
std::string ColumnLetters(const ExportFormat& format);

// The same joined by commas whatever the delimiter: "D,O,H,L,C,V" for the defaults.
std::string ExampleLine(const ExportFormat& format);

// Whether any value column is included.
bool HasValueColumn(const ExportFormat& format);

}  // namespace tickforge
