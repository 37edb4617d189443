#include "cli/CliRun.h"

#include "cli/AbortSignal.h"
#include "cli/ApplyOptions.h"
#include "cli/CliGenerationUi.h"
#include "cli/CliOptions.h"
#include "cli/DirtyLabels.h"
#include "cli/ExportChoices.h"
#include "cli/SeedPlan.h"
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
        }
        if (options.dirtyLabels.Given())
            labels_ = std::make_unique<DirtyLabelsFile>(options.dirtyLabels.value, format_, formats_);
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
        std::string chosenPath = options_.output.Given() ? options_.output.value : SecurityName() + ".csv";
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
            // Raised after a member was written: passed through by the export unchanged.
            return ReportStop(nullptr, relay.get());
        } catch (const ExportError& error) {
            return ReportStop(&error, relay.get());
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

    void WriteTicks(const TickPathView& ticks)
    {
        const ExportMember member = FormExportMember(format_, ticksPath_, member_, batch_, SecurityName());
        WriteTickFile(member.Path, member.Append, ticks, format_, formats_);
    }

    void MemberWritten(const ExportMember& member, StdoutRelay* relay)
    {
        written_ = member.Number;
        if (relay != nullptr)
            relay->Forward();
        if (labels_)
            labels_->WriteMember(member.Number, run_.GeneratedSet, run_.Corruptions);
        if (Interrupted() && written_ < (batch_ ? count_ : 1)) {
            stop_ = Stop::Interrupted;
            throw StopBatch{};
        }
    }

    // Reports why the batch ended early: stop_ when a callback ended it, otherwise the
    // export's own error.
    int ReportStop(const ExportError* error, const StdoutRelay* relay)
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
        if (error == nullptr)
            return ExitFailure;
        std::string message = error->what();
        if (relay != nullptr) {
            const std::size_t at = message.find(relay->Path());
            if (at != std::string::npos)
                message.replace(at, relay->Path().size(), "- (standard output)");
        }
        if (!error->Cause().empty())
            message += " (" + error->Cause() + ")";
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
        // Anything outside the generation runs and the export, such as no room for the
        // temporary file behind "-o -".
        Say(error.what());
        return ExitFailure;
    }
}

}  // namespace tickforge::cli
