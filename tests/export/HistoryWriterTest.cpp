#include "export/HistoryWriter.h"

#include "export/TempFolder.h"
#include "support/DailyBars.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace {

using namespace tickforge;
using tickforge::testing::FillDailyBars;
using tickforge::testing::ReadBytes;
using tickforge::testing::TempFolder;
using tickforge::testing::WriteBytes;

// 2 and 3 January 2024 at 16:00 (1 January 2024 is day 45292).
constexpr double SecondJanuary16h = 45293.0 + 16.0 / 24.0;
constexpr double ThirdJanuary16h = 45294.0 + 16.0 / 24.0;

// The two bars of the documented example.
void FillExample(TTimeSeriesSet& set)
{
    FillDailyBars(set, {{SecondJanuary16h, 3000.0, 3012.3456, 2987.65432, 3005.5, 12345.67},
                        {ThirdJanuary16h, 3005.5, 3020.04, 2999.999, 3019.87654, 9876.2}});
}

class HistoryWriterTest : public ::testing::Test {
protected:
    void SetUp() override { FillExample(bars); }

    std::string Write(const ExportFormat& format, const std::string& ticker = "AOI", bool headings = false,
                      const LocaleFormats& formats = {})
    {
        const std::string path = folder.File("out.csv");
        WriteHistoryFile(path, false, bars, format, ticker, headings, formats);
        return ReadBytes(path);
    }

    TempFolder folder;
    TTimeSeriesSet bars;
};

const std::string ExampleLine0 = "\"2/01/2024\",\"3000\",\"3012.3\",\"2987.7\",\"3005.5\",\"12345\"\r\n";
const std::string ExampleLine1 = "\"3/01/2024\",\"3005.5\",\"3020\",\"3000\",\"3019.9\",\"9876\"\r\n";

TEST_F(HistoryWriterTest, WorkedExampleComesOutByteForByte)
{
    EXPECT_EQ(Write(ExportFormat{}), ExampleLine0 + ExampleLine1);
}

TEST_F(HistoryWriterTest, HeadingLineComesFirstWhenAskedFor)
{
    EXPECT_EQ(Write(ExportFormat{}, "AOI", true),
              "\"DATE\",\"OPEN\",\"HIGH\",\"LOW\",\"CLOSE\",\"VOLUME\"\r\n" + ExampleLine0 + ExampleLine1);
}

TEST_F(HistoryWriterTest, TabsWithoutQuotes)
{
    ExportFormat f;
    f.QuoteValues = false;
    f.Delimiter = '\t';
    EXPECT_EQ(Write(f), "2/01/2024\t3000\t3012.3\t2987.7\t3005.5\t12345\r\n"
                        "3/01/2024\t3005.5\t3020\t3000\t3019.9\t9876\r\n");
}

TEST_F(HistoryWriterTest, TickerColumnComesFirstAndHoldsTheGivenText)
{
    ExportFormat f;
    f.TickerColumn = true;
    f.QuoteValues = false;
    EXPECT_EQ(Write(f, "AOI7", true), "TICKER,DATE,OPEN,HIGH,LOW,CLOSE,VOLUME\r\n"
                                      "AOI7,2/01/2024,3000,3012.3,2987.7,3005.5,12345\r\n"
                                      "AOI7,3/01/2024,3005.5,3020,3000,3019.9,9876\r\n");
}

TEST_F(HistoryWriterTest, ExcludedColumnsCloseUp)
{
    ExportFormat f;
    f.DateColumn = f.OpenColumn = f.HighColumn = f.LowColumn = f.VolumeColumn = false;
    EXPECT_EQ(Write(f), "\"3005.5\"\r\n\"3019.9\"\r\n");  // close only: one field, no delimiter

    f = ExportFormat{};
    f.QuoteValues = false;
    f.HighColumn = f.LowColumn = false;
    EXPECT_EQ(Write(f, "", true), "DATE,OPEN,CLOSE,VOLUME\r\n2/01/2024,3000,3005.5,12345\r\n3/01/2024,3005.5,3019.9,9876\r\n");
}

TEST_F(HistoryWriterTest, EachColumnReadsItsOwnSeries)
{
    // Distinct values per field show a swapped column at once.
    FillDailyBars(bars, {{SecondJanuary16h, 1.0, 2.0, 3.0, 4.0, 5.0}});
    ExportFormat f;
    f.QuoteValues = false;
    EXPECT_EQ(Write(f), "2/01/2024,1,2,3,4,5\r\n");
}

TEST_F(HistoryWriterTest, DateIsTheCloseTimesDayInTheLocalesPattern)
{
    ExportFormat f;
    f.QuoteValues = false;
    f.OpenColumn = f.HighColumn = f.LowColumn = f.VolumeColumn = false;
    LocaleFormats iso;
    iso.shortDatePattern = "yyyy-MM-dd";
    EXPECT_EQ(Write(f, "", false, iso), "2024-01-02,3005.5\r\n2024-01-03,3019.9\r\n");
    LocaleFormats us;
    us.shortDatePattern = "M/d/yy";
    EXPECT_EQ(Write(f, "", false, us), "1/2/24,3005.5\r\n1/3/24,3019.9\r\n");

    // The other series' times lie on other days here: only the close's counts.
    bars.SetTime(SeriesOpen, 0, 40000.0);
    bars.SetTime(SeriesVolume, 0, 40000.0);
    bars.SetTime(SeriesHigh, 0, 40000.0);
    bars.SetTime(SeriesLow, 0, 40000.0);
    EXPECT_EQ(Write(f, "", false, iso), "2024-01-02,3005.5\r\n2024-01-03,3019.9\r\n");
}

TEST_F(HistoryWriterTest, LocaleDecimalSeparatorAndTabs)
{
    ExportFormat f;
    f.Delimiter = '\t';
    f.QuoteValues = false;
    LocaleFormats german;
    german.decimalSeparator = ',';
    german.shortDatePattern = "dd.MM.yyyy";
    EXPECT_EQ(Write(f, "", false, german), "02.01.2024\t3000\t3012,3\t2987,7\t3005,5\t12345\r\n"
                                           "03.01.2024\t3005,5\t3020\t3000\t3019,9\t9876\r\n");
}

TEST_F(HistoryWriterTest, PrecisionOneAndTwoGiveIdenticalFiles)
{
    ExportFormat one;
    one.Precision = 1;
    ExportFormat two;
    two.Precision = 2;
    const std::string a = Write(one);
    EXPECT_EQ(a, Write(two));
    EXPECT_EQ(a, "\"2/01/2024\",\"3E3\",\"3E3\",\"3E3\",\"3E3\",\"12345\"\r\n"
                 "\"3/01/2024\",\"3E3\",\"3E3\",\"3E3\",\"3E3\",\"9876\"\r\n");
}

TEST_F(HistoryWriterTest, EmptyHeadingTextsStayInPlace)
{
    ExportFormat f;
    f.OpenHeading = "";
    EXPECT_EQ(Write(f, "", true), "\"DATE\",\"\",\"HIGH\",\"LOW\",\"CLOSE\",\"VOLUME\"\r\n" + ExampleLine0 + ExampleLine1);

    // Unquoted, an empty first field leaves the line empty: no delimiter follows it.
    f = ExportFormat{};
    f.QuoteValues = false;
    f.TickerColumn = true;
    f.TickerHeading = "";
    f.OpenColumn = f.HighColumn = f.LowColumn = f.VolumeColumn = false;
    EXPECT_EQ(Write(f, "", true), "DATE,CLOSE\r\n2/01/2024,3005.5\r\n3/01/2024,3019.9\r\n");
}

TEST_F(HistoryWriterTest, TextsAreWrittenWithoutEscaping)
{
    ExportFormat f;
    f.TickerColumn = true;
    f.DateColumn = f.OpenColumn = f.HighColumn = f.LowColumn = f.VolumeColumn = false;
    f.TickerHeading = "T,\"x\"";
    EXPECT_EQ(Write(f, "A\"B,C", true), "\"T,\"x\"\",\"CLOSE\"\r\n\"A\"B,C\",\"3005.5\"\r\n\"A\"B,C\",\"3019.9\"\r\n");
}

TEST_F(HistoryWriterTest, EmptyHistoryGivesOnlyTheHeadingOrNothing)
{
    bars.SetLength(0);
    EXPECT_EQ(Write(ExportFormat{}, "", true), "\"DATE\",\"OPEN\",\"HIGH\",\"LOW\",\"CLOSE\",\"VOLUME\"\r\n");
    EXPECT_EQ(Write(ExportFormat{}, "", false), "");
    EXPECT_TRUE(std::filesystem::exists(folder.File("out.csv")));
}

TEST_F(HistoryWriterTest, CreatingEmptiesAnExistingFile)
{
    WriteBytes(folder.File("out.csv"), "old contents that are longer than the new ones, much longer indeed ...\r\n");
    EXPECT_EQ(Write(ExportFormat{}), ExampleLine0 + ExampleLine1);
}

TEST_F(HistoryWriterTest, AppendAddsAfterTheLastByte)
{
    const std::string path = folder.File("out.csv");
    WriteBytes(path, "existing\r\n");
    WriteHistoryFile(path, true, bars, ExportFormat{}, "", false);
    EXPECT_EQ(ReadBytes(path), "existing\r\n" + ExampleLine0 + ExampleLine1);
    WriteHistoryFile(path, true, bars, ExportFormat{}, "", false);
    EXPECT_EQ(ReadBytes(path), "existing\r\n" + ExampleLine0 + ExampleLine1 + ExampleLine0 + ExampleLine1);
}

TEST_F(HistoryWriterTest, AppendToAMissingFileFailsAndCreatesNothing)
{
    const std::string path = folder.File("missing.csv");
    EXPECT_THROW(WriteHistoryFile(path, true, bars, ExportFormat{}, "", false), Error);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(HistoryWriterTest, UnwritablePathsFail)
{
    EXPECT_THROW(WriteHistoryFile(folder.File("no-such-folder/out.csv"), false, bars, ExportFormat{}, "", true), Error);
    std::filesystem::create_directory(folder.File("a-folder"));
    EXPECT_THROW(WriteHistoryFile(folder.File("a-folder"), false, bars, ExportFormat{}, "", true), Error);
    EXPECT_THROW(WriteHistoryFile(folder.File("a-folder"), true, bars, ExportFormat{}, "", true), Error);
}

TEST_F(HistoryWriterTest, SetWithoutSeriesFailsAfterTheHeadingLine)
{
    TTimeSeriesSet empty;
    const std::string path = folder.File("out.csv");
    EXPECT_ERROR_MESSAGE(WriteHistoryFile(path, false, empty, ExportFormat{}, "", true), "List index out of bounds (0)");
    // The file was closed with the heading line in it.
    EXPECT_EQ(ReadBytes(path), "\"DATE\",\"OPEN\",\"HIGH\",\"LOW\",\"CLOSE\",\"VOLUME\"\r\n");
}

TEST_F(HistoryWriterTest, EmptyPathUsesTheSetsNameInTheCurrentFolder)
{
    bars.Name = "Synth";
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    try {
        WriteHistoryFile("", false, bars, ExportFormat{}, "", false);
    } catch (...) {
        std::filesystem::current_path(previous);
        throw;
    }
    std::filesystem::current_path(previous);
    EXPECT_EQ(ReadBytes(folder.File("Synth.csv")), ExampleLine0 + ExampleLine1);
}

TEST(AppendField, DelimiterOnlyBetweenFields)
{
    ExportFormat f;
    std::string line;
    AppendField(line, "a", f);
    EXPECT_EQ(line, "\"a\"");
    AppendField(line, "", f);
    EXPECT_EQ(line, "\"a\",\"\"");
    f.QuoteValues = false;
    f.Delimiter = '\t';
    line.clear();
    AppendField(line, "", f);
    AppendField(line, "b", f);
    AppendField(line, "c", f);
    EXPECT_EQ(line, "b\tc");
}

}  // namespace
