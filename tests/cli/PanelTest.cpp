// The panel behind the options: a first start's panel without --settings, the panel a
// settings file describes with it, and options applied through the panel's own rules.

#include "CliRunner.h"

namespace tickforge::clitest {
namespace {

using Panel = CliTest;

TEST_F(Panel, AFirstStartDrawsTheStartingPriceFromItsRangeAndKeepsWeekends)
{
    folder.Ok({"--ticks-per-day", "4", "--volatility", "0", "--start", "2024-01-01"});
    // 180 days with weekends kept: 180 bars.
    const Texts lines = folder.ReadLines("AOI.csv");
    ASSERT_EQ(lines.size(), 180u);
    EXPECT_EQ(Cell(lines[179], 0), "28/06/2024");
    // The starting price is the process's first draw from 2000 .. 4000: seed 0 stepped
    // once is 1, so it is 2000 + 2000 / 2^32, written "2000". Without volatility every
    // price is that, and the volume is the first start's minimum, 100.
    for (const auto& line : lines)
        EXPECT_EQ(line.substr(line.find(',')), R"(,"2000","2000","2000","2000","100")");
}

TEST_F(Panel, ASavedSettingsFileGivesThePanelItDescribesAndOptionsOverrideIt)
{
    WriteFileBytes(folder / "saved.ini",
               "[Generator]\r\nSeed=1234.5\r\nRandomSeed=1\r\nLength=10\r\nTicksPerDay=4\r\nWeekends=0\r\n"
               "MinVolume=777\r\nVolatility=0\r\nSecurityName=XYZ\r\n");
    const Args restored = {"--settings", "saved.ini", "--start", "2024-01-01", "--rng-seed", "3"};
    folder.Ok(restored);
    // Ten days from Monday 1 January without the weekend of the 6th and 7th.
    const Texts lines = folder.ReadLines("XYZ.csv");
    ASSERT_EQ(lines.size(), 8u);
    const Texts days = {"1", "2", "3", "4", "5", "8", "9", "10"};
    for (std::size_t b = 0; b < lines.size(); ++b)
        EXPECT_EQ(lines[b], "\"" + days[b] + "/01/2024\",\"1234.5\",\"1234.5\",\"1234.5\",\"1234.5\",\"777\"");

    folder.Ok(With(restored, {"--days", "5", "--name", "QQQ"}));
    EXPECT_EQ(folder.ReadLines("QQQ.csv"), Texts(lines.begin(), lines.begin() + 5));
}

TEST_F(Panel, ASettingsFileAndTheSameChoicesAsOptionsGiveTheSameHistory)
{
    WriteFileBytes(folder / "saved.ini",
               "[Generator]\nRandomSeed=1\nSeed=2500\nLength=30\nTicksPerDay=300\nMin=1\nMinPrice=2400\n"
               "Hard=1\nSoft=0\nVolatility=3\nActiveShock=1\nShockFreq=5\nShockMag=2\nActiveBias=1\nBias=-10\n"
               "MinVolume=5\nMaxVolume=50\nWeekends=0\n");
    folder.Ok({"--settings", "saved.ini", "--start", "2024-01-01", "--rng-seed", "42", "-o", "file.csv"});
    folder.Ok({"--start", "2024-01-01", "--price", "2500", "--days", "30", "--ticks-per-day", "300", "--min-price",
               "2400", "--hard", "--volatility", "3", "--shocks", "--shock-days", "5", "--shock-magnitude", "2",
               "--bias", "-10", "--min-volume", "5", "--max-volume", "50", "--no-weekends", "--rng-seed", "42", "-o",
               "options.csv"});
    EXPECT_EQ(folder.Read("file.csv"), folder.Read("options.csv"));
    // The bound from the file is in force: no low at or below 2400.
    for (const auto& line : folder.ReadLines("file.csv"))
        EXPECT_GT(Number(line, 3), 2400.0) << line;
}

TEST_F(Panel, TheStartMovesTheRangeAndRepairRulesApplyAndAreReported)
{
    struct Case {
        Args args;
        std::string note;  // on standard error
        std::size_t bars;
        std::string first, last;
    };
    const std::vector<Case> cases = {
        // Saturday 6 January without weekends: Monday to Friday and the Monday after.
        {{"--start", "2024-01-06", "--days", "10", "--no-weekends"}, "", 6, "8/01/2024", "15/01/2024"},
        {{"--days", "0"}, "--days \"0\" became \"1\" by the panel's rule", 1, "1/01/2024", "1/01/2024"},
        // A random minimum above the days is lowered to the days: the period is the range.
        {{"--days", "12", "--random-period-min", "50"}, "--random-period-min \"50\" became \"12\" by the panel's rule",
         12, "1/01/2024", "12/01/2024"},
        {{"--price", "10", "--min-price", "-3", "--days", "3"}, "--min-price \"-3\" became \"0\" by the panel's rule",
         3, "1/01/2024", "3/01/2024"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        CliFolder scratch;
        const RunResult result = scratch.Run(With({"--start", "2024-01-01", "--ticks-per-day", "4", "-q"}, c.args));
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, c.note.empty() ? "" : "tickforge-cli: " + c.note + "\n");
        const Texts lines = scratch.ReadLines("AOI.csv");
        ASSERT_EQ(lines.size(), c.bars);
        EXPECT_EQ(Cell(lines.front(), 0), c.first);
        EXPECT_EQ(Cell(lines.back(), 0), c.last);
    }
}

TEST_F(Panel, ARandomMinimumSwitchesTheRandomPeriodOn)
{
    // A random period is at most one day shorter than the range and ends before its last day.
    folder.Ok({"--days", "20", "--random-period-min", "5", "--start", "2024-01-01", "--ticks-per-day", "4"});
    const Texts lines = folder.ReadLines("AOI.csv");
    EXPECT_GE(lines.size(), 5u);
    EXPECT_LE(lines.size(), 19u);
    EXPECT_LE(std::stoi(Cell(lines.back(), 0)), 19);
}

}  // namespace
}  // namespace tickforge::clitest
