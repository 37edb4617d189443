// How runs end badly: a usage error (status 2), a failed check, conversion or file
// (status 1), an interrupt (130), each with its message on standard error.

#include "CliRunner.h"
#include "support/FileSizeLimit.h"

#include <csignal>
#include <fstream>
#include <functional>
#include <thread>

#include <sys/ioctl.h>
#include <sys/stat.h>

namespace tickforge::clitest {
namespace {

using Errors = CliTest;

TEST_F(Errors, EachUsageErrorAndFailedCheckExitsWithItsStatusAndMessageAndWritesNothing)
{
    struct Case {
        int status;
        Args args;
        std::string message;  // for a usage error, the part that names the fault
    };
    const std::vector<Case> cases = {
        {2, {"--no-such-option"}, "--no-such-option"},
        {2, {"--price", "3000", "--price-min", "10"}, "excludes"},
        // Bounds exist only with a fixed starting price; a first start has a random one.
        {2, {"--max-price", "5000"}, "--max-price: a price bound needs a fixed starting price (--price): the panel "
                                     "allows price bounds only with \"Fixed :\" ticked"},
        {2, {"--precision", "10"}, "--precision: Value 10 not in range 1 to 9"},
        {2, {"--precision", "abc"}, "--precision: 'abc' is not a whole number"},
        // An empty value is a slip, not a request for a default; a name is no path.
        {2, {"-o", ""}, "--output: the value is empty"},
        {2, {"--name", "../up"}, "--name: '../up' holds a path separator or a control character"},
        {2, {"--columns", "DOX"}, "--columns: 'X' is not a column letter (use T D O H L C V)"},
        {2, {"--columns", "DOO"}, "--columns: column letter 'O' is given twice"},
        {2, {"--date-format", "yyyy-mm-dd"}, "--date-format: "},
        {2, {"--rng-seed", "-1"}, "--rng-seed"},
        {2, {"--start", "2024-02-30"}, "--start: '2024-02-30' is not a date of the form YYYY-MM-DD"},
        {2, {"--settings", "missing.ini"}, "missing.ini"},
        {2, {"--dirty-labels", "labels.csv"}, "--dirty"},
        {2, {"--multiple-files", "-o", "-"}, "--output: - (standard output) cannot hold --multiple-files"},
        {2, {"-o", "-", "--ticks-out", "-"}, "--ticks-out: - (standard output) is already taken by --output"},
        {2, {"--dirty", "5", "--dirty-labels", "-", "-o", "-"}, "--dirty-labels: - (standard output) is already taken"},
        // Two outputs in one file would lose one or mix them, whichever way it is named.
        {2, {"-o", "x.csv", "--ticks-out", "./x.csv"}, "--ticks-out: './x.csv' is already written by --output 'x.csv'"},
        {2, {"--ticks-out", "AOI.csv"}, "--ticks-out: 'AOI.csv' is already written by --output 'AOI.csv'"},
        {2, {"--multiple-files", "--count", "3", "-o", "h.csv", "--dirty", "5", "--dirty-labels", "h3.csv"},
         "--dirty-labels: 'h3.csv' is already written by --output 'h.csv'"},
        {2, {"--multiple-files", "--count", "11", "-o", "a", "--ticks-out", "a1"},
         "--ticks-out: 'a1' is already written by --output 'a'"},  // a11 is in both
        // Every failed check is reported, in the run's order.
        {1, {"--shocks", "--shock-magnitude", "0.5", "--price", "3000", "--min-price", "3000", "--max-price", "3000"},
         "Error: Minimum Shock Magnitude is 1.0\ntickforge-cli: Error: Minimum Price larger than Seed\n"
         "tickforge-cli: Error: Maximum Price less than Seed"},
        {1, {"--volatility", "abc"}, "'abc' is not a valid floating point value"},
        // Extra output files are tried before the first generation and its checks.
        {1, {"--shocks", "--shock-magnitude", "0.5", "--dirty-labels", "no/such/l.csv"},
         "Cannot create file no/such/l.csv: No such file or directory"},
        {1, {"--shocks", "--shock-magnitude", "0.5", "--ticks-out", "no/such/t.csv"},
         "Cannot create file no/such/t.csv: No such file or directory"}};
    // A failed check comes with every file option: none of the files may be created.
    const Args files = {"--ticks-per-day", "10", "--days", "5", "--dirty", "5", "--dirty-labels", "labels.csv",
                        "--ticks-out", "ticks.csv"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " ... " + c.args.back());
        CliFolder scratch;
        const RunResult result = scratch.Run(c.status == 1 ? With(files, c.args) : c.args);
        EXPECT_EQ(result.status, c.status);
        if (c.status == 1)
            EXPECT_EQ(result.err, "tickforge-cli: " + c.message + "\n");
        else
            EXPECT_TRUE(result.err.rfind("tickforge-cli: ", 0) == 0 && Contains(result.err, c.message) &&
                        Contains(result.err, "--help")) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(scratch.Files(), Texts{});
    }
}

TEST_F(Errors, AFileThatCannotBeWrittenEndsTheRunWithItsCauseAndKeepsTheFilesBefore)
{
    // No room (a limit that binds the superuser too): a tick file fails before the bars
    // replace the user's file. Folders take the names of later members. A closed pipe.
    WriteFileBytes(folder / "h.csv", "old");
    fs::create_directory(folder / "h3.csv");
    fs::create_directory(folder / "t2.csv");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    testing::FileSizeLimit limit(20000);
    const Args big = {"--days", "2000", "-o", "h.csv"};
    for (const auto& [args, message] : std::vector<std::pair<Args, std::string>>{
             {With(big, {"--ticks-out", "t.csv"}), "Cannot write to file t.csv: File too large"},
             {big, "Error writing to file h.csv. Is it open elsewhere? (Cannot write to file h.csv: File too large)"},
             {{"--days", "3", "--count", "5", "--multiple-files", "-o", "h.csv"},
              "Error writing to file h3.csv. Is it open elsewhere? (Cannot create file h3.csv: Is a directory)"},
             {{"--days", "3", "--count", "2", "--multiple-files", "-o", "b.csv", "--ticks-out", "t.csv"},
              "member 2: Cannot create file t2.csv: Is a directory (1 of 2 written)"},
             {{"--days", "50", "-o", "-"}, "Cannot write to standard output: Broken pipe"}}) {
        const RunResult result = folder.Wait(folder.Start(With({"-q", "--ticks-per-day", "4"}, args), {}, ends[1]));
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "tickforge-cli: " + message + "\n");
    }
    ::close(ends[1]);
    EXPECT_EQ(folder.Read("h.csv"), "old");
    EXPECT_EQ(folder.ReadLines("h2.csv").size(), 3u);
    EXPECT_EQ(folder.Files(), (Texts{"b1.csv", "h.csv", "h1.csv", "h2.csv", "h3.csv", "t1.csv", "t2.csv"}));
}

TEST_F(Errors, ASettingsFileIsReadOrRefusedButNeverWritten)
{
    // A value that does not convert names its key, unless the option's value is the same text.
    struct Case {
        std::string settings;
        Args args;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"TicksPerDay=\n", {}, 1, "TicksPerDay: '' is not a valid integer value\n"},
        {"Volatility=abc\n", {}, 1, "Volatility: 'abc' is not a valid floating point value\n"},
        {"TicksPerDay=ten\n", {"--shock-days", "ten"}, 1, "'ten' is not a valid floating point value\n"},
        {"", {"-o", "./s.ini"}, 2, "--output: './s.ini' is the settings file named by --settings\n"}};
    for (const Case& c : cases) {
        WriteFileBytes(folder / "s.ini", "[Generator]\n" + c.settings);
        const RunResult result = folder.Run(With({"--settings", "s.ini", "--days", "3"}, c.args));
        EXPECT_EQ(result.status, c.status) << c.settings;
        EXPECT_TRUE(Contains(result.err, "tickforge-cli: " + c.message));
        EXPECT_EQ(folder.Read("s.ini"), "[Generator]\n" + c.settings);
    }
    // A pipe or a folder in the settings file's place is a named file we cannot read.
    ASSERT_EQ(::mkfifo((folder / "p.ini").c_str(), 0600), 0);
    fs::create_directory(folder / "d.ini");
    for (const auto& [name, reason] : {std::pair<std::string, std::string>{"p.ini", "not a readable file"},
                                        {"d.ini", "Is a directory"}}) {
        const RunResult unread = folder.Run({"--settings", name});
        EXPECT_EQ(unread.status, 1) << name;
        EXPECT_EQ(unread.err, "tickforge-cli: Cannot read settings file " + name + ": " + reason + "\n");
    }
    EXPECT_EQ(folder.Files(), (Texts{"d.ini", "p.ini", "s.ini"}));
}

TEST_F(Errors, AMemberThatFailsTheChecksEndsTheBatchWithStatus1)
{
    // A settings file can tick a bound with a random starting price. The process's first
    // draw is the lowest price of the range and passes; a later draw above 2500 fails.
    WriteFileBytes(folder / "saved.ini", "[Generator]\nRandomSeed=0\nSeedMin=2000\nSeedMax=4000\nMax=1\n"
                                         "MaxPrice=2500\nLength=3\nTicksPerDay=4\n");
    const RunResult result =
        folder.Run({"--settings", "saved.ini", "--rng-seed", "1", "--count", "20", "--multiple-files", "-o", "b.csv"});
    EXPECT_EQ(result.status, 1);
    const int written = static_cast<int>(folder.Files().size()) - 1;  // the settings file aside
    ASSERT_GE(written, 1);
    EXPECT_LT(written, 20);
    EXPECT_TRUE(Contains(result.err, "tickforge-cli: Error: Maximum Price less than Seed\ntickforge-cli: member " +
                                         std::to_string(written + 1) + " failed the panel's checks: " +
                                         std::to_string(written) + " of 20 written\n"));
    for (int k = 1; k <= written; ++k)
        EXPECT_TRUE(fs::exists(folder / Member("b", k))) << k;
}

// Polls done for at most a minute.
void WaitUntil(const std::function<bool()>& done)
{
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
         !done() && std::chrono::steady_clock::now() < end;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

TEST_F(Errors, AnInterruptStopsTheBatchWith130AndKeepsTheCompleteMembersWithTheirTicks)
{
    // Members made at the same time, and members made in turn whose ticks are kept only
    // with their bars, also when the interrupt came between a tick path and its bars.
    for (const Args& extra : {Args{"--price", "100", "--jobs", "2"}, Args{"--ticks-out", "t.csv"}}) {
        CliFolder scratch;
        const pid_t pid = scratch.Start(With(
            {"--days", "50", "--ticks-per-day", "2000", "--count", "100000", "--multiple-files", "-o", "m.csv", "-q"},
            extra));
        WaitUntil([&] { return fs::exists(scratch / "m3.csv"); });
        ::kill(pid, SIGINT);
        const RunResult result = scratch.Wait(pid);
        const Texts files = scratch.Files();
        const auto members = std::count_if(files.begin(), files.end(), [](auto& name) { return name[0] == 'm'; });
        const bool ticks = extra[0] == "--ticks-out";
        EXPECT_EQ(result.status, 130);
        EXPECT_EQ(result.err, "tickforge-cli: interrupted at member " + std::to_string(members + 1) + ": " +
                                  std::to_string(members) + " of 100000 written\n");
        EXPECT_EQ(files.size(), members * (ticks ? 2u : 1u));
        for (int k = 1; k <= members; ++k) {
            EXPECT_EQ(scratch.ReadLines(Member("m", k)).size(), 50u) << k;
            EXPECT_EQ(scratch.ReadLines(Member("t", k)).size(), ticks ? 100000u : 0u) << k;
        }
    }
}

TEST_F(Errors, WhatHappensWhileTheLastMemberIsWrittenStillDecidesTheStatus)
{
    // The bars fill a pipe and the program waits in the middle of writing them. Then an
    // interrupt comes; or the labels file cannot take its place, as every temporary name
    // beside it is taken.
    struct Case {
        int signal, status;
        std::string message;
    };
    for (const Case& c : {Case{SIGINT, 130, "interrupted: 1 of 1 written"},
                          Case{0, 1, "Cannot write to file l.csv: File exists"}}) {
        CliFolder scratch;
        ASSERT_EQ(::mkfifo((scratch / "m.csv").c_str(), 0600), 0);
        const int reader = ::open((scratch / "m.csv").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        const pid_t pid =
            scratch.Start({"--days", "3000", "--ticks-per-day", "4", "-q", "-o", "m.csv", "--dirty", "1",
                           "--dirty-labels", "l.csv"});
        for (int k = 0; k < 100 && c.signal == 0; ++k)
            WriteFileBytes(scratch / (".l.csv.tmp-" + std::to_string(pid) + "-" + std::to_string(k)), "");
        int buffered = 0;
        WaitUntil([&] { return ::ioctl(reader, FIONREAD, &buffered) == 0 && buffered >= 65536; });
        if (c.signal != 0)
            ::kill(pid, c.signal);
        ::fcntl(reader, F_SETFL, 0);
        std::string bytes;
        char chunk[1 << 16];
        for (ssize_t got = 0; (got = ::read(reader, chunk, sizeof chunk)) > 0;)
            bytes.append(chunk, static_cast<std::size_t>(got));
        ::close(reader);
        const RunResult result = scratch.Wait(pid);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.err, "tickforge-cli: " + c.message + "\n");
        EXPECT_EQ(Lines(bytes).size(), 3000u);
        EXPECT_EQ(fs::exists(scratch / "l.csv"), c.signal != 0);
    }
}

TEST_F(Errors, ATerminationBeforeAnyMemberIsMadeWritesNothingAndEndsWith143)
{
    const pid_t pid = folder.Start({"--days", "3000", "--ticks-per-day", "100000", "-q"});
    WaitUntil([&] {  // until the program catches SIGTERM: bit 15 of its mask of caught signals
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line) && line.rfind("SigCgt:", 0) != 0) {
        }
        return !line.empty() && (std::stoull(line.substr(8), nullptr, 16) & 0x4000) != 0;
    });
    ::kill(pid, SIGTERM);
    const RunResult result = folder.Wait(pid);
    EXPECT_EQ(result.status, 143);
    EXPECT_EQ(result.err, "tickforge-cli: interrupted: nothing written\n");
    EXPECT_EQ(folder.Files(), Texts{});
}

}  // namespace
}  // namespace tickforge::clitest
