// Batches as the desktop program's export makes them: one file with one heading line
// and the members in order, or one file per member named base + k + extension.

#include "CliRunner.h"

#include <gtest/gtest.h>

namespace tickforge::clitest {
namespace {

const std::vector<std::string> Small = {"--days", "10", "--ticks-per-day", "50", "--start", "2024-01-01",
                                        "--price", "3000", "--rng-seed", "11"};

std::vector<std::string> With(const std::vector<std::string>& more)
{
    std::vector<std::string> args = Small;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(Batch, SingleFileHoldsOneHeadingLineAndTheMembersInOrder)
{
    CliFolder folder;
    const RunResult result = folder.Run(With({"--count", "3", "--headings", "--columns", "TDOHLCV", "-o", "all.csv"}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"all.csv"});
    const auto lines = Lines(folder.Read("all.csv"));
    ASSERT_EQ(lines.size(), 1u + 3u * 10u);
    EXPECT_EQ(lines[0], R"("TICKER","DATE","OPEN","HIGH","LOW","CLOSE","VOLUME")");
    for (std::size_t k = 1; k <= 3; ++k)
        for (std::size_t b = 0; b < 10; ++b) {
            const auto fields = Fields(lines[1 + (k - 1) * 10 + b]);
            ASSERT_EQ(fields.size(), 7u);
            EXPECT_EQ(fields[0], "\"AOI" + std::to_string(k) + "\"");
            EXPECT_EQ(fields[1], "\"" + std::to_string(b + 1) + "/01/2024\"");
        }

    // Member 2 is the history that the seed 12 gives alone (ticker aside).
    ASSERT_EQ(folder.Run({"--days", "10", "--ticks-per-day", "50", "--start", "2024-01-01", "--price", "3000",
                          "--rng-seed", "12", "--columns", "DOHLCV", "-o", "second.csv"})
                  .exitCode,
              0);
    std::string member2;
    for (std::size_t b = 0; b < 10; ++b)
        member2 += lines[11 + b].substr(lines[11 + b].find(',') + 1) + "\r\n";
    EXPECT_EQ(member2, folder.Read("second.csv"));
}

TEST(Batch, AnExistingSingleFileIsReplacedNotAppendedTo)
{
    CliFolder folder;
    WriteBytes(folder / "all.csv", "old line\r\n");
    ASSERT_EQ(folder.Run(With({"--count", "2", "-o", "all.csv"})).exitCode, 0);
    const auto lines = Lines(folder.Read("all.csv"));
    EXPECT_EQ(lines.size(), 20u);
    EXPECT_NE(lines[0], "old line");
}

TEST(Batch, MultipleFilesAreNamedBasePlusMemberNumberPlusExtension)
{
    CliFolder folder;
    std::filesystem::create_directory(folder.Path() / "out.d");
    const RunResult result =
        folder.Run(With({"--count", "3", "--multiple-files", "--headings", "--columns", "TC", "-o", "out.d/hist.csv"}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"out.d"});
    for (int k = 1; k <= 3; ++k) {
        const std::string name = "out.d/hist" + std::to_string(k) + ".csv";
        ASSERT_TRUE(folder.Exists(name)) << name;
        const auto lines = Lines(folder.Read(name));
        ASSERT_EQ(lines.size(), 11u);
        EXPECT_EQ(lines[0], R"("TICKER","CLOSE")");
        EXPECT_EQ(Fields(lines[1])[0], "\"AOI" + std::to_string(k) + "\"");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path() / "out.d"),
                            std::filesystem::directory_iterator()),
              3);
}

TEST(Batch, ANameWithoutExtensionAndTheDefaultNameFollowTheSecurityName)
{
    CliFolder folder;
    ASSERT_EQ(folder.Run(With({"--count", "2", "--multiple-files", "--name", "XYZ", "-o", "plain"})).exitCode, 0);
    EXPECT_TRUE(folder.Exists("plain1"));
    EXPECT_TRUE(folder.Exists("plain2"));
    ASSERT_EQ(folder.Run(With({"--name", "XYZ"})).exitCode, 0);
    EXPECT_TRUE(folder.Exists("XYZ.csv"));
    ASSERT_EQ(folder.Run(With({"--name", "XYZ", "--count", "2", "--multiple-files"})).exitCode, 0);
    EXPECT_TRUE(folder.Exists("XYZ1.csv"));
    EXPECT_TRUE(folder.Exists("XYZ2.csv"));
}

TEST(Batch, AMemberThatFailsTheChecksEndsTheBatchWithStatus1)
{
    // A settings file can tick a bound with a random starting price (the restore applies
    // "Max" after "RandomSeed"). The first price drawn after the process starts is the
    // lowest of the range and passes; a later draw above 2500 fails the check.
    CliFolder folder;
    WriteBytes(folder / "saved.ini",
               "[Generator]\nRandomSeed=0\nSeedMin=2000\nSeedMax=4000\nMax=1\nMaxPrice=2500\n"
               "Length=3\nTicksPerDay=4\n");
    const RunResult result = folder.Run({"--settings", "saved.ini", "--rng-seed", "1", "--count", "20",
                                         "--multiple-files", "-o", "b.csv"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("tickforge-cli: Error: Maximum Price less than Seed\n"), std::string::npos) << result.err;
    const auto files = folder.Files();
    ASSERT_GE(files.size(), 2u);  // the settings file and member 1 at least
    const int written = static_cast<int>(files.size()) - 1;
    EXPECT_LT(written, 20);
    EXPECT_NE(result.err.find("tickforge-cli: member " + std::to_string(written + 1) + " failed the panel's checks: " +
                              std::to_string(written) + " of 20 written\n"),
              std::string::npos)
        << result.err;
    for (int k = 1; k <= written; ++k)
        EXPECT_TRUE(folder.Exists("b" + std::to_string(k) + ".csv")) << k;
}

TEST(Batch, FormatChoicesShapeEveryLine)
{
    CliFolder folder;
    // The columns keep the file's fixed order whatever the order of the letters.
    ASSERT_EQ(folder.Run(With({"--columns", "vcd", "--tab", "--no-quotes", "--precision", "9", "--date-format",
                               "yyyy-MM-dd", "--volatility", "0", "--min-volume", "12.9"}))
                  .exitCode,
              0);
    const auto lines = Lines(folder.Read("AOI.csv"));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "2024-01-01\t3000\t12");
    EXPECT_EQ(lines[9], "2024-01-10\t3000\t12");
}

}  // namespace
}  // namespace tickforge::clitest
