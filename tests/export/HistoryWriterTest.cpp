#include "export/HistoryWriter.h"

#include "support/DailyBars.h"
#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <filesystem>
#include <functional>

namespace {

using namespace tickforge;
using namespace tickforge::testing;

// 2 January 2024, 01:12: the times of the other series fall on 1 January, so a date
// shows that only the close's time counts.
constexpr double SecondJanuaryEarly = 45293.05;

const std::string Line0 = "\"2/01/2024\",\"3000\",\"3012.3\",\"2987.7\",\"3005.5\",\"12345\"\r\n";
const std::string Line1 = "\"3/01/2024\",\"3005.5\",\"3020\",\"3000\",\"3019.9\",\"9876\"\r\n";

class HistoryWriterTest : public ::testing::Test {
protected:
    // The two bars of the worked example.
    void SetUp() override
    {
        FillDailyBars(bars, {{SecondJanuaryEarly, 3000.0, 3012.3456, 2987.65432, 3005.5, 12345.67},
                             {SecondJanuaryEarly + 1, 3005.5, 3020.04, 2999.999, 3019.87654, 9876.2}});
    }

    ScratchFolder folder;
    const std::string path = folder / "out.csv";
    TTimeSeriesSet bars;
};

TEST_F(HistoryWriterTest, LinesFollowTheFormatByteForByte)
{
    const struct {
        const char* what;
        std::function<void(ExportFormat&)> change;
        const char* ticker;
        bool headings;
        const char* datePattern;  // "dd.MM.yyyy" comes with a decimal comma
        std::string file;
    } cases[] = {
        {"worked example", [](ExportFormat&) {}, "AOI", false, "d/MM/yyyy", Line0 + Line1},
        {"ticker first", [](ExportFormat& f) { f.IncludeOnly("TDOHLCV"); f.QuoteValues = false; }, "AOI7", true,
         "d/MM/yyyy",
         "TICKER,DATE,OPEN,HIGH,LOW,CLOSE,VOLUME\r\nAOI7,2/01/2024,3000,3012.3,2987.7,3005.5,12345\r\n"
         "AOI7,3/01/2024,3005.5,3020,3000,3019.9,9876\r\n"},
        {"excluded columns close up", [](ExportFormat& f) { f.IncludeOnly("DOCV"); f.QuoteValues = false; }, "",
         true, "d/MM/yyyy", "DATE,OPEN,CLOSE,VOLUME\r\n2/01/2024,3000,3005.5,12345\r\n3/01/2024,3005.5,3019.9,9876\r\n"},
        {"tabs, no quotes, the user's date and decimal comma", [](ExportFormat& f) { f.Delimiter = '\t'; f.QuoteValues = false; },
         "", false, "dd.MM.yyyy",
         "02.01.2024\t3000\t3012,3\t2987,7\t3005,5\t12345\r\n03.01.2024\t3005,5\t3020\t3000\t3019,9\t9876\r\n"},
        {"the format's precision", [](ExportFormat& f) { f.Precision = 2; f.IncludeOnly("C"); }, "", false, "d/MM/yyyy",
         "\"3E3\"\r\n\"3E3\"\r\n"},
        {"empty unquoted first field leaves the line empty",
         [](ExportFormat& f) { f.IncludeOnly("TDC"); f.QuoteValues = false; f.Heading(ExportColumn::Ticker) = ""; }, "",
         true, "d/MM/yyyy", "DATE,CLOSE\r\n2/01/2024,3005.5\r\n3/01/2024,3019.9\r\n"},
        {"nothing escaped", [](ExportFormat& f) { f.IncludeOnly("TC"); f.Heading(ExportColumn::Ticker) = "T,\"x\""; },
         "A\"B,C", true, "d/MM/yyyy", "\"T,\"x\"\",\"CLOSE\"\r\n\"A\"B,C\",\"3005.5\"\r\n\"A\"B,C\",\"3019.9\"\r\n"},
    };
    for (const auto& c : cases) {
        ExportFormat f;
        c.change(f);
        const LocaleFormats formats{std::string(c.datePattern) == "dd.MM.yyyy" ? ',' : '.', c.datePattern};
        WriteHistoryFile(path, false, bars, f, c.ticker, c.headings, formats);
        EXPECT_EQ(ReadFileBytes(path), c.file) << c.what;
    }
}

TEST_F(HistoryWriterTest, AppendsAfterTheLastByteAndAFailureLeavesTheOldFileAsItWasAndNothingElse)
{
    WriteFileBytes(path, "existing\r\n");
    WriteHistoryFile(path, true, bars, ExportFormat{}, "", false);
    WriteHistoryFile(path, true, bars, ExportFormat{}, "", false);
    EXPECT_EQ(ReadFileBytes(path), "existing\r\n" + Line0 + Line1 + Line0 + Line1);

    for (const bool append : {false, true})
        EXPECT_THROW(WriteHistoryFile(path, append, TTimeSeriesSet{}, ExportFormat{}, "", true), Error);
    EXPECT_ERROR_MESSAGE(WriteHistoryFile(folder / "missing.csv", true, bars, ExportFormat{}, "", true),
                         "Cannot open file " + folder / "missing.csv" + ": No such file or directory");
    EXPECT_EQ(ReadFileBytes(path), "existing\r\n" + Line0 + Line1 + Line0 + Line1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    // An empty path: the set's name in the current folder.
    bars.Name = "Synth";
    CurrentFolderOverride cd(folder.Path());
    WriteHistoryFile("", false, bars, ExportFormat{}, "", false);
    EXPECT_EQ(ReadFileBytes(folder / "Synth.csv"), Line0 + Line1);
}

}  // namespace
