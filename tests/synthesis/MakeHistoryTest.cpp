// Synthesis against a plain two-phase reference (the whole tick path, then a bar per day
// scanned from it): the same ticks, bars, draws, captions, gauge and error for a table of
// settings. Then pumping, and an abort at any moment, also amid a hard bound's redraws.

#include "platform/CheckedMath.h"
#include "platform/DateTime.h"
#include "platform/Random.h"
#include "series/TimeSeries.h"
#include "support/DailyBars.h"
#include "support/RecordingSink.h"
#include "support/TestHelpers.h"
#include "synthesis/Abort.h"
#include "synthesis/MakeHistory.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

constexpr std::uint32_t ClockSeed = 12345u;

// A fixed clock seed, so that every run is reproducible, and a plain request to vary: ten days from a Monday, weekends kept.
class SynthesisTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedRandom().SetClockSeedSource([] { return ClockSeed; });
        ClearAbortRequest();
        request = {.Name = "Synth", .SeedPrice = 3000.0, .TicksPerDay = 1000, .NumberOfDays = 10,
                   .StartDate = EncodeDate({2024, 1, 1}), .MaxVolume = 1000.0, .MaxPrice = 5000.0,
                   .TickVolatility = 0.01 / std::sqrt(1000.0)};
    }
    void TearDown() override { ClearAbortRequest(); }

    // A fresh sink at which a person's Abort arrives with the given pump.
    void AbortAtPump(long long pump)
    {
        sink = {};
        sink.onPump = [this, pump] {
            if (sink.pumps == pump)
                RequestAbort();
        };
    }

    Undo keepRandom = KeepSharedRandom();
    HistoryRequest request;
    RecordingSink sink;
    TTimeSeriesSet bars;
};

bool TwoPhaseHistory(const HistoryRequest& r, ProgressSink& progress, TTimeSeriesSet& result, std::vector<TickPoint>& path)
{
    RandomSource& random = SharedRandom();
    random.ReseedFromClock();
    const std::int64_t T = r.TicksPerDay, total = r.NumberOfDays * T;
    const double ticksPerDay = r.TicksPerDay;
    if (total < 0 || total > INT32_MAX)
        throw Error(messages::RangeCheck);
    result.SetSeriesCount(5);
    result.SetLength(r.NumberOfDays);
    result.Name = r.Name;
    const double drift = CheckedPow(CheckedPow(1.0 + r.BiasPercentPerYear / 100.0, 1.0 / 365.0), 1.0 / ticksPerDay) - 1.0;
    const auto gauge = [&](std::int64_t p) {
        if (static_cast<double>(p - progress.GaugePosition()) > 0.5)
            progress.SetGaugePosition(static_cast<int>(p));
    };
    const auto ratio = [&](double c) { return CheckedDiv(c - r.MinPrice, r.MaxPrice - r.MinPrice); };
    progress.SetActivity("Making History...");
    progress.SetGaugePosition(0);
    // Each tick: a uniform step; a draw that may start a shock event of T attempts, each of which draws its
    // multiplier; the drift; the soft bounds' damping; a redraw while the candidate lies on or beyond a hard bound.
    double price = r.SeedPrice;
    std::int64_t shock = 0;
    for (std::int64_t i = 0; i < total; ++i) {
        gauge(50 * i / total);
        const double day = WholeDays(r.StartDate) + static_cast<double>(i / T);  // times count backwards before 0
        path.push_back({day + (day < 0.0 ? -1.0 : 1.0) * (static_cast<double>(i % T) * (1.0 / ticksPerDay)), price});
        for (;;) {
            double step = (random.NextReal() - 0.5) * (2.95 * r.TickVolatility);
            if (random.NextReal() < CheckedDiv(1.0, ticksPerDay * r.ShockDaysPerEvent))
                shock = T;
            if (shock > 0) {
                step = CheckFinite(step * (1.0 + random.NextReal() * (r.ShockMagnitude - 1.0)));
                --shock;
            }
            step += drift;
            double candidate = CheckFinite((1.0 + step) * price);
            if (r.SoftBounds && r.MaxBoundActive && ratio(candidate) > 0.9)
                candidate = (1.0 + step / 40.0) * price;
            if (r.SoftBounds && r.MinBoundActive && ratio(candidate) < 0.1)
                candidate = (1.0 + step / 40.0) * price;
            if (!(r.MaxBoundActive && candidate >= r.MaxPrice) && !(r.MinBoundActive && candidate <= r.MinPrice)) {
                price = candidate;
                break;
            }
        }
    }
    progress.SetActivity("Compressing...");
    std::int32_t bars = 0, N = result.Length();
    const auto put = [&](std::int32_t s, const TickPoint& tick) {
        result.SetTime(s, bars, tick.Time);
        result.SetValue(s, bars, tick.Value);
    };
    for (std::int32_t d = 0; d < N; ++d) {
        gauge(50LL * d / N + 50);
        const std::int64_t o = d * T + T / 4, e = (d + 1) * T - 1;
        if (r.SkipWeekends && IsWeekend(path[o].Time))
            continue;
        std::int64_t h = o, l = o;
        for (std::int64_t k = o; k <= e; ++k) {
            h = path[k].Value > path[h].Value ? k : h;
            l = path[k].Value < path[l].Value ? k : l;
        }
        for (const auto& [s, k] : {std::pair{SeriesOpen, o}, {SeriesClose, e}, {SeriesHigh, h}, {SeriesLow, l}})
            put(s, path[k]);
        const double q = 1.0 + CheckedDiv(path[h].Value - path[l].Value, path[l].Value);
        double v = CheckFinite((r.MaxVolume - r.MinVolume) * 50.0 * (q * q - 1.0) + r.MinVolume);
        if (bars > 0)
            v = CheckFinite((result.GetValue(SeriesVolume, bars - 1) + v) / 2.0);
        put(SeriesVolume, {path[o].Time, v});
        ++bars;
    }
    result.SetLength(bars);
    return true;
}

// Everything a run leaves that a user can see, or that the next draws depend on.
struct Outcome {
    std::string error;
    bool made = false;
    std::uint32_t seed = 0;
    std::vector<std::string> captions;
    std::vector<int> gauge;
    std::int32_t seriesCount = 0;
    std::string name;
    std::vector<double> samples;  // time and value of every sample of every series
    std::vector<double> ticks;    // time and value of every tick of a watched run that ended well
    bool operator==(const Outcome&) const = default;
};

using Engine = std::function<bool(const HistoryRequest&, ProgressSink&, TTimeSeriesSet&, std::vector<TickPoint>&)>;

Outcome OutcomeOf(const Engine& engine, const HistoryRequest& request)
{
    TTimeSeriesSet set;
    set.SetSeriesCount(2);
    set.SetLength(3);
    set.Name = "Old";
    RecordingSink sink;
    std::vector<TickPoint> path;
    Outcome out;
    try {
        out.made = engine(request, sink, set, path);
        for (const TickPoint& tick : path)
            out.ticks.insert(out.ticks.end(), {tick.Time, tick.Value});
    } catch (const Error& error) {
        out.error = error.what();
    }
    out.seed = SharedRandom().Seed();
    out.captions = sink.activities;
    out.gauge = sink.gaugeHistory;
    out.seriesCount = set.SeriesCount();
    out.name = set.Name;
    for (const auto& series : set.Series)
        for (const TTimeSeriesSample& sample : series->Samples)
            out.samples.insert(out.samples.end(), {sample.Time, sample.Value});
    return out;
}

bool Watched(const HistoryRequest& r, ProgressSink& p, TTimeSeriesSet& s, std::vector<TickPoint>& path)
{
    return MakeHistory(r, p, s, [&](const TickPathView& view) {
        EXPECT_TRUE(view.Count > 0 && view.Count <= PollStride) << view.Count;
        path.insert(path.end(), view.Points, view.Points + view.Count);
    });
}

// The top of a band from 0 that puts the first candidate of a path without volatility exactly at that fraction of it.
double TopPuttingFirstMoveAt(const HistoryRequest& r, double fraction)
{
    const double drift = std::pow(std::pow(1.0 + r.BiasPercentPerYear / 100.0, 1.0 / 365.0), 1.0 / r.TicksPerDay) - 1.0;
    const double candidate = (1.0 + drift) * r.SeedPrice;
    double top = candidate / fraction;
    while (candidate / top > fraction)
        top = std::nextafter(top, INFINITY);
    while (candidate / top < fraction)
        top = std::nextafter(top, 0.0);
    EXPECT_EQ(candidate / top, fraction);
    return top;
}

// Days per shock event that, with one tick a day, put the threshold exactly on the draw that seed gives.
double DaysPuttingShockThresholdOn(std::uint32_t seed)
{
    const double u = RandomSource::ToReal(seed);
    double days = 1.0 / u;
    for (int k = 0; k < 8 && 1.0 / days != u; ++k)
        days = std::nextafter(days, 1.0 / days > u ? INFINITY : 0.0);
    EXPECT_EQ(1.0 / days, u);
    return days;
}

TEST_F(SynthesisTest, SameTicksBarsSeedCaptionsGaugeAndErrorsForEverySetting)
{
    const struct {
        const char* what;
        std::function<void(HistoryRequest&)> change;
        const char* error = "";
    } cases[] = {
        {"plain, with a volume offset", [](HistoryRequest& r) { r.MinVolume = 250; }},
        {"weekends from a Saturday, odd ticks", [](HistoryRequest& r) { r.SkipWeekends = true; r.StartDate -= 2; r.TicksPerDay = 7; r.NumberOfDays = 17; }},
        {"before day zero, weekends skipped", [](HistoryRequest& r) { r.SkipWeekends = true; r.StartDate = EncodeDate({1899, 12, 20}) - 0.5; r.TicksPerDay = 4; r.NumberOfDays = 12; }},
        {"one tick a day", [](HistoryRequest& r) { r.TicksPerDay = 1; r.NumberOfDays = 60; r.TickVolatility = 0.01; }},
        {"fewer ticks than gauge steps", [](HistoryRequest& r) { r.TicksPerDay = 3; r.NumberOfDays = 7; }},
        {"days longer than a poll", [](HistoryRequest& r) { r.TicksPerDay = 100001; r.NumberOfDays = 3; }},
        {"flat: ties keep the earliest tick", [](HistoryRequest& r) { r.TickVolatility = 0; }},
        {"falling: the first quarter is not scanned", [](HistoryRequest& r) { r.TicksPerDay = 4; r.TickVolatility = 0; r.BiasPercentPerYear = -50; }},
        {"hard bounds with redraws", [](HistoryRequest& r) { r.MinBoundActive = r.MaxBoundActive = true; r.MinPrice = 2995; r.MaxPrice = 3005; r.TickVolatility = 0.005; }},
        {"soft bounds", [](HistoryRequest& r) { r.SoftBounds = r.MinBoundActive = r.MaxBoundActive = true; r.MinPrice = 2990; r.MaxPrice = 3010; r.TickVolatility = 0.003; }},
        {"soft upper bound", [](HistoryRequest& r) { r.SoftBounds = r.MaxBoundActive = true; r.SeedPrice = 95; r.MaxPrice = 100; }},
        {"soft lower bound", [](HistoryRequest& r) { r.SoftBounds = r.MinBoundActive = true; r.MinPrice = 2999; r.MaxPrice = 3001; }},
        {"a move to exactly a tenth of the soft band is not damped",
         [](HistoryRequest& r) { r.TickVolatility = 0; r.BiasPercentPerYear = 50; r.SoftBounds = r.MinBoundActive = true; r.MaxPrice = TopPuttingFirstMoveAt(r, 0.1); }},
        {"a move to exactly nine tenths of the soft band is not damped",
         [](HistoryRequest& r) { r.TickVolatility = 0; r.BiasPercentPerYear = -50; r.SoftBounds = r.MaxBoundActive = true; r.MaxPrice = TopPuttingFirstMoveAt(r, 0.9); }},
        {"shocks and bias", [](HistoryRequest& r) { r.ShockDaysPerEvent = 0.7; r.ShockMagnitude = 3; r.BiasPercentPerYear = -40; }},
        {"rare shock events of T attempts", [](HistoryRequest& r) { r.TicksPerDay = 5; r.NumberOfDays = 400; r.ShockDaysPerEvent = 8; r.ShockMagnitude = 5; }},
        {"a draw exactly on the shock threshold starts no event",
         [](HistoryRequest& r) { r.TicksPerDay = 1; r.ShockMagnitude = 2; r.ShockDaysPerEvent = DaysPuttingShockThresholdOn(SeedAfter(ClockSeed, 2)); }},
        {"every attempt a shock of magnitude 1", [](HistoryRequest& r) { r.ShockDaysPerEvent = 1e-9; }},
        {"no days", [](HistoryRequest& r) { r.NumberOfDays = 0; }},
        {"too many ticks", [](HistoryRequest& r) { r.NumberOfDays = 3000000; }, "Range check error"},
        {"negative days", [](HistoryRequest& r) { r.NumberOfDays = -3; }, "Range check error"},
        {"bias below -100 %", [](HistoryRequest& r) { r.BiasPercentPerYear = -150; }, "Invalid floating point operation"},
        {"no days per shock", [](HistoryRequest& r) { r.ShockDaysPerEvent = 0; }, "Floating point division by zero"},
        {"days per shock not a number", [](HistoryRequest& r) { r.ShockDaysPerEvent = NAN; }, "Invalid floating point operation"},
        {"days per shock too small", [](HistoryRequest& r) { r.ShockDaysPerEvent = 1e-320; }, "Floating point overflow"},
        {"empty soft band", [](HistoryRequest& r) { r.SoftBounds = r.MaxBoundActive = true; r.MinPrice = r.MaxPrice = 5000; }, "Floating point division by zero"},
        {"empty soft band at the price",
         [](HistoryRequest& r) { r.SoftBounds = r.MaxBoundActive = true; r.MinPrice = r.MaxPrice = r.SeedPrice = 5000; r.TickVolatility = 0; },
         "Invalid floating point operation"},
        {"overflow", [](HistoryRequest& r) { r.TickVolatility = 1e308; }, "Floating point overflow"},
        {"zero price fails every bar", [](HistoryRequest& r) { r.SeedPrice = 0; }, "Invalid floating point operation"},
        {"zero price fails a weekday bar", [](HistoryRequest& r) { r.SeedPrice = 0; r.SkipWeekends = true; r.StartDate -= 2; }, "Invalid floating point operation"},
        {"a tick failure after a failed bar comes first",
         [](HistoryRequest& r) { r.SeedPrice = 0; r.TickVolatility = 1e300; r.ShockMagnitude = 1e300; r.ShockDaysPerEvent = 8; }, "Floating point overflow"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.change(request);
        const Outcome want = OutcomeOf(TwoPhaseHistory, request);
        const Outcome watched = OutcomeOf(Watched, request);
        Outcome unwatched = OutcomeOf([](auto& r, auto& p, auto& s, auto&) { return MakeHistory(r, p, s); }, request);
        EXPECT_EQ(want.error, c.error);
        EXPECT_TRUE(watched == want) << watched.error;
        unwatched.ticks = want.ticks;
        EXPECT_TRUE(unwatched == want) << unwatched.error;
    }
    EXPECT_ERROR_MESSAGE(MakeHistory(request, sink, bars, [](const TickPathView&) { throw Error("disk full"); }), "disk full");
}

TEST_F(SynthesisTest, AnAbortAtAnyPumpOrLeftSetBeforeTheRunEndsItThereWithFiveEmptySeries)
{
    request.NumberOfDays = 40;         // 40,000 ticks: a pump every stride of ticks...
    request.ShockDaysPerEvent = 1e12;  // (two draws a tick)
    std::vector<std::string> pumpedWhile;
    sink.onPump = [&] { pumpedWhile.push_back(sink.Activity()); };
    MakeHistory(request, sink, bars);
    EXPECT_EQ(std::count(pumpedWhile.begin(), pumpedWhile.end(), "Making History..."), 10);
    EXPECT_EQ(std::count(pumpedWhile.begin(), pumpedWhile.end(), "Compressing..."), 1);  // ... and of days
    const std::vector<int> fullGauge = sink.gaugeHistory;

    for (long long pump : {0LL, 1LL, 2LL, 10LL, 11LL}) {
        SCOPED_TRACE(pump);
        AbortAtPump(pump);
        if (pump == 0)
            RequestAbort();
        long long watched = 0;
        EXPECT_FALSE(MakeHistory(request, sink, bars, [&](const TickPathView& view) { watched += view.Count; }));
        EXPECT_EQ(sink.pumps, pump);
        // Every tick made before the pump, and not one more, was drawn and delivered.
        EXPECT_EQ(watched, std::min(std::max(pump - 1, 0LL) * PollStride, 40000LL));
        EXPECT_EQ(SharedRandom().Seed(), SeedAfter(ClockSeed, 2 * watched));
        EXPECT_EQ(bars.SeriesCount(), 5);
        EXPECT_EQ(bars.Length(), 0);
        EXPECT_FALSE(AbortRequested());
        // The second half still announces itself, then stops at its first test.
        EXPECT_EQ(sink.activities.back(), "Compressing...");
        EXPECT_TRUE(std::equal(sink.gaugeHistory.begin(), sink.gaugeHistory.end(), fullGauge.begin()));
    }
    // An abort at the pump of the last day still ends the run.
    request.NumberOfDays = 1;
    AbortAtPump(2);
    EXPECT_FALSE(MakeHistory(request, sink, bars));
    EXPECT_EQ(bars.Length(), 0);
}

// Without volatility every attempt of a tick draws the same candidate: the price moved by
// the drift, which with one tick a day is the daily factor.
double FirstMove(double biasPercent) { return std::pow(1.0 + biasPercent / 100.0, 1.0 / 365.0) * 3000.0; }

TEST_F(SynthesisTest, APriceOnAHardBoundIsRefusedUntilAnErrorOrAnAbortEndsTheRedraws)
{
    request.TicksPerDay = request.NumberOfDays = 1;
    request.TickVolatility = 0.0;
    request.BiasPercentPerYear = 1e6;
    request.MaxBoundActive = true;
    request.MaxPrice = FirstMove(1e6);
    EXPECT_ERROR_MESSAGE(MakeHistory(request, sink, bars), "No price move stays inside the price bounds");
    // The redraws pumped messages every 65,536 attempts on the way...
    EXPECT_GE(sink.pumps, static_cast<long long>(RedrawLimit / RedrawPumpInterval));
    // ... so that Abort still works.
    request.BiasPercentPerYear = -50.0;
    request.MaxBoundActive = false;
    request.MinBoundActive = true;
    request.MinPrice = FirstMove(-50.0);
    AbortAtPump(10);
    EXPECT_FALSE(MakeHistory(request, sink, bars));
    EXPECT_EQ(sink.pumps, 10);
    EXPECT_FALSE(AbortRequested());
}

}  // namespace
