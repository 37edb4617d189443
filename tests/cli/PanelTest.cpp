// The panel behind the options: the panel a settings file describes, options applied
// over it, and through the panel's own rules.

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
        CliFolder scratch;
        const RunResult result = scratch.Run(With({"--start", "2024-01-01", "--ticks-per-day", "4", "-q"}, c.args));
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, c.note.empty() ? "" : "tickforge-cli: " + c.note + "\n");
        const Texts lines = scratch.ReadLines("AOI.csv");
        ASSERT_EQ(lines.size(), c.bars) << c.note;
        EXPECT_EQ(Cell(lines.front(), 0), c.first);
        EXPECT_EQ(Cell(lines.back(), 0), c.last);
    }
}

}  // namespace
}  // namespace tickforge::clitest
