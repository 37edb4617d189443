// The subcommands beside generation: fit writes a settings file that generation then
// uses, stats prints the report, and a file that cannot be used is refused.

#include "CliRunner.h"

namespace tickforge::clitest {
namespace {

using Analysis = CliTest;

TEST_F(Analysis, FitWritesASettingsFileThatGenerationUsesAndStatsReportsBoth)
{
    folder.Ok({"--start", "2021-03-01", "--price", "100", "--days", "400", "--ticks-per-day", "100", "--volatility",
               "2", "--rng-seed", "9", "--headings", "--no-weekends", "-o", "real.csv"});
    WriteFileBytes(folder / "fitted.ini", "old\n");
    const RunResult fit = folder.Ok({"--ticks-per-day", "100", "fit", "real.csv", "-o", "fitted.ini"});
    EXPECT_TRUE(Contains(fit.out, "--start 2021-03-01 (not kept in a settings file), 400 days, weekends dropped"));
    EXPECT_TRUE(Contains(folder.Read("fitted.ini"),
                         "; Fitted to real.csv. A settings file keeps no start date: give --start 2021-03-01"));

    folder.Ok({"--settings", "fitted.ini", "--start", "2021-03-01", "--rng-seed", "1", "--headings", "-o", "look.csv"});
    EXPECT_TRUE(Contains(folder.Ok({"stats", "real.csv", "look.csv"}).out,
                         "\nBars                               286         286\n"));
    EXPECT_TRUE(Contains(folder.Ok({"stats", "look.csv", "--json"}).out,
                         "{\"histories\": [\n  {\"file\": \"look.csv\", \"bars\": 286, \"first_date\": "
                         "\"2021-03-01\", \"last_date\": \"2022-04-04\""));
    EXPECT_EQ(folder.Files(), (Texts{"fitted.ini", "look.csv", "real.csv"}));
}

TEST_F(Analysis, AFileThatCannotBeUsedIsRefusedAndLeavesTheSettingsFileAlone)
{
    WriteFileBytes(folder / "real.csv", "Date,Open,High,Low,Close\n2024-01-01,1,1,1,1\n");
    WriteFileBytes(folder / "fitted.ini", "old\n");
    for (const Args& args : {Args{"fit", "real.csv", "-o", "fitted.ini"}, Args{"stats", "real.csv"}}) {
        const RunResult result = folder.Run(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "tickforge-cli: real.csv:2: only 1 usable bars; at least 30 are needed\n");
    }
    EXPECT_EQ(folder.Read("fitted.ini"), "old\n");
    EXPECT_EQ(folder.Run({"stats"}).status, 2);
}

}  // namespace
}  // namespace tickforge::clitest
