// The panel behind the options: a first start's panel without --settings, the panel a
// settings file describes with it, options applied as a user would through the
// panel's rules.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tickforge::clitest {
namespace {

double Number(const std::string& field) { return std::strtod(Unquote(field).c_str(), nullptr); }

TEST(Panel, AFirstStartDrawsTheStartingPriceFromItsRangeAndKeepsWeekends)
{
    CliFolder folder;
    const RunResult result = folder.Run({"--ticks-per-day", "4", "--volatility", "0", "--start", "2024-01-01"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // 180 days with weekends kept: 180 bars, every price the starting price.
    const auto lines = Lines(folder.Read("AOI.csv"));
    ASSERT_EQ(lines.size(), 180u);
    EXPECT_EQ(Unquote(Fields(lines[179])[0]), "28/06/2024");
    // The random starting price lies in 2000 .. 4000 and is the process's first draw:
    // seed 0 stepped once is 1, so the price is 2000 + 2000 / 2^32, written "2000".
    for (const auto& line : lines) {
        const auto fields = Fields(line);
        for (std::size_t column = 1; column <= 4; ++column)
            EXPECT_EQ(Unquote(fields[column]), "2000") << line;
        // A bar without range has the minimum volume, 100 on a first start.
        EXPECT_EQ(Unquote(fields[5]), "100") << line;
    }
}

TEST(Panel, ASavedSettingsFileGivesThePanelItDescribes)
{
    CliFolder folder;
    WriteBytes(folder / "saved.ini",
               "[Generator]\r\nSeed=1234.5\r\nRandomSeed=1\r\nLength=10\r\nTicksPerDay=4\r\nWeekends=0\r\n"
               "MinVolume=777\r\nVolatility=0\r\nSecurityName=XYZ\r\n");
    const RunResult result = folder.Run({"--settings", "saved.ini", "--start", "2024-01-01", "--rng-seed", "3"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // Ten days from Monday 1 January without the weekend of the 6th and 7th.
    const auto lines = Lines(folder.Read("XYZ.csv"));
    ASSERT_EQ(lines.size(), 8u);
    const std::vector<std::string> days = {"1", "2", "3", "4", "5", "8", "9", "10"};
    for (std::size_t b = 0; b < lines.size(); ++b)
        EXPECT_EQ(lines[b], "\"" + days[b] + "/01/2024\",\"1234.5\",\"1234.5\",\"1234.5\",\"1234.5\",\"777\"");
}

TEST(Panel, ASettingsFileAndTheSameChoicesAsOptionsGiveTheSameHistory)
{
    CliFolder folder;
    WriteBytes(folder / "saved.ini",
               "[Generator]\nRandomSeed=1\nSeed=2500\nLength=30\nTicksPerDay=300\nMin=1\nMinPrice=2400\n"
               "Hard=1\nSoft=0\nVolatility=3\nActiveShock=1\nShockFreq=5\nShockMag=2\nActiveBias=1\nBias=-10\n"
               "MinVolume=5\nMaxVolume=50\nWeekends=0\n");
    ASSERT_EQ(folder.Run({"--settings", "saved.ini", "--rng-seed", "42", "-o", "file.csv"}).exitCode, 0);
    ASSERT_EQ(folder.Run({"--price", "2500", "--days", "30", "--ticks-per-day", "300", "--min-price", "2400",
                          "--hard", "--volatility", "3", "--shocks", "--shock-days", "5", "--shock-magnitude", "2",
                          "--bias", "-10", "--min-volume", "5", "--max-volume", "50", "--no-weekends", "--rng-seed",
                          "42", "-o", "options.csv"})
                  .exitCode,
              0);
    EXPECT_EQ(folder.Read("file.csv"), folder.Read("options.csv"));
    // And a bound from the file is in force: no low at or below 2400.
    for (const auto& line : Lines(folder.Read("file.csv")))
        EXPECT_GT(Number(Fields(line)[3]), 2400.0);
}

TEST(Panel, OptionsOverrideTheSettingsFile)
{
    CliFolder folder;
    WriteBytes(folder / "saved.ini", "[Generator]\nLength=30\nSecurityName=XYZ\n");
    ASSERT_EQ(folder.Run({"--settings", "saved.ini", "--days", "5", "--name", "QQQ", "--ticks-per-day", "4"}).exitCode,
              0);
    EXPECT_EQ(Lines(folder.Read("QQQ.csv")).size(), 5u);
}

TEST(Panel, RepairRulesOfThePanelApplyAndAreReported)
{
    CliFolder folder;
    // Days below 1 become 1.
    RunResult result = folder.Run({"--days", "0", "--ticks-per-day", "4", "-o", "one.csv"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("--days \"0\" became \"1\" by the panel's rule"), std::string::npos) << result.err;
    EXPECT_EQ(Lines(folder.Read("one.csv")).size(), 1u);

    // A random minimum above the days is lowered to the days: the period is the range.
    result = folder.Run({"--days", "12", "--random-period-min", "50", "--ticks-per-day", "4", "-o", "range.csv"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("--random-period-min \"50\" became \"12\""), std::string::npos) << result.err;
    EXPECT_EQ(Lines(folder.Read("range.csv")).size(), 12u);

    // A negative minimum price becomes 0.
    result = folder.Run({"--price", "10", "--min-price", "-3", "--ticks-per-day", "4", "--days", "3"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("--min-price \"-3\" became \"0\""), std::string::npos) << result.err;
}

TEST(Panel, ARandomPeriodLiesWithinTheRangeAndEndsBeforeItsLastDay)
{
    CliFolder folder;
    const RunResult result = folder.Run({"--days", "20", "--random-period-min", "5", "--start", "2024-01-01",
                                         "--ticks-per-day", "4", "--count", "5", "--multiple-files"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (int k = 1; k <= 5; ++k) {
        const auto lines = Lines(folder.Read("AOI" + std::to_string(k) + ".csv"));
        EXPECT_GE(lines.size(), 5u);
        EXPECT_LE(lines.size(), 19u);
        const int first = std::atoi(Unquote(Fields(lines.front())[0]).c_str());
        const int last = std::atoi(Unquote(Fields(lines.back())[0]).c_str());
        EXPECT_GE(first, 1);
        EXPECT_LE(last, 19);  // 1 January is day 0 of the range, the 20th its last day
        EXPECT_EQ(last - first + 1, static_cast<int>(lines.size()));
    }
}

TEST(Panel, TheStartDateMovesTheRangeAndWeekendBarsCanBeDropped)
{
    CliFolder folder;
    // Saturday 6 January 2024 and ten days without weekends: Monday to Friday and the
    // Monday after, six bars.
    ASSERT_EQ(folder.Run({"--start", "2024-01-06", "--days", "10", "--no-weekends", "--ticks-per-day", "4"}).exitCode,
              0);
    const auto lines = Lines(folder.Read("AOI.csv"));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(Unquote(Fields(lines[0])[0]), "8/01/2024");
    EXPECT_EQ(Unquote(Fields(lines[5])[0]), "15/01/2024");
}

struct FailureCase {
    std::vector<std::string> args;
    std::string expected;  // the whole message part of the line on standard error
};

class CheckAndErrorTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CheckAndErrorTest, ExitsWithStatus1AndWritesNothing)
{
    CliFolder folder;
    std::vector<std::string> args = {"--ticks-per-day", "10", "--days", "5", "--dirty-labels", "labels.csv",
                                     "--ticks-out", "ticks.csv"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    if (std::find(args.begin(), args.end(), "--dirty") == args.end()) {
        args.push_back("--dirty");
        args.push_back("5");
    }
    const RunResult result = folder.Run(args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(GetParam().expected + "\n"), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(folder.Files().empty()) << folder.Files().front();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckAndErrorTest,
    ::testing::Values(
        FailureCase{{"--price", "3000", "--min-price", "3000"}, "tickforge-cli: Error: Minimum Price larger than Seed"},
        FailureCase{{"--price", "3000", "--max-price", "3000"}, "tickforge-cli: Error: Maximum Price less than Seed"},
        FailureCase{{"--shocks", "--shock-magnitude", "0.5"}, "tickforge-cli: Error: Minimum Shock Magnitude is 1.0"},
        FailureCase{{"--price-min", "4000", "--price-max", "4000"},
                    "tickforge-cli: Error: Minimum Seed larger than Maximum Seed"},
        FailureCase{{"--volatility", "abc"}, "tickforge-cli: 'abc' is not a valid floating point value"},
        FailureCase{{"--ticks-per-day", "ten"}, "tickforge-cli: 'ten' is not a valid integer value"},
        FailureCase{{"--ticks-per-day", "0"}, "tickforge-cli: Floating point division by zero"},
        FailureCase{{"--ticks-per-day", "-4"}, "tickforge-cli: Invalid floating point operation"},
        FailureCase{{"--shock-days", "0"}, "tickforge-cli: Floating point division by zero"},
        FailureCase{{"--dirty", "lots"}, "tickforge-cli: 'lots' is not a valid floating point value"}));

TEST(FileErrors, AFileThatCannotBeWrittenEndsTheRunWithTheExportMessage)
{
    CliFolder folder;
    const RunResult result = folder.Run({"--ticks-per-day", "4", "--days", "3", "-o", "no/such/folder/x.csv"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("tickforge-cli: Error writing to file no/such/folder/x.csv. Is it open elsewhere? ("),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(folder.Files().empty());
}

TEST(FileErrors, AMemberThatCannotBeWrittenStopsTheBatchAfterTheMembersBefore)
{
    CliFolder folder;
    // The third member's name is taken by a folder.
    std::filesystem::create_directory(folder.Path() / "h3.csv");
    const RunResult result =
        folder.Run({"--ticks-per-day", "4", "--days", "3", "--count", "5", "--multiple-files", "-o", "h.csv"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Error writing to file h3.csv. Is it open elsewhere?"), std::string::npos) << result.err;
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"h1.csv", "h2.csv", "h3.csv"}));
    EXPECT_EQ(Lines(folder.Read("h2.csv")).size(), 3u);
}

TEST(Checks, EveryFailedCheckIsReportedInTheRunsOrder)
{
    CliFolder folder;
    const RunResult result = folder.Run({"--shocks", "--shock-magnitude", "0.5", "--price", "3000", "--min-price",
                                         "3000", "--max-price", "3000", "--ticks-per-day", "4"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "tickforge-cli: Error: Minimum Shock Magnitude is 1.0\n"
              "tickforge-cli: Error: Minimum Price larger than Seed\n"
              "tickforge-cli: Error: Maximum Price less than Seed\n");
    EXPECT_TRUE(folder.Files().empty());
}

}  // namespace
}  // namespace tickforge::clitest
