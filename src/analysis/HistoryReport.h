#pragma once
// The statistics of one daily history that tell how alike two histories are.

#include "analysis/DailyHistory.h"

#include <array>
#include <string>
#include <vector>

namespace tickforge {

struct HistoryReport {
    std::string source;
    std::size_t bars = 0;
    DateTimeValue firstDate = 0.0, lastDate = 0.0;
    double spanDays = 0.0;  // calendar days from the first bar's to the last bar's, both counted
    int skippedRows = 0;
    // Close-to-close log returns per bar; annualised with the bars per 365 calendar
    // days that the history itself shows. Skewness and excess kurtosis are the
    // population moments. NaN where the history is too short.
    double meanReturn = 0.0, sdReturn = 0.0, barsPerYear = 0.0, annualMean = 0.0, annualSd = 0.0;
    double skewness = 0.0, excessKurtosis = 0.0;
    double largestMove = 0.0;  // the log return of largest size, with its sign
    DateTimeValue largestMoveDate = 0.0;
    double maxDrawdown = 0.0;  // deepest fall of the close from its running peak, as a share of the peak
    double averageRange = 0.0; // mean of (high - low) / close
    bool hasVolume = false;
    std::array<double, 9> volumeDeciles{};  // 10 % .. 90 %, linear between order statistics; [4] is the median
    double weekendShare = 0.0;              // bars dated on a Saturday or Sunday
};

HistoryReport MakeReport(const DailyHistory& history);

// The q-quantile (0..1) of values, linear between the order statistics (the common
// "type 7" definition); NaN for no values.
double Quantile(std::vector<double> values, double q);

// One line of the report as the front ends show it.
struct ReportLine {
    std::string label;  // "Excess kurtosis"
    std::string key;    // "excess_kurtosis", for machine-readable output
    enum class Kind { Count, Date, Real, Percent, Text } kind = Kind::Real;
    double value = 0.0;
    std::string text;   // the value as shown
};
std::vector<ReportLine> ReportLines(const HistoryReport& report);

// The reports side by side, one column per history, aligned for a terminal.
std::string ReportTable(const std::vector<HistoryReport>& reports);
// The same as JSON: {"histories": [{"file": ..., "bars": ..., ...}, ...]}; null for a
// value that does not exist.
std::string ReportJson(const std::vector<HistoryReport>& reports);

}  // namespace tickforge
