// Export speed: the price text of one value, and writing a whole history file.

#include "export/HistoryWriter.h"
#include "export/PriceText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

using namespace tickforge;

void PriceTextOfOneValue(benchmark::State& state)
{
    double v = 3012.3456;
    for (auto _ : state) {
        std::string text = PriceText(v, 5);
        benchmark::DoNotOptimize(text);
        v += 0.01;
    }
}
BENCHMARK(PriceTextOfOneValue);

void WriteHistoryFileOfBars(benchmark::State& state)
{
    const auto bars = static_cast<std::int32_t>(state.range(0));
    TTimeSeriesSet set;
    set.SetSeriesCount(DailyBarSeriesCount);
    set.SetLength(bars);
    for (std::int32_t i = 0; i < bars; ++i) {
        const double base = 3000.0 + (i % 1000) * 0.37;
        for (std::int32_t s = 0; s < DailyBarSeriesCount; ++s) {
            set.SetValue(s, i, s == SeriesVolume ? 12345.67 + i : base + s);
            set.SetTime(s, i, 45293.0 + i + 0.6);
        }
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / ("tickforge-bench-" + std::to_string(::getpid()) + ".csv")).string();
    ExportFormat format;
    format.Include(ExportColumn::Ticker, true);
    for (auto _ : state)
        WriteHistoryFile(path, false, set, format, "AOI", true);
    state.SetItemsProcessed(state.iterations() * bars);
    std::filesystem::remove(path);
}
BENCHMARK(WriteHistoryFileOfBars)->Arg(180)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
