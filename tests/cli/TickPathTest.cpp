// --ticks-out: every tick of the path with its time, in agreement with the bars made
// from it, and named as the bar files are in a batch.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tickforge::clitest {
namespace {

double Number(const std::string& field) { return std::strtod(Unquote(field).c_str(), nullptr); }

TEST(TickPath, TheBarsAgreeWithTheTicksTheyAreMadeFrom)
{
    CliFolder folder;
    // Eight ticks a day: the open is tick 2 of the day (a quarter in), the close tick 7,
    // the high and low the extremes of ticks 2 to 7.
    const RunResult result = folder.Run({"--days", "9", "--ticks-per-day", "8", "--start", "2024-02-27", "--volatility",
                                         "5", "--rng-seed", "21", "--no-weekends", "--ticks-out", "ticks.csv"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto ticks = Lines(folder.Read("ticks.csv"));
    const auto bars = Lines(folder.Read("AOI.csv"));
    ASSERT_EQ(ticks.size(), 72u);  // weekend days are simulated too
    EXPECT_EQ(Fields(ticks[0])[0], "\"2024-02-27T00:00:00.000\"");
    EXPECT_EQ(Fields(ticks[2])[0], "\"2024-02-27T06:00:00.000\"");
    EXPECT_EQ(Fields(ticks[23])[0], "\"2024-02-29T21:00:00.000\"");  // a leap day
    EXPECT_EQ(Fields(ticks[71])[0], "\"2024-03-06T21:00:00.000\"");

    // 27 February 2024 is a Tuesday: days 4 and 5 (2 and 3 March) are dropped.
    ASSERT_EQ(bars.size(), 7u);
    const std::vector<std::size_t> days = {0, 1, 2, 3, 6, 7, 8};
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const auto bar = Fields(bars[b]);
        const std::size_t first = days[b] * 8;
        const auto price = [&](std::size_t i) { return Fields(ticks[i])[1]; };
        EXPECT_EQ(bar[1], price(first + 2)) << "open of bar " << b;
        EXPECT_EQ(bar[4], price(first + 7)) << "close of bar " << b;
        double high = Number(price(first + 2));
        double low = high;
        for (std::size_t i = first + 2; i <= first + 7; ++i) {
            high = std::max(high, Number(price(i)));
            low = std::min(low, Number(price(i)));
        }
        EXPECT_EQ(Number(bar[2]), high) << "high of bar " << b;
        EXPECT_EQ(Number(bar[3]), low) << "low of bar " << b;
        // The bar's date is the day of its ticks.
        const std::string tickDate = Unquote(Fields(ticks[first])[0]).substr(0, 10);
        const std::string barDate = Unquote(bar[0]);
        const auto slash = barDate.find('/');
        EXPECT_EQ(std::atoi(tickDate.substr(8, 2).c_str()), std::atoi(barDate.substr(0, slash).c_str()));
    }
}

TEST(TickPath, TheFirstTickIsTheStartingPriceAndTheFormatIsTheExports)
{
    CliFolder folder;
    ASSERT_EQ(folder.Run({"--days", "1", "--ticks-per-day", "3", "--price", "1234.5678", "--precision", "6", "--tab",
                          "--no-quotes", "--start", "2024-01-01", "--ticks-out", "t.txt"})
                  .exitCode,
              0);
    const auto ticks = Lines(folder.Read("t.txt"));
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks[0], "2024-01-01T00:00:00.000\t1234.57");
    EXPECT_EQ(ticks[1].substr(0, 24), "2024-01-01T08:00:00.000\t");
    EXPECT_EQ(ticks[2].substr(0, 24), "2024-01-01T16:00:00.000\t");
}

TEST(TickPath, BatchesNameTheTickFilesAsTheBarFiles)
{
    CliFolder folder;
    ASSERT_EQ(folder.Run({"--days", "2", "--ticks-per-day", "5", "--count", "3", "--multiple-files", "-o", "bars.csv",
                          "--ticks-out", "ticks.csv"})
                  .exitCode,
              0);
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"bars1.csv", "bars2.csv", "bars3.csv", "ticks1.csv",
                                                        "ticks2.csv", "ticks3.csv"}));
    EXPECT_EQ(Lines(folder.Read("ticks3.csv")).size(), 10u);

    // One file for the batch holds every member's ticks, member 1 first.
    ASSERT_EQ(folder.Run({"--days", "2", "--ticks-per-day", "5", "--count", "3", "--price", "77", "-o", "one.csv",
                          "--ticks-out", "one-ticks.csv"})
                  .exitCode,
              0);
    const auto ticks = Lines(folder.Read("one-ticks.csv"));
    ASSERT_EQ(ticks.size(), 30u);
    EXPECT_EQ(Unquote(Fields(ticks[10])[1]), "77");
    EXPECT_EQ(Unquote(Fields(ticks[20])[1]), "77");
}

TEST(TickPath, DashWritesTheTicksToStandardOutput)
{
    CliFolder folder;
    const RunResult result =
        folder.Run({"--days", "2", "--ticks-per-day", "5", "--rng-seed", "4", "--ticks-out", "-", "-o", "b.csv"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Lines(result.out).size(), 10u);
    ASSERT_EQ(folder.Run({"--days", "2", "--ticks-per-day", "5", "--rng-seed", "4", "--ticks-out", "t.csv", "-o",
                          "b2.csv"})
                  .exitCode,
              0);
    EXPECT_EQ(result.out, folder.Read("t.csv"));
}

}  // namespace
}  // namespace tickforge::clitest
