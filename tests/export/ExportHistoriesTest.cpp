#include "export/ExportHistories.h"

#include "support/DailyBars.h"
#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace tickforge;
using namespace tickforge::testing;
namespace fs = std::filesystem;

// A format that shows the member: ticker and close, unquoted.
ExportFormat TickerAndClose(bool headings = false, bool multipleFiles = false)
{
    ExportFormat f;
    f.IncludeOnly("TC");
    f.QuoteValues = false;
    f.WriteHeadings = headings;
    f.MultipleFiles = multipleFiles;
    return f;
}

class ExportHistoriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Fill(100.0);
        job.SecurityName = [] { return std::string("AOI"); };
        job.Bars = &bars;
        job.Generate = [this] { return Generate(); };
        job.MemberWritten = [this](const ExportMember& m) { written.push_back(m), told.push_back(ReadFileBytes(m.Path)); };
    }

    // Stands in for the generation run: each call makes a new one-bar history whose
    // close is 100 times the generation's number, so each file shows which it holds.
    void Fill(double close) { FillDailyBars(bars, {{45293.6, 1.0, 2.0, 0.5, close, 10.0}}); }
    GenerationOutcome Generate()
    {
        if (++generations == failAtGeneration)
            return {GenerationOutcome::Failed, "'x' is not a valid integer value"};
        Fill(100.0 * (generations + 1));
        return {};
    }

    ExportResult Export(const ExportFormat& format, const std::string& chosen, std::int32_t count, bool batch = true)
    {
        job.Count = count;
        job.Batch = batch;
        return ExportHistories(format, chosen, job);
    }

    ScratchFolder folder;
    TTimeSeriesSet bars;
    ExportJob job;
    int generations = 0;
    int failAtGeneration = -1;
    std::vector<ExportMember> written;
    std::vector<std::string> told;  // the member's file when the member was reported written
};

TEST(SplitExportPath, ExtensionStartsAtTheLastFullStopAfterEverySeparator)
{
    const struct {
        const char* path;
        const char* base;
        const char* extension;
    } cases[] = {
        {"C:\\old.data\\AOI", "C:\\old.data\\AOI", ""}, {"/tmp/old.data/AOI", "/tmp/old.data/AOI", ""},
        {"/tmp/data/AOI.tar.csv", "/tmp/data/AOI.tar", ".csv"},
        {"odd.name:AOI", "odd.name:AOI", ""},         {"AOI.", "AOI", "."}, {"", "", ""},
    };
    for (const auto& c : cases) {
        const ExportPath split = SplitExportPath(c.path);
        EXPECT_EQ(split.Base, c.base) << c.path;
        EXPECT_EQ(split.Extension, c.extension) << c.path;
    }
}

TEST_F(ExportHistoriesTest, PlainExportWritesTheCurrentHistoryOnceAndABatchOfNoneWritesNothing)
{
    for (std::int32_t count : {0, -3})
        EXPECT_EQ(Export(TickerAndClose(), folder / "AOI.csv", count).Stop, ExportResult::Finished);
    EXPECT_TRUE(fs::is_empty(folder.Path()));
    for (bool multiple : {false, true}) {
        Export(TickerAndClose(false, multiple), folder / "AOI.csv", 5, false);  // whatever the count
        EXPECT_EQ(ReadFileBytes(folder / "AOI.csv"), "AOI,100\r\n");
    }
    Export(TickerAndClose(), folder / "AOI", 1, false);  // no extension added
    EXPECT_EQ(ReadFileBytes(folder / "AOI"), "AOI,100\r\n");
    EXPECT_EQ(told, std::vector<std::string>(3, "AOI,100\r\n"));  // each in place when reported
    EXPECT_EQ(generations, 0);
    EXPECT_FALSE(fs::exists(folder / "AOI1.csv"));
}

TEST_F(ExportHistoriesTest, MultipleFilesBatchNumbersFilesAndTickers)
{
    Export(TickerAndClose(false, true), folder / "AOI.csv", 3, true);
    EXPECT_EQ(generations, 2);  // before every member after the first
    ASSERT_EQ(written.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        const std::string name = "AOI" + std::to_string(k);
        // Member 1 holds the history current when the export began (close 100).
        EXPECT_EQ(told[static_cast<std::size_t>(k - 1)], name + "," + std::to_string(100 * k) + "\r\n");
        EXPECT_EQ(written[static_cast<std::size_t>(k - 1)].Path, folder / (name + ".csv"));
    }
    EXPECT_FALSE(fs::exists(folder / "AOI.csv") || fs::exists(folder / "AOI4.csv"));

    // Each file gets its heading; a name without extension gets none. Member 1 holds the
    // history the last batch left (close 300).
    Export(TickerAndClose(true, true), folder / "BHP", 2, true);
    EXPECT_EQ(ReadFileBytes(folder / "BHP1"), "TICKER,CLOSE\r\nAOI1,300\r\n");
    EXPECT_EQ(ReadFileBytes(folder / "BHP2"), "TICKER,CLOSE\r\nAOI2,400\r\n");
}

TEST_F(ExportHistoriesTest, SingleFileBatchHasOneHeadingAndReplacesAnOldFile)
{
    WriteFileBytes(folder / "AOI.csv", "stale contents\r\n");
    Export(TickerAndClose(true), folder / "AOI.csv", 3, true);
    EXPECT_EQ(ReadFileBytes(folder / "AOI.csv"), "TICKER,CLOSE\r\nAOI1,100\r\nAOI2,200\r\nAOI3,300\r\n");
    Export(TickerAndClose(), folder / "AOI.csv", 2, true);
    EXPECT_EQ(ReadFileBytes(folder / "AOI.csv"), "AOI1,300\r\nAOI2,400\r\n");

    // The file changes only when the batch ends or stops, and only with whole members: a
    // stop after member 2 keeps two, a failure in the first member keeps the old file.
    // The security name is read anew for every member.
    int reads = 0;
    job.SecurityName = [&] { return std::string(1, static_cast<char>('K' + reads++)); };
    job.MemberWritten = [](const ExportMember& m) {
        if (m.Number == 2)
            throw std::runtime_error("stop");
    };
    EXPECT_THROW(Export(TickerAndClose(), folder / "AOI.csv", 9), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(folder / "AOI.csv"), "K1,400\r\nL2,500\r\n");
    bars.SetSeriesCount(0);
    EXPECT_EQ(Export(TickerAndClose(), folder / "AOI.csv", 2).Stop, ExportResult::WriteFailed);
    EXPECT_EQ(ReadFileBytes(folder / "AOI.csv"), "K1,400\r\nL2,500\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 1);
}

TEST_F(ExportHistoriesTest, GenerationWithoutANewHistoryWritesOnOrStopsAsTold)
{
    // Refused checks leave the previous history; an abort leaves five empty series,
    // so the member's file holds only its heading line.
    for (const GenerationOutcome::Kind kind : {GenerationOutcome::ChecksFailed, GenerationOutcome::Aborted}) {
        SCOPED_TRACE(kind);
        int calls = 0;
        job.Generate = [&]() -> GenerationOutcome {
            if (++calls > 1)
                return Fill(7.0), GenerationOutcome{};
            if (kind == GenerationOutcome::Aborted)
                bars.SetLength(0);
            return {kind};
        };
        Fill(100.0);
        job.NoHistory = WhenNoHistory::WriteOn;
        EXPECT_EQ(Export(TickerAndClose(true, true), folder / "AOI.csv", 3).Written, 3);
        EXPECT_EQ(ReadFileBytes(folder / "AOI1.csv"), "TICKER,CLOSE\r\nAOI1,100\r\n");
        EXPECT_EQ(ReadFileBytes(folder / "AOI2.csv"),
                  kind == GenerationOutcome::Aborted ? "TICKER,CLOSE\r\n" : "TICKER,CLOSE\r\nAOI2,100\r\n");
        EXPECT_EQ(ReadFileBytes(folder / "AOI3.csv"), "TICKER,CLOSE\r\nAOI3,7\r\n");

        calls = 0;
        job.NoHistory = WhenNoHistory::Stop;
        const ExportResult stopped = Export(TickerAndClose(), folder / "Stop.csv", 3);
        EXPECT_EQ(stopped.Stop, ExportResult::GenerationStopped);
        EXPECT_EQ(stopped.Generation.kind, kind);
        EXPECT_EQ(stopped.Written, 1);
        EXPECT_EQ(ReadFileBytes(folder / "Stop.csv"), "AOI1,7\r\n");
    }
}

TEST_F(ExportHistoriesTest, BlockedMemberStopsTheBatchAndNamesItsFile)
{
    fs::create_directory(folder / "AOI3.csv");  // in the way of the third file, even for root
    const ExportResult e = Export(TickerAndClose(false, true), folder / "AOI.csv", 5);
    EXPECT_EQ(e.Stop, ExportResult::WriteFailed);
    EXPECT_EQ(e.Path, folder / "AOI3.csv");
    EXPECT_EQ(e.Cause, "Cannot create file " + folder / "AOI3.csv" + ": Is a directory");
    EXPECT_EQ(e.Written, 2);
    EXPECT_EQ(told, (std::vector<std::string>{"AOI1,100\r\n", "AOI2,200\r\n"}));
    EXPECT_FALSE(fs::exists(folder / "AOI4.csv"));
    EXPECT_EQ(generations, 2);  // members 4 and 5 are neither generated nor written

    const std::string missing = folder / "no-such-folder/AOI.csv";
    EXPECT_EQ(Export(TickerAndClose(), missing, 3).Path, missing);
    EXPECT_EQ(generations, 2);  // failed at the first member
}

TEST_F(ExportHistoriesTest, WriteErrorsThatShowOnlyAtTheEndFailTheExport)
{
    // A device that takes no bytes, and a folder that takes a single-file batch's place
    // before the batch puts its file there.
    const ExportResult full = Export(TickerAndClose(), "/dev/full", 1, false);
    EXPECT_EQ(full.Stop, ExportResult::WriteFailed);
    EXPECT_EQ(full.Cause, "Cannot write to file /dev/full: No space left on device");
    const std::string path = folder / "AOI.csv";
    job.MemberWritten = [&](const ExportMember& m) {
        if (m.Number == 2)
            fs::create_directory(path);
    };
    const ExportResult blocked = Export(TickerAndClose(), path, 2);
    EXPECT_EQ(blocked.Stop, ExportResult::WriteFailed);
    EXPECT_EQ(blocked.Written, 2);
    EXPECT_EQ(blocked.Cause, "Cannot write to file " + path + ": Is a directory");
}

TEST_F(ExportHistoriesTest, FailedGenerationStopsWithThePathOfTheMemberBefore)
{
    failAtGeneration = 2;  // the generation before member 3
    const ExportResult e = Export(TickerAndClose(false, true), folder / "AOI.csv", 5);
    EXPECT_EQ(e.Stop, ExportResult::GenerationStopped);
    EXPECT_EQ(e.Path, folder / "AOI2.csv");
    EXPECT_EQ(e.Generation.Error, "'x' is not a valid integer value");
    EXPECT_EQ(e.Written, 2);
    EXPECT_FALSE(fs::exists(folder / "AOI3.csv"));

    // In one file, what was written stays.
    generations = 0;
    failAtGeneration = 1;
    EXPECT_EQ(Export(TickerAndClose(), folder / "One.csv", 3).Path, folder / "One.csv");
    EXPECT_EQ(ReadFileBytes(folder / "One.csv"), "AOI1,200\r\n");  // the history generation 1 left
}

TEST_F(ExportHistoriesTest, GenerateAndExportGeneratesFirstOnlyWithoutAHistory)
{
    const struct {
        const char* what;
        GenerationOutcome::Kind first;
        WhenNoHistory noHistory;
        ExportResult::StopReason stop;
    } cases[] = {
        {"generated", GenerationOutcome::Generated, WhenNoHistory::Stop, ExportResult::Finished},
        {"refused", GenerationOutcome::ChecksFailed, WhenNoHistory::WriteOn, ExportResult::NothingToExport},
        {"failed", GenerationOutcome::Failed, WhenNoHistory::WriteOn, ExportResult::NothingToExport},
        {"aborted, writing on", GenerationOutcome::Aborted, WhenNoHistory::WriteOn, ExportResult::Finished},
        {"aborted, stopping", GenerationOutcome::Aborted, WhenNoHistory::Stop, ExportResult::NothingToExport},
    };
    const std::string path = folder / "AOI.csv";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bars.SetSeriesCount(0);
        job.Generate = [&] { return Fill(1.0), GenerationOutcome{c.first}; };
        job.NoHistory = c.noHistory;
        int asked = 0;
        const ExportResult result = GenerateAndExport(job, [&] {
            ++asked;
            return std::optional<ExportChoice>({TickerAndClose(), path});
        });
        EXPECT_EQ(result.Stop, c.stop);
        EXPECT_EQ(result.Generation.kind, c.stop == ExportResult::Finished ? GenerationOutcome::Generated : c.first);
        EXPECT_EQ(asked, c.stop == ExportResult::Finished ? 1 : 0);
        EXPECT_EQ(fs::exists(path), c.stop == ExportResult::Finished);
        fs::remove(path);
    }
    // With a history no generation comes first; a choice given up writes nothing.
    job.Generate = []() -> GenerationOutcome {
        ADD_FAILURE() << "generated";
        return {};
    };
    EXPECT_EQ(GenerateAndExport(job, [] { return std::optional<ExportChoice>(); }).Stop, ExportResult::Cancelled);
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

}  // namespace
