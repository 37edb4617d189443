#include "synthesis/MakeHistory.h"

#include "platform/CheckedMath.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/Random.h"
#include "platform/VectorState.h"
#include "synthesis/Abort.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <memory>

namespace tickforge {

namespace {

// The gauge rises to p when p - position > 0.5, i.e. when p reaches position + 1.
void RaiseGaugeTo(ProgressSink& progress, std::int64_t p)
{
    if (static_cast<double>(p - progress.GaugePosition()) > 0.5)
        progress.SetGaugePosition(static_cast<int>(p));
}

// First step s of steps at which (50 * s) div steps + base reaches position + 1, for a
// gauge that runs from base to base + 49: at most 0 when it is due at once, at or past
// the end when it cannot rise further.
std::int64_t NextGaugeStep(int position, int base, std::int64_t steps)
{
    return ((position + 1 - base) * steps + 49) / 50;
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

// The running state of the ticks between two runs of them.
struct TickState {
    std::uint32_t seed;
    std::int32_t shockCountdown;
    std::uint32_t rejected;     // consecutive rejected attempts of the current tick
    double price;               // the price before the current tick's move
};

// The open-to-close stretch of the current day as far as it has run: the first tick
// with the highest and the lowest price, and the last tick's price.
struct DayStretch {
    double open;
    double high;
    double low;
    double last;
    std::int32_t highTick;
    std::int32_t lowTick;
};

// What stays fixed while the ticks of one day run.
struct DayContext {
    const HistoryRequest& request;
    const TickModel& model;
    double dayStart;
    // Before day zero the fraction of a date-time counts backwards from the whole day:
    // the signed step of one tick, set per day so that the tick loop only multiplies.
    double tickStep;
};

enum class Bounds { None, Hard, Soft };

// Simulates the ticks k up to end of one day with no calls on the way, so the whole
// state stays in registers. track: the ticks belong to the open-to-close stretch; store:
// each finished tick is written to out, which advances. Stops early, in the middle of
// tick k, when its rejected attempts reach a multiple of the redraw pump interval;
// called again, it resumes that tick's redraws. Returns the first tick not finished.
// Instantiated per kind of bounds so that the common case without bounds tests nothing.
template <Bounds mode, bool track, bool store>
std::int32_t RunTicks(const DayContext& c, TickState& state, DayStretch& stretch, TickPoint*& out, std::int32_t k,
                      std::int32_t end)
{
    const HistoryRequest& r = c.request;
    const TickModel& m = c.model;
    const std::int32_t T = r.TicksPerDay;
    const bool minActive = r.MinBoundActive;
    const bool maxActive = r.MaxBoundActive;
    const double minPrice = r.MinPrice;
    const double maxPrice = r.MaxPrice;
    const double scaledVolatility = m.scaledVolatility;
    const double drift = m.drift;
    const std::uint64_t shockSeedLimit = m.shockSeedLimit;

    std::uint32_t seed = state.seed;
    std::int32_t shockCountdown = state.shockCountdown;
    std::uint32_t rejected = state.rejected;
    double price = state.price;
    double high = stretch.high;
    double low = stretch.low;
    std::int32_t highTick = stretch.highTick;
    std::int32_t lowTick = stretch.lowTick;
    TickPoint* next = out;
    const auto saveState = [&] {
        state = {seed, shockCountdown, rejected, price};
        stretch.high = high;
        stretch.low = low;
        stretch.highTick = highTick;
        stretch.lowTick = lowTick;
        out = next;
    };

    for (; k < end; ++k) {
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
                    return k;
                }
            }
        }
        // Tick k is done: its sample is the price before its move. New extremes are rare
        // within a day: branches the processor predicts cost less than conditional moves.
        if constexpr (track) {
            if (price > high) [[unlikely]] {
                high = price;
                highTick = k;
            }
            if (price < low) [[unlikely]] {
                low = price;
                lowTick = k;
            }
        }
        if constexpr (store)
            *next++ = {c.dayStart + k * c.tickStep, price};
        stretch.last = price;
        rejected = 0;
        price = candidate;
    }
    saveState();
    return k;
}

using TickRunner = std::int32_t (*)(const DayContext&, TickState&, DayStretch&, TickPoint*&, std::int32_t, std::int32_t);

template <bool track, bool store>
TickRunner ChooseTickRunner(const HistoryRequest& r)
{
    if (!r.MinBoundActive && !r.MaxBoundActive)
        return &RunTicks<Bounds::None, track, store>;
    return r.SoftBounds ? &RunTicks<Bounds::Soft, track, store> : &RunTicks<Bounds::Hard, track, store>;
}

// The bars written so far, and the first bar that failed. A bar's failure is not raised
// at once: the ticks after it may still fail on their own, and their error comes first,
// as does an abort. Its day raises it while the gauge runs through the days.
struct BarTally {
    std::int32_t written = 0;
    std::int32_t failedDay = -1;
    std::exception_ptr failure;
};

// The ticks of every day, each day's bar as soon as its ticks are done, and the first
// half of the gauge.
class DayMaker {
public:
    DayMaker(const HistoryRequest& r, ProgressSink& progress, TTimeSeriesSet& result, const TickPathObserver& observe)
        : r_(r),
          model_(BuildTickModel(r)),
          progress_(progress),
          observe_(observe),
          close_(result.At(SeriesClose).Samples),
          volume_(result.At(SeriesVolume).Samples),
          open_(result.At(SeriesOpen).Samples),
          high_(result.At(SeriesHigh).Samples),
          low_(result.At(SeriesLow).Samples),
          total_(static_cast<std::int64_t>(r.NumberOfDays) * r.TicksPerDay)
    {
        if (observe_) {
            block_ = std::make_unique<TickPoint[]>(static_cast<std::size_t>(PollStride));
            preOpen_ = ChooseTickRunner<false, true>(r);
            postOpen_ = ChooseTickRunner<true, true>(r);
        } else {
            preOpen_ = ChooseTickRunner<false, false>(r);
            postOpen_ = ChooseTickRunner<true, false>(r);
        }
    }

    // False when an abort ended it. Leaves the shared random source where the ticks left
    // it, also after an error.
    bool Run(BarTally& tally)
    {
        state_ = {SharedRandom().Seed(), 0, 0, r_.SeedPrice};
        try {
            const bool finished = RunDays(tally);
            SharedRandom().SetSeed(state_.seed);
            return finished;
        } catch (...) {
            SharedRandom().SetSeed(state_.seed);
            throw;
        }
    }

private:
    bool RunDays(BarTally& tally)
    {
        const std::int32_t T = r_.TicksPerDay;
        // The open is the tick a quarter into the day, not its first tick (one move
        // after the close before), so that a bar may open away from that close; high
        // and low are taken from the open on, so the open always lies between them.
        const std::int32_t o = T / 4;
        const double invT = 1.0 / static_cast<double>(T);
        DayContext context{r_, model_, WholeDays(r_.StartDate), 0.0};
        nextGauge_ = NextGaugeStep(progress_.GaugePosition(), 0, total_);
        nextPoll_ = 0;
        out_ = block_.get();
        for (std::int32_t d = 0; d < r_.NumberOfDays; ++d, context.dayStart += 1.0) {
            const std::int64_t first = static_cast<std::int64_t>(d) * T;
            context.tickStep = context.dayStart < 0.0 ? -invT : invT;
            DayStretch stretch{};
            std::int32_t k = 0;
            while (k < T) {
                if (!Poll(first + k))
                    return false;
                if (k == o && state_.rejected == 0)
                    stretch = {state_.price, state_.price, state_.price, state_.price, o, o};
                const std::int64_t stop = std::min({nextPoll_, nextGauge_, first + T}) - first;
                const std::int32_t end = static_cast<std::int32_t>(std::min<std::int64_t>(k < o ? o : T, stop));
                k = (k < o ? preOpen_ : postOpen_)(context, state_, stretch, out_, k, std::max(end, k + 1));
            }
            if (tally.failedDay < 0)
                WriteBar(context, d, o, stretch, tally);
        }
        Deliver();
        return true;
    }

    // Before tick i, or again in the middle of its redraws: the abort test, the gauge,
    // the delivery of ticks and the message pump where they are due. False on an abort.
    bool Poll(std::int64_t i)
    {
        if (state_.rejected != 0) {
            // No candidate of the tick fits yet: keep the window alive, honour Abort, give
            // up in the end.
            progress_.PumpMessages();
            if (AbortRequested())
                return false;
            if (state_.rejected >= RedrawLimit)
                throw Error(messages::NoMoveInsideBounds);
            ClearUpperVectorState();
            return true;
        }
        if (i < nextGauge_ && i < nextPoll_)
            return true;
        if (AbortRequested())
            return false;
        if (i >= nextGauge_) {
            RaiseGaugeTo(progress_, (50 * i) / total_);
            nextGauge_ = NextGaugeStep(progress_.GaugePosition(), 0, total_);
        }
        if (i >= nextPoll_) {
            Deliver();
            progress_.PumpMessages();
            nextPoll_ = i + PollStride;
            if (AbortRequested())
                return false;
        }
        ClearUpperVectorState();  // the sink's window may have painted
        return true;
    }

    // Hands the ticks stored since the last delivery to the observer.
    void Deliver()
    {
        if (!observe_ || out_ == block_.get())
            return;
        observe_(TickPathView{block_.get(), out_ - block_.get()});
        out_ = block_.get();
    }

    void WriteBar(const DayContext& c, std::int32_t d, std::int32_t o, const DayStretch& s, BarTally& tally)
    {
        const double openTime = c.dayStart + o * c.tickStep;
        if (r_.SkipWeekends && IsWeekend(openTime))
            return;
        const auto b = static_cast<std::size_t>(tally.written);
        open_[b] = {openTime, s.open};
        close_[b] = {c.dayStart + (r_.TicksPerDay - 1) * c.tickStep, s.last};
        high_[b] = {c.dayStart + s.highTick * c.tickStep, s.high};
        low_[b] = {c.dayStart + s.lowTick * c.tickStep, s.low};
        try {
            const double ratio = 1.0 + CheckedDiv(s.high - s.low, s.low);
            double v = CheckFinite((r_.MaxVolume - r_.MinVolume) * 50.0 * (ratio * ratio - 1.0) + r_.MinVolume);
            if (b > 0)
                v = CheckFinite((volume_[b - 1].Value + v) / 2.0);
            volume_[b] = {openTime, v};
            ++tally.written;
        } catch (const Error&) {
            tally.failedDay = d;
            tally.failure = std::current_exception();
        }
    }

    const HistoryRequest& r_;
    const TickModel model_;
    ProgressSink& progress_;
    const TickPathObserver& observe_;
    ArrayOfTTimeSeriesSample& close_;
    ArrayOfTTimeSeriesSample& volume_;
    ArrayOfTTimeSeriesSample& open_;
    ArrayOfTTimeSeriesSample& high_;
    ArrayOfTTimeSeriesSample& low_;
    const std::int64_t total_;
    TickRunner preOpen_;
    TickRunner postOpen_;
    TickState state_{};
    std::int64_t nextGauge_ = 0;
    std::int64_t nextPoll_ = 0;
    std::unique_ptr<TickPoint[]> block_;
    TickPoint* out_ = nullptr;
};

}  // namespace

bool MakeHistory(const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result)
{
    return MakeHistory(request, progress, result, TickPathObserver{});
}

bool MakeHistory(const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result,
                 const TickPathObserver& observeTicks)
{
    SharedRandom().ReseedFromClock();

    // Days times ticks must fit a 32-bit count; more is refused.
    const std::int64_t total = static_cast<std::int64_t>(request.NumberOfDays) * request.TicksPerDay;
    if (total < 0 || total > std::numeric_limits<std::int32_t>::max())
        throw Error(messages::RangeCheck);

    result.SetSeriesCount(DailyBarSeriesCount);
    result.SetLength(request.NumberOfDays);
    result.Name = request.Name;

    BarTally tally;
    bool aborted = false;
    {
        DayMaker days(request, progress, result, observeTicks);
        progress.SetActivity(messages::MakingHistory);
        progress.SetGaugePosition(0);
        try {
            aborted = !days.Run(tally);
        } catch (...) {
            // A failure of the ticks leaves no bar: every sample is zero, as before any day.
            for (auto& series : result.Series)
                std::fill(series->Samples.begin(), series->Samples.end(), TTimeSeriesSample{});
            throw;
        }
    }

    // The bars are made; the second half of the gauge runs through their days, where an
    // abort still ends the run and the first bar that failed raises its error.
    progress.SetActivity(messages::Compressing);
    const std::int32_t days = result.Length();
    std::int64_t nextGauge = NextGaugeStep(progress.GaugePosition(), 50, days);
    std::int64_t nextPoll = 0;
    for (std::int32_t d = 0; d < days && !aborted; ++d) {
        aborted = AbortRequested();
        if (aborted)
            break;
        // A day's turn costs about what a tick costs: the same stride between pumps.
        if (d == nextPoll) {
            progress.PumpMessages();
            nextPoll += PollStride;
        }
        if (d >= nextGauge) {
            RaiseGaugeTo(progress, (50LL * d) / days + 50);
            nextGauge = NextGaugeStep(progress.GaugePosition(), 50, days);
        }
        if (d == tally.failedDay)
            std::rethrow_exception(tally.failure);
    }

    result.SetLength(tally.written);
    // Tested again: another run may have cleared the flag it shares with this one.
    if (aborted || AbortRequested()) {
        result.SetLength(0);
        ClearAbortRequest();
        return false;
    }
    return true;
}

}  // namespace tickforge
