// What a successful run writes and reports, whatever --jobs says; and the panel behind the options.

#include "CliRunner.h"

#include <regex>
#include <set>
#include <tuple>

namespace tickforge::clitest {
namespace {

using Output = CliTest;
using Panel = CliTest;

const Args Small = {"--days", "10", "--ticks-per-day", "50", "--start", "2024-01-01", "--price", "3000", "--rng-seed", "11"};

TEST_F(Output, MemberKOfABatchSeededNIsSeededNPlusKMinusOneModuloTwoToThe32)
{
    // Member 2 is what 0 gives alone (the fixed starting price leaves the run nothing to
    // draw of its own). One file holds the members in turn.
    folder.Ok(With(Small, {"--count", "3", "--rng-seed", "4294967295", "-o", "all.csv"}));
    const Texts lines = folder.ReadLines("all.csv");
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(Texts(lines.begin() + 10, lines.begin() + 20),
              Lines(folder.Ok(With(Small, {"--rng-seed", "0", "-o", "-"})).out));
}

TEST_F(Output, DirtyDataIsLabelledTrulyAndMembersMadeAtTheSameTimeAreTheBytesOfOneAtATime)
{
    const Args batch = With(Small, {"--days", "150", "--columns", "TDOHLCV", "--count", "3", "--multiple-files"});
    const std::string heading = R"("MEMBER","BAR","DATE","KIND","FIELD","BEFORE","AFTER")";
    folder.Ok(With(batch, {"-o", "clean.csv"}));
    folder.Ok(With(batch, {"--jobs", "1", "--dirty", "40", "-o", "one.csv", "--dirty-labels", "one-labels.csv"}));
    folder.Ok(With(batch, {"--jobs", "3", "--dirty", "40", "-o", "three.csv", "--dirty-labels", "three-labels.csv"}));
    for (const std::string name : {"1.csv", "2.csv", "3.csv", "-labels.csv"})
        EXPECT_EQ(folder.Read("three" + name), folder.Read("one" + name)) << name;
    // Each label names a field of a member's bar, its value in the clean bars and in the
    // dirty ones. Member and bar are quoted: stoul reads the digits after the quote.
    const Texts labels = folder.ReadLines("one-labels.csv");
    ASSERT_EQ(labels.at(0), heading);
    const Texts columns = Fields(R"("TICKER","DATE","OPEN","HIGH","LOW","CLOSE","VOLUME")");
    std::set<std::string> members;
    for (std::size_t i = 1; i < labels.size(); ++i) {
        SCOPED_TRACE(labels[i]);
        const Texts label = Fields(labels[i]);
        const int k = std::stoi(label.at(0).substr(1));
        const std::size_t bar = std::stoul(label.at(1).substr(1));
        const std::size_t column = std::find(columns.begin(), columns.end(), label.at(4)) - columns.begin();
        const Texts clean = Fields(folder.ReadLines(Member("clean", k)).at(bar));
        ASSERT_TRUE(label.size() == 7 && column < columns.size());
        EXPECT_EQ(label[2], clean[1]);  // the bar's date
        EXPECT_EQ(label[5], clean[column]);
        EXPECT_EQ(label[6], Fields(folder.ReadLines(Member("one", k)).at(bar))[column]);
        members.insert(label[0]);
    }
    EXPECT_EQ(members.size(), 3u);
    // Without a share of bad ticks the clean bars are written, and no label.
    folder.Ok(With(batch, {"--dirty", "0", "--dirty-labels", "none.csv", "-o", "zero.csv"}));
    EXPECT_EQ(folder.Read("zero3.csv"), folder.Read("clean3.csv"));
    EXPECT_EQ(folder.ReadLines("none.csv"), Texts{heading});
}

TEST_F(Output, EachRunLeavesItsFilesAndSaysWhyMembersAreMadeOneAtATime)
{
    const std::string inTurn = "tickforge-cli: --jobs: the members depend on each other (a random starting price or "
                               "period): one member at a time\n";
    for (const auto& [args, files, err] : std::vector<std::tuple<Args, Texts, std::string>>{
             {{"--name", "XYZ"}, {"XYZ.csv"}, ""},
             {{"--jobs", "2", "--count", "2", "--multiple-files", "--price", "5", "-o", "b.csv", "--ticks-out", "t.csv"},
              {"b1.csv", "b2.csv", "t1.csv", "t2.csv"},
              "tickforge-cli: --jobs: --ticks-out writes its tick paths in turn: one member at a time\n"},
             // Not a member's name, so not taken; a device takes several outputs.
             {{"--count", "2", "--multiple-files", "-o", "h.csv", "--dirty", "5", "--dirty-labels", "h3.csv"},
              {"h1.csv", "h2.csv", "h3.csv"}, ""},
             {{"-o", "/dev/null", "--ticks-out", "/dev/null", "--dirty", "5", "--dirty-labels", "l.csv"}, {"l.csv"}, ""},
             {{"--jobs", "2", "--count", "2", "-o", "r.csv"}, {"r.csv"}, inTurn},
             {{"--jobs", "2", "--count", "2", "--price", "5", "--random-period-min", "3", "-o", "r.csv"}, {"r.csv"}, inTurn},
             {{"--jobs", "1", "--count", "2", "-o", "r.csv"}, {"r.csv"}, ""}}) {
        CliFolder scratch;
        EXPECT_EQ(scratch.Ok(With({"--days", "5", "--ticks-per-day", "50", "-q"}, args)).err, err);
        EXPECT_EQ(scratch.Files(), files);
    }
}

TEST_F(Output, FormatChoicesShapeTheBarsAndTheTickFileThatHoldsEveryTickTheyAreMadeFrom)
{
    // From Tuesday 27 February, eight ticks a day: the bars of 2 and 3 March are dropped,
    // their ticks are not. The open is tick 2 of the day (a quarter in), the close tick 7.
    // One file holds the members in order, each from the starting price. The columns
    // keep the file's fixed order whatever the order of the letters.
    const Args args = {"--days", "9", "--ticks-per-day", "8", "--start", "2024-02-27", "--price", "1234.5678",
                       "--precision", "6", "--tab", "--no-quotes", "--columns", "cod", "--date-format", "yyyy-MM-dd",
                       "--rng-seed", "21", "--no-weekends", "--count", "2"};
    folder.Ok(With(args, {"-o", "bars.csv", "--ticks-out", "ticks.csv"}));
    const Texts ticks = folder.ReadLines("ticks.csv"), bars = folder.ReadLines("bars.csv");
    ASSERT_EQ(ticks.size(), 144u);
    ASSERT_EQ(bars.size(), 14u);
    EXPECT_EQ(ticks[72], "2024-02-27T00:00:00.000\t1234.57");
    EXPECT_EQ(Split(ticks[23], "\t")[0], "2024-02-29T21:00:00.000");  // a leap day
    const std::size_t days[] = {0, 1, 2, 3, 6, 7, 8};
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const std::size_t first = b / 7 * 72 + days[b % 7] * 8;
        EXPECT_EQ(bars[b], ticks[first].substr(0, 10) + "\t" + Split(ticks[first + 2], "\t")[1] + "\t" +
                               Split(ticks[first + 7], "\t")[1]);
    }
    EXPECT_EQ(folder.Ok(With(args, {"--ticks-out", "-"})).out, folder.Read("ticks.csv"));
}

TEST_F(Output, TheUsersLocaleGivesTheDecimalSeparatorAndShortDateAsTheDesktopProgramReadsThem)
{
    // Qt's own locale data: a locale the C library may lack is read all the same.
    const Args args = {"-q", "--rng-seed", "5", "--start", "2024-01-02", "--days", "1", "--ticks-per-day", "4",
                       "--price", "100", "-o", "-"};
    const RunResult german = folder.Run(With(args, {"--volatility", "1,5"}), {"LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(german.out.substr(0, 11), "\"02.01.24\",");
    const RunResult american = folder.Run(With(args, {"--volatility", "1.5"}), {"LC_ALL=en_US.UTF-8"});
    EXPECT_EQ(american.out.substr(0, 9), "\"1/2/24\",");
    // The same history either way: only the separators differ.
    const std::string prices = std::regex_replace(german.out.substr(11), std::regex("(\\d),(\\d)"), "$1.$2");
    EXPECT_EQ(prices, american.out.substr(9));
    EXPECT_NE(prices, german.out.substr(11));
}

TEST_F(Output, EachMembersClockSeedIsReportedAndRepeatsItsHistoryToTheByteOnStandardOutput)
{
    // Random starting price, random period, shocks, bias and dirty data all take part.
    const Args args = {"--days", "40", "--ticks-per-day", "200", "--random-period-min", "20", "--shocks",
                       "--shock-days", "3", "--bias", "20", "--dirty", "30"};
    const RunResult clock = folder.Ok(With(args, {"--count", "2", "--multiple-files", "-o", "clock.csv"}));
    std::smatch seed;
    ASSERT_TRUE(std::regex_search(clock.err, seed, std::regex("^member 1: rng seed ([0-9]+)\nmember 2: rng seed [0-9]+\n$")))
        << clock.err;
    // A fixed seed is known already, and --quiet silences the report.
    const RunResult again = folder.Ok(With(args, {"--rng-seed", seed[1].str(), "-o", "-"}));
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(again.out, folder.Read("clock1.csv"));
    EXPECT_NE(again.out, folder.Read("clock2.csv"));
    EXPECT_EQ(folder.Ok(With(args, {"--count", "2", "--quiet", "-o", "-"})).err, "");
    EXPECT_EQ(folder.Files(), (Texts{"clock1.csv", "clock2.csv"}));
}

TEST_F(Output, OnATerminalAProgressBarIsDrawnAndErasedUnlessQuiet)
{
    // Members made in turn show each phase; members made at the same time, while they
    // are waited for (80 million ticks take a while). The bar is erased at the end.
    for (const auto& [args, shows] : std::vector<std::pair<Args, Texts>>{
             {{"--jobs", "1"}, {"\rCompressing...     [", "%  member 2 of 2\x1b[K"}},
             {{"--jobs", "2", "--days", "4000", "--ticks-per-day", "20000"}, {"\rMaking History...  [", " of 2\x1b[K"}},
             {{"--jobs", "2", "-q"}, {}}}) {
        const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_TRUE(terminal >= 0 && ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0);
        const int err = ::open(::ptsname(terminal), O_RDWR | O_NOCTTY | O_CLOEXEC);
        folder.Wait(folder.Start(With(Small, With({"--days", "2", "--count", "2", "-o", "p.csv"}, args)), {}, -1, err));
        ::close(err);
        const std::string shown = ReadAll(terminal);
        for (const std::string& part : shows)
            EXPECT_TRUE(Contains(shown, part));
        EXPECT_EQ(shown.size() > 4 && shown.substr(shown.size() - 4) == "\r\x1b[K", !shows.empty()) << shown;
    }
}

TEST_F(Output, HelpDocumentsEveryOptionWithItsDefault)
{
    const std::string help = folder.Ok({"--help"}).out;
    const std::regex option("\n  --[a-z-]+ [A-Z].*");
    int options = 0;
    for (std::sregex_iterator line(help.begin(), help.end(), option), end; line != end; ++line, ++options)
        EXPECT_TRUE(Contains(line->str(), "(default: "));
    EXPECT_GE(options, 25);
    EXPECT_EQ(folder.Files(), Texts{});
}

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
