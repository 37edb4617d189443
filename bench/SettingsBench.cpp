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

// Arg: padding in MB. One iteration is one start (restore) and one exit (save).
void RestoreAndSave(benchmark::State& state)
{
    const std::string path = SettingsFile(static_cast<std::size_t>(state.range(0)) << 20);
    for (auto _ : state) {
        PanelRecord panel = PanelRecord::AtCreation();
        RestoreSettings(panel, path);
        SaveSettings(panel, path);
        benchmark::DoNotOptimize(panel);
    }
    std::remove(path.c_str());
}
BENCHMARK(RestoreAndSave)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
