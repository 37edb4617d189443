#include "series/TimeSeries.h"

#include "platform/Error.h"

#include <algorithm>
#include <new>

namespace tickforge {

void TTimeSeries::SetLength(std::int32_t n)
{
    if (n < 0)
        throw Error(messages::RangeCheck);
    try {
        Samples.resize(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        throw Error(messages::OutOfMemory);
    } catch (const std::length_error&) {
        throw Error(messages::OutOfMemory);
    }
}

void TTimeSeriesSet::SetSeriesCount(std::int32_t n)
{
    Series.clear();
    try {
        for (std::int32_t s = 0; s < n; ++s)
            Series.push_back(std::make_unique<TTimeSeries>());
    } catch (const std::bad_alloc&) {
        throw Error(messages::OutOfMemory);
    }
}

void TTimeSeriesSet::SetLength(std::int32_t n)
{
    for (auto& series : Series)
        series->SetLength(n);
}

TTimeSeries& TTimeSeriesSet::At(std::int32_t s)
{
    if (s < 0 || s >= SeriesCount())
        throw Error(ListIndexOutOfBounds(s));
    return *Series[static_cast<std::size_t>(s)];
}

const TTimeSeries& TTimeSeriesSet::At(std::int32_t s) const
{
    if (s < 0 || s >= SeriesCount())
        throw Error(ListIndexOutOfBounds(s));
    return *Series[static_cast<std::size_t>(s)];
}

void TTimeSeriesSet::Assign(const TTimeSeriesSet& source)
{
    if (&source == this)
        return;
    // A source without series fails at its Length, after this set has lost its series.
    SetSeriesCount(source.SeriesCount());
    SetLength(source.Length());
    // Every series takes the source's length (that of its series 0); samples a shorter
    // source series lacks stay zero.
    for (std::size_t s = 0; s < Series.size(); ++s) {
        const auto& from = source.Series[s]->Samples;
        auto& to = Series[s]->Samples;
        std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
    }
}

}  // namespace tickforge
