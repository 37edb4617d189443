#pragma once
// The export format dialog's choices as the command line gives them.

#include "cli/CliOptions.h"
#include "export/ExportFormat.h"

namespace tickforge::cli {

ExportFormat MakeExportFormat(const CliOptions& options);

// A batch names its members (AOI1, AOI2, ... and base + k + extension with multiple
// files); a single history without --multiple-files is a plain export.
bool IsBatch(const CliOptions& options);

}  // namespace tickforge::cli
