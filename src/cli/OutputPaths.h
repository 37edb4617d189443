#pragma once
// The files a run writes: the bar file (or files), the tick path and the dirty labels.

#include "cli/CliOptions.h"

#include <string>

namespace tickforge::cli {

// The chosen path of the bar files: --output, or the security name with ".csv".
std::string BarOutputPath(const CliOptions& options, const std::string& securityName);

// Refuses, as a usage error (CLI::ValidationError), two of the bar file, --ticks-out
// and --dirty-labels that would write the same file, one's data overwriting or mixing
// with the other's. Paths are compared as given and with their folders (and an
// existing file's links) resolved, so "./x.csv" and "x.csv" are one file; with
// --multiple-files the bar and tick files are the members base + k + extension,
// k = 1 .. --count. Standard output ("-") is checked with the options, and a device
// such as /dev/null may take several outputs. No output may name the --settings file.
void CheckOutputsDiffer(const CliOptions& options, const std::string& barPath);

}  // namespace tickforge::cli
