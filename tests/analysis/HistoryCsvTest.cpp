// Reading real histories: the layouts found in the wild, and every refusal naming the file and the line.

#include "analysis/HistoryCsv.h"
#include "analysis/HistoryReport.h"
#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace tickforge {
namespace {

using testing::ScratchFolder;

// A heading line and 30 rows: row(i) for bar i = 0..29, dated 2024-01-01 + i.
std::string Rows(const std::string& heading, const std::function<std::string(int)>& row, int count = 30)
{
    std::string text = heading + "\n";
    for (int i = 0; i < count; ++i)
        text += row(i) + "\n";
    return text;
}

std::string Two(int n) { return std::to_string(100 + n).substr(1); }
std::string Iso(int i) { return "2024-01-" + Two(1 + i); }

struct Layout {
    const char* name;
    std::string text;
    LocaleFormats formats;
    bool hasVolume;
    int skipped;
};

TEST(HistoryCsv, ReadsTheCommonLayouts)
{
    const Layout layouts[] = {
        {"own export, quoted, user's pattern",
         Rows("\"DATE\",\"OPEN\",\"HIGH\",\"LOW\",\"CLOSE\",\"VOLUME\"",
              [](int i) { return "\"" + std::to_string(1 + i) + "/01/2024\",\"10\",\"11\",\"9\",\"10.5\",\"700\""; }),
         {}, true, 0},
        {"Date,Open,...,Adj Close,Volume with null and empty rows",
         Rows("Date,Open,High,Low,Close,Adj Close,Volume",
              [](int i) {
                  return i == 3 ? Iso(i) + ",null,null,null,null,null,null"
                                : (i == 4 ? "" : Iso(i)) + ",10,11,9,10.5,10.4,700";
              }) + "2024-02-01,10,11,9,10.5,10.4,700\n2024-02-02,10,11,9,10.5,10.4,700\n",
         {}, true, 2},
        {"semicolons, decimal comma, format heading",
         Rows("\"%d.%m.%Y\";Open;High;Low;Close;Volume",
              [](int i) { return Two(1 + i) + ".01.2024;10;11;9;10,5;700"; }),
         {',', "dd.MM.yyyy"}, true, 0},
        {"tabs, lower case, no volume",
         Rows("date\topen\thigh\tlow\tclose", [](int i) { return Iso(i) + "\t10\t11\t9\t10.5"; }), {}, false, 0},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        ScratchFolder folder;
        const std::string path = folder / "real.csv";
        testing::WriteFileBytes(path, layout.text);
        const DailyHistory h = ReadHistoryCsv(path, layout.formats);
        ASSERT_EQ(h.Bars(), 30u);
        EXPECT_EQ(h.dates.front(), EncodeDate({2024, 1, 1}));
        EXPECT_EQ(h.close.back(), 10.5);
        EXPECT_EQ(h.high[7], 11.0);
        EXPECT_EQ(h.HasVolume(), layout.hasVolume);
        EXPECT_EQ(h.skippedRows, layout.skipped);
    }
}

TEST(HistoryCsv, RefusesAFileItCannotUseNamingTheLine)
{
    const auto bar = [](int i) { return Iso(i) + ",10,11,9,10.5,700"; };
    const std::string heading = "Date,Open,High,Low,Close,Volume";
    const std::pair<std::string, std::string> cases[] = {
        {Rows("When,Open,High,Low,Close", bar),
         ":1: no date column (a heading Date, or a date format such as \"%Y-%m-%d\")"},
        {Rows("Date,Open,High,Low,Last", bar), ":1: no Close column"},
        {Rows(heading, bar, 29), ":30: only 29 usable bars; at least 30 are needed"},
        {Rows(heading, [&](int i) { return i == 5 ? Iso(i) + ",10,11,0,10,700" : bar(i); }),
         ":7: the price '0' is not positive"},
        {Rows(heading, [&](int i) { return i == 5 ? Iso(3) + ",10,11,9,10,700" : bar(i); }),
         ":7: the date '2024-01-04' does not come after the row before"},
        {Rows(heading, [&](int i) { return i == 2 ? "2024-02-30,10,11,9,10,700" : bar(i); }),
         ":4: '2024-02-30' is not a date (yyyy-MM-dd or d/MM/yyyy)"},
        {Rows(heading, [&](int i) { return i == 2 ? Iso(i) + ",10,11,9,ten,700" : bar(i); }),
         ":4: 'ten' is not a number"},
        {Rows(heading, [&](int i) { return i == 2 ? Iso(i) + ",10,11,9,10,-1" : bar(i); }),
         ":4: the volume '-1' is negative"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        ScratchFolder folder;
        const std::string path = folder / "real.csv";
        testing::WriteFileBytes(path, text);
        EXPECT_ERROR_MESSAGE(ReadHistoryCsv(path, {}), path + message);
    }
    EXPECT_ERROR_MESSAGE(ReadHistoryCsv("/nonexistent/real.csv", {}),
                         "/nonexistent/real.csv: cannot be opened (No such file or directory)");
}

// Closes alternate 100, 200, 100, ... from Monday 2024-01-01 for 30 calendar days; high and low 2 % either side
// of the close; volumes 100, 200, ..., 3000. Worked by hand: 15 returns of +ln 2 and 14 of -ln 2.
TEST(HistoryReport, MatchesValuesWorkedByHand)
{
    ScratchFolder folder;
    const std::string path = folder / "alternating.csv";
    testing::WriteFileBytes(path, Rows("Date,Open,High,Low,Close,Volume", [](int i) {
                           const int c = i % 2 == 0 ? 100 : 200;
                           return Iso(i) + ",150," + std::to_string(c * 1.02) + "," + std::to_string(c * 0.98) + "," +
                                  std::to_string(c) + "," + std::to_string(100 * (i + 1));
                       }));
    const HistoryReport r = MakeReport(ReadHistoryCsv(path, {}));
    const double ln2 = std::log(2.0);
    const double pq = 15.0 * 14.0 / (29.0 * 29.0);
    EXPECT_EQ(r.bars, 30u);
    EXPECT_EQ(r.spanDays, 30.0);
    EXPECT_NEAR(r.meanReturn, ln2 / 29.0, 1e-12);
    EXPECT_NEAR(r.sdReturn, ln2 * std::sqrt(29.0 * (1.0 - 1.0 / 841.0) / 28.0), 1e-12);
    EXPECT_NEAR(r.barsPerYear, 365.0, 1e-9);
    EXPECT_NEAR(r.annualSd, r.sdReturn * std::sqrt(365.0), 1e-9);
    EXPECT_NEAR(r.skewness, (1.0 - 30.0 / 29.0) / std::sqrt(pq), 1e-9);
    EXPECT_NEAR(r.excessKurtosis, (1.0 - 6.0 * pq) / pq, 1e-9);
    EXPECT_NEAR(r.largestMove, ln2, 1e-12);
    EXPECT_EQ(r.largestMoveDate, EncodeDate({2024, 1, 2}));
    EXPECT_NEAR(r.maxDrawdown, 0.5, 1e-12);
    EXPECT_NEAR(r.averageRange, 0.04, 1e-12);
    for (const auto& [decile, volume] : {std::pair{0, 390.0}, {4, 1550.0}, {8, 2710.0}})
        EXPECT_NEAR(r.volumeDeciles[decile], volume, 1e-9) << decile;
    EXPECT_NEAR(r.weekendShare, 8.0 / 30.0, 1e-12);
}

}  // namespace
}  // namespace tickforge
