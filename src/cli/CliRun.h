#pragma once
// The whole command: options, panel, generation runs and export, and the exit status.

namespace tickforge::cli {

enum ExitStatus : int {
    ExitSuccess = 0,      // every member was written
    ExitFailure = 1,      // a check, a conversion, synthesis or a file failed
    ExitUsage = 2,        // the command line itself is wrong
    ExitInterrupted = 130 // Ctrl+C stopped the run (SIGTERM gives 143)
};

int RunCli(int argc, char** argv);

}  // namespace tickforge::cli
