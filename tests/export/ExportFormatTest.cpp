#include "export/ExportHistories.h"
#include "export/HistoryWriter.h"
#include "export/PriceText.h"

#include "support/DailyBars.h"
#include "support/ScratchFolder.h"
#include "support/ScopedChange.h"
#include "support/TestHelpers.h"

#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <utility>

namespace {

using namespace tickforge;
using namespace tickforge::testing;

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A format including exactly the columns whose letters are given.
ExportFormat WithColumns(const std::string& letters)
{
    ExportFormat f;
    f.IncludeOnly(letters);
    return f;
}

TEST(ExampleLine, ListsTheIncludedColumnsInFileOrderWithCommasWhateverTheOtherChoices)
{
    ExportFormat f;
    f.Delimiter = '\t';
    f.QuoteValues = false;
    EXPECT_EQ(ExampleLine(f), "D,O,H,L,C,V");
    const std::pair<const char*, const char*> cases[] = {
        {"VCLHODT", "T,D,O,H,L,C,V"}, {"VLTCO", "T,O,L,C,V"}, {"C", "C"}, {"", ""}};
    for (const auto& [columns, example] : cases)
        EXPECT_EQ(ExampleLine(WithColumns(columns)), example) << columns;
}

TEST(ValueColumns, EachWritesItsSeriesAndAFormatNeedsOne)
{
    for (const std::int32_t series : {SeriesOpen, SeriesHigh, SeriesLow, SeriesClose, SeriesVolume})
        EXPECT_EQ(ColumnOfSeries(series).Series, series);
    // Ticker and date alone do not count. The window tests show the message and title.
    EXPECT_FALSE(HasValueColumn(WithColumns("TD")));
    EXPECT_THROW(CheckValueColumns(WithColumns("TD")), ExportError);
    for (const char* one : {"O", "H", "L", "C", "V"}) {
        EXPECT_TRUE(HasValueColumn(WithColumns(one))) << one;
        EXPECT_NO_THROW(CheckValueColumns(WithColumns(one)));
    }
}

TEST(PriceText, SignificantDigitsRoundedHalfUpInFixedOrScientificForm)
{
    const struct {
        double v;
        int precision;
        const char* text;
    } cases[] = {
        {3012.3456, 5, "3012.3"}, {100.0, 5, "100"}, {99.999996, 5, "100"}, {2987.65432, 5, "2987.7"},
        {123456.7, 5, "1.2346E5"}, {0.00123, 5, "0.00123"}, {0.0000123, 5, "1.23E-5"},
        {12345.0, 5, "12345"},  // an exponent equal to the precision stays fixed
        // 3012.3456 at every precision: at least two digits; scientific below four
        {3012.3456, 1, "3E3"}, {3012.3456, 3, "3.01E3"}, {3012.3456, 4, "3012"}, {3012.3456, 9, "3012.3456"},
        {0.15, 1, "0.15"},
        // half up, not to even; carries across powers of ten
        {1.25, 2, "1.3"}, {0.125, 2, "0.13"}, {9.99, 2, "10"}, {1.96, 2, "2"}, {99999.5, 5, "1E5"}, {12345.0, 4, "1.235E4"},
        {0.00099951, 3, "0.001"},
        {0.0009995, 3, "0.000999"},  // the nearest double is 9.99499999...E-4: no carry
        {0.6885405, 6, "0.688541"},  // 0.68854049999999999976 is 0.688540500000000000 in 18 digits,
        {0.0115, 2, "0.011"},        // and 0.011499999999999999806 stays 0.0114999999999999998
        // the form's boundaries
        {0.0001, 5, "0.0001"}, {0.00001, 5, "1E-5"}, {1.5e-300, 5, "1.5E-300"}, {1.5e300, 5, "1.5E300"},
        {1234567890.0, 9, "1.23456789E9"},
        // sign, zero and values that are no finite number
        {-0.0000123, 5, "-1.23E-5"}, {0.0, 5, "0"}, {-0.0, 5, "0"},
        {Inf, 5, "INF"}, {-Inf, 5, "INF"}, {NaN, 5, "NAN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PriceText(c.v, c.precision), c.text) << c.v << " at " << c.precision;
    EXPECT_EQ(PriceText(123456.7, 5, ','), "1,2346E5");  // the given decimal separator
}

TEST(VolumeText, TruncatesTowardZeroAndRefusesWhatNoSixtyFourBitIntegerHolds)
{
    const std::pair<double, const char*> cases[] = {{12345.67, "12345"}, {-3.7, "-3"}, {-0.5, "0"}, {0.0, "0"},
                                                    {9.2e18, "9200000000000000000"}, {-0x1p63, "-9223372036854775808"}};
    for (const auto& [v, text] : cases)
        EXPECT_EQ(VolumeText(v), text) << v;
    for (double v : {0x1p63, 1e19, -1e19, NaN, Inf})  // 2^63 itself does not fit
        EXPECT_ERROR_MESSAGE(VolumeText(v), "Invalid floating point operation");
}

// 2 January 2024, 01:12: the other series' times fall on 1 January, so a date shows that only the close's time counts.
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
        {"tabs, no quotes, the user's date and decimal comma", [](ExportFormat& f) { f.Delimiter = '\t'; f.QuoteValues = false; },
         "", false, "dd.MM.yyyy",
         "02.01.2024\t3000\t3012,3\t2987,7\t3005,5\t12345\r\n03.01.2024\t3005,5\t3020\t3000\t3019,9\t9876\r\n"},
        {"the format's precision", [](ExportFormat& f) { f.Precision = 2; f.IncludeOnly("C"); }, "", false, "d/MM/yyyy",
         "\"3E3\"\r\n\"3E3\"\r\n"},
        {"excluded columns close up; an empty unquoted first field leaves the line empty",
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
    const Undo cd = ChangeCurrentFolder(folder.Path());
    WriteHistoryFile("", false, bars, ExportFormat{}, "", false);
    EXPECT_EQ(ReadFileBytes(folder / "Synth.csv"), Line0 + Line1);
}

}  // namespace
