// What a successful run writes: batches as the desktop program's export makes them, the
// format choices, names of files, the same bytes for the same seed, "-o -" and --help.

#include "CliRunner.h"

#include <regex>

namespace tickforge::clitest {
namespace {

using Output = CliTest;

const Args Small = {"--days", "10", "--ticks-per-day", "50", "--start", "2024-01-01", "--price", "3000",
                    "--rng-seed", "11"};

TEST_F(Output, ASingleFileBatchHoldsOneHeadingLineAndTheMembersInOrder)
{
    WriteFileBytes(folder / "all.csv", "old line\r\n");  // replaced, not appended to
    folder.Ok(With(Small, {"--count", "3", "--headings", "--columns", "TDOHLCV", "--rng-seed", "4294967295", "-o",
                           "all.csv"}));
    EXPECT_EQ(folder.Files(), Texts{"all.csv"});
    const Texts lines = folder.ReadLines("all.csv");
    ASSERT_EQ(lines.size(), 1u + 3u * 10u);
    EXPECT_EQ(lines[0], R"("TICKER","DATE","OPEN","HIGH","LOW","CLOSE","VOLUME")");
    std::string member2;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t k = (i - 1) / 10 + 1;
        EXPECT_EQ(Fields(lines[i]).size(), 7u);
        EXPECT_EQ(Cell(lines[i], 0), "AOI" + std::to_string(k));
        EXPECT_EQ(Cell(lines[i], 1), std::to_string((i - 1) % 10 + 1) + "/01/2024");
        if (k == 2)
            member2 += lines[i].substr(lines[i].find(',') + 1) + "\r\n";
    }
    // Member k of a batch seeded N is seeded N + k - 1 modulo 2^32: member 2 is what 0
    // gives alone (the fixed starting price leaves the run nothing to draw of its own).
    folder.Ok(With(Small, {"--rng-seed", "0", "-o", "second.csv"}));
    EXPECT_EQ(member2, folder.Read("second.csv"));
}

TEST_F(Output, MembersMadeAtTheSameTimeAreTheBytesOfOneAtATime)
{
    const Args batch = With(Small, {"--count", "7", "--multiple-files", "--dirty", "20", "--headings"});
    folder.Ok(With(batch, {"--jobs", "1", "-o", "one.csv", "--dirty-labels", "one-labels.csv"}));
    folder.Ok(With(batch, {"--jobs", "3", "-o", "three.csv", "--dirty-labels", "three-labels.csv"}));
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(folder.Read("three" + std::to_string(k) + ".csv"), folder.Read("one" + std::to_string(k) + ".csv"));
    EXPECT_EQ(folder.Read("three-labels.csv"), folder.Read("one-labels.csv"));
    // A random starting price feeds the next member's draws: one at a time, said once.
    const RunResult random = folder.Ok({"--days", "5", "--count", "3", "--jobs", "2", "-o", "r.csv", "-q"});
    EXPECT_EQ(random.err, "tickforge-cli: --jobs: the members depend on each other (a random starting price or "
                          "period): one member at a time\n");
}

TEST_F(Output, MultipleFilesAreNamedBasePlusMemberNumberPlusExtension)
{
    fs::create_directory(folder / "out.d");
    folder.Ok(
        With(Small, {"--count", "3", "--multiple-files", "--headings", "--columns", "TC", "-o", "out.d/hist.csv"}));
    EXPECT_EQ(folder.Files(), Texts{"out.d"});
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "out.d"), fs::directory_iterator()), 3);
    for (int k = 1; k <= 3; ++k) {
        const Texts lines = folder.ReadLines("out.d/hist" + std::to_string(k) + ".csv");
        ASSERT_EQ(lines.size(), 11u) << k;
        EXPECT_EQ(lines[0], R"("TICKER","CLOSE")");
        EXPECT_EQ(Cell(lines[1], 0), "AOI" + std::to_string(k));
    }

    // Without -o the security name names the files; tick files are named as the bar files.
    const std::vector<std::pair<Args, Texts>> cases = {
        {{"--name", "XYZ"}, {"XYZ.csv"}},
        {{"--name", "XYZ", "--count", "2", "--multiple-files"}, {"XYZ1.csv", "XYZ2.csv"}},
        {{"--count", "2", "--multiple-files", "-o", "b.csv", "--ticks-out", "t.csv"},
         {"b1.csv", "b2.csv", "t1.csv", "t2.csv"}},
        // Not a member's name, so not taken; a device takes several outputs.
        {{"--count", "2", "--multiple-files", "-o", "h.csv", "--dirty", "5", "--dirty-labels", "h3.csv"},
         {"h1.csv", "h2.csv", "h3.csv"}},
        {{"-o", "/dev/null", "--ticks-out", "/dev/null", "--dirty", "5", "--dirty-labels", "l.csv"}, {"l.csv"}}};
    for (const auto& [args, files] : cases) {
        SCOPED_TRACE(files.front());
        CliFolder other;
        other.Ok(With(Small, args));
        EXPECT_EQ(other.Files(), files);
    }
}

TEST_F(Output, FormatChoicesShapeEveryLine)
{
    // The columns keep the file's fixed order whatever the order of the letters; the
    // volume is cut to a whole number.
    folder.Ok(With(Small, {"--columns", "vcd", "--tab", "--no-quotes", "--precision", "9", "--date-format",
                           "yyyy-MM-dd", "--volatility", "0", "--min-volume", "12.9"}));
    const Texts lines = folder.ReadLines("AOI.csv");
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "2024-01-01\t3000\t12");
    EXPECT_EQ(lines[9], "2024-01-10\t3000\t12");
}

const Args Quick = {"--days", "40", "--ticks-per-day", "200", "--start", "2024-03-01"};

TEST_F(Output, OneSeedGivesTheSameBytesOnEveryRunAndDashWritesThemToStandardOutput)
{
    // Random starting price, random period, shocks, bias and dirty data all take part.
    const Args args = With(Quick, {"--random-period-min", "20", "--shocks", "--shock-days", "3", "--bias", "20",
                                   "--dirty", "30", "--rng-seed", "99", "--count", "3", "--headings"});
    folder.Ok(With(args, {"-o", "a.csv"}));
    folder.Ok(With(args, {"-o", "b.csv"}));
    folder.Ok(With(args, {"--rng-seed", "100", "-o", "c.csv"}));
    EXPECT_NE(folder.Read("a.csv"), "");
    EXPECT_EQ(folder.Read("a.csv"), folder.Read("b.csv"));
    EXPECT_NE(folder.Read("a.csv"), folder.Read("c.csv"));

    CliFolder other;
    EXPECT_EQ(other.Ok(With(args, {"-o", "-"})).out, folder.Read("a.csv"));
    EXPECT_EQ(other.Files(), Texts{});
}

TEST_F(Output, TheUsersLocaleGivesTheDecimalSeparatorAndShortDateAsTheDesktopProgramReadsThem)
{
    // Qt's own locale data: a locale the C library may lack is read all the same.
    const Args args = {"-q", "--rng-seed", "5", "--start", "2024-01-02", "--days", "1", "--ticks-per-day", "4",
                       "--price", "100", "-o", "-"};
    const RunResult german = folder.Run(With(args, {"--volatility", "1,5"}), {"LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(german.status, 0) << german.err;
    EXPECT_EQ(german.out.substr(0, 11), "\"02.01.24\",");
    const RunResult american = folder.Run(With(args, {"--volatility", "1.5"}), {"LC_ALL=en_US.UTF-8"});
    EXPECT_EQ(american.out.substr(0, 9), "\"1/2/24\",");
    // The same history either way: only the separators differ.
    const std::string prices = std::regex_replace(german.out.substr(11), std::regex("(\\d),(\\d)"), "$1.$2");
    EXPECT_EQ(prices, american.out.substr(9));
    EXPECT_NE(prices, german.out.substr(11));
}

TEST_F(Output, EachMembersClockSeedIsReportedAndRepeatsItsHistory)
{
    const RunResult clock = folder.Ok(With(Quick, {"--count", "3", "--multiple-files", "-o", "clock.csv"}));
    std::smatch seed;
    ASSERT_TRUE(std::regex_search(clock.err, seed,
                                  std::regex("^member 1: rng seed ([0-9]+)\nmember 2: rng seed [0-9]+\n"
                                             "member 3: rng seed [0-9]+\n$")))
        << clock.err;
    // A fixed seed is known already, and --quiet silences the report.
    EXPECT_EQ(folder.Ok(With(Quick, {"--rng-seed", seed[1].str(), "-o", "again.csv"})).err, "");
    EXPECT_EQ(folder.Read("clock1.csv"), folder.Read("again.csv"));
    EXPECT_EQ(folder.Ok(With(Quick, {"--count", "3", "--quiet", "-o", "quiet.csv"})).err, "");
}

TEST_F(Output, HelpDocumentsEveryOptionWithItsDefault)
{
    const RunResult result = folder.Ok({"--help"});
    EXPECT_EQ(folder.Files(), Texts{});
    for (const char* option :
         {"--settings", "--start", "--days", "--random-period-min", "--ticks-per-day", "--price", "--price-min",
          "--price-max", "--min-price", "--max-price", "--volatility", "--bias", "--shock-days", "--shock-magnitude",
          "--min-volume", "--max-volume", "--name", "--dirty", "--dirty-labels", "--columns", "--precision",
          "--date-format", "--count", "--jobs", "--output", "--rng-seed", "--ticks-out"}) {
        const std::size_t at = result.out.find(option + std::string(" "));
        ASSERT_NE(at, std::string::npos) << option;
        EXPECT_TRUE(Contains(result.out.substr(at, result.out.find('\n', at) - at), "default"));
    }
    for (const char* text : {"--weekends ", "--no-weekends ", "--soft ", "--hard ", "--shocks ", "--headings ",
                             "--no-quotes ", "--tab ", "--multiple-files ", "--quiet ", "(default: 180)",
                             "(default: 5)", "d/MM/yyyy"})
        EXPECT_TRUE(Contains(result.out, text));
}

}  // namespace
}  // namespace tickforge::clitest
