// What a successful run writes: batches, the format choices, names of files, the same
// bytes for the same seed whatever --jobs says, "-o -", the seed report and --help.

#include "CliRunner.h"

#include <regex>

namespace tickforge::clitest {
namespace {

using Output = CliTest;

const Args Small = {"--days", "10", "--ticks-per-day", "50", "--start", "2024-01-01", "--price", "3000",
                    "--rng-seed", "11"};

TEST_F(Output, ASingleFileBatchHoldsOneHeadingLineAndTheMembersSeededInTurn)
{
    WriteFileBytes(folder / "all.csv", "old line\r\n");  // replaced, not appended to
    folder.Ok(With(Small, {"--count", "3", "--headings", "--rng-seed", "4294967295", "-o", "all.csv"}));
    const Texts lines = folder.ReadLines("all.csv");
    ASSERT_EQ(lines.size(), 1u + 3u * 10u);
    EXPECT_EQ(lines[0], R"("DATE","OPEN","HIGH","LOW","CLOSE","VOLUME")");
    // Member k of a batch seeded N is seeded N + k - 1 modulo 2^32: member 2 is what 0
    // gives alone (the fixed starting price leaves the run nothing to draw of its own).
    std::string member2;
    for (std::size_t i = 11; i <= 20; ++i)
        member2 += lines[i] + "\r\n";
    EXPECT_EQ(member2, folder.Ok(With(Small, {"--rng-seed", "0", "-o", "-"})).out);
}

TEST_F(Output, MembersMadeAtTheSameTimeAreTheBytesOfOneAtATime)
{
    const Args batch = With(Small, {"--count", "7", "--multiple-files", "--dirty", "20"});
    folder.Ok(With(batch, {"--jobs", "1", "-o", "one.csv", "--dirty-labels", "one-labels.csv"}));
    folder.Ok(With(batch, {"--jobs", "3", "-o", "three.csv", "--dirty-labels", "three-labels.csv"}));
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(folder.Read(Member("three", k)), folder.Read(Member("one", k)));
    EXPECT_EQ(folder.Read("three-labels.csv"), folder.Read("one-labels.csv"));
    // Members that depend on each other are made one at a time; --jobs 2 hears why.
    const std::string inTurn = "tickforge-cli: --jobs: the members depend on each other (a random starting price or "
                               "period): one member at a time\n";
    for (const auto& [args, err] : std::vector<std::pair<Args, std::string>>{
             {{"--jobs", "2"}, inTurn},
             {{"--jobs", "2", "--price", "5", "--random-period-min", "3"}, inTurn},
             {{"--jobs", "2", "--price", "5", "--ticks-out", "t.csv"},
              "tickforge-cli: --jobs: --ticks-out writes its tick paths in turn: one member at a time\n"},
             {{"--jobs", "1"}, ""}})
        EXPECT_EQ(folder.Ok(With({"--days", "5", "--count", "2", "-o", "r.csv", "-q"}, args)).err, err);
}

TEST_F(Output, FilesAreNamedByTheOutputOrTheSecurityNameAndTickFilesAsBarFiles)
{
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
        CliFolder scratch;
        scratch.Ok(With(Small, args));
        EXPECT_EQ(scratch.Files(), files);
    }
}

TEST_F(Output, FormatChoicesShapeEveryLine)
{
    // The columns keep the file's fixed order whatever the order of the letters.
    folder.Ok(With(Small, {"--columns", "vcd", "--tab", "--no-quotes", "--precision", "3", "--date-format",
                           "yyyy-MM-dd", "--volatility", "0", "--min-volume", "12.9", "--price", "12.345"}));
    const Texts lines = folder.ReadLines("AOI.csv");
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[9], "2024-01-10\t12.3\t12");
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
        std::string shown;
        char chunk[4096];
        for (ssize_t got = 0; (got = ::read(terminal, chunk, sizeof chunk)) > 0;)
            shown.append(chunk, static_cast<std::size_t>(got));
        ::close(terminal);
        for (const std::string& part : shows)
            EXPECT_TRUE(Contains(shown, part));
        EXPECT_EQ(shown.size() > 4 && shown.substr(shown.size() - 4) == "\r\x1b[K", !shows.empty()) << shown;
    }
}

TEST_F(Output, HelpDocumentsEveryOptionWithItsDefault)
{
    std::istringstream help(folder.Ok({"--help"}).out);
    int options = 0;
    for (std::string line; std::getline(help, line);)
        if (std::regex_search(line, std::regex("^  --[a-z-]+ [A-Z]"))) {
            ++options;
            EXPECT_TRUE(Contains(line, "(default: "));
        }
    EXPECT_GE(options, 25);
    EXPECT_EQ(folder.Files(), Texts{});
}

}  // namespace
}  // namespace tickforge::clitest
