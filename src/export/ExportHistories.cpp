#include "export/ExportHistories.h"

#include "export/HistoryWriter.h"

#include <exception>
#include <memory>
#include <utility>

namespace tickforge {

void CheckValueColumns(const ExportFormat& format)
{
    if (!HasValueColumn(format))
        throw ExportError(messages::NoValueColumn, messages::IllegalColumnSelectionTitle);
}

ExportPath SplitExportPath(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t lastSeparator = path.find_last_of("\\:/");
    if (dot == std::string::npos || (lastSeparator != std::string::npos && dot < lastSeparator))
        return {path, {}};
    return {path.substr(0, dot), path.substr(dot)};
}

ExportMember FormExportMember(const ExportFormat& format, const ExportPath& path, std::int32_t k, bool batch,
                              const std::string& securityName)
{
    ExportMember member;
    member.Number = k;
    if (!batch) {
        member.Path = path.Base + path.Extension;
        member.TickerText = securityName;
        member.WriteHeadings = format.WriteHeadings;
        return member;
    }
    const std::string number = std::to_string(k);
    member.TickerText = securityName + number;
    if (format.MultipleFiles) {
        member.Path = path.Base + number + path.Extension;
        member.WriteHeadings = format.WriteHeadings;
    } else {
        // One file: member 1 starts it, the others follow without a heading line.
        member.Path = path.Base + path.Extension;
        member.WriteHeadings = format.WriteHeadings && k == 1;
    }
    return member;
}

namespace {

// Whether a generation that made the given outcome ends the export.
bool EndsExport(const GenerationOutcome& outcome, WhenNoHistory noHistory)
{
    switch (outcome.kind) {
    case GenerationOutcome::Generated:
        return false;
    case GenerationOutcome::Failed:
        return true;
    case GenerationOutcome::ChecksFailed:
    case GenerationOutcome::Aborted:
        break;
    }
    return noHistory == WhenNoHistory::Stop;
}

}  // namespace

ExportResult ExportHistories(const ExportFormat& format, const std::string& chosenPath, const ExportJob& job)
{
    const ExportPath path = SplitExportPath(chosenPath);
    const std::int32_t members = job.Batch ? job.Count : 1;
    ExportResult result;
    // The file being written. A single-file batch keeps it from member to member and
    // publishes the members written when the batch ends or stops, whatever stops it.
    std::unique_ptr<StagedFile> file;
    const auto publish = [&] {
        if (file)
            file->Commit();
        file.reset();
    };
    // Ends the export: what was written is published; a failure to publish is the
    // export's failure unless an earlier one stopped it.
    const auto finish = [&]() -> ExportResult {
        try {
            publish();
        } catch (const std::exception& failure) {
            if (result.Stop != ExportResult::WriteFailed) {
                result.Stop = ExportResult::WriteFailed;
                result.Cause = failure.what();
            }
        }
        return result;
    };
    for (std::int32_t k = 1; k <= members; ++k) {
        if (k > 1) {
            result.Generation = job.Generate();
            if (EndsExport(result.Generation, job.NoHistory)) {
                result.Stop = ExportResult::GenerationStopped;
                return finish();
            }
        }
        ExportMember member;
        try {
            member = FormExportMember(format, path, k, job.Batch, job.SecurityName());
            result.Path = member.Path;
            // Only a single-file batch keeps its file open from member to member.
            if (!file)
                file = std::make_unique<StagedFile>(member.Path);
            WriteHistory(*file, *job.Bars, format, member.TickerText, member.WriteHeadings, job.Formats);
            file->Checkpoint();
            if (!job.Batch || format.MultipleFiles)
                publish();
        } catch (const std::exception& failure) {
            result.Stop = ExportResult::WriteFailed;
            result.Cause = failure.what();
            return finish();
        } catch (...) {
            result.Stop = ExportResult::WriteFailed;
            return finish();
        }
        result.Written = k;
        if (job.MemberWritten) {
            try {
                job.MemberWritten(member);
            } catch (...) {
                finish();
                throw;
            }
        }
    }
    return finish();
}

ExportResult GenerateAndExport(const ExportJob& job, const std::function<std::optional<ExportChoice>()>& choose)
{
    if (job.Bars->SeriesCount() == 0) {
        // Failed checks leave the bars without a history; an abort leaves one without bars.
        GenerationOutcome first = job.Generate();
        if (first.kind == GenerationOutcome::ChecksFailed || EndsExport(first, job.NoHistory)) {
            ExportResult result;
            result.Stop = ExportResult::NothingToExport;
            result.Generation = std::move(first);
            return result;
        }
    }
    const std::optional<ExportChoice> choice = choose();
    if (!choice) {
        ExportResult result;
        result.Stop = ExportResult::Cancelled;
        return result;
    }
    return ExportHistories(choice->Format, choice->Path, job);
}

}  // namespace tickforge
