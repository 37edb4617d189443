#include "cli/AnalysisCommands.h"

#include "analysis/FitModel.h"
#include "analysis/HistoryCsv.h"
#include "analysis/HistoryReport.h"
#include "platform/DateFormat.h"
#include "platform/Error.h"
#include "platform/IniText.h"
#include "platform/NumericText.h"
#include "platform/StagedFile.h"
#include "settings/Settings.h"

#include <cstdio>
#include <fstream>

namespace tickforge::cli {

namespace {

int Fail(const std::exception& error)
{
    std::fprintf(stderr, "tickforge-cli: %s\n", error.what());
    return 1;
}

// The settings file: a comment for the one fitted value a settings file cannot keep,
// then the panel's keys. Written beside the target and renamed into place.
void WriteSettings(const PanelControls& panel, const std::string& realFile, const FittedPanel& fit,
                   const std::string& target)
{
    // A name without a folder is one in the current folder (the profile service would
    // look for a bare name in the program's settings folder).
    const std::string path = target.find('/') == std::string::npos ? "./" + target : target;
    const std::string comment = "; Fitted to " + realFile + ". A settings file keeps no start date: give --start " +
                                IsoDateText(fit.startDate) + " with --settings for the real dates.\n";
    try {
        StagedFile staged(path);
        staged.Write(SetIniValues(comment, SettingsSection, SettingsEntries(panel)));
        staged.Checkpoint();
        staged.Commit();
    } catch (const Error&) {
        throw Error("Unable to write to " + target);
    }
}

}  // namespace

AnalysisCommands::AnalysisCommands(CLI::App& app)
{
    fit_ = app.add_subcommand("fit", "Fit the panel to a real daily history (CSV) and write it as a settings file "
                                     "for --settings; panel options given before it change the panel first");
    fit_->add_option("REAL", realFile_, "The real history: a CSV file with Date, Open, High, Low, Close "
                                        "(and Volume) headings")
        ->required()
        ->type_name("FILE");
    fit_->add_option("-o,--output", settingsOut_, "The settings file to write")->required()->type_name("FILE");
    fit_->fallthrough();

    stats_ = app.add_subcommand("stats", "Print the statistics report of one history, or of two side by side");
    stats_->add_option("FILE", statsFiles_, "Histories as CSV files with headings, such as --headings exports")
        ->required()
        ->expected(1, 2)
        ->type_name("FILE");
    stats_->add_flag("--json", json_, "Print the report as JSON");
    app.require_subcommand(0, 1);
}

int AnalysisCommands::RunFit(PanelControls& panel, const LocaleFormats& formats) const
{
    try {
        const DailyHistory real = ReadHistoryCsv(realFile_, formats);
        const FittedPanel fit = FitHistory(real, StrToInt(panel.Text(PanelControl::ebTicksPerDay)));
        ApplyFit(fit, panel);
        WriteSettings(panel, realFile_, fit, settingsOut_);
        std::printf("Fitted to %s (%zu bars, %d rows skipped), written to %s:\n", realFile_.c_str(), real.Bars(),
                    real.skippedRows, settingsOut_.c_str());
        std::printf("  --start %s (not kept in a settings file), %d days, weekends %s\n",
                    IsoDateText(fit.startDate).c_str(), fit.days, fit.weekends ? "kept" : "dropped");
        std::printf("  starting price %s, volatility %s %% a day, bias %s %% a year\n", panel.Text(PanelControl::ebSeed).c_str(),
                    panel.Text(PanelControl::ebVolatility).c_str(), panel.Text(PanelControl::ebBias).c_str());
        std::printf("  shocks %s (excess kurtosis %.3f, a plain walk stays below %.3f)", fit.shocks ? "on" : "off",
                    fit.excessKurtosis, fit.kurtosisThreshold);
        if (fit.shocks)
            std::printf(": one in %s days, magnitude %s", panel.Text(PanelControl::ebShockFreq).c_str(),
                        panel.Text(PanelControl::ebShockMag).c_str());
        std::printf("\n");
        if (fit.volumes)
            std::printf("  volume %s to %s\n", panel.Text(PanelControl::ebMinVolume).c_str(), panel.Text(PanelControl::ebMaxVolume).c_str());
        else
            std::printf("  volume left as it was: the file has none\n");
        for (const std::string& note : fit.notes)
            std::fprintf(stderr, "tickforge-cli: %s\n", note.c_str());
        return 0;
    } catch (const std::exception& error) {
        return Fail(error);
    }
}

int AnalysisCommands::RunStats(const LocaleFormats& formats) const
{
    try {
        std::vector<HistoryReport> reports;
        for (const std::string& file : statsFiles_)
            reports.push_back(MakeReport(ReadHistoryCsv(file, formats)));
        const std::string text = json_ ? ReportJson(reports) : ReportTable(reports);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    } catch (const std::exception& error) {
        return Fail(error);
    }
}

}  // namespace tickforge::cli
