#include "export/ExportHistories.h"

#include "support/DailyBars.h"
#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <filesystem>
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
    f.TickerColumn = true;
    f.QuoteValues = f.DateColumn = f.OpenColumn = f.HighColumn = f.LowColumn = f.VolumeColumn = false;
    f.WriteHeadings = headings;
    f.MultipleFiles = multipleFiles;
    return f;
}

class ExportHistoriesTest : public ::testing::Test {
protected:
    void SetUp() override { Fill(100.0); }

    // Stands in for the generation run: each call makes a new one-bar history whose
    // close is 100 times the generation's number, so each file shows which it holds.
    void Fill(double close) { FillDailyBars(bars, {{45293.6, 1.0, 2.0, 0.5, close, 10.0}}); }
    void Generate()
    {
        if (++generations == failAtGeneration)
            throw Error("'x' is not a valid integer value");
        Fill(100.0 * (generations + 1));
    }

    void Export(const ExportFormat& format, const std::string& chosen, std::int32_t count, bool batch)
    {
        ExportHistories(format, chosen, count, batch, [this] { return securityName; }, bars, [this] { Generate(); },
                        {}, [this](const ExportMember& m) { written.push_back(m); });
    }

    // The ExportError that exporting raises; a failure when none comes.
    ExportError ExportFailure(const ExportFormat& format, const std::string& chosen, std::int32_t count)
    {
        try {
            Export(format, chosen, count, true);
        } catch (const ExportError& e) {
            EXPECT_EQ(e.Title(), "File Error");
            return e;
        }
        ADD_FAILURE() << "no ExportError raised";
        return ExportError("", "");
    }

    static std::string FileError(const std::string& path) { return "Error writing to file " + path + ". Is it open elsewhere?"; }

    ScratchFolder folder;
    TTimeSeriesSet bars;
    int generations = 0;
    int failAtGeneration = -1;
    std::string securityName = "AOI";
    std::vector<ExportMember> written;
};

TEST(SplitExportPath, ExtensionStartsAtTheLastFullStopAfterEverySeparator)
{
    const struct {
        const char* path;
        const char* base;
        const char* extension;
    } cases[] = {
        {"C:\\old.data\\AOI", "C:\\old.data\\AOI", ""}, {"/tmp/data/AOI.tar.csv", "/tmp/data/AOI.tar", ".csv"},
        {"odd.name:AOI", "odd.name:AOI", ""},         {"AOI.", "AOI", "."}, {"", "", ""},
    };
    for (const auto& c : cases) {
        const ExportPath split = SplitExportPath(c.path);
        EXPECT_EQ(split.Base, c.base) << c.path;
        EXPECT_EQ(split.Extension, c.extension) << c.path;
    }
}

TEST_F(ExportHistoriesTest, PlainExportWritesTheCurrentHistoryOnceAtTheChosenPath)
{
    for (bool multiple : {false, true}) {
        Export(TickerAndClose(false, multiple), folder / "AOI.csv", 5, false);  // whatever the count
        EXPECT_EQ(ReadFileBytes(folder / "AOI.csv"), "AOI,100\r\n");
    }
    Export(TickerAndClose(), folder / "AOI", 1, false);  // no extension added
    EXPECT_EQ(ReadFileBytes(folder / "AOI"), "AOI,100\r\n");
    EXPECT_EQ(written.size(), 3u);
    EXPECT_EQ(generations, 0);
    EXPECT_FALSE(fs::exists(folder / "AOI1.csv"));
}

TEST_F(ExportHistoriesTest, MultipleFilesBatchNumbersFilesAndTickers)
{
    Export(TickerAndClose(false, true), folder / "AOI.csv", 10, true);
    EXPECT_EQ(generations, 9);  // before every member after the first
    ASSERT_EQ(written.size(), 10u);
    for (int k = 1; k <= 10; ++k) {
        const std::string name = "AOI" + std::to_string(k);
        // Member 1 holds the history current when the export began (close 100).
        EXPECT_EQ(ReadFileBytes(folder / (name + ".csv")), name + "," + std::to_string(100 * k) + "\r\n");
        EXPECT_EQ(written[static_cast<std::size_t>(k - 1)].Path, folder / (name + ".csv"));
    }
    EXPECT_FALSE(fs::exists(folder / "AOI.csv"));
    EXPECT_FALSE(fs::exists(folder / "AOI11.csv"));

    // Each file gets its heading; a name without extension gets none. Member 1 holds the
    // history the last batch left (close 1000).
    Export(TickerAndClose(true, true), folder / "BHP", 2, true);
    EXPECT_EQ(ReadFileBytes(folder / "BHP1"), "TICKER,CLOSE\r\nAOI1,1000\r\n");
    EXPECT_EQ(ReadFileBytes(folder / "BHP2"), "TICKER,CLOSE\r\nAOI2,1100\r\n");
}

TEST_F(ExportHistoriesTest, SingleFileBatchHasOneHeadingAndReplacesAnOldFile)
{
    WriteFileBytes(folder / "AOI.csv", "stale contents\r\n");
    Export(TickerAndClose(true), folder / "AOI.csv", 3, true);
    EXPECT_EQ(ReadFileBytes(folder / "AOI.csv"), "TICKER,CLOSE\r\nAOI1,100\r\nAOI2,200\r\nAOI3,300\r\n");
    Export(TickerAndClose(), folder / "AOI.csv", 2, true);
    EXPECT_EQ(ReadFileBytes(folder / "AOI.csv"), "AOI1,300\r\nAOI2,400\r\n");
}

TEST_F(ExportHistoriesTest, SecurityNameIsReadAnewForEveryMember)
{
    int reads = 0;
    const auto name = [&] { return std::string(1, static_cast<char>('K' + reads++)); };
    ExportHistories(TickerAndClose(), folder / "X.csv", 3, true, name, bars, [this] { Generate(); });
    EXPECT_EQ(ReadFileBytes(folder / "X.csv"), "K1,100\r\nL2,200\r\nM3,300\r\n");
}

TEST_F(ExportHistoriesTest, CountZeroOrLessWritesNothing)
{
    for (std::int32_t count : {0, -3})
        Export(TickerAndClose(), folder / "AOI.csv", count, true);
    EXPECT_TRUE(fs::is_empty(folder.Path()));
    EXPECT_EQ(generations, 0);
    EXPECT_TRUE(written.empty());
}

TEST_F(ExportHistoriesTest, AbortedMemberWithoutBarsStillGetsItsShare)
{
    // An aborted generation leaves five empty series: the member's file holds only its
    // heading line and the batch goes on.
    int calls = 0;
    ExportHistories(TickerAndClose(true, true), folder / "AOI.csv", 3, true, [] { return std::string("AOI"); }, bars,
                    [&] { ++calls == 1 ? bars.SetSeriesCount(5) : Fill(7.0); });
    EXPECT_EQ(ReadFileBytes(folder / "AOI1.csv"), "TICKER,CLOSE\r\nAOI1,100\r\n");
    EXPECT_EQ(ReadFileBytes(folder / "AOI2.csv"), "TICKER,CLOSE\r\n");
    EXPECT_EQ(ReadFileBytes(folder / "AOI3.csv"), "TICKER,CLOSE\r\nAOI3,7\r\n");
}

TEST_F(ExportHistoriesTest, BlockedMemberStopsTheBatchAndNamesItsFile)
{
    fs::create_directory(folder / "AOI3.csv");  // in the way of the third file, even for root
    const ExportError e = ExportFailure(TickerAndClose(false, true), folder / "AOI.csv", 5);
    EXPECT_EQ(std::string(e.what()), FileError(folder / "AOI3.csv"));
    EXPECT_FALSE(e.Cause().empty());
    EXPECT_EQ(ReadFileBytes(folder / "AOI1.csv"), "AOI1,100\r\n");
    EXPECT_EQ(ReadFileBytes(folder / "AOI2.csv"), "AOI2,200\r\n");
    EXPECT_FALSE(fs::exists(folder / "AOI4.csv"));
    EXPECT_EQ(generations, 2);  // members 4 and 5 are neither generated nor written
    EXPECT_EQ(written.size(), 2u);

    const std::string missing = folder / "no-such-folder/AOI.csv";
    EXPECT_EQ(std::string(ExportFailure(TickerAndClose(), missing, 3).what()), FileError(missing));
    EXPECT_EQ(generations, 2);  // failed at the first member
}

TEST_F(ExportHistoriesTest, FailedGenerationNamesThePathOfTheMemberBefore)
{
    failAtGeneration = 2;  // the generation before member 3
    const ExportError e = ExportFailure(TickerAndClose(false, true), folder / "AOI.csv", 5);
    EXPECT_EQ(std::string(e.what()), FileError(folder / "AOI2.csv"));
    EXPECT_EQ(e.Cause(), "'x' is not a valid integer value");
    EXPECT_TRUE(fs::exists(folder / "AOI2.csv"));
    EXPECT_FALSE(fs::exists(folder / "AOI3.csv"));
    EXPECT_EQ(generations, 2);

    // In one file, what was written stays.
    generations = 0;
    failAtGeneration = 1;
    EXPECT_EQ(std::string(ExportFailure(TickerAndClose(), folder / "One.csv", 3).what()), FileError(folder / "One.csv"));
    EXPECT_EQ(ReadFileBytes(folder / "One.csv"), "AOI1,200\r\n");  // the history generation 1 left
}

}  // namespace
