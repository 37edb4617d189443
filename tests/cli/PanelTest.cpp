// The panel behind the options: the panel a settings file describes, options applied
// over it through the panel's own rules, and the settings file that fit writes.

#include "CliRunner.h"

namespace tickforge::clitest {
namespace {

using Panel = CliTest;

TEST_F(Panel, ASettingsFileAndTheSameChoicesAsOptionsGiveTheSameHistoryAndOptionsOverrideIt)
{
    WriteFileBytes(folder / "saved.ini",
                   "[Generator]\r\nRandomSeed=1\r\nSeed=2500\r\nLength=30\r\nTicksPerDay=300\r\nMin=1\r\n"
                   "MinPrice=2400\r\nHard=1\r\nSoft=0\r\nVolatility=3\r\nActiveShock=1\r\nShockFreq=5\r\n"
                   "ShockMag=2\r\nActiveBias=1\r\nBias=-10\r\nMinVolume=5\r\nMaxVolume=50\r\nWeekends=0\r\n"
                   "RandomPeriod=1\r\nRandomPeriodMin=20\r\nSecurityName=XYZ\r\n");
    const Args restored = {"--settings", "saved.ini", "--start", "2024-01-01", "--rng-seed", "42"};
    const Args shared = {"--start", "2024-01-01", "--price", "2500", "--days", "30", "--ticks-per-day", "300",
                         "--min-price", "2400", "--volatility", "3", "--shock-days", "5", "--shock-magnitude", "2",
                         "--min-volume", "5", "--max-volume", "50", "--random-period-min", "20", "--rng-seed", "42"};
    folder.Ok(restored);
    folder.Ok(With(shared, {"--hard", "--shocks", "--bias", "-10", "--no-weekends", "--name", "XYZ", "-o", "o.csv"}));
    EXPECT_EQ(folder.Read("XYZ.csv"), folder.Read("o.csv"));
    // Each switch the file ticked, unticked again: the first start's choices.
    folder.Ok(With(restored, {"--no-shocks", "--no-bias", "--soft", "--weekends", "--name", "QQQ"}));
    folder.Ok(With(shared, {"-o", "plain.csv"}));
    EXPECT_EQ(folder.Read("QQQ.csv"), folder.Read("plain.csv"));
}

TEST_F(Panel, AnOptionIsRepairedByThePanelsRulesAsTypingWouldBeAndTheChangeIsReported)
{
    // The random minimum is lowered to the days, as the period is the whole range.
    const RunResult result = folder.Ok({"-q", "--ticks-per-day", "4", "--days", "0", "--random-period-min", "50",
                                        "--price", "10", "--min-price", "-3"});
    EXPECT_EQ(result.err, "tickforge-cli: --days \"0\" became \"1\" by the panel's rule\n"
                          "tickforge-cli: --random-period-min \"50\" became \"1\" by the panel's rule\n"
                          "tickforge-cli: --min-price \"-3\" became \"0\" by the panel's rule\n");
    EXPECT_EQ(folder.ReadLines("AOI.csv").size(), 1u);
}

TEST_F(Panel, FitWritesASettingsFileThatGenerationUsesAndStatsReportsBoth)
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

}  // namespace
}  // namespace tickforge::clitest
