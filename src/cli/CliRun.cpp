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
#include "cli/TerminalProgress.h"
#include "cli/TickFileWriter.h"
#include "export/ExportHistories.h"
#include "generation/GenerationRun.h"
#include "generation/PanelRecord.h"
#include "platform/Error.h"
#include "platform/NumericText.h"
#include "platform/ProfileFile.h"
#include "platform/StagedFile.h"
#include "platform/UserLocale.h"
#include "settings/Settings.h"
#include "synthesis/MakeHistory.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>
#include <unistd.h>

namespace tickforge::cli {

namespace {

// The settings file that stands for "no file": it reads as empty, so every key takes
// the default of a first start.
constexpr const char* NoSettingsFile = "/dev/null";

void Say(const std::string& text)
{
    std::fprintf(stderr, "tickforge-cli: %s\n", text.c_str());  // unbuffered: no flush needed
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

// A text the settings file gave a control and no other field holds: its key and value.
// (A text an option replaced is in no field, so no conversion message quotes it.)
struct SettingsText {
    std::string key;
    std::string value;
};

// The name and the hidden tick size field are texts, never numbers.
bool IsNeverConverted(PanelControl control)
{
    return control == PanelControl::ebSecurityName || control == PanelControl::ebTickSize;
}

std::vector<SettingsText> TextsFromSettings(const ProfileFile& file, const PanelRecord& panel)
{
    std::vector<SettingsText> texts;
    for (const SettingKey& setting : SettingsKeys) {
        if (setting.kind != SettingKind::Text)
            continue;
        const std::string key(setting.key);
        const std::string missing(1, '\0');  // no stored value holds a NUL
        const std::string stored = file.ReadText(SettingsSection, key, missing);
        if (stored == missing)
            continue;
        // A text that another number field holds as well names neither.
        bool shared = false;
        for (const SettingKey& other : SettingsKeys)
            shared = shared || (other.kind == SettingKind::Text && other.control != setting.control &&
                                !IsNeverConverted(other.control) && panel.Text(other.control) == stored);
        if (!shared)
            texts.push_back({key, stored});
    }
    return texts;
}

class CliCommand {
public:
    CliCommand(const CliOptions& options, PanelRecord& panel, const LocaleFormats& formats,
               std::vector<SettingsText> settingsTexts)
        : options_(options),
          settingsTexts_(std::move(settingsTexts)),
          panel_(panel),
          formats_(formats),
          format_(MakeExportFormat(options)),
          batch_(IsBatch(options)),
          count_(options.count),
          progress_(stderr, !options.quiet.Given() && ::isatty(STDERR_FILENO) == 1),
          ui_(panel, progress_, stderr),
          run_(ui_, formats),
          seeds_(options.rngSeed),
          ticksInOneFile_(batch_ && !format_.MultipleFiles)
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
        job.MemberWritten = [this](const ExportMember& member) { MemberWritten(member); };

        const ExportResult result = GenerateAndExport(
            job, [&] { return std::optional<ExportChoice>(ExportChoice{format_, BarOutputPath(options_, SecurityName())}); });
        int status = ExitFailure;
        switch (result.Stop) {
        case ExportResult::Finished:
            status = ExitSuccess;
            break;
        case ExportResult::Cancelled:  // the options always choose
            break;
        case ExportResult::NothingToExport:
            return ReportFirstGeneration(result.Generation);
        case ExportResult::GenerationStopped:
            status = ReportStop(result);
            break;
        case ExportResult::WriteFailed:
            status = ReportWriteFailure(result);
            break;
        }
        // The members written keep their ticks and labels, whatever ended the batch.
        try {
            PublishMemberFiles();
        } catch (const std::exception& error) {
            if (status == ExitSuccess) {
                Say(error.what());
                status = ExitFailure;
            }
        }
        if (status == ExitSuccess && Interrupted()) {
            // The signal came while the last member was being written: it is kept, and
            // the interruption is still reported.
            Say("interrupted: " + WrittenText(result.Written));
            return InterruptedExitStatus();
        }
        return status;
    }

private:
    // A conversion message about a text from the settings file names the file's key, as
    // the text may be nowhere on the command line.
    std::string Described(const std::string& message) const
    {
        for (const SettingsText& text : settingsTexts_)
            if (message == FormatMessage(messages::NotAnInteger, text.value) ||
                message == FormatMessage(messages::NotAReal, text.value))
                return text.key + ": " + message;
        return message;
    }

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
        if (!ticks_)
            ticks_ = std::make_unique<StagedFile>(TickMember(generated_).Path);
        const bool made = MakeHistory(request, progress, result, [this](const TickPathView& block) {
            tickforge::cli::WriteTicks(*ticks_, block, format_, formats_);
        });
        // A tick file that has no room fails the member before its bars replace a file.
        if (made)
            ticks_->Flush();
        return made;
    }

    void MemberWritten(const ExportMember& member)
    {
        if (labels_)
            labels_->WriteMember(member.Number, run_.GeneratedSet, run_.Corruptions);
        if (ticks_) {
            ticks_->Checkpoint();
            if (!ticksInOneFile_) {
                ticks_->Commit();
                ticks_.reset();
            }
        }
    }

    // Ticks and labels of the members written; a member not written leaves none.
    void PublishMemberFiles()
    {
        if (ticks_)
            ticks_->Commit();
        if (labels_)
            labels_->Close();
    }

    std::string WrittenText(int written) const
    {
        return std::to_string(written) + " of " + std::to_string(Members()) + " written";
    }

    // The run before the export made nothing to write; the checks have said why.
    int ReportFirstGeneration(const GenerationOutcome& outcome) const
    {
        switch (outcome.kind) {
        case GenerationOutcome::Aborted:
            Say("interrupted: nothing written");
            return InterruptedExitStatus();
        case GenerationOutcome::Failed:
            Say(Described(outcome.Error));
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
        const std::string writtenText = WrittenText(result.Written);
        switch (result.Generation.kind) {
        case GenerationOutcome::Aborted:
            Say("interrupted at member " + member + ": " + writtenText);
            return InterruptedExitStatus();
        case GenerationOutcome::ChecksFailed:
            Say("member " + member + " failed the panel's checks: " + writtenText);
            return ExitFailure;
        case GenerationOutcome::Failed:
            Say("member " + member + ": " + Described(result.Generation.Error) + " (" + writtenText + ")");
            return ExitFailure;
        case GenerationOutcome::Generated:
            break;
        }
        return ExitFailure;
    }

    // A file that could not be written, with the cause.
    static int ReportWriteFailure(const ExportResult& result)
    {
        // A closed standard output (a reader such as head that has seen enough) is said in
        // one plain line.
        if (result.Path == "-" && !result.Cause.empty()) {
            Say(result.Cause);
            return ExitFailure;
        }
        std::string message = FileErrorMessage(result.Path);
        if (!result.Cause.empty())
            message += " (" + result.Cause + ")";
        Say(message);
        return ExitFailure;
    }

    const CliOptions& options_;
    std::vector<SettingsText> settingsTexts_;
    PanelRecord& panel_;
    LocaleFormats formats_;
    ExportFormat format_;
    bool batch_;
    int count_;
    TerminalProgress progress_;
    CliGenerationUi ui_;
    GenerationRun run_;
    SeedPlan seeds_;
    bool ticksInOneFile_;
    ExportPath ticksPath_;
    std::unique_ptr<StagedFile> ticks_;
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
    std::vector<SettingsText> settingsTexts;
    try {
        const ProfileFile settings(SettingsPath(options));
        // A settings file named but not read would silently give a first start's panel.
        if (options.settings.Given() && settings.State() != FileState::Readable)
            throw Error("Cannot read settings file " + options.settings.value + ": " +
                        (settings.ReadFailure().empty() ? std::strerror(ENOENT) : settings.ReadFailure()));
        RestoreSettings(panel, settings);
        ApplyPanelOptions(options, panel, notes);
        settingsTexts = TextsFromSettings(settings, panel);
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
        CliCommand command(options, panel, formats, std::move(settingsTexts));
        return command.Execute();
    } catch (const std::exception& error) {
        // Anything outside the generation runs and the export, such as an extra output
        // file that cannot be created or no room for the temporary file behind "-o -".
        Say(error.what());
        return ExitFailure;
    }
}

}  // namespace tickforge::cli
