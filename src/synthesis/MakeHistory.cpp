#include "synthesis/MakeHistory.h"

#include "platform/CheckedMath.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Random.h"
#include "synthesis/Abort.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace tickforge {

namespace {

// One sample of the tick path. Left uninitialised on allocation; every sample is
// written before it is read.
using TickSample = TickPoint;

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
    // u2 = seed / 2^32 < threshold exactly when seed < threshold * 2^32 (a power-of-two
    // scaling, so exact): the test needs no conversion of the seed to a real.
    std::uint64_t shockSeedLimit;
};

TickModel BuildTickModel(const HistoryRequest& r)
{
    TickModel m{};
    // A uniform draw in [-0.5, 0.5) has a standard deviation of 1 / sqrt(12); with 2.95
    // (not sqrt(12)) a day's random move has 2.95 / sqrt(12), about 0.85, times the
    // volatility entered. Histories of a given seed depend on this exact factor.
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
    if (!m.shockThresholdFails && m.shockThreshold > 0.0)
        m.shockSeedLimit = m.shockThreshold >= 1.0 ? (1ULL << 32)
                                                   : static_cast<std::uint64_t>(std::ceil(m.shockThreshold * 4294967296.0));
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

// The running state of the tick phase between two runs of ticks.
struct TickState {
    std::uint32_t seed;
    std::int32_t shockCountdown;
    std::int32_t tickOfDay;
    std::uint32_t rejected;     // consecutive rejected attempts of the current tick
    double price;
    double dayStart;
};

enum class Bounds { None, Hard, Soft };

// Simulates ticks from i up to end with no calls on the way, so the whole state stays
// in registers. Stops early, in the middle of tick i, when its rejected attempts reach
// a multiple of the redraw pump interval; called again, it resumes that tick's redraws.
// Returns the first tick not finished. Instantiated per kind of bounds so that the
// common case without bounds tests nothing.
template <Bounds mode>
std::int64_t RunTicks(const HistoryRequest& r, const TickModel& m, TickState& state, TickSample* out,
                      std::int64_t i, std::int64_t end)
{
    const std::int32_t T = r.TicksPerDay;
    const double invT = 1.0 / static_cast<double>(T);
    const bool minActive = r.MinBoundActive;
    const bool maxActive = r.MaxBoundActive;
    const double minPrice = r.MinPrice;
    const double maxPrice = r.MaxPrice;
    const double scaledVolatility = m.scaledVolatility;
    const double drift = m.drift;
    const std::uint64_t shockSeedLimit = m.shockSeedLimit;

    std::uint32_t seed = state.seed;
    std::int32_t shockCountdown = state.shockCountdown;
    std::int32_t tickOfDay = state.tickOfDay;
    std::uint32_t rejected = state.rejected;
    double price = state.price;
    double dayStart = state.dayStart;
    // Before day zero the fraction of a date-time counts backwards from the whole day.
    double tickTime = dayStart < 0.0 ? -invT : invT;
    const auto saveState = [&] { state = {seed, shockCountdown, tickOfDay, rejected, price, dayStart}; };

    for (; i < end; ++i) {
        if (rejected == 0) {
            out[i].Time = dayStart + tickOfDay * tickTime;
            out[i].Value = price;
        }
        double candidate;
        for (;;) {
            seed = RandomSource::Step(seed);
            double step = (RandomSource::ToReal(seed) - 0.5) * scaledVolatility;
            seed = RandomSource::Step(seed);
            if (m.shockThresholdFails) [[unlikely]] {
                saveState();
                RaiseShockThresholdError(m);
            }
            if (seed < shockSeedLimit) [[unlikely]]
                shockCountdown = T;
            if (shockCountdown > 0) [[unlikely]] {
                seed = RandomSource::Step(seed);
                step = step * (1.0 + RandomSource::ToReal(seed) * m.shockSpan);
                --shockCountdown;
                if (!std::isfinite(step)) [[unlikely]] {
                    saveState();
                    CheckFinite(step);
                }
            }
            step += drift;
            candidate = (1.0 + step) * price;
            if (!std::isfinite(candidate)) [[unlikely]] {
                saveState();
                CheckFinite(candidate);
            }
            if constexpr (mode == Bounds::None) {
                break;
            } else {
                if constexpr (mode == Bounds::Soft) {
                    saveState();  // the ratio's division may raise
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
                if (++rejected % RedrawPumpInterval == 0) [[unlikely]] {
                    saveState();
                    return i;
                }
            }
        }
        rejected = 0;
        price = candidate;
        // A tick's time is its day's start plus its place in the day over T: the T
        // ticks of a day share that day, and the next day starts after the last.
        if (++tickOfDay == T) {
            tickOfDay = 0;
            dayStart += 1.0;
            tickTime = dayStart < 0.0 ? -invT : invT;
        }
    }
    saveState();
    return i;
}

using TickRunner = std::int64_t (*)(const HistoryRequest&, const TickModel&, TickState&, TickSample*, std::int64_t,
                                    std::int64_t);

TickRunner ChooseTickRunner(const HistoryRequest& r)
{
    if (!r.MinBoundActive && !r.MaxBoundActive)
        return &RunTicks<Bounds::None>;
    return r.SoftBounds ? &RunTicks<Bounds::Soft> : &RunTicks<Bounds::Hard>;
}

// The tick phase: fills the path. Returns early when an abort is requested. Between
// two sink calls (gauge rises and message pumps) the ticks run in one call of RunTicks;
// the abort flag can only change inside a sink call, so testing it at those points is
// the same as testing it before every tick.
void RunTickPhase(const HistoryRequest& r, const TickModel& m, ProgressSink& progress, TickPath& path)
{
    const std::int64_t total = path.count;
    const TickRunner runTicks = ChooseTickRunner(r);
    TickState state{SharedRandom().Seed(), 0, 0, 0, r.SeedPrice, WholeDays(r.StartDate)};
    std::int64_t nextGaugeTick = NextGaugeTick(progress.GaugePosition(), total);

    try {
        std::int64_t i = 0;
        while (i < total) {
            if (state.rejected == 0) {
                // Tick i starts: the abort test, the gauge and the message pump of one tick.
                if (AbortRequested())
                    break;
                if (i >= nextGaugeTick) {
                    RaiseGaugeTo(progress, (50 * i) / total);
                    nextGaugeTick = NextGaugeTick(progress.GaugePosition(), total);
                }
                progress.PumpMessages();
                // Ticks up to the next gauge rise or message pump need none of the three.
                std::int64_t end = std::min(total, i + progress.PumpsBeforeHandover());
                end = std::min(end, std::max(nextGaugeTick, i + 1));
                if (AbortRequested())
                    end = i + 1;
                const std::int64_t reached = runTicks(r, m, state, path.samples.get(), i, end);
                // Ticks i + 1 .. reached - 1 are done, and tick reached has started when
                // it stopped in the middle of its redraws.
                const std::int64_t startedAfterI = reached - i - (state.rejected == 0 ? 1 : 0);
                progress.SkipPumpCalls(static_cast<unsigned>(std::max<std::int64_t>(0, startedAfterI)));
                i = reached;
            } else {
                // No candidate of tick i fits yet: keep the window alive, honour Abort,
                // give up in the end.
                progress.PumpNow();
                if (AbortRequested())
                    break;
                if (state.rejected >= RedrawLimit)
                    throw Error(messages::NoMoveInsideBounds);
                i = runTicks(r, m, state, path.samples.get(), i, i + 1);
            }
        }
    } catch (...) {
        SharedRandom().SetSeed(state.seed);
        throw;
    }
    SharedRandom().SetSeed(state.seed);
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
        // The open is the tick a quarter into the day, not its first tick (one move
        // after the close before), so that a bar may open away from that close; high
        // and low are taken from the open on, so the open always lies between them.
        const std::int64_t o = d * T + T / 4;
        if (r.SkipWeekends && IsWeekend(ticks[o].Time))
            continue;
        const std::int64_t e = (d + 1) * T - 1;
        std::int64_t h = o;
        std::int64_t l = o;
        double highValue = ticks[o].Value;
        double lowValue = ticks[o].Value;
        // New extremes are rare within a day: branches the processor predicts cost less
        // than carrying the extremes through conditional moves from tick to tick.
        for (std::int64_t k = o; k <= e; ++k) {
            const double v = ticks[k].Value;
            if (v > highValue) [[unlikely]] {
                highValue = v;
                h = k;
            }
            if (v < lowValue) [[unlikely]] {
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

bool MakeHistory(const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result)
{
    return MakeHistory(request, progress, result, TickPathObserver{});
}

bool MakeHistory(const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result,
                 const TickPathObserver& observeTicks)
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
    if (observeTicks && !AbortRequested())
        observeTicks(TickPathView{path.samples.get(), path.count});
    const std::int32_t bars = RunCompressionPhase(request, progress, path, result);

    result.SetLength(bars);
    path.samples.reset();
    if (AbortRequested()) {
        result.SetLength(0);
        ClearAbortRequest();
        return false;
    }
    return true;
}

}  // namespace tickforge
