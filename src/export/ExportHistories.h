#pragma once
// The export command without windows: writes the current history, or a batch of
// freshly generated ones, to one file or one file per history.

#include "export/ExportError.h"
#include "export/ExportFormat.h"
#include "platform/LocaleFormats.h"
#include "series/TimeSeries.h"

#include <cstdint>
#include <functional>
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
    bool Append = false;
    bool WriteHeadings = false;
};
ExportMember FormExportMember(const ExportFormat& format, const ExportPath& path, std::int32_t k, bool batch,
                              const std::string& securityName);

using SecurityNameSource = std::function<std::string()>;
using GenerateHistory = std::function<void()>;
using MemberWritten = std::function<void(const ExportMember&)>;

// Writes members 1 .. count of the export (a plain export writes member 1 only,
// whatever count says; a batch count of 0 or less writes nothing). Before each member
// after the first, generate refills bars. The security name is read anew for each
// member. memberWritten, when given, is told of each member once its file is written;
// what it raises passes through unchanged.
//
// The first failure of the writer or of generate ends the export with ExportError
// "Error writing to file <path>. Is it open elsewhere?", title "File Error", path being
// the one formed last (the member before, when a generation failed).
void ExportHistories(const ExportFormat& format, const std::string& chosenPath, std::int32_t count, bool batch,
                     const SecurityNameSource& securityName, const TTimeSeriesSet& bars, const GenerateHistory& generate,
                     const LocaleFormats& formats = {}, const MemberWritten& memberWritten = {});

}  // namespace tickforge
