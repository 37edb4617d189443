#include "cli/CliRun.h"

#include "cli/AbortSignal.h"
#include "cli/AnalysisCommands.h"
#include "cli/ApplyOptions.h"
#include "cli/CliGenerationUi.h"
#include "cli/CliOptions.h"
#include "cli/DirtyLabels.h"
#include "cli/ExportChoices.h"
#include "cli/OutputPaths.h"
#include "cli/ParallelMembers.h"
#include "cli/SeedPlan.h"
#include "cli/StagedFile.h"
#include "cli/StdoutRelay.h"
#include "cli/TerminalProgress.h"
#include "cli/TickFileWriter.h"
#include "cli/UserLocale.h"
#include "export/ExportHistories.h"
#include "generation/GenerationRun.h"
#include "generation/PanelRecord.h"
#include "settings/Settings.h"
#include "synthesis/MakeHistory.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

namespace tickforge::cli {

namespace {

// The settings file that stands for "no file": it reads as empty, so every key takes
// the default of a first start.
constexpr const char* NoSettingsFile = "/dev/null";

void Say(const std::string& text)
{
    std::fprintf(stderr, "tickforge-cli: %s\n", text.c_str());
    std::fflush(stderr);
}

// The error and CLI11's pointer to --help.
int UsageExit(const CLI::App& app, const CLI::Error& error)
{
    std::fprintf(stderr, "tickforge-cli: %s", CLI::FailureMessage::simple(&app, error).c_str());
    return ExitUsage;
}

// A settings file named without a folder is one in the current folder (the profile
// service would look for a bare name in the program's settings folder instead).
std::string SettingsPath(const CliOptions& options)
{
    if (!options.settings.Given())
        return NoSettingsFile;
    const std::string& path = options.settings.value;
    return path.find('/') == std::string::npos ? "./" + path : path;
}

class CliCommand {
public:
    CliCommand(const CliOptions& options, PanelRecord& panel, const LocaleFormats& formats)
        : options_(options),
          panel_(panel),
          formats_(formats),
          format_(MakeExportFormat(options)),
          batch_(IsBatch(options)),
          count_(options.count),
          progress_(stderr, !options.quiet.Given() && ::isatty(STDERR_FILENO) == 1),
          ui_(panel, progress_, stderr),
          run_(ui_, formats),
          seeds_(options.rngSeed)
    {
        run_.RecordCorruptions = options.dirtyLabels.Given();
        if (options.ticksOut.Given()) {
            ticksPath_ = SplitExportPath(options.ticksOut.value);
            run_.Synthesize = [this](const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result) {
                return SynthesizeWithTicks(request, progress, result);
            };
            // Every member's tick file lies in the same folder as the first one's.
            CheckWritable(TickMember(1).Path);
        }
        if (options.dirtyLabels.Given()) {
            CheckWritable(options.dirtyLabels.value);
            labels_ = std::make_unique<DirtyLabelsFile>(options.dirtyLabels.value, format_, formats_);
        }
        StartParallelMembers();
    }

    int Execute()
    {
        ExportJob job;
        job.Count = count_;
        job.Batch = batch_;
        job.SecurityName = [this] { return SecurityName(); };
        job.Bars = options_.dirty.Given() ? &run_.WorkingSet : &run_.GeneratedSet;
        job.Generate = [this] { return Generate(); };
        job.NoHistory = WhenNoHistory::Stop;
        job.Formats = formats_;
        std::unique_ptr<StdoutRelay> relay;
        job.MemberWritten = [&](const ExportMember& member) { MemberWritten(member, relay.get()); };

        const ExportResult result = GenerateAndExport(job, [&] {
            std::string path = BarOutputPath(options_, SecurityName());
            if (path == "-") {
                relay = std::make_unique<StdoutRelay>();
                path = relay->Path();
            }
            return std::optional<ExportChoice>(ExportChoice{format_, path});
        });
        switch (result.Stop) {
        case ExportResult::Finished:
            if (labels_)
                labels_->Close();
            return ExitSuccess;
        case ExportResult::Cancelled:  // the options always choose
            break;
        case ExportResult::NothingToExport:
            return ReportFirstGeneration(result.Generation);
        case ExportResult::GenerationStopped:
            return ReportStop(result);
        case ExportResult::WriteFailed:
            return ReportWriteFailure(result, relay.get());
        }
        return ExitFailure;
    }

private:
    std::string SecurityName() const { return panel_.Text(PanelControl::ebSecurityName); }
    int Members() const { return batch_ ? count_ : 1; }

    // One generation run for the next member, exactly as the desktop program's "GO".
    // After an interrupt no run starts, and one that ended meanwhile counts as aborted.
    GenerationOutcome Generate()
    {
        const int k = ++generated_;
        if (Interrupted())
            return {GenerationOutcome::Aborted};
        seeds_.SetMember(k);
        seeds_.ForgetSeedUsed();
        std::optional<std::uint32_t> seedUsed;
        GenerationOutcome outcome;
        if (members_) {
            outcome = TakeMember(k, seedUsed);
        } else {
            progress_.SetMember(k, Members());
            outcome = run_.btnGenerateClick();
            seedUsed = seeds_.SeedUsed();
        }
        if (outcome.kind != GenerationOutcome::Failed && Interrupted())
            return {GenerationOutcome::Aborted};
        if (outcome.kind == GenerationOutcome::Generated && !seeds_.Fixed() && seedUsed && !options_.quiet.Given()) {
            std::fprintf(stderr, "member %d: rng seed %u\n", k, static_cast<unsigned>(*seedUsed));
            std::fflush(stderr);
        }
        return outcome;
    }

    // Members that share nothing are made on every core, unless --jobs says otherwise.
    void StartParallelMembers()
    {
        const int jobs = options_.jobs > 0 ? options_.jobs : static_cast<int>(std::thread::hardware_concurrency());
        if (Members() < 2 || jobs < 2)
            return;
        PanelValues panel = ReadPanelValues(panel_);
        const char* sequential = nullptr;
        if (!panel.cbSeedRandom || panel.cbRandomPeriod)
            sequential = "the members depend on each other (a random starting price or period)";
        else if (options_.ticksOut.Given())
            sequential = "--ticks-out writes its tick paths in turn";
        if (sequential == nullptr)
            members_ = std::make_unique<ParallelMembers>(std::move(panel), formats_, run_.RecordCorruptions,
                                                         options_.rngSeed, Members(), jobs);
        else if (options_.jobs > 1)
            Say(std::string("--jobs: ") + sequential + ": one member at a time");
    }

    // Member k as the worker threads made it, moved into the run's sets.
    GenerationOutcome TakeMember(int k, std::optional<std::uint32_t>& seedUsed)
    {
        progress_.SetMember(k, Members());
        progress_.Show();
        progress_.SetActivity(messages::MakingHistory);
        ParallelMembers::Member& member = members_->Take(k, [this](int percent) { progress_.SetGaugePosition(percent); });
        progress_.Hide();
        for (const auto& [text, title] : member.messages)
            ui_.ShowMessage(text, title);
        MoveBars(member.generated, run_.GeneratedSet);
        MoveBars(member.working, run_.WorkingSet);
        run_.Corruptions = std::move(member.corruptions);
        seedUsed = member.seed;
        return member.outcome;
    }

    ExportMember TickMember(int k) const { return FormExportMember(format_, ticksPath_, k, batch_, SecurityName()); }

    // The tick path is written while the member's bars are made, which an abort or an
    // error can still prevent: it is staged, and takes effect once the member is written.
    bool SynthesizeWithTicks(const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result)
    {
        const ExportMember member = TickMember(generated_);
        TickFileWriter ticks(ticks_.Begin(member.Path, member.Append), format_, formats_);
        const bool made = MakeHistory(request, progress, result, [&ticks](const TickPathView& block) { ticks.Write(block); });
        ticks.Close();
        return made;
    }

    void MemberWritten(const ExportMember& member, StdoutRelay* relay)
    {
        if (relay != nullptr)
            relay->Forward();
        if (labels_)
            labels_->WriteMember(member.Number, run_.GeneratedSet, run_.Corruptions);
        ticks_.Commit();
    }

    // The run before the export made nothing to write; the checks have said why.
    static int ReportFirstGeneration(const GenerationOutcome& outcome)
    {
        switch (outcome.kind) {
        case GenerationOutcome::Aborted:
            Say("interrupted: nothing written");
            return InterruptedExitStatus();
        case GenerationOutcome::Failed:
            Say(outcome.Error);
            return ExitFailure;
        case GenerationOutcome::ChecksFailed:
        case GenerationOutcome::Generated:
            break;
        }
        return ExitFailure;
    }

    // A member's generation ended the batch.
    int ReportStop(const ExportResult& result) const
    {
        const std::string member = std::to_string(result.Written + 1);
        const std::string writtenText = std::to_string(result.Written) + " of " + std::to_string(Members()) + " written";
        switch (result.Generation.kind) {
        case GenerationOutcome::Aborted:
            Say("interrupted at member " + member + ": " + writtenText);
            return InterruptedExitStatus();
        case GenerationOutcome::ChecksFailed:
            Say("member " + member + " failed the panel's checks: " + writtenText);
            return ExitFailure;
        case GenerationOutcome::Failed:
            Say("member " + member + ": " + result.Generation.Error + " (" + writtenText + ")");
            return ExitFailure;
        case GenerationOutcome::Generated:
            break;
        }
        return ExitFailure;
    }

    // A file that could not be written, with the cause.
    static int ReportWriteFailure(const ExportResult& result, const StdoutRelay* relay)
    {
        const bool toStdout = relay != nullptr && result.Path == relay->Path();
        std::string message = FileErrorMessage(toStdout ? "- (standard output)" : result.Path);
        if (!result.Cause.empty())
            message += " (" + result.Cause + ")";
        Say(message);
        return ExitFailure;
    }

    const CliOptions& options_;
    PanelRecord& panel_;
    LocaleFormats formats_;
    ExportFormat format_;
    bool batch_;
    int count_;
    TerminalProgress progress_;
    CliGenerationUi ui_;
    GenerationRun run_;
    SeedPlan seeds_;
    ExportPath ticksPath_;
    StagedFile ticks_;
    std::unique_ptr<DirtyLabelsFile> labels_;
    int generated_ = 0;  // generation runs started, the member in hand
    std::unique_ptr<ParallelMembers> members_;  // last: its workers stop before the rest goes
};

}  // namespace

int RunCli(int argc, char** argv)
{
    CLI::App app("", "tickforge-cli");
    CliOptions options;
    DeclareOptions(app, options);
    const AnalysisCommands analysis(app);
    try {
        app.parse(argc, argv);
        CheckOptionCombinations(options);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0)
            return app.exit(error);  // --help
        return UsageExit(app, error);
    }

    LocaleFormats formats = UserLocaleFormats();
    if (options.dateFormat.Given())
        formats.shortDatePattern = options.dateFormat.value;
    if (analysis.StatsChosen())
        return analysis.RunStats(formats);

    // The panel of the desktop program's main window after its creation.
    PanelRecord panel = PanelRecord::AtCreation(formats);
    std::vector<std::string> notes;
    try {
        RestoreSettings(panel, SettingsPath(options));
        ApplyPanelOptions(options, panel, notes);
        CheckOutputsDiffer(options, BarOutputPath(options, panel.Text(PanelControl::ebSecurityName)));
    } catch (const CLI::ParseError& error) {
        return UsageExit(app, error);
    } catch (const std::exception& error) {
        Say(error.what());
        return ExitFailure;
    }
    for (const std::string& note : notes)
        Say(note);
    if (analysis.FitChosen())
        return analysis.RunFit(panel, formats);

    InstallAbortSignal();
    try {
        CliCommand command(options, panel, formats);
        return command.Execute();
    } catch (const std::exception& error) {
        // Anything outside the generation runs and the export, such as an extra output
        // file that cannot be created or no room for the temporary file behind "-o -".
        Say(error.what());
        return ExitFailure;
    }
}

}  // namespace tickforge::cli
