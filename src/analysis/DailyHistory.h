#pragma once
// One daily price history as the analysis reads it: a real file or a history made
// here, bar by bar in date order.

#include "platform/DateTime.h"
#include "series/TimeSeries.h"

#include <string>
#include <vector>

namespace tickforge {

struct DailyHistory {
    std::string source;                 // the file name, or the name given to a history made here
    std::vector<DateTimeValue> dates;   // whole days, strictly rising
    std::vector<double> open, high, low, close;
    std::vector<double> volume;         // empty when the source has no volume
    int skippedRows = 0;                // rows of a file left out for an empty field

    std::size_t Bars() const { return close.size(); }
    bool HasVolume() const { return !volume.empty(); }
};

// The bars of a set made by synthesis (close, volume, open, high, low), dated by the
// day of their open.
DailyHistory HistoryFromBars(const TTimeSeriesSet& bars, const std::string& source);

// Close-to-close log returns, one fewer than the bars.
std::vector<double> LogReturns(const DailyHistory& history);

}  // namespace tickforge
