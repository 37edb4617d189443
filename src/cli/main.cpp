// tickforge-cli: artificial price histories from the command line.

#include "cli/CliRun.h"

int main(int argc, char** argv) { return tickforge::cli::RunCli(argc, argv); }
