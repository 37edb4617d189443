#include "analysis/DailyHistory.h"

#include <cmath>

namespace tickforge {

DailyHistory HistoryFromBars(const TTimeSeriesSet& bars, const std::string& source)
{
    DailyHistory history;
    history.source = source;
    const std::int32_t n = bars.SeriesCount() == DailyBarSeriesCount ? bars.Length() : 0;
    for (std::int32_t i = 0; i < n; ++i) {
        history.dates.push_back(WholeDays(bars.At(SeriesOpen).GetTime(i)));
        history.open.push_back(bars.At(SeriesOpen).GetValue(i));
        history.high.push_back(bars.At(SeriesHigh).GetValue(i));
        history.low.push_back(bars.At(SeriesLow).GetValue(i));
        history.close.push_back(bars.At(SeriesClose).GetValue(i));
        history.volume.push_back(bars.At(SeriesVolume).GetValue(i));
    }
    return history;
}

std::vector<double> LogReturns(const DailyHistory& history)
{
    std::vector<double> returns;
    for (std::size_t i = 1; i < history.Bars(); ++i)
        returns.push_back(std::log(history.close[i] / history.close[i - 1]));
    return returns;
}

}  // namespace tickforge
