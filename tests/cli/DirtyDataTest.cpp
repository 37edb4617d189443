// Dirty data: the spoiled working copy is written instead of the clean bars, and the
// labels file names every corruption, so cleaning code can be scored against it.

#include "CliRunner.h"

#include <set>

namespace tickforge::clitest {
namespace {

using DirtyData = CliTest;

TEST_F(DirtyData, EveryChangedFieldHasItsLabelAndEveryLabelIsTrue)
{
    const Args base = {"--days", "150", "--ticks-per-day", "40", "--price", "3000", "--rng-seed", "3",
                       "--count", "2", "--columns", "TDOHLCV", "--start", "2024-01-01"};
    const std::string heading = R"("MEMBER","BAR","DATE","KIND","FIELD","BEFORE","AFTER")";
    folder.Ok(With(base, {"-o", "clean.csv"}));
    // Without a share of bad ticks the clean bars are written, and no label.
    folder.Ok(With(base, {"--dirty", "0", "--dirty-labels", "none.csv", "-o", "zero.csv"}));
    EXPECT_EQ(folder.Read("zero.csv"), folder.Read("clean.csv"));
    EXPECT_EQ(folder.ReadLines("none.csv"), Texts{heading});

    folder.Ok(With(base, {"--dirty", "40", "--dirty-labels", "labels.csv", "-o", "dirty.csv"}));
    const Texts clean = folder.ReadLines("clean.csv"), dirty = folder.ReadLines("dirty.csv");
    const Texts labels = folder.ReadLines("labels.csv");
    ASSERT_TRUE(clean.size() == 300 && dirty.size() == 300);
    const Texts columns = Fields(R"("TICKER","DATE","OPEN","HIGH","LOW","CLOSE","VOLUME")");
    std::set<std::pair<std::size_t, std::size_t>> labelled;  // (line, column)
    std::set<std::string> members;
    for (std::size_t i = 1; i < labels.size(); ++i) {
        SCOPED_TRACE(labels[i]);
        const Texts label = Fields(labels[i]);
        const std::size_t line = (std::stoul(Cell(labels[i], 0)) - 1) * 150 + std::stoul(Cell(labels[i], 1));
        ASSERT_TRUE(label.size() == 7 && line < clean.size());
        const std::size_t column = std::find(columns.begin(), columns.end(), label[4]) - columns.begin();
        ASSERT_LT(column, columns.size());
        EXPECT_EQ(label[2], Fields(clean[line])[1]);  // the bar's date
        EXPECT_EQ(label[5], Fields(clean[line])[column]);
        EXPECT_EQ(label[6], Fields(dirty[line])[column]);
        labelled.insert({line, column});
        members.insert(label[0]);
    }
    EXPECT_EQ(members, (std::set<std::string>{"\"1\"", "\"2\""}));
    for (std::size_t line = 0; line < dirty.size(); ++line)
        for (std::size_t column = 0; column < columns.size(); ++column)
            EXPECT_TRUE(Fields(clean[line])[column] == Fields(dirty[line])[column] || labelled.count({line, column}))
                << "line " << line << " column " << column;
}

}  // namespace
}  // namespace tickforge::clitest
