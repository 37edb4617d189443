// Synthesis speed per tick, beside a bare loop that does only the unavoidable work of a
// tick: two LCG draws, one multiply and one 16-byte store into a fresh path.

#include "platform/Random.h"
#include "series/TimeSeries.h"
#include "synthesis/MakeHistory.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

using namespace tickforge;

struct PathSample {
    double Time;
    double Value;
};

void BareTickLoop(benchmark::State& state)
{
    const std::int64_t days = state.range(0);
    const std::int64_t ticksPerDay = state.range(1);
    const std::int64_t total = days * ticksPerDay;
    for (auto _ : state) {
        std::unique_ptr<PathSample[]> path(new PathSample[static_cast<std::size_t>(total)]);
        std::uint32_t seed = 1;
        const double price = 3000.0;
        for (std::int64_t i = 0; i < total; ++i) {
            seed = RandomSource::Step(seed);
            const double u1 = RandomSource::ToReal(seed);
            seed = RandomSource::Step(seed);
            const double u2 = RandomSource::ToReal(seed);
            path[i].Time = u2;
            path[i].Value = u1 * price;
        }
        benchmark::DoNotOptimize(path.get());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_tick"] = benchmark::Counter(static_cast<double>(total) * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
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
    const double total = static_cast<double>(state.range(0) * state.range(1));
    state.counters["ns_per_tick"] = benchmark::Counter(total * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BareTickLoop)->Args({180, 1000})->Args({3650, 10000})->Unit(benchmark::kMillisecond);
BENCHMARK(MakeHistoryTicks)->Args({180, 1000})->Args({3650, 10000})->Unit(benchmark::kMillisecond);
