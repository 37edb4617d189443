#pragma once
// The truth behind a dirty history: one line per corruption applied (kinds 1 to 6),
// so that data-cleaning code can be scored against it. Values are written as the bar
// file writes them, so a label's before and after texts are the clean and the dirty
// file's texts of that field.

#include "export/ExportFormat.h"
#include "platform/LocaleFormats.h"
#include "platform/StagedFile.h"
#include "series/TimeSeries.h"
#include "synthesis/CorruptHistory.h"

#include <memory>
#include <string>
#include <vector>

namespace tickforge::cli {

class DirtyLabelsFile {
public:
    // The file is created, with its heading line, when the first member is written.
    DirtyLabelsFile(std::string path, const ExportFormat& format, const LocaleFormats& formats);

    // Lines for member, bar indices counted from 0 within the member's history; the
    // date is that of the bar's close, as in the bar file.
    void WriteMember(int member, const TTimeSeriesSet& bars, const std::vector<Corruption>& corruptions);
    // Puts the lines of the members written in place.
    void Close();

private:
    std::string path_;
    ExportFormat format_;
    LocaleFormats formats_;
    std::unique_ptr<StagedFile> file_;
};

// The heading texts of the label file's columns.
inline constexpr const char* DirtyLabelHeadings[] = {"MEMBER", "BAR", "DATE", "KIND", "FIELD", "BEFORE", "AFTER"};

}  // namespace tickforge::cli
