#include "export/ExportFormat.h"
#include "export/ExportHistories.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace tickforge;

TEST(ExportFormat, DefaultsAreTheDialogsStartingState)
{
    const ExportFormat f;
    EXPECT_EQ(ColumnLetters(f), "DOHLCV");
    EXPECT_EQ(std::vector<std::string>(f.Headings.begin(), f.Headings.end()),
              (std::vector<std::string>{"TICKER", "DATE", "OPEN", "HIGH", "LOW", "CLOSE", "VOLUME"}));
    EXPECT_FALSE(f.WriteHeadings);
    EXPECT_TRUE(f.QuoteValues);
    EXPECT_EQ(f.Delimiter, ',');
    EXPECT_EQ(f.Precision, 5);
    EXPECT_FALSE(f.MultipleFiles);
}

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

TEST(CheckValueColumns, RefusesAFormatWithoutAValueColumnAndAcceptsAnyOne)
{
    const ExportFormat none = WithColumns("TD");  // ticker and date alone do not count
    EXPECT_FALSE(HasValueColumn(none));
    try {
        CheckValueColumns(none);
        ADD_FAILURE() << "no error raised";
    } catch (const ExportError& e) {
        EXPECT_STREQ(e.what(), "At least one value column must be selected");
        EXPECT_EQ(e.Title(), "Illegal column selection");
    }
    for (const char* one : {"O", "H", "L", "C", "V"}) {
        EXPECT_TRUE(HasValueColumn(WithColumns(one))) << one;
        EXPECT_NO_THROW(CheckValueColumns(WithColumns(one)));
    }
}

}  // namespace
