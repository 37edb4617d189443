// Getting the same history again: a seed gives the same bytes on every run, the clock
// seed that a run reports repeats it, and "-o -" writes exactly those bytes to
// standard output.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <regex>

namespace tickforge::clitest {
namespace {

const std::vector<std::string> Quick = {"--days", "40", "--ticks-per-day", "200", "--start", "2024-03-01"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(Reproducibility, OneSeedGivesTheSameBytesOnEveryRun)
{
    CliFolder folder;
    // Random starting price, random period, shocks, bias and dirty data all take part.
    const auto args = With(Quick, {"--random-period-min", "20", "--shocks", "--shock-days", "3", "--bias", "20",
                                   "--dirty", "30", "--rng-seed", "99", "--count", "3"});
    ASSERT_EQ(folder.Run(With(args, {"-o", "a.csv"})).exitCode, 0);
    ASSERT_EQ(folder.Run(With(args, {"-o", "b.csv"})).exitCode, 0);
    const std::string first = folder.Read("a.csv");
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, folder.Read("b.csv"));

    ASSERT_EQ(folder.Run(With(Quick, {"--rng-seed", "100", "-o", "c.csv"})).exitCode, 0);
    ASSERT_EQ(folder.Run(With(Quick, {"--rng-seed", "99", "-o", "d.csv"})).exitCode, 0);
    EXPECT_NE(folder.Read("c.csv"), folder.Read("d.csv"));
}

TEST(Reproducibility, TheReportedClockSeedRepeatsTheHistory)
{
    CliFolder folder;
    const RunResult clock = folder.Run(With(Quick, {"-o", "clock.csv"}));
    ASSERT_EQ(clock.exitCode, 0) << clock.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(clock.err, match, std::regex("member 1: rng seed ([0-9]+)\n"))) << clock.err;
    const RunResult again = folder.Run(With(Quick, {"--rng-seed", match[1].str(), "-o", "again.csv"}));
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(folder.Read("clock.csv"), folder.Read("again.csv"));
    // A fixed seed is known already: nothing to report.
    EXPECT_EQ(again.err.find("rng seed"), std::string::npos);
}

TEST(Reproducibility, EachMemberOfABatchReportsItsSeedUnlessQuiet)
{
    CliFolder folder;
    const RunResult loud = folder.Run(With(Quick, {"--count", "3"}));
    ASSERT_EQ(loud.exitCode, 0) << loud.err;
    EXPECT_TRUE(std::regex_search(loud.err, std::regex("member 1: rng seed [0-9]+\nmember 2: rng seed [0-9]+\n"
                                                       "member 3: rng seed [0-9]+\n")))
        << loud.err;
    const RunResult quiet = folder.Run(With(Quick, {"--count", "3", "--quiet"}));
    ASSERT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.err, "");
}

TEST(Reproducibility, MemberKOfASeededBatchIsSeededWithNPlusKMinusOne)
{
    // With a fixed starting price and no random period the run draws nothing of its
    // own, so member 2 of a batch seeded 7 is the single history seeded 8.
    CliFolder folder;
    const auto fixed = With(Quick, {"--price", "3000"});
    ASSERT_EQ(folder.Run(With(fixed, {"--rng-seed", "7", "--count", "3", "--multiple-files", "-o", "m.csv"})).exitCode,
              0);
    ASSERT_EQ(folder.Run(With(fixed, {"--rng-seed", "8", "-o", "single.csv"})).exitCode, 0);
    EXPECT_EQ(folder.Read("m2.csv"), folder.Read("single.csv"));
    EXPECT_NE(folder.Read("m1.csv"), folder.Read("single.csv"));

    // The seed wraps around at 2^32.
    ASSERT_EQ(folder.Run(With(fixed, {"--rng-seed", "4294967295", "--count", "2", "--multiple-files", "-o", "w.csv"}))
                  .exitCode,
              0);
    ASSERT_EQ(folder.Run(With(fixed, {"--rng-seed", "0", "-o", "zero.csv"})).exitCode, 0);
    EXPECT_EQ(folder.Read("w2.csv"), folder.Read("zero.csv"));
}

TEST(Reproducibility, DashWritesTheSameBytesToStandardOutputAndNoFile)
{
    CliFolder folder;
    const auto args = With(Quick, {"--rng-seed", "5", "--count", "2", "--headings", "--columns", "TDC"});
    ASSERT_EQ(folder.Run(With(args, {"-o", "file.csv"})).exitCode, 0);
    CliFolder other;
    const RunResult piped = other.Run(With(args, {"-o", "-"}));
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, folder.Read("file.csv"));
    EXPECT_TRUE(other.Files().empty());
}

}  // namespace
}  // namespace tickforge::clitest
