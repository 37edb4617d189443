#include "synthesis/MakeHistory.h"

#include "platform/CheckedMath.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Random.h"
#include "synthesis/Abort.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace tickforge {

namespace {

// One sample of the tick path: the price before the tick's move and its time. Left
// uninitialised on allocation; every sample is written before it is read.
struct TickSample {
    double Time;
    double Value;
};

struct TickPath {
    std::unique_ptr<TickSample[]> samples;
    std::int64_t count = 0;
};

TickPath AllocateTickPath(std::int64_t count)
{
    TickPath path;
    path.count = count;
    if (count == 0)
        return path;
    path.samples.reset(new (std::nothrow) TickSample[static_cast<std::size_t>(count)]);
    if (!path.samples)
        throw Error(messages::OutOfMemory);
    return path;
}

// Writes the seed back to the shared source however the tick phase ends.
class SeedKeeper {
public:
    explicit SeedKeeper(RandomSource& source) : source_(source), seed(source.Seed()) {}
    ~SeedKeeper() { source_.SetSeed(seed); }
    SeedKeeper(const SeedKeeper&) = delete;
    SeedKeeper& operator=(const SeedKeeper&) = delete;

private:
    RandomSource& source_;

public:
    std::uint32_t seed;
};

// The gauge rises to p when p - position > 0.5, i.e. when p reaches position + 1.
void RaiseGaugeTo(ProgressSink& progress, std::int64_t p)
{
    if (static_cast<double>(p - progress.GaugePosition()) > 0.5)
        progress.SetGaugePosition(static_cast<int>(p));
}

// First tick index i at which (50 * i) div total reaches position + 1.
std::int64_t NextGaugeTick(int position, std::int64_t total)
{
    if (position >= 49)
        return std::numeric_limits<std::int64_t>::max();
    return ((position + 1) * total + 49) / 50;
}

struct TickModel {
    double scaledVolatility;
    double drift;
    double shockThreshold;      // u2 below this starts a shock event
    bool shockThresholdFails;   // the threshold itself divides by zero or overflows
    bool shockThresholdInvalid;
    double shockSpan;           // ShockMagnitude - 1
};

TickModel BuildTickModel(const HistoryRequest& r)
{
    TickModel m{};
    m.scaledVolatility = 2.95 * r.TickVolatility;
    const double dailyFactor = CheckedPow(1.0 + r.BiasPercentPerYear / 100.0, CheckedDiv(1.0, 365.0));
    m.drift = CheckedPow(dailyFactor, CheckedDiv(1.0, static_cast<double>(r.TicksPerDay))) - 1.0;
    // 1 / (T * days per event) is taken on every attempt; its failure surfaces there.
    const double denominator = static_cast<double>(r.TicksPerDay) * r.ShockDaysPerEvent;
    if (denominator == 0.0) {
        m.shockThresholdFails = true;
    } else {
        m.shockThreshold = 1.0 / denominator;
        m.shockThresholdFails = !std::isfinite(m.shockThreshold);
        m.shockThresholdInvalid = std::isnan(m.shockThreshold);
    }
    m.shockSpan = r.ShockMagnitude - 1.0;
    return m;
}

[[noreturn]] void RaiseShockThresholdError(const TickModel& m)
{
    if (m.shockThresholdInvalid)
        RaiseInvalidOperation();
    if (m.shockThreshold != 0.0 || std::isinf(m.shockThreshold))
        RaiseOverflow();
    RaiseDivisionByZero();
}

// The tick phase: fills the path. Returns early when an abort is requested.
void RunTickPhase(const HistoryRequest& r, const TickModel& m, ProgressSink& progress, TickPath& path)
{
    const std::int64_t total = path.count;
    TickSample* const out = path.samples.get();
    const std::int32_t T = r.TicksPerDay;
    const double invT = total > 0 ? 1.0 / static_cast<double>(T) : 0.0;
    const bool soft = r.SoftBounds;
    const bool minActive = r.MinBoundActive;
    const bool maxActive = r.MaxBoundActive;
    const double minPrice = r.MinPrice;
    const double maxPrice = r.MaxPrice;

    SeedKeeper keeper(SharedRandom());
    std::uint32_t& seed = keeper.seed;
    double price = r.SeedPrice;
    double dayStart = WholeDays(r.StartDate);
    double time = dayStart;
    std::int32_t tickOfDay = 0;
    std::int32_t shockCountdown = 0;
    std::int64_t nextGaugeTick = NextGaugeTick(progress.GaugePosition(), total);

    for (std::int64_t i = 0; i < total; ++i) {
        if (AbortRequested())
            return;
        if (i >= nextGaugeTick) [[unlikely]] {
            RaiseGaugeTo(progress, (50 * i) / total);
            nextGaugeTick = NextGaugeTick(progress.GaugePosition(), total);
        }
        progress.PumpMessages();
        out[i].Time = time;
        out[i].Value = price;

        double candidate;
        std::uint32_t rejected = 0;
        for (;;) {
            seed = RandomSource::Step(seed);
            double step = (RandomSource::ToReal(seed) - 0.5) * m.scaledVolatility;
            seed = RandomSource::Step(seed);
            if (m.shockThresholdFails) [[unlikely]]
                RaiseShockThresholdError(m);
            if (RandomSource::ToReal(seed) < m.shockThreshold)
                shockCountdown = T;
            if (shockCountdown > 0) {
                seed = RandomSource::Step(seed);
                step = CheckFinite(step * (1.0 + RandomSource::ToReal(seed) * m.shockSpan));
                --shockCountdown;
            }
            step += m.drift;
            candidate = (1.0 + step) * price;
            if (!std::isfinite(candidate)) [[unlikely]]
                CheckFinite(candidate);

            if (soft) {
                if (maxActive) {
                    const double ratio = CheckedDiv(candidate - minPrice, maxPrice - minPrice);
                    if (ratio > 0.9)
                        candidate = (1.0 + step / 40.0) * price;
                }
                if (minActive) {
                    const double ratio = CheckedDiv(candidate - minPrice, maxPrice - minPrice);
                    if (ratio < 0.1)
                        candidate = (1.0 + step / 40.0) * price;
                }
            }
            const bool outside = (maxActive && candidate >= maxPrice) || (minActive && candidate <= minPrice);
            if (!outside) [[likely]]
                break;
            // No candidate may ever fit: keep the window alive, honour Abort, give up in the end.
            if (++rejected % RedrawPumpInterval == 0) {
                progress.PumpNow();
                if (AbortRequested())
                    return;
                if (rejected >= RedrawLimit)
                    throw Error(messages::NoMoveInsideBounds);
            }
        }
        price = candidate;
        // Each tick's time comes from its index, so every tick lies on its own day.
        if (++tickOfDay == T) {
            tickOfDay = 0;
            dayStart += 1.0;
        }
        time = dayStart + tickOfDay * invT;
    }
}

// The compression phase: one bar per kept day. Returns the number of bars written.
std::int32_t RunCompressionPhase(const HistoryRequest& r, ProgressSink& progress, const TickPath& path,
                                 TTimeSeriesSet& result)
{
    progress.SetActivity(messages::Compressing);
    const TickSample* const ticks = path.samples.get();
    const std::int64_t T = r.TicksPerDay;
    const std::int32_t days = result.Length();
    auto& close = result.At(SeriesClose).Samples;
    auto& volume = result.At(SeriesVolume).Samples;
    auto& open = result.At(SeriesOpen).Samples;
    auto& high = result.At(SeriesHigh).Samples;
    auto& low = result.At(SeriesLow).Samples;
    const double volumeSpan = r.MaxVolume - r.MinVolume;

    std::int32_t bars = 0;
    for (std::int32_t d = 0; d < days; ++d) {
        if (AbortRequested())
            break;
        progress.PumpMessages();
        RaiseGaugeTo(progress, (50LL * d) / days + 50);
        const std::int64_t o = d * T + T / 4;
        if (r.SkipWeekends && IsWeekend(ticks[o].Time))
            continue;
        const std::int64_t e = (d + 1) * T - 1;
        std::int64_t h = o;
        std::int64_t l = o;
        double highValue = ticks[o].Value;
        double lowValue = ticks[o].Value;
        for (std::int64_t k = o; k <= e; ++k) {
            const double v = ticks[k].Value;
            if (v > highValue) {
                highValue = v;
                h = k;
            }
            if (v < lowValue) {
                lowValue = v;
                l = k;
            }
        }
        const auto b = static_cast<std::size_t>(bars);
        open[b] = {ticks[o].Time, ticks[o].Value};
        close[b] = {ticks[e].Time, ticks[e].Value};
        high[b] = {ticks[h].Time, highValue};
        low[b] = {ticks[l].Time, lowValue};
        const double ratio = 1.0 + CheckedDiv(highValue - lowValue, lowValue);
        double v = CheckFinite(volumeSpan * 50.0 * (ratio * ratio - 1.0) + r.MinVolume);
        if (b > 0)
            v = CheckFinite((volume[b - 1].Value + v) / 2.0);
        volume[b] = {ticks[o].Time, v};
        ++bars;
    }
    return bars;
}

}  // namespace

void MakeHistory(const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result)
{
    SharedRandom().ReseedFromClock();

    // The path's length in 64 bits: a count no 32-bit sample index can hold is refused.
    const std::int64_t total = static_cast<std::int64_t>(request.NumberOfDays) * request.TicksPerDay;
    if (total < 0 || total > std::numeric_limits<std::int32_t>::max())
        throw Error(messages::RangeCheck);
    TickPath path = AllocateTickPath(total);

    result.SetSeriesCount(DailyBarSeriesCount);
    result.SetLength(request.NumberOfDays);
    result.Name = request.Name;

    const TickModel model = BuildTickModel(request);
    progress.SetActivity(messages::MakingHistory);
    progress.SetGaugePosition(0);

    RunTickPhase(request, model, progress, path);
    const std::int32_t bars = RunCompressionPhase(request, progress, path, result);

    result.SetLength(bars);
    path.samples.reset();
    if (AbortRequested()) {
        result.SetLength(0);
        ClearAbortRequest();
    }
}

}  // namespace tickforge
