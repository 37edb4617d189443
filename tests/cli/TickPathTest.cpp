// --ticks-out: every tick of the path with its time, in agreement with the bars made
// from it.

#include "CliRunner.h"

namespace tickforge::clitest {
namespace {

using TickPath = CliTest;

TEST_F(TickPath, TheBarsAgreeWithTheTicksTheyAreMadeFrom)
{
    folder.Ok({"--days", "9", "--ticks-per-day", "8", "--start", "2024-02-27", "--volatility", "5", "--rng-seed",
               "21", "--no-weekends", "--ticks-out", "ticks.csv"});
    const Texts ticks = folder.ReadLines("ticks.csv");
    const Texts bars = folder.ReadLines("AOI.csv");
    ASSERT_EQ(ticks.size(), 72u);  // weekend days are simulated too
    EXPECT_EQ(Cell(ticks[2], 0), "2024-02-27T06:00:00.000");
    EXPECT_EQ(Cell(ticks[23], 0), "2024-02-29T21:00:00.000");  // a leap day
    // Tuesday 27 February: the bars of 2 and 3 March (days 4 and 5) are dropped. With
    // eight ticks a day the open is tick 2 of the day (a quarter in), the close tick 7.
    ASSERT_EQ(bars.size(), 7u);
    const std::size_t days[] = {0, 1, 2, 3, 6, 7, 8};
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const std::size_t first = days[b] * 8;
        EXPECT_EQ(std::stoi(Cell(bars[b], 0)), std::stoi(Cell(ticks[first], 0).substr(8, 2)));
        EXPECT_EQ(Fields(bars[b])[1], Fields(ticks[first + 2])[1]);
        EXPECT_EQ(Fields(bars[b])[4], Fields(ticks[first + 7])[1]);
    }
}

TEST_F(TickPath, EachMemberStartsAtTheStartingPriceInTheExportsFormatAndDashIsStandardOutput)
{
    const Args args = {"--days", "2", "--ticks-per-day", "3", "--count", "3", "--price", "1234.5678", "--precision",
                       "6", "--tab", "--no-quotes", "--start", "2024-01-01", "--rng-seed", "4"};
    folder.Ok(With(args, {"-o", "bars.csv", "--ticks-out", "ticks.csv"}));
    const Texts ticks = folder.ReadLines("ticks.csv");
    ASSERT_EQ(ticks.size(), 18u);  // one file holds the members in order
    for (std::size_t first : {0u, 6u, 12u})
        EXPECT_EQ(ticks[first], "2024-01-01T00:00:00.000\t1234.57");
    EXPECT_EQ(folder.Ok(With(args, {"--ticks-out", "-"})).out, folder.Read("ticks.csv"));
}

}  // namespace
}  // namespace tickforge::clitest
