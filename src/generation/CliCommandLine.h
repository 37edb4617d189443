#pragma once
// The tickforge-cli command that makes a desktop run's history again: every panel value
// the run read, the days, start date and starting price it used, the seed synthesis
// took and the export format, so that the command's file holds the same bytes as the
// desktop program's export. With dirty data active in the run it carries --dirty and
// writes the working copy that run spoiled.

#include "export/ExportFormat.h"
#include "generation/GenerationRun.h"
#include "platform/LocaleFormats.h"

#include <string>

namespace tickforge {

// One shell line; numbers are written in the user's locale, as the command reads them.
std::string CliCommandLine(const RunRecord& run, const std::string& securityName, const ExportFormat& format,
                           const LocaleFormats& formats);

// A price as the shortest text that converts back to the same number.
std::string ExactNumberText(double value, const LocaleFormats& formats);

}  // namespace tickforge
