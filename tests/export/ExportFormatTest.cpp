#include "export/ExportFormat.h"
#include "export/ExportHistories.h"

#include "support/TestHelpers.h"

#include <gtest/gtest.h>

namespace {

using namespace tickforge;

TEST(ExportFormat, DefaultsAreTheDialogsStartingState)
{
    const ExportFormat f;
    EXPECT_FALSE(f.TickerColumn);
    EXPECT_TRUE(f.DateColumn);
    EXPECT_TRUE(f.OpenColumn);
    EXPECT_TRUE(f.HighColumn);
    EXPECT_TRUE(f.LowColumn);
    EXPECT_TRUE(f.CloseColumn);
    EXPECT_TRUE(f.VolumeColumn);
    EXPECT_EQ(f.TickerHeading, "TICKER");
    EXPECT_EQ(f.DateHeading, "DATE");
    EXPECT_EQ(f.OpenHeading, "OPEN");
    EXPECT_EQ(f.HighHeading, "HIGH");
    EXPECT_EQ(f.LowHeading, "LOW");
    EXPECT_EQ(f.CloseHeading, "CLOSE");
    EXPECT_EQ(f.VolumeHeading, "VOLUME");
    EXPECT_FALSE(f.WriteHeadings);
    EXPECT_TRUE(f.QuoteValues);
    EXPECT_EQ(f.Delimiter, ',');
    EXPECT_EQ(f.Precision, 5);
    EXPECT_FALSE(f.MultipleFiles);
}

TEST(ExampleLine, ListsTheIncludedColumnsInFileOrder)
{
    ExportFormat f;
    EXPECT_EQ(ExampleLine(f), "D,O,H,L,C,V");
    f.TickerColumn = true;
    EXPECT_EQ(ExampleLine(f), "T,D,O,H,L,C,V");
    f.DateColumn = false;
    f.HighColumn = false;
    EXPECT_EQ(ExampleLine(f), "T,O,L,C,V");
    f = ExportFormat{};
    f.DateColumn = false;
    f.OpenColumn = false;
    f.HighColumn = false;
    f.LowColumn = false;
    f.VolumeColumn = false;
    EXPECT_EQ(ExampleLine(f), "C");
    f.CloseColumn = false;
    EXPECT_EQ(ExampleLine(f), "");
}

TEST(ExampleLine, IgnoresDelimiterQuotingHeadingsAndPrecision)
{
    ExportFormat f;
    f.Delimiter = '\t';
    f.QuoteValues = false;
    f.WriteHeadings = true;
    f.Precision = 9;
    f.OpenHeading = "";
    EXPECT_EQ(ExampleLine(f), "D,O,H,L,C,V");
}

TEST(CheckValueColumns, RefusesAFormatWithoutAValueColumn)
{
    ExportFormat f;
    f.TickerColumn = true;
    f.OpenColumn = f.HighColumn = f.LowColumn = f.CloseColumn = f.VolumeColumn = false;
    EXPECT_FALSE(HasValueColumn(f));  // ticker and date alone do not count
    try {
        CheckValueColumns(f);
        ADD_FAILURE() << "no error raised";
    } catch (const ExportError& e) {
        EXPECT_STREQ(e.what(), "At least one value column must be selected");
        EXPECT_EQ(e.Title(), "Illegal column selection");
    }
}

TEST(CheckValueColumns, AcceptsAnySingleValueColumn)
{
    bool ExportFormat::*columns[] = {&ExportFormat::OpenColumn, &ExportFormat::HighColumn, &ExportFormat::LowColumn,
                                     &ExportFormat::CloseColumn, &ExportFormat::VolumeColumn};
    for (auto column : columns) {
        ExportFormat f;
        f.DateColumn = false;
        f.OpenColumn = f.HighColumn = f.LowColumn = f.CloseColumn = f.VolumeColumn = false;
        f.*column = true;
        EXPECT_TRUE(HasValueColumn(f));
        EXPECT_NO_THROW(CheckValueColumns(f));
    }
}

}  // namespace
