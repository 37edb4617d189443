// Synthesis speed per tick, beside a bare loop that does only the unavoidable work of a
// tick: two LCG draws, one multiply and one 16-byte store into one day's buffer, and at
// the end of each day its bar (open, close and the first highest and lowest tick).

#include "platform/Random.h"
#include "series/TimeSeries.h"
#include "synthesis/MakeHistory.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using namespace tickforge;

void SetTickRate(benchmark::State& state)
{
    const double ticks = static_cast<double>(state.range(0) * state.range(1));
    state.counters["ns_per_tick"] = benchmark::Counter(ticks * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BareTickLoop(benchmark::State& state)
{
    const auto days = static_cast<std::int32_t>(state.range(0));
    const auto ticksPerDay = static_cast<std::int32_t>(state.range(1));
    std::vector<TickPoint> day(static_cast<std::size_t>(ticksPerDay));
    std::vector<TTimeSeriesSample> bars(static_cast<std::size_t>(days) * 4);
    for (auto _ : state) {
        std::uint32_t seed = 1;
        const double price = 3000.0;
        for (std::int32_t d = 0; d < days; ++d) {
            for (std::int32_t k = 0; k < ticksPerDay; ++k) {
                seed = RandomSource::Step(seed);
                const double u1 = RandomSource::ToReal(seed);
                seed = RandomSource::Step(seed);
                day[static_cast<std::size_t>(k)] = {RandomSource::ToReal(seed), u1 * price};
            }
            const std::int32_t open = ticksPerDay / 4;
            std::int32_t high = open;
            std::int32_t low = open;
            for (std::int32_t k = open; k < ticksPerDay; ++k) {
                if (day[static_cast<std::size_t>(k)].Value > day[static_cast<std::size_t>(high)].Value)
                    high = k;
                if (day[static_cast<std::size_t>(k)].Value < day[static_cast<std::size_t>(low)].Value)
                    low = k;
            }
            TTimeSeriesSample* bar = &bars[static_cast<std::size_t>(d) * 4];
            for (const std::int32_t k : {open, ticksPerDay - 1, high, low})
                *bar++ = {day[static_cast<std::size_t>(k)].Time, day[static_cast<std::size_t>(k)].Value};
        }
        benchmark::DoNotOptimize(bars.data());
        benchmark::ClobberMemory();
    }
    SetTickRate(state);
}

void MakeHistoryTicks(benchmark::State& state)
{
    HistoryRequest request;
    request.Name = "Synth";
    request.SeedPrice = 3000.0;
    request.NumberOfDays = static_cast<std::int32_t>(state.range(0));
    request.TicksPerDay = static_cast<std::int32_t>(state.range(1));
    request.StartDate = 45000.0;
    request.MaxVolume = 1000.0;
    request.TickVolatility = 0.01 / std::sqrt(static_cast<double>(request.TicksPerDay));
    request.SkipWeekends = true;
    TTimeSeriesSet bars;
    NullProgressSink sink;
    for (auto _ : state) {
        MakeHistory(request, sink, bars);
        benchmark::DoNotOptimize(bars.Series.data());
    }
    SetTickRate(state);
}

}  // namespace

BENCHMARK(BareTickLoop)->Args({180, 1000})->Args({3650, 10000})->Unit(benchmark::kMillisecond);
BENCHMARK(MakeHistoryTicks)->Args({180, 1000})->Args({3650, 10000})->Unit(benchmark::kMillisecond);
