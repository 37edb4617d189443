// The one-pass engine against the two-phase engine it replaced, kept here as the
// reference: the whole tick path first, then one bar per day from it. Over a table of
// settings both must leave the same bars, random sequence, captions, gauge and error.

#include "platform/CheckedMath.h"
#include "synthesis/SynthesisFixture.h"

#include <functional>
#include <vector>

using namespace tickforge;
using tickforge::testing::RecordingSink;
using tickforge::testing::SynthesisTest;

namespace {

bool TwoPhaseHistory(const HistoryRequest& r, ProgressSink& progress, TTimeSeriesSet& result)
{
    RandomSource& random = SharedRandom();
    random.ReseedFromClock();
    const std::int64_t T = r.TicksPerDay;
    const double ticksPerDay = r.TicksPerDay;
    const std::int64_t total = r.NumberOfDays * T;
    if (total < 0 || total > INT32_MAX)
        throw Error(messages::RangeCheck);
    std::vector<TickPoint> path(static_cast<std::size_t>(total));
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
    double price = r.SeedPrice;
    std::int64_t shock = 0;
    // Draws until a candidate fits; false when an abort arrives during the redraws.
    const auto move = [&] {
        for (std::uint32_t rejected = 1;; ++rejected) {
            double step = (random.NextReal() - 0.5) * (2.95 * r.TickVolatility);
            const double u2 = random.NextReal();
            if (u2 < CheckedDiv(1.0, ticksPerDay * r.ShockDaysPerEvent))
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
                return true;
            }
            if (rejected % RedrawPumpInterval == 0) {
                progress.PumpMessages();
                if (AbortRequested())
                    return false;
                if (rejected >= RedrawLimit)
                    throw Error(messages::NoMoveInsideBounds);
            }
        }
    };
    for (std::int64_t i = 0; i < total && !AbortRequested(); ++i) {
        gauge(50 * i / total);
        progress.PumpMessages();
        path[i] = {WholeDays(r.StartDate) + static_cast<double>(i / T) + static_cast<double>(i % T) * (1.0 / ticksPerDay), price};
        if (!move())
            break;
    }
    progress.SetActivity("Compressing...");
    std::int32_t bars = 0;
    const std::int32_t N = result.Length();
    const auto put = [&](std::int32_t s, const TickPoint& tick) {
        result.SetTime(s, bars, tick.Time);
        result.SetValue(s, bars, tick.Value);
    };
    for (std::int32_t d = 0; d < N && !AbortRequested(); ++d) {
        progress.PumpMessages();
        gauge(50LL * d / N + 50);
        const std::int64_t o = d * T + T / 4;
        const std::int64_t e = (d + 1) * T - 1;
        if (r.SkipWeekends && IsWeekend(path[o].Time))
            continue;
        std::int64_t h = o;
        std::int64_t l = o;
        for (std::int64_t k = o; k <= e; ++k) {
            h = path[k].Value > path[h].Value ? k : h;
            l = path[k].Value < path[l].Value ? k : l;
        }
        put(SeriesOpen, path[o]);
        put(SeriesClose, path[e]);
        put(SeriesHigh, path[h]);
        put(SeriesLow, path[l]);
        const double q = 1.0 + CheckedDiv(path[h].Value - path[l].Value, path[l].Value);
        double v = CheckFinite((r.MaxVolume - r.MinVolume) * 50.0 * (q * q - 1.0) + r.MinVolume);
        if (bars > 0)
            v = CheckFinite((result.GetValue(SeriesVolume, bars - 1) + v) / 2.0);
        put(SeriesVolume, {path[o].Time, v});
        ++bars;
    }
    result.SetLength(bars);
    if (AbortRequested()) {
        result.SetLength(0);
        ClearAbortRequest();
        return false;
    }
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
    bool operator==(const Outcome&) const = default;
};

using Engine = std::function<bool(const HistoryRequest&, ProgressSink&, TTimeSeriesSet&)>;

Outcome OutcomeOf(const Engine& engine, const HistoryRequest& request)
{
    TTimeSeriesSet set;
    set.SetSeriesCount(2);
    set.SetLength(3);
    set.Name = "Old";
    RecordingSink sink;
    Outcome out;
    try {
        out.made = engine(request, sink, set);
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

using TwoPhaseEquivalence = SynthesisTest;

TEST_F(TwoPhaseEquivalence, SameBarsSeedCaptionsGaugeAndErrorsForEverySetting)
{
    const struct {
        const char* what;
        std::function<void(HistoryRequest&)> change;
        const char* error = "";
    } cases[] = {
        {"plain", [](HistoryRequest&) {}},
        {"weekends from a Saturday, odd ticks", [](HistoryRequest& r) { r.SkipWeekends = true; r.StartDate -= 2; r.TicksPerDay = 7; r.NumberOfDays = 17; }},
        {"one tick a day", [](HistoryRequest& r) { r.TicksPerDay = 1; r.NumberOfDays = 60; r.TickVolatility = 0.01; }},
        {"fewer ticks than gauge steps", [](HistoryRequest& r) { r.TicksPerDay = 3; r.NumberOfDays = 7; }},
        {"days longer than a poll", [](HistoryRequest& r) { r.TicksPerDay = 100001; r.NumberOfDays = 3; }},
        {"hard bounds with redraws", [](HistoryRequest& r) { r.MinBoundActive = r.MaxBoundActive = true; r.MinPrice = 2995; r.MaxPrice = 3005; r.TickVolatility = 0.005; }},
        {"soft bounds", [](HistoryRequest& r) { r.SoftBounds = r.MinBoundActive = r.MaxBoundActive = true; r.MinPrice = 2990; r.MaxPrice = 3010; r.TickVolatility = 0.003; }},
        {"soft upper bound", [](HistoryRequest& r) { r.SoftBounds = r.MaxBoundActive = true; r.SeedPrice = 95; r.MaxPrice = 100; }},
        {"soft lower bound", [](HistoryRequest& r) { r.SoftBounds = r.MinBoundActive = true; r.MinPrice = 2999; r.MaxPrice = 3001; }},
        {"shocks and bias", [](HistoryRequest& r) { r.ShockDaysPerEvent = 0.7; r.ShockMagnitude = 3; r.BiasPercentPerYear = -40; }},
        {"no days", [](HistoryRequest& r) { r.NumberOfDays = 0; }},
        {"too many ticks", [](HistoryRequest& r) { r.NumberOfDays = 3000000; }, "Range check error"},
        {"negative days", [](HistoryRequest& r) { r.NumberOfDays = -3; }, "Range check error"},
        {"bias below -100 %", [](HistoryRequest& r) { r.BiasPercentPerYear = -150; }, "Invalid floating point operation"},
        {"no days per shock", [](HistoryRequest& r) { r.ShockDaysPerEvent = 0; }, "Floating point division by zero"},
        {"empty soft band", [](HistoryRequest& r) { r.SoftBounds = r.MaxBoundActive = true; r.MinPrice = r.MaxPrice = 5000; }, "Floating point division by zero"},
        {"empty soft band at the price",
         [](HistoryRequest& r) { r.SoftBounds = r.MaxBoundActive = true; r.MinPrice = r.MaxPrice = r.SeedPrice = 5000; r.TickVolatility = 0; },
         "Invalid floating point operation"},
        {"overflow", [](HistoryRequest& r) { r.TickVolatility = 1e308; }, "Floating point overflow"},
        {"zero price fails a weekday bar", [](HistoryRequest& r) { r.SeedPrice = 0; r.SkipWeekends = true; r.StartDate -= 2; }, "Invalid floating point operation"},
        {"a tick failure after a failed bar comes first",
         [](HistoryRequest& r) { r.SeedPrice = 0; r.TickVolatility = 1e300; r.ShockMagnitude = 1e300; r.ShockDaysPerEvent = 8; }, "Floating point overflow"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.change(request);
        const Outcome want = OutcomeOf(TwoPhaseHistory, request);
        const Outcome got = OutcomeOf([](auto& r, auto& p, auto& s) { return MakeHistory(r, p, s); }, request);
        EXPECT_EQ(want.error, c.error);
        EXPECT_EQ(got.error, want.error);
        EXPECT_EQ(got.seed, want.seed);
        EXPECT_EQ(got.captions, want.captions);
        EXPECT_EQ(got.gauge, want.gauge);
        EXPECT_TRUE(got == want);
    }
}

}  // namespace
