#include "export/ExportHistories.h"

#include "support/DailyBars.h"
#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>

namespace {

using namespace tickforge;
using namespace tickforge::testing;
namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

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
    }

    // Stands in for the generation run: each call makes a new one-bar history whose
    // close is 100 times the generation's number, so each file shows which it holds.
    void Fill(double close) { FillDailyBars(bars, {{45293.6, 1.0, 2.0, 0.5, close, 10.0}}); }
    GenerationOutcome Generate()
    {
        Fill(100.0 * (++generations + 1));
        return {};
    }

    ExportResult Export(const ExportFormat& format, const std::string& chosen, std::int32_t count, bool batch = true)
    {
        job.Count = count;
        job.Batch = batch;
        return ExportHistories(format, chosen, job);
    }

    void EmptyFolder() const
    {
        fs::remove_all(folder.Path());
        fs::create_directory(folder.Path());
    }

    // Every file in the scratch folder and below with its bytes.
    Files InFolder() const
    {
        Files files;
        for (const auto& entry : fs::recursive_directory_iterator(folder.Path()))
            if (!entry.is_directory())
                files[fs::relative(entry.path(), folder.Path()).string()] = ReadFileBytes(entry.path());
        return files;
    }

    ScratchFolder folder;
    TTimeSeriesSet bars;
    ExportJob job;
    int generations = 0;
};

TEST_F(ExportHistoriesTest, MembersGoToNumberedFilesOrToOneFile)
{
    const struct {
        bool batch, multiple, headings;
        const char* chosen;
        std::int32_t count;
        Files files;  // besides the old AOI.csv, which only a file of that name replaces
    } cases[] = {
        // A plain export writes the current history once, whatever the count.
        {false, false, false, "AOI.csv", 5, {{"AOI.csv", "AOI,100\r\n"}}},
        {false, true, true, "AOI", 1, {{"AOI", "TICKER,CLOSE\r\nAOI,100\r\n"}}},
        {true, true, false, "AOI.csv", 0, {}},
        // Member 1 holds the history current when the export began.
        {true, true, true, "AOI.csv", 3,
         {{"AOI1.csv", "TICKER,CLOSE\r\nAOI1,100\r\n"}, {"AOI2.csv", "TICKER,CLOSE\r\nAOI2,200\r\n"},
          {"AOI3.csv", "TICKER,CLOSE\r\nAOI3,300\r\n"}}},
        {true, true, false, "BHP", 2, {{"BHP1", "AOI1,100\r\n"}, {"BHP2", "AOI2,200\r\n"}}},
        {true, false, true, "AOI.csv", 3, {{"AOI.csv", "TICKER,CLOSE\r\nAOI1,100\r\nAOI2,200\r\nAOI3,300\r\n"}}},
        // The extension starts at the last full stop after every separator.
        {true, true, false, "old.data/AOI", 1, {{"old.data/AOI1", "AOI1,100\r\n"}}},
        {true, true, false, "C:\\old.data\\AOI", 1, {{"C:\\old.data\\AOI1", "AOI1,100\r\n"}}},
        {true, true, false, "odd.name:AOI", 1, {{"odd.name:AOI1", "AOI1,100\r\n"}}},
        {true, true, false, "AOI.tar.csv", 1, {{"AOI.tar1.csv", "AOI1,100\r\n"}}},
        {true, true, false, "AOI.", 1, {{"AOI1.", "AOI1,100\r\n"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        EmptyFolder();
        fs::create_directory(folder / "old.data");
        WriteFileBytes(folder / "AOI.csv", "old\r\n");
        Fill(100.0);
        generations = 0;
        const std::int32_t members = c.batch ? std::max(c.count, 0) : 1;
        EXPECT_EQ(Export(TickerAndClose(c.headings, c.multiple), folder / c.chosen, c.count, c.batch).Written, members);
        EXPECT_EQ(generations, std::max(members - 1, 0));  // before each member after the first
        Files files = c.files;
        files.emplace("AOI.csv", "old\r\n");
        EXPECT_EQ(InFolder(), files);
    }
}

TEST_F(ExportHistoriesTest, AGenerationWithoutANewHistoryStopsAfterTheMemberBeforeOrWritesOnAsTold)
{
    for (const GenerationOutcome::Kind kind :
         {GenerationOutcome::ChecksFailed, GenerationOutcome::Aborted, GenerationOutcome::Failed}) {
        for (const WhenNoHistory noHistory : {WhenNoHistory::WriteOn, WhenNoHistory::Stop}) {
            const bool stops = noHistory == WhenNoHistory::Stop || kind == GenerationOutcome::Failed;
            SCOPED_TRACE(::testing::Message() << kind << (stops ? " stopping" : " writing on"));
            EmptyFolder();
            job.Generate = [&] { return GenerationOutcome{kind}; };
            job.NoHistory = noHistory;
            const ExportResult e = Export(TickerAndClose(false, true), folder / "AOI.csv", 3);
            EXPECT_EQ(e.Stop, stops ? ExportResult::GenerationStopped : ExportResult::Finished);
            EXPECT_EQ(e.Generation.kind, kind);
            EXPECT_EQ(e.Written, stops ? 1 : 3);
            EXPECT_EQ(e.Path, folder / (stops ? "AOI1.csv" : "AOI3.csv"));
        }
    }
}

TEST_F(ExportHistoriesTest, ASingleFileTakesWholeMembersWhenTheBatchEndsOrStopsAndErrorsThenFailTheExport)
{
    // A stop after member 2 keeps two. The security name is read anew for every member.
    const std::string path = folder / "AOI.csv";
    int reads = 0;
    job.SecurityName = [&] { return std::string(1, static_cast<char>('K' + reads++)); };
    job.MemberWritten = [](const ExportMember& m) {
        if (m.Number == 2)
            throw std::runtime_error("stop");
    };
    EXPECT_THROW(Export(TickerAndClose(), path, 9), std::runtime_error);
    EXPECT_EQ(InFolder(), (Files{{"AOI.csv", "K1,100\r\nL2,200\r\n"}}));

    // Write errors that show only at the end: a device that takes no bytes, and a folder
    // that takes the file's place before the batch puts its file there.
    const ExportResult full = Export(TickerAndClose(), "/dev/full", 1, false);
    EXPECT_EQ(full.Stop, ExportResult::WriteFailed);
    EXPECT_EQ(full.Cause, "Cannot write to file /dev/full: No space left on device");
    EmptyFolder();
    job.MemberWritten = [&](const ExportMember& m) {
        if (m.Number == 2)
            fs::create_directory(path);
    };
    const ExportResult blocked = Export(TickerAndClose(), path, 2);
    EXPECT_EQ(blocked.Stop, ExportResult::WriteFailed);
    EXPECT_EQ(blocked.Written, 2);
    EXPECT_EQ(blocked.Cause, "Cannot write to file " + path + ": Is a directory");
}

TEST_F(ExportHistoriesTest, GenerateAndExportGeneratesFirstOnlyWithoutAHistory)
{
    const std::tuple<GenerationOutcome::Kind, WhenNoHistory, ExportResult::StopReason> cases[] = {
        {GenerationOutcome::Generated, WhenNoHistory::Stop, ExportResult::Finished},
        {GenerationOutcome::ChecksFailed, WhenNoHistory::WriteOn, ExportResult::NothingToExport},
        {GenerationOutcome::Failed, WhenNoHistory::WriteOn, ExportResult::NothingToExport},
        {GenerationOutcome::Aborted, WhenNoHistory::WriteOn, ExportResult::Finished},
        {GenerationOutcome::Aborted, WhenNoHistory::Stop, ExportResult::NothingToExport},
    };
    for (const auto& [first, noHistory, stop] : cases) {
        SCOPED_TRACE(::testing::Message() << first << (noHistory == WhenNoHistory::Stop ? " stopping" : " writing on"));
        bars.SetSeriesCount(0);
        job.Generate = [this, kind = first] { return Fill(1.0), GenerationOutcome{kind}; };
        job.NoHistory = noHistory;
        int asked = 0;
        const ExportResult result = GenerateAndExport(job, [&] {
            ++asked;
            return std::optional<ExportChoice>({TickerAndClose(), folder / "AOI.csv"});
        });
        EXPECT_EQ(result.Stop, stop);
        EXPECT_EQ(result.Generation.kind, stop == ExportResult::Finished ? GenerationOutcome::Generated : first);
        EXPECT_EQ(asked, stop == ExportResult::Finished ? 1 : 0);
    }
    // With a history no generation comes first.
    job.Generate = [this] { return Generate(); };
    EXPECT_EQ(GenerateAndExport(job, [] { return std::optional<ExportChoice>(); }).Stop, ExportResult::Cancelled);
    EXPECT_EQ(generations, 0);
}

}  // namespace
