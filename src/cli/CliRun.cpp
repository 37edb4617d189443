#include "cli/CliRun.h"

#include "cli/AbortSignal.h"
#include "cli/ApplyOptions.h"
#include "cli/CliGenerationUi.h"
#include "cli/CliOptions.h"
#include "cli/DirtyLabels.h"
#include "cli/ExportChoices.h"
#include "cli/OutputPaths.h"
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

// Why a batch stopped before its last member.
enum class Stop { None, ChecksFailed, GenerationError, Interrupted };

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
                MakeHistory(request, progress, result, [this](const TickPathView& ticks) { WriteTicks(ticks); });
            };
            // Every member's tick file lies in the same folder as the first one's.
            CheckWritable(TickMember(1).Path);
        }
        if (options.dirtyLabels.Given()) {
            CheckWritable(options.dirtyLabels.value);
            labels_ = std::make_unique<DirtyLabelsFile>(options.dirtyLabels.value, format_, formats_);
        }
    }

    int Execute()
    {
        // The desktop program's export generates first when nothing exists yet.
        try {
            Generate(1);
        } catch (const StopBatch&) {
            // stop_ says why.
        } catch (const std::exception& error) {
            Say(error.what());
            return ExitFailure;
        }
        if (stop_ == Stop::ChecksFailed)
            return ExitFailure;
        if (stop_ == Stop::Interrupted) {
            Say("interrupted: nothing written");
            return InterruptedExitStatus();
        }

        std::unique_ptr<StdoutRelay> relay;
        std::string chosenPath = BarOutputPath(options_, SecurityName());
        if (chosenPath == "-") {
            relay = std::make_unique<StdoutRelay>();
            chosenPath = relay->Path();
        }
        const TTimeSeriesSet& bars = options_.dirty.Given() ? run_.WorkingSet : run_.GeneratedSet;
        try {
            ExportHistories(
                format_, chosenPath, count_, batch_, [this] { return SecurityName(); }, bars,
                [this] { Generate(written_ + 1); }, formats_,
                [&](const ExportMember& member) { MemberWritten(member, relay.get()); });
            if (labels_)
                labels_->Close();
        } catch (const StopBatch&) {
            // Raised by MemberWritten, which the export passes through unchanged.
            return ReportStop();
        } catch (const ExportError& error) {
            // The export turns whatever the generation of a member after the first raises,
            // a StopBatch included, into a file error of the member before; stop_ tells a
            // stop of this command from a file error of the export's own.
            return stop_ != Stop::None ? ReportStop() : ReportExportError(error, relay.get());
        } catch (const std::exception& error) {
            Say(error.what());
            return ExitFailure;
        }
        return ExitSuccess;
    }

private:
    std::string SecurityName() const { return panel_.Text("ebSecurityName"); }

    // One generation run for member k, exactly as the desktop program's "GO".
    void Generate(int k)
    {
        member_ = k;
        seeds_.SetMember(k);
        seeds_.ForgetSeedUsed();
        progress_.SetMember(k, batch_ ? count_ : 1);
        ui_.ResetMessageCount();
        try {
            run_.btnGenerateClick();
        } catch (const std::exception& error) {
            stop_ = Stop::GenerationError;
            stopMessage_ = error.what();
            throw;
        }
        if (Interrupted()) {
            stop_ = Stop::Interrupted;
            throw StopBatch{};
        }
        if (ui_.MessagesShown() > 0) {
            stop_ = Stop::ChecksFailed;
            throw StopBatch{};
        }
        if (!seeds_.Fixed() && seeds_.SeedUsed() && !options_.quiet.Given()) {
            std::fprintf(stderr, "member %d: rng seed %u\n", k, static_cast<unsigned>(*seeds_.SeedUsed()));
            std::fflush(stderr);
        }
    }

    ExportMember TickMember(int k) const { return FormExportMember(format_, ticksPath_, k, batch_, SecurityName()); }

    // The tick path comes before the member's bars are made, which an abort or an error
    // can still prevent: it is staged, and takes effect once the member is written.
    void WriteTicks(const TickPathView& ticks)
    {
        const ExportMember member = TickMember(member_);
        WriteTickFile(ticks_.Begin(member.Path, member.Append), ticks, format_, formats_);
    }

    void MemberWritten(const ExportMember& member, StdoutRelay* relay)
    {
        written_ = member.Number;
        if (relay != nullptr)
            relay->Forward();
        if (labels_)
            labels_->WriteMember(member.Number, run_.GeneratedSet, run_.Corruptions);
        ticks_.Commit();
        if (Interrupted() && written_ < (batch_ ? count_ : 1)) {
            stop_ = Stop::Interrupted;
            throw StopBatch{};
        }
    }

    // Reports why a callback ended the batch early, as stop_ says.
    int ReportStop() const
    {
        const int members = batch_ ? count_ : 1;
        const std::string writtenText = std::to_string(written_) + " of " + std::to_string(members) + " written";
        switch (stop_) {
        case Stop::Interrupted:
            Say("interrupted at member " + std::to_string(written_ + 1) + ": " + writtenText);
            return InterruptedExitStatus();
        case Stop::ChecksFailed:
            Say("member " + std::to_string(member_) + " failed the panel's checks: " + writtenText);
            return ExitFailure;
        case Stop::GenerationError:
            Say("member " + std::to_string(member_) + ": " + stopMessage_ + " (" + writtenText + ")");
            return ExitFailure;
        case Stop::None:
            break;
        }
        return ExitFailure;
    }

    // The export's own file error, with its cause.
    static int ReportExportError(const ExportError& error, const StdoutRelay* relay)
    {
        std::string message = error.what();
        if (relay != nullptr) {
            const std::size_t at = message.find(relay->Path());
            if (at != std::string::npos)
                message.replace(at, relay->Path().size(), "- (standard output)");
        }
        if (!error.Cause().empty())
            message += " (" + error.Cause() + ")";
        Say(message);
        return ExitFailure;
    }

    // Thrown out of a callback to end the batch; stop_ says why.
    struct StopBatch {};

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
    int member_ = 1;
    int written_ = 0;
    Stop stop_ = Stop::None;
    std::string stopMessage_;
};

}  // namespace

int RunCli(int argc, char** argv)
{
    CLI::App app("", "tickforge-cli");
    CliOptions options;
    DeclareOptions(app, options);
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

    // The panel of the desktop program's main window after its creation.
    PanelRecord panel = PanelRecord::AtCreation(formats);
    std::vector<std::string> notes;
    try {
        RestoreSettings(panel, SettingsPath(options));
        ApplyPanelOptions(options, panel, notes);
        CheckOutputsDiffer(options, BarOutputPath(options, panel.Text("ebSecurityName")));
    } catch (const CLI::ParseError& error) {
        return UsageExit(app, error);
    } catch (const std::exception& error) {
        Say(error.what());
        return ExitFailure;
    }
    for (const std::string& note : notes)
        Say(note);

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
