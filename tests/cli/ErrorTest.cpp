// How runs end badly, with a message: a usage error (2), a failed check, conversion or file (1), an interrupt (130).

#include "CliRunner.h"
#include "support/ScopedChange.h"

#include <csignal>
#include <fstream>
#include <functional>
#include <thread>

#include <sys/ioctl.h>
#include <sys/stat.h>

namespace tickforge::clitest {
namespace {

using Errors = CliTest;

// Puts a settings file, a history, a pipe or a folder in the run's folder before it starts.
using Prepare = std::function<void(const CliFolder&)>;
Prepare Settings(std::string keys) { return [keys](auto& f) { WriteFileBytes(f / "s.ini", "[Generator]\n" + keys); }; }
const Prepare OneBar = [](const CliFolder& f) {
    WriteFileBytes(f / "real.csv", "Date,Open,High,Low,Close\n2024-01-01,1,1,1,1\n");
    WriteFileBytes(f / "fitted.ini", "old\n");
};

TEST_F(Errors, EachUsageErrorAndFailedCheckExitsWithItsStatusAndMessageAndWritesNothing)
{
    struct Case {
        int status;
        Args args;
        std::string message;  // for a usage error, the part that names the fault
        Prepare prepare = [](const CliFolder&) {};
    };
    const std::vector<Case> cases = {
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
        {2, {"stats"}, "FILE is required"},
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
        {2, {"--settings", "s.ini", "-o", "./s.ini"}, "--output: './s.ini' is the settings file named by --settings",
         Settings("")},
        {1, {"--price", "3000", "--min-price", "3000"}, "Error: Minimum Price larger than Seed"},
        // Extra output files are tried before the first generation and its checks.
        {1, {"--shocks", "--shock-magnitude", "0.5", "--dirty-labels", "no/such/l.csv"},
         "Cannot create file no/such/l.csv: No such file or directory"},
        {1, {"--shocks", "--shock-magnitude", "0.5", "--ticks-out", "no/such/t.csv"},
         "Cannot create file no/such/t.csv: No such file or directory"},
        // A settings value that does not convert names its key, unless an option's value
        // is the same text. A pipe or a folder in its place is a file we cannot read.
        {1, {"--settings", "s.ini"}, "TicksPerDay: '' is not a valid integer value", Settings("TicksPerDay=\n")},
        {1, {"--settings", "s.ini"}, "Volatility: 'abc' is not a valid floating point value",
         Settings("Volatility=abc\n")},
        {1, {"--settings", "s.ini", "--shock-days", "ten"}, "'ten' is not a valid floating point value",
         Settings("TicksPerDay=ten\n")},
        {1, {"--settings", "p.ini"}, "Cannot read settings file p.ini: not a readable file",
         [](const CliFolder& f) { ASSERT_EQ(::mkfifo((f / "p.ini").c_str(), 0600), 0); }},
        {1, {"--settings", "d.ini"}, "Cannot read settings file d.ini: Is a directory",
         [](const CliFolder& f) { fs::create_directory(f / "d.ini"); }},
        // A history that cannot be used leaves the settings file alone.
        {1, {"fit", "real.csv", "-o", "fitted.ini"}, "real.csv:2: only 1 usable bars; at least 30 are needed", OneBar}};
    // A failed check comes with every file option: none may be created, the files there before stay as they were.
    const Args files = {"--days", "5", "--dirty", "5", "--dirty-labels", "labels.csv", "--ticks-out", "ticks.csv"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " ... " + c.args.back());
        CliFolder scratch;
        c.prepare(scratch);
        const auto contents = [&] {
            Texts names = scratch.Files();
            for (std::string& name : names)
                name += ": " + (fs::is_regular_file(scratch / name) ? scratch.Read(name) : "(not a file)");
            return names;
        };
        const Texts before = contents();
        const RunResult result = scratch.Run(c.status == 1 ? With(files, c.args) : c.args);
        EXPECT_EQ(result.status, c.status);
        if (c.status == 1)
            EXPECT_EQ(result.err, "tickforge-cli: " + c.message + "\n");
        else
            EXPECT_TRUE(result.err.rfind("tickforge-cli: ", 0) == 0 && Contains(result.err, c.message) &&
                        Contains(result.err, "--help")) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(contents(), before);
    }
}

TEST_F(Errors, AFileThatCannotBeWrittenOrAMemberThatFailsEndsTheRunWithItsCauseAndKeepsTheFilesBefore)
{
    // No room: a tick file fails before the bars replace the user's file. A folder takes a later
    // member's name. A closed pipe. A settings file can tick a bound with a random starting price:
    // the first draw, the range's lowest price, passes; the second lies above the bound.
    WriteFileBytes(folder / "s.ini", "[Generator]\nRandomSeed=0\nSeedMin=2000\nSeedMax=4000\nMax=1\nMaxPrice=2500\n");
    WriteFileBytes(folder / "h.csv", "old");
    fs::create_directory(folder / "t2.csv");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    const testing::Undo limit = testing::LimitFileSize(20000);
    const Args big = {"--days", "2000", "-o", "h.csv"};
    for (const auto& [args, message] : std::vector<std::pair<Args, std::string>>{
             {With(big, {"--ticks-out", "t.csv"}), "Cannot write to file t.csv: File too large"},
             {big, "Error writing to file h.csv. Is it open elsewhere? (Cannot write to file h.csv: File too large)"},
             {{"--days", "3", "--count", "2", "--multiple-files", "-o", "b.csv", "--ticks-out", "t.csv"},
              "member 2: Cannot create file t2.csv: Is a directory (1 of 2 written)"},
             {{"--days", "50", "-o", "-"}, "Cannot write to standard output: Broken pipe"},
             // Members made at the same time report their failed checks too.
             {{"--count", "2", "--jobs", "2", "--price", "3000", "--shocks", "--shock-magnitude", "0.5"},
              "Error: Minimum Shock Magnitude is 1.0"},
             {{"--settings", "s.ini", "--days", "3", "--rng-seed", "1", "--count", "20", "--multiple-files", "-o", "c.csv"},
              "Error: Maximum Price less than Seed\ntickforge-cli: member 2 failed the panel's checks: 1 of 20 written"}}) {
        const RunResult result = folder.Wait(folder.Start(With({"-q", "--ticks-per-day", "4"}, args), {}, ends[1]));
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "tickforge-cli: " + message + "\n");
    }
    ::close(ends[1]);
    EXPECT_EQ(folder.Read("h.csv"), "old");
    EXPECT_EQ(folder.Files(), (Texts{"b1.csv", "c1.csv", "h.csv", "s.ini", "t1.csv", "t2.csv"}));
}

// Polls done for at most a minute.
void WaitUntil(const std::function<bool()>& done)
{
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
         !done() && std::chrono::steady_clock::now() < end;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// Whether the process catches the signal yet: its bit in the mask of caught signals.
bool Catches(pid_t pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(8), nullptr, 16) >> (signal - 1) & 1) != 0;
    return false;
}

TEST_F(Errors, ASignalStopsTheRunWith128PlusItsNumberAndKeepsTheCompleteMembersWithTheirTicks)
{
    // Members made at the same time; members made in turn, whose ticks are kept only with their
    // bars, even if the signal came between the two. A termination before any member writes nothing.
    const Args batch = {"--days", "50", "--ticks-per-day", "2000", "--count", "100000", "--multiple-files", "-o", "m.csv"};
    for (const auto& [signal, args] : std::vector<std::pair<int, Args>>{
             {SIGINT, With(batch, {"--price", "100", "--jobs", "2"})},
             {SIGINT, With(batch, {"--ticks-out", "t.csv"})},
             {SIGTERM, {"--days", "3000", "--ticks-per-day", "100000"}}}) {
        CliFolder scratch;
        const pid_t pid = scratch.Start(With(args, {"-q"}));
        WaitUntil([&] { return signal == SIGTERM ? Catches(pid, SIGTERM) : fs::exists(scratch / "m3.csv"); });
        ::kill(pid, signal);
        const RunResult result = scratch.Wait(pid);
        const Texts files = scratch.Files();
        const auto members = std::count_if(files.begin(), files.end(), [](auto& name) { return name[0] == 'm'; });
        const bool ticks = args.back() == "t.csv";
        EXPECT_EQ(result.status, 128 + signal);
        EXPECT_EQ(result.err, signal == SIGTERM ? "tickforge-cli: interrupted: nothing written\n"
                                                : "tickforge-cli: interrupted at member " + std::to_string(members + 1) +
                                                      ": " + std::to_string(members) + " of 100000 written\n");
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
    for (const auto& [signal, message] : {std::pair<int, std::string>{SIGINT, "interrupted: 1 of 1 written"},
                                          {0, "Cannot write to file l.csv: File exists"}}) {
        CliFolder scratch;
        ASSERT_EQ(::mkfifo((scratch / "m.csv").c_str(), 0600), 0);
        const int reader = ::open((scratch / "m.csv").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        const pid_t pid = scratch.Start(
            {"--days", "3000", "--ticks-per-day", "4", "-q", "-o", "m.csv", "--dirty", "1", "--dirty-labels", "l.csv"});
        for (int k = 0; k < 100 && signal == 0; ++k)
            WriteFileBytes(scratch / (".l.csv.tmp-" + std::to_string(pid) + "-" + std::to_string(k)), "");
        int buffered = 0;
        WaitUntil([&] { return ::ioctl(reader, FIONREAD, &buffered) == 0 && buffered >= 65536; });
        if (signal != 0)
            ::kill(pid, signal);
        ::fcntl(reader, F_SETFL, 0);
        const std::string bytes = ReadAll(reader);
        const RunResult result = scratch.Wait(pid);
        EXPECT_EQ(result.status, signal == 0 ? 1 : 130);
        EXPECT_EQ(result.err, "tickforge-cli: " + message + "\n");
        EXPECT_EQ(Lines(bytes).size(), 3000u);
        EXPECT_EQ(fs::exists(scratch / "l.csv"), signal != 0);
    }
}

}  // namespace
}  // namespace tickforge::clitest
