#pragma once
// The subcommands beside generation: "fit" fits the panel to a real history and writes
// it as a settings file; "stats" prints the statistics report of one or two histories.

#include "generation/PanelControls.h"
#include "platform/LocaleFormats.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace tickforge::cli {

class AnalysisCommands {
public:
    // Declares both subcommands on app. Without one the command generates, as always.
    explicit AnalysisCommands(CLI::App& app);

    bool FitChosen() const { return fit_->parsed(); }
    bool StatsChosen() const { return stats_->parsed(); }

    // Fits panel (already restored from --settings and changed by the panel options)
    // to the real file and writes it to the -o file. Returns the exit status.
    int RunFit(PanelControls& panel, const LocaleFormats& formats) const;
    // Prints the report of every file to standard output. Returns the exit status.
    int RunStats(const LocaleFormats& formats) const;

private:
    CLI::App* fit_ = nullptr;
    CLI::App* stats_ = nullptr;
    std::string realFile_;
    std::string settingsOut_;
    std::vector<std::string> statsFiles_;
    bool json_ = false;
};

}  // namespace tickforge::cli
