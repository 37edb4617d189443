// --help documents every option with its default; Ctrl+C stops a run as the progress
// window's Abort does, says so, and keeps the members already written.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <thread>

namespace tickforge::clitest {
namespace {

TEST(Help, DocumentsEveryOptionWithItsDefault)
{
    CliFolder folder;
    const RunResult result = folder.Run({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(folder.Files().empty());
    const std::vector<std::string> valued = {
        "--settings", "--start", "--days", "--random-period-min", "--ticks-per-day", "--price", "--price-min",
        "--price-max", "--min-price", "--max-price", "--volatility", "--bias", "--shock-days", "--shock-magnitude",
        "--min-volume", "--max-volume", "--name", "--dirty", "--dirty-labels", "--columns", "--precision",
        "--date-format", "--count", "--output", "--rng-seed", "--ticks-out"};
    const std::vector<std::string> flags = {"--weekends", "--no-weekends", "--soft", "--hard", "--shocks",
                                            "--headings", "--no-quotes", "--tab", "--multiple-files", "--quiet"};
    for (const auto& option : valued) {
        const std::size_t at = result.out.find(option + " ");
        ASSERT_NE(at, std::string::npos) << option;
        const std::string line = result.out.substr(at, result.out.find('\n', at) - at);
        EXPECT_NE(line.find("default"), std::string::npos) << line;
    }
    for (const auto& option : flags)
        EXPECT_NE(result.out.find(option + " "), std::string::npos) << option;
    EXPECT_NE(result.out.find("(default: 180)"), std::string::npos);
    EXPECT_NE(result.out.find("(default: 5)"), std::string::npos);
    EXPECT_NE(result.out.find("d/MM/yyyy"), std::string::npos);
}

TEST(Interrupt, StopsTheBatchWithStatus130AndKeepsTheMembersWritten)
{
    CliFolder folder;
    const pid_t pid = folder.Start({"--days", "200", "--ticks-per-day", "2000", "--count", "100000",
                                    "--multiple-files", "-o", "m.csv", "--quiet"});
    // Wait for a few members, then interrupt.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!folder.Exists("m3.csv") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ::kill(pid, SIGINT);
    const RunResult result = folder.Wait(pid);
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_NE(result.err.find("tickforge-cli: interrupted at member "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(" of 100000 written"), std::string::npos) << result.err;
    // Every file left is a complete member.
    const auto files = folder.Files();
    ASSERT_GE(files.size(), 2u);
    for (const auto& name : files)
        EXPECT_EQ(Lines(folder.Read(name)).size(), 200u) << name;
}

}  // namespace
}  // namespace tickforge::clitest
