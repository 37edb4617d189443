#pragma once
// The in-memory series store: a growable array of (time, value) samples, and a named
// set of such series. A daily bar set is a set of exactly five series in the order
// of the bar set indices below; bar k is sample k of all five.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tickforge {

struct TTimeSeriesSample {
    double Time = 0.0;   // days since 30 December 1899
    double Value = 0.0;
};
static_assert(sizeof(TTimeSeriesSample) == 16);

using ArrayOfTTimeSeriesSample = std::vector<TTimeSeriesSample>;

class TTimeSeries {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(Samples.size()); }
    // Keeps the samples below the old count; new samples are zero. A negative length
    // raises "Range check error" and changes nothing.
    void SetLength(std::int32_t n);

    // Sample indices are the caller's to keep within 0 .. Count() - 1.
    double GetValue(std::int32_t i) const { return Samples[static_cast<std::size_t>(i)].Value; }
    void SetValue(std::int32_t i, double v) { Samples[static_cast<std::size_t>(i)].Value = v; }
    double GetTime(std::int32_t i) const { return Samples[static_cast<std::size_t>(i)].Time; }
    void SetTime(std::int32_t i, double t) { Samples[static_cast<std::size_t>(i)].Time = t; }

    ArrayOfTTimeSeriesSample Samples;
};

// Indices of the five series of a daily bar set.
enum : std::int32_t {
    SeriesClose = 0,
    SeriesVolume = 1,
    SeriesOpen = 2,
    SeriesHigh = 3,
    SeriesLow = 4,
    DailyBarSeriesCount = 5
};

class TTimeSeriesSet {
public:
    TTimeSeriesSet() = default;
    TTimeSeriesSet(const TTimeSeriesSet&) = delete;
    TTimeSeriesSet& operator=(const TTimeSeriesSet&) = delete;

    std::int32_t SeriesCount() const { return static_cast<std::int32_t>(Series.size()); }
    // Destroys every series, then appends n new empty ones (none for n <= 0).
    void SetSeriesCount(std::int32_t n);
    // Sets the length of every member series; no effect on a set without series.
    void SetLength(std::int32_t n);
    // The count of series 0; "List index out of bounds (0)" for a set without series.
    std::int32_t Length() const { return At(0).Count(); }

    double GetValue(std::int32_t s, std::int32_t i) const { return At(s).GetValue(i); }
    void SetValue(std::int32_t s, std::int32_t i, double v) { At(s).SetValue(i, v); }
    double GetTime(std::int32_t s, std::int32_t i) const { return At(s).GetTime(i); }
    void SetTime(std::int32_t s, std::int32_t i, double t) { At(s).SetTime(i, t); }

    // The member series s; "List index out of bounds (s)" outside 0 .. SeriesCount() - 1.
    TTimeSeries& At(std::int32_t s);
    const TTimeSeries& At(std::int32_t s) const;

    // Makes this set a copy of source (series count, length, values and times); keeps
    // its own Name. A source without series fails with "List index out of bounds (0)"
    // and leaves this set without series.
    void Assign(const TTimeSeriesSet& source);

    std::string Name;
    std::vector<std::unique_ptr<TTimeSeries>> Series;
};

}  // namespace tickforge
