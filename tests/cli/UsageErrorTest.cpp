// Usage errors: each exits with status 2, says what is wrong, points to --help and
// writes no file.

#include "CliRunner.h"

#include <gtest/gtest.h>

namespace tickforge::clitest {
namespace {

struct UsageCase {
    std::vector<std::string> args;
    std::string expected;  // a part of the message on standard error
};

class UsageErrorTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, ExitsWithStatus2AndWritesNothing)
{
    CliFolder folder;
    const UsageCase& c = GetParam();
    const RunResult result = folder.Run(c.args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find(c.expected), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("--help"), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(folder.Files().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsageErrorTest,
    ::testing::Values(
        UsageCase{{"--no-such-option"}, "--no-such-option"},
        // Bounds exist only with a fixed starting price; a first start has a random one.
        UsageCase{{"--min-price", "100"}, "a price bound needs a fixed starting price"},
        UsageCase{{"--max-price", "5000"}, "a price bound needs a fixed starting price"},
        UsageCase{{"--price-min", "10", "--price-max", "20", "--min-price", "5"}, "needs a fixed starting price"},
        UsageCase{{"--price", "3000", "--price-min", "10"}, "excludes"},
        UsageCase{{"--soft", "--hard"}, "excludes"},
        UsageCase{{"--weekends", "--no-weekends"}, "excludes"},
        UsageCase{{"--precision", "0"}, "--precision"},
        UsageCase{{"--precision", "10"}, "--precision"},
        UsageCase{{"--columns", "DOX"}, "'X' is not a column letter"},
        UsageCase{{"--columns", "DOO"}, "given twice"},
        UsageCase{{"--columns", "TD"}, "At least one value column must be selected"},
        UsageCase{{"--date-format", "yyyy-mm-dd"}, "'mm' is not a date field"},
        UsageCase{{"--date-format", "'day"}, "not closed"},
        UsageCase{{"--count", "0"}, "--count"},
        UsageCase{{"--count", "three"}, "--count"},
        UsageCase{{"--multiple-files", "-o", "-"}, "cannot hold --multiple-files"},
        UsageCase{{"-o", "-", "--ticks-out", "-"}, "already taken"},
        UsageCase{{"--dirty-labels", "labels.csv"}, "--dirty"},
        UsageCase{{"--settings", "missing.ini"}, "missing.ini"},
        UsageCase{{"--start", "2024-02-30"}, "is not a date of the form YYYY-MM-DD"},
        UsageCase{{"--rng-seed", "4294967296"}, "--rng-seed"},
        UsageCase{{"--rng-seed", "-1"}, "--rng-seed"}));

}  // namespace
}  // namespace tickforge::clitest
