#pragma once
// The export format dialog's choices, carried as one record from the dialog to the
// export command and the history file writer. The defaults are the dialog's state
// when the program starts.

#include <cstdint>
#include <string>

namespace tickforge {

struct ExportFormat {
    bool TickerColumn = false;
    bool DateColumn = true;
    bool OpenColumn = true;
    bool HighColumn = true;
    bool LowColumn = true;
    bool CloseColumn = true;
    bool VolumeColumn = true;
    std::string TickerHeading = "TICKER";
    std::string DateHeading = "DATE";
    std::string OpenHeading = "OPEN";
    std::string HighHeading = "HIGH";
    std::string LowHeading = "LOW";
    std::string CloseHeading = "CLOSE";
    std::string VolumeHeading = "VOLUME";
    bool WriteHeadings = false;
    bool QuoteValues = true;
    char Delimiter = ',';          // a comma or a tab (character 9)
    std::int32_t Precision = 5;    // significant digits of prices, 1 to 9
    bool MultipleFiles = false;    // a batch writes one file per history
};

inline constexpr std::int32_t MinimumPrecision = 1;
inline constexpr std::int32_t MaximumPrecision = 9;

// One letter per included column (T, D, O, H, L, C, V) in the file's column order,
// joined by commas whatever the delimiter: "D,O,H,L,C,V" for the defaults.
std::string ExampleLine(const ExportFormat& format);

// Whether any of open, high, low, close and volume is included; ticker and date are
// not value columns.
bool HasValueColumn(const ExportFormat& format);

}  // namespace tickforge
