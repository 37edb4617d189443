#include "export/ExportFormat.h"
#include "export/ExportHistories.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using namespace tickforge;

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

TEST(ColumnOfSeries, IsTheValueColumnThatWritesTheSeries)
{
    for (const std::int32_t series : {SeriesOpen, SeriesHigh, SeriesLow, SeriesClose, SeriesVolume})
        EXPECT_EQ(ColumnOfSeries(series).Series, series);
}

TEST(CheckValueColumns, RefusesAFormatWithoutAValueColumnAndAcceptsAnyOne)
{
    // Ticker and date alone do not count. The window tests show the message and title.
    EXPECT_FALSE(HasValueColumn(WithColumns("TD")));
    EXPECT_THROW(CheckValueColumns(WithColumns("TD")), ExportError);
    for (const char* one : {"O", "H", "L", "C", "V"}) {
        EXPECT_TRUE(HasValueColumn(WithColumns(one))) << one;
        EXPECT_NO_THROW(CheckValueColumns(WithColumns(one)));
    }
}

}  // namespace
