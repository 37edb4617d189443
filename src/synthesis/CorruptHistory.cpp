#include "synthesis/CorruptHistory.h"

#include "platform/Random.h"

namespace tickforge {

namespace {

struct NoRecord {
    void operator()(const Corruption&) const {}
};

struct AppendRecord {
    std::vector<Corruption>& applied;
    void operator()(const Corruption& c) const { applied.push_back(c); }
};

// The field a kind overwrites and its new value.
template <typename Record>
void Apply(TTimeSeriesSet& bars, std::int32_t b, CorruptionKind kind, const Record& record)
{
    std::int32_t target = 0;
    double value = 0.0;
    switch (kind) {
    case CorruptOpenFromClose:
        target = SeriesOpen;
        value = bars.GetValue(SeriesClose, b);
        break;
    case CorruptCloseFromOpen:
        target = SeriesClose;
        value = bars.GetValue(SeriesOpen, b);
        break;
    case CorruptHighFromLow:
        target = SeriesHigh;
        value = bars.GetValue(SeriesLow, b);
        break;
    case CorruptLowFromHigh:
        target = SeriesLow;
        value = bars.GetValue(SeriesHigh, b);
        break;
    case CorruptVolumeZero:
        target = SeriesVolume;
        value = 0.0;
        break;
    case CorruptVolumeTenth:
        target = SeriesVolume;
        value = bars.GetValue(SeriesVolume, b) / 10.0;
        break;
    default:
        return;
    }
    TTimeSeries& series = bars.At(target);
    const double before = series.GetValue(b);
    series.SetValue(b, value);
    record(Corruption{b, kind, target, before, value});
}

template <typename Record>
void Corrupt(TTimeSeriesSet& bars, double percentage, const Record& record)
{
    RandomSource& random = SharedRandom();
    const std::int32_t length = bars.Length();
    for (std::int32_t b = 0; b < length; ++b) {
        const std::int32_t n = random.NextInt(100);
        if (static_cast<double>(n) < percentage) {
            const auto kind = static_cast<CorruptionKind>(random.NextInt(CorruptionKindCount));
            Apply(bars, b, kind, record);
        }
    }
}

}  // namespace

void CorruptHistory(TTimeSeriesSet& bars, double percentage) { Corrupt(bars, percentage, NoRecord{}); }

void CorruptHistory(TTimeSeriesSet& bars, double percentage, std::vector<Corruption>& applied)
{
    Corrupt(bars, percentage, AppendRecord{applied});
}

}  // namespace tickforge
