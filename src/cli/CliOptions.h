#pragma once
// The command line of tickforge-cli: one member per option. Panel options stay texts,
// exactly as a user would type them into the panel's fields, so that the generation run
// converts them and reports a bad number with the desktop program's own message.

#include "export/ExportFormat.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace tickforge::cli {

// A text option and whether it was given.
struct TextOption {
    std::string value;
    CLI::Option* option = nullptr;
    bool Given() const { return option != nullptr && option->count() > 0; }
};

struct FlagOption {
    bool value = false;
    CLI::Option* option = nullptr;
    bool Given() const { return value; }
};

struct CliOptions {
    TextOption settings;

    // "Time" tab.
    TextOption start;
    TextOption days;
    TextOption randomPeriodMin;
    FlagOption weekends;
    FlagOption noWeekends;
    TextOption ticksPerDay;

    // "Price" tab.
    TextOption price;
    TextOption priceMin;
    TextOption priceMax;
    TextOption minPrice;
    TextOption maxPrice;
    FlagOption soft;
    FlagOption hard;
    TextOption volatility;
    TextOption bias;
    FlagOption noBias;
    FlagOption shocks;
    FlagOption noShocks;
    TextOption shockDays;
    TextOption shockMagnitude;

    // "Volume" tab, security name, "Dirty Data" tab.
    TextOption minVolume;
    TextOption maxVolume;
    TextOption name;
    TextOption dirty;
    TextOption dirtyLabels;

    // Export format and files.
    std::string columns = ColumnLetters(ExportFormat{});
    FlagOption headings;
    FlagOption noQuotes;
    FlagOption tab;
    int precision = 5;
    TextOption dateFormat;
    int count = 1;
    int jobs = 0;  // 0: one per core
    FlagOption multipleFiles;
    TextOption output;

    // Reproducibility and reporting.
    std::optional<std::uint32_t> rngSeed;
    TextOption ticksOut;
    FlagOption quiet;
};

// Declares every option on app, bound to options. Relations that CLI11 can check on
// its own (exclusive pairs, options that need another) are declared here too.
void DeclareOptions(CLI::App& app, CliOptions& options);

// Checks that need the parsed values together; raises CLI::ValidationError.
void CheckOptionCombinations(const CliOptions& options);

}  // namespace tickforge::cli
