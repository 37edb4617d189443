// Settings file speed: restoring the panel from, and saving it to, a file padded with
// 100 MB of lines the program does not know, against a file of the 28 keys alone.

#include "generation/PanelRecord.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

using namespace tickforge;

std::string SettingsFile(std::size_t paddingBytes)
{
    const std::string path = "/tmp/tickforge-bench-" + std::to_string(::getpid()) + "-" +
                              std::to_string(paddingBytes) + ".ini";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string line = "SomeOtherProgramsKey=" + std::string(58, 'x') + "\n";
    out << "[Other]\n";
    for (std::size_t written = 0; written < paddingBytes; written += line.size())
        out << line;
    out << "[Generator]\nLength=200\nSecurityName=BIG\n";
    return path;
}

// Arg: padding in MB. A start restores the panel, an exit saves it.
void Restore(benchmark::State& state)
{
    const std::string path = SettingsFile(static_cast<std::size_t>(state.range(0)) << 20);
    for (auto _ : state) {
        PanelRecord panel = PanelRecord::AtCreation();
        RestoreSettings(panel, path);
        benchmark::DoNotOptimize(panel);
    }
    std::remove(path.c_str());
}
BENCHMARK(Restore)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

void Save(benchmark::State& state)
{
    const std::string path = SettingsFile(static_cast<std::size_t>(state.range(0)) << 20);
    const PanelRecord panel = PanelRecord::AtCreation();
    for (auto _ : state)
        SaveSettings(panel, path);
    std::remove(path.c_str());
}
BENCHMARK(Save)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
