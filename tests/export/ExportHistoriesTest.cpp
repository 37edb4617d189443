#include "export/ExportHistories.h"

#include "export/TempFolder.h"
#include "support/DailyBars.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace tickforge;
using tickforge::testing::FillDailyBars;
using tickforge::testing::ReadBytes;
using tickforge::testing::TempFolder;
using tickforge::testing::WriteBytes;

constexpr double SecondJanuary16h = 45293.0 + 16.0 / 24.0;

// Stands in for the generation run: each call makes a new one-bar history whose
// close is 100 times the generation's number, so each file shows which it holds.
class FakeGenerator {
public:
    explicit FakeGenerator(TTimeSeriesSet& bars) : bars_(bars) { Fill(); }

    void operator()()
    {
        ++calls;
        if (calls == failAtCall)
            throw Error("'x' is not a valid integer value");
        Fill();
    }

    int calls = 0;
    int failAtCall = -1;

private:
    void Fill() { FillDailyBars(bars_, {{SecondJanuary16h, 1.0, 2.0, 0.5, 100.0 * (calls + 1), 10.0}}); }
    TTimeSeriesSet& bars_;
};

// A format that shows the member: ticker and close, unquoted.
ExportFormat TickerAndClose()
{
    ExportFormat f;
    f.TickerColumn = true;
    f.QuoteValues = false;
    f.DateColumn = f.OpenColumn = f.HighColumn = f.LowColumn = f.VolumeColumn = false;
    return f;
}

class ExportHistoriesTest : public ::testing::Test {
protected:
    void Export(const ExportFormat& format, const std::string& chosen, std::int32_t count, bool batch)
    {
        ExportHistories(format, chosen, count, batch, [this] { return securityName; }, bars, std::ref(generate), {},
                        [this](const ExportMember& m) { written.push_back(m); });
    }

    // What the ExportError raised by statement says, or a failure when none came.
    template <typename F>
    ExportError ExpectExportError(F statement)
    {
        try {
            statement();
        } catch (const ExportError& e) {
            return e;
        }
        ADD_FAILURE() << "no ExportError raised";
        return ExportError("", "");
    }

    TempFolder folder;
    TTimeSeriesSet bars;
    FakeGenerator generate{bars};
    std::string securityName = "AOI";
    std::vector<ExportMember> written;
};

// ---- paths ---------------------------------------------------------------------

TEST(SplitExportPath, ExtensionStartsAtTheLastFullStopAfterEverySeparator)
{
    auto check = [](const std::string& path, const std::string& base, const std::string& extension) {
        const ExportPath split = SplitExportPath(path);
        EXPECT_EQ(split.Base, base) << path;
        EXPECT_EQ(split.Extension, extension) << path;
    };
    check("C:\\data\\AOI.csv", "C:\\data\\AOI", ".csv");
    check("C:\\old.data\\AOI", "C:\\old.data\\AOI", "");
    check("/tmp/old.data/AOI", "/tmp/old.data/AOI", "");
    check("/tmp/data/AOI.tar.csv", "/tmp/data/AOI.tar", ".csv");
    check("C:AOI.txt", "C:AOI", ".txt");
    check("odd.name:AOI", "odd.name:AOI", "");
    check("AOI", "AOI", "");
    check("AOI.", "AOI", ".");
    check("", "", "");
}

TEST(FormExportMember, FollowsTheMemberTable)
{
    ExportFormat f;
    f.WriteHeadings = true;
    const ExportPath path{"/d/AOI", ".csv"};

    const ExportMember plain = FormExportMember(f, path, 1, false, "AOI");
    EXPECT_EQ(plain.Path, "/d/AOI.csv");
    EXPECT_EQ(plain.TickerText, "AOI");
    EXPECT_FALSE(plain.Append);
    EXPECT_TRUE(plain.WriteHeadings);

    // One file: the first member starts it, the others append without headings.
    const ExportMember first = FormExportMember(f, path, 1, true, "AOI");
    const ExportMember later = FormExportMember(f, path, 2, true, "AOI");
    EXPECT_EQ(first.Path, "/d/AOI.csv");
    EXPECT_EQ(first.TickerText, "AOI1");
    EXPECT_FALSE(first.Append);
    EXPECT_TRUE(first.WriteHeadings);
    EXPECT_EQ(later.Path, "/d/AOI.csv");
    EXPECT_EQ(later.TickerText, "AOI2");
    EXPECT_TRUE(later.Append);
    EXPECT_FALSE(later.WriteHeadings);

    f.MultipleFiles = true;
    const ExportMember tenth = FormExportMember(f, path, 10, true, "AOI");
    EXPECT_EQ(tenth.Path, "/d/AOI10.csv");
    EXPECT_EQ(tenth.TickerText, "AOI10");
    EXPECT_FALSE(tenth.Append);
    EXPECT_TRUE(tenth.WriteHeadings);

    // The file mode makes no difference to a plain export.
    EXPECT_EQ(FormExportMember(f, path, 1, false, "AOI").Path, "/d/AOI.csv");
    EXPECT_EQ(FormExportMember(f, path, 1, false, "AOI").TickerText, "AOI");
}

// ---- plain export --------------------------------------------------------------

TEST_F(ExportHistoriesTest, PlainExportWritesTheCurrentHistoryOnce)
{
    for (bool multiple : {false, true}) {
        ExportFormat f = TickerAndClose();
        f.MultipleFiles = multiple;
        written.clear();
        Export(f, folder.File("AOI.csv"), 5, false);  // a plain export writes one member whatever the count
        EXPECT_EQ(ReadBytes(folder.File("AOI.csv")), "AOI,100\r\n");
        ASSERT_EQ(written.size(), 1u);
        EXPECT_EQ(written[0].Path, folder.File("AOI.csv"));
        EXPECT_FALSE(std::filesystem::exists(folder.File("AOI1.csv")));
    }
    EXPECT_EQ(generate.calls, 0);
}

TEST_F(ExportHistoriesTest, NameWithoutExtensionIsUsedAsItStands)
{
    Export(TickerAndClose(), folder.File("AOI"), 1, false);
    EXPECT_EQ(ReadBytes(folder.File("AOI")), "AOI,100\r\n");

    ExportFormat f = TickerAndClose();
    f.MultipleFiles = true;
    Export(f, folder.File("AOI"), 2, true);
    EXPECT_EQ(ReadBytes(folder.File("AOI1")), "AOI1,100\r\n");
    EXPECT_EQ(ReadBytes(folder.File("AOI2")), "AOI2,200\r\n");
}

// ---- batches -------------------------------------------------------------------

TEST_F(ExportHistoriesTest, MultipleFilesBatchNumbersFilesAndTickers)
{
    ExportFormat f = TickerAndClose();
    f.MultipleFiles = true;
    Export(f, folder.File("AOI.csv"), 10, true);

    EXPECT_EQ(generate.calls, 9);  // before every member after the first
    for (int k = 1; k <= 10; ++k) {
        const std::string name = "AOI" + std::to_string(k);
        // Member 1 holds the history current when the export began (close 100).
        EXPECT_EQ(ReadBytes(folder.File(name + ".csv")), name + "," + std::to_string(100 * k) + "\r\n");
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("AOI.csv")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("AOI11.csv")));
    ASSERT_EQ(written.size(), 10u);
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(written[static_cast<std::size_t>(k - 1)].Number, k);
        EXPECT_EQ(written[static_cast<std::size_t>(k - 1)].Path, folder.File("AOI" + std::to_string(k) + ".csv"));
        EXPECT_EQ(written[static_cast<std::size_t>(k - 1)].TickerText, "AOI" + std::to_string(k));
    }
}

TEST_F(ExportHistoriesTest, SingleFileBatchHasOneHeadingAndReplacesAnOldFile)
{
    WriteBytes(folder.File("AOI.csv"), "stale contents\r\n");
    ExportFormat f = TickerAndClose();
    f.WriteHeadings = true;
    Export(f, folder.File("AOI.csv"), 3, true);
    EXPECT_EQ(ReadBytes(folder.File("AOI.csv")), "TICKER,CLOSE\r\nAOI1,100\r\nAOI2,200\r\nAOI3,300\r\n");
    EXPECT_EQ(generate.calls, 2);
    ASSERT_EQ(written.size(), 3u);
    EXPECT_FALSE(written[0].Append);
    EXPECT_TRUE(written[1].Append);
    EXPECT_TRUE(written[2].Append);
}

TEST_F(ExportHistoriesTest, SingleFileBatchWithoutHeadings)
{
    Export(TickerAndClose(), folder.File("AOI.csv"), 2, true);
    EXPECT_EQ(ReadBytes(folder.File("AOI.csv")), "AOI1,100\r\nAOI2,200\r\n");
}

TEST_F(ExportHistoriesTest, MultipleFilesEachGetTheirHeading)
{
    ExportFormat f = TickerAndClose();
    f.WriteHeadings = true;
    f.MultipleFiles = true;
    Export(f, folder.File("AOI.csv"), 2, true);
    EXPECT_EQ(ReadBytes(folder.File("AOI1.csv")), "TICKER,CLOSE\r\nAOI1,100\r\n");
    EXPECT_EQ(ReadBytes(folder.File("AOI2.csv")), "TICKER,CLOSE\r\nAOI2,200\r\n");
}

TEST_F(ExportHistoriesTest, SecurityNameIsReadAnewForEveryMember)
{
    int reads = 0;
    ExportFormat f = TickerAndClose();
    ExportHistories(f, folder.File("X.csv"), 3, true, [&] {
        std::string name = "N";
        name += std::to_string(++reads);
        name += '-';
        return name;
    }, bars,
                    std::ref(generate));
    EXPECT_EQ(ReadBytes(folder.File("X.csv")), "N1-1,100\r\nN2-2,200\r\nN3-3,300\r\n");
}

TEST_F(ExportHistoriesTest, CountZeroOrLessWritesNothing)
{
    for (std::int32_t count : {0, -3}) {
        Export(TickerAndClose(), folder.File("AOI.csv"), count, true);
        EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
        EXPECT_EQ(generate.calls, 0);
        EXPECT_TRUE(written.empty());
    }
}

TEST_F(ExportHistoriesTest, AbortedMemberWithoutBarsStillGetsItsShare)
{
    // A generation aborted by the user leaves five empty series: the member's file
    // holds only its heading line and the batch goes on.
    ExportFormat f = TickerAndClose();
    f.MultipleFiles = true;
    f.WriteHeadings = true;
    int calls = 0;
    ExportHistories(f, folder.File("AOI.csv"), 3, true, [] { return std::string("AOI"); }, bars, [&] {
        ++calls;
        if (calls == 1) {
            bars.SetSeriesCount(5);
        } else {
            FillDailyBars(bars, {{SecondJanuary16h, 1.0, 2.0, 0.5, 7.0, 10.0}});
        }
    });
    EXPECT_EQ(ReadBytes(folder.File("AOI1.csv")), "TICKER,CLOSE\r\nAOI1,100\r\n");
    EXPECT_EQ(ReadBytes(folder.File("AOI2.csv")), "TICKER,CLOSE\r\n");
    EXPECT_EQ(ReadBytes(folder.File("AOI3.csv")), "TICKER,CLOSE\r\nAOI3,7\r\n");
}

// ---- failures ------------------------------------------------------------------

TEST_F(ExportHistoriesTest, BlockedMemberStopsTheBatchAndNamesItsFile)
{
    // A folder in the way of the third file: it cannot be created, even by root.
    std::filesystem::create_directory(folder.File("AOI3.csv"));
    ExportFormat f = TickerAndClose();
    f.MultipleFiles = true;
    const ExportError e = ExpectExportError([&] { Export(f, folder.File("AOI.csv"), 5, true); });

    EXPECT_EQ(std::string(e.what()), "Error writing to file " + folder.File("AOI3.csv") + ". Is it open elsewhere?");
    EXPECT_EQ(e.Title(), "File Error");
    EXPECT_FALSE(e.Cause().empty());
    EXPECT_EQ(ReadBytes(folder.File("AOI1.csv")), "AOI1,100\r\n");
    EXPECT_EQ(ReadBytes(folder.File("AOI2.csv")), "AOI2,200\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("AOI4.csv")));
    EXPECT_EQ(generate.calls, 2);  // members 4 and 5 are neither generated nor written
    EXPECT_EQ(written.size(), 2u);
}

TEST_F(ExportHistoriesTest, MissingFolderFailsAtTheFirstMember)
{
    const std::string chosen = folder.File("no-such-folder/AOI.csv");
    const ExportError e = ExpectExportError([&] { Export(TickerAndClose(), chosen, 3, true); });
    EXPECT_EQ(std::string(e.what()), "Error writing to file " + chosen + ". Is it open elsewhere?");
    EXPECT_EQ(e.Title(), "File Error");
    EXPECT_EQ(generate.calls, 0);
}

TEST_F(ExportHistoriesTest, FailedGenerationNamesThePathOfTheMemberBefore)
{
    generate.failAtCall = 2;  // the generation before member 3
    ExportFormat f = TickerAndClose();
    f.MultipleFiles = true;
    const ExportError e = ExpectExportError([&] { Export(f, folder.File("AOI.csv"), 5, true); });
    EXPECT_EQ(std::string(e.what()), "Error writing to file " + folder.File("AOI2.csv") + ". Is it open elsewhere?");
    EXPECT_EQ(e.Title(), "File Error");
    EXPECT_EQ(e.Cause(), "'x' is not a valid integer value");
    EXPECT_TRUE(std::filesystem::exists(folder.File("AOI2.csv")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("AOI3.csv")));
    EXPECT_EQ(generate.calls, 2);
}

TEST_F(ExportHistoriesTest, FailedGenerationInASingleFileBatchKeepsWhatWasWritten)
{
    generate.failAtCall = 1;
    const ExportError e = ExpectExportError([&] { Export(TickerAndClose(), folder.File("AOI.csv"), 3, true); });
    EXPECT_EQ(std::string(e.what()), "Error writing to file " + folder.File("AOI.csv") + ". Is it open elsewhere?");
    EXPECT_EQ(ReadBytes(folder.File("AOI.csv")), "AOI1,100\r\n");
}

TEST_F(ExportHistoriesTest, HistoryWithoutSeriesFailsAfterTheHeadingLine)
{
    TTimeSeriesSet nothing;
    ExportFormat f = TickerAndClose();
    f.WriteHeadings = true;
    const std::string chosen = folder.File("AOI.csv");
    const ExportError e = ExpectExportError(
        [&] { ExportHistories(f, chosen, 1, false, [] { return std::string("AOI"); }, nothing, [] {}); });
    EXPECT_EQ(std::string(e.what()), "Error writing to file " + chosen + ". Is it open elsewhere?");
    EXPECT_EQ(e.Cause(), "List index out of bounds (0)");
    EXPECT_EQ(ReadBytes(chosen), "TICKER,CLOSE\r\n");
}

}  // namespace
