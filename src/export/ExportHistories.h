#pragma once
// The export command without windows: writes the current history, or a batch of
// freshly generated ones, to one file or one file per history.

#include "export/ExportError.h"
#include "export/ExportFormat.h"
#include "generation/GenerationOutcome.h"
#include "platform/LocaleFormats.h"
#include "series/TimeSeries.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tickforge {

// Refuses a format without a value column: ExportError "At least one value column
// must be selected", title "Illegal column selection".
void CheckValueColumns(const ExportFormat& format);

// A chosen path split before its extension: the extension runs from the last full
// stop that follows every '\', ':' and '/', and is empty when there is none.
struct ExportPath {
    std::string Base;
    std::string Extension;
};
ExportPath SplitExportPath(const std::string& path);

// What member k of an export hands to the writer.
struct ExportMember {
    std::int32_t Number = 1;  // k, from 1
    std::string Path;
    std::string TickerText;
    bool WriteHeadings = false;
};
ExportMember FormExportMember(const ExportFormat& format, const ExportPath& path, std::int32_t k, bool batch,
                              const std::string& securityName);

// What a batch does when a member's generation makes no new history without an error
// (failed checks, an abort): the desktop program writes on (the previous history
// again, or one without bars); the command line ends the batch.
enum class WhenNoHistory { WriteOn, Stop };

// One export apart from its format and path, which the dialogs (or options) choose.
struct ExportJob {
    std::int32_t Count = 1;  // members of a batch; a plain export writes member 1 only
    bool Batch = false;
    // Read anew for each member.
    std::function<std::string()> SecurityName;
    // The bars written; Generate refills them with a new history.
    const TTimeSeriesSet* Bars = nullptr;
    std::function<GenerationOutcome()> Generate;
    WhenNoHistory NoHistory = WhenNoHistory::WriteOn;
    LocaleFormats Formats;
    // Told of each member once its file is written; what it raises passes through.
    std::function<void(const ExportMember&)> MemberWritten;
};

// What an export wrote, and what stopped it.
struct ExportResult {
    enum StopReason {
        Finished,           // every member was written (none for a count of 0 or less)
        NothingToExport,    // the generation before the dialogs left no history to write
        Cancelled,          // the choice of format or path was given up
        GenerationStopped,  // a member's generation failed (or, with Stop, made no history)
        WriteFailed,        // a member's file could not be written
    };
    StopReason Stop = Finished;
    std::int32_t Written = 0;  // members whose files are complete
    // The path formed last: the failing member's, or the one before a stopped generation.
    std::string Path;
    std::string Cause;               // WriteFailed: what the writer raised
    GenerationOutcome Generation;    // NothingToExport, GenerationStopped: what stopped it
};

// Writes members 1 .. job.Count (a plain export writes member 1 only; a batch count
// of 0 or less writes nothing). Before each member after the first, job.Generate
// refills the bars. The first failure of the writer, or a generation that stops the
// batch, ends it; the remaining members are neither generated nor written.
//
// Every file changes only once its members are complete: a plain export or a member of
// several files is put in place when it is written, a single-file batch holds the
// members written so far when it ends or stops, for whatever reason. A failure before
// the first member leaves the old file untouched.
ExportResult ExportHistories(const ExportFormat& format, const std::string& chosenPath, const ExportJob& job);

// The format and path of an export, or nothing when the user gives up.
struct ExportChoice {
    ExportFormat Format;
    std::string Path;
};

// The export command after its count: generates first when the bars hold no history
// yet, stopping there when that leaves none to write; then asks choose; then writes.
ExportResult GenerateAndExport(const ExportJob& job, const std::function<std::optional<ExportChoice>()>& choose);

}  // namespace tickforge
