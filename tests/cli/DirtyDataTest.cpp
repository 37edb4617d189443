// Dirty data: the spoiled working copy is written instead of the clean bars, and the
// labels file names every corruption, so cleaning code can be scored against it.

#include "CliRunner.h"

#include <map>
#include <set>

namespace tickforge::clitest {
namespace {

using DirtyData = CliTest;

const Args Base = {"--days", "150", "--ticks-per-day", "40", "--price", "3000", "--rng-seed", "3",
                   "--count", "2", "--columns", "TDOHLCV", "--start", "2024-01-01"};

const char* const Heading[] = {"TICKER", "DATE", "OPEN", "HIGH", "LOW", "CLOSE", "VOLUME"};
// Each kind's column, and the column whose value it takes (kinds 1 to 4).
const std::map<int, std::pair<std::size_t, std::size_t>> Effect = {{1, {2, 5}}, {2, {5, 2}}, {3, {3, 4}},
                                                                     {4, {4, 3}}, {5, {6, 0}}, {6, {6, 0}}};
const std::string LabelHeading = R"("MEMBER","BAR","DATE","KIND","FIELD","BEFORE","AFTER")";

TEST_F(DirtyData, EveryChangedFieldHasItsLabelAndEveryLabelIsTrue)
{
    folder.Ok(With(Base, {"-o", "clean.csv"}));
    folder.Ok(With(Base, {"--dirty", "40", "--dirty-labels", "labels.csv", "-o", "dirty.csv"}));
    const Texts clean = folder.ReadLines("clean.csv");
    const Texts dirty = folder.ReadLines("dirty.csv");
    const Texts labels = folder.ReadLines("labels.csv");
    ASSERT_EQ(clean.size(), 300u);
    ASSERT_EQ(dirty.size(), clean.size());
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels[0], LabelHeading);

    std::set<std::pair<std::size_t, std::size_t>> labelled;  // (line, column)
    std::set<int> members, kinds;
    for (std::size_t i = 1; i < labels.size(); ++i) {
        SCOPED_TRACE(labels[i]);
        const Texts label = Fields(labels[i]);
        ASSERT_EQ(label.size(), 7u);
        const int member = std::stoi(Unquote(label[0]));
        const int kind = std::stoi(Unquote(label[3]));
        const std::size_t line = static_cast<std::size_t>(member - 1) * 150 + std::stoul(Unquote(label[1]));
        ASSERT_EQ(Effect.count(kind), 1u);
        ASSERT_LT(line, clean.size());
        const auto [column, source] = Effect.at(kind);
        const Texts before = Fields(clean[line]);
        EXPECT_EQ(label[2], before[1]);  // the bar's date
        EXPECT_EQ(Unquote(label[4]), Heading[column]);
        EXPECT_EQ(label[5], before[column]);
        EXPECT_EQ(label[6], Fields(dirty[line])[column]);
        // The new value: another field of the bar, no volume, or a tenth cut as volumes are.
        if (kind <= 4)
            EXPECT_EQ(label[6], before[source]);
        else
            EXPECT_EQ(std::stoll(Unquote(label[6])), kind == 5 ? 0 : std::stoll(Unquote(label[5])) / 10);
        labelled.insert({line, column});
        members.insert(member);
        kinds.insert(kind);
    }
    EXPECT_EQ(members, (std::set<int>{1, 2}));
    EXPECT_EQ(kinds.size(), 6u);

    std::size_t changed = 0;
    for (std::size_t line = 0; line < clean.size(); ++line) {
        const Texts a = Fields(clean[line]);
        const Texts b = Fields(dirty[line]);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t column = 0; column < a.size(); ++column)
            if (a[column] != b[column]) {
                ++changed;
                EXPECT_EQ(labelled.count({line, column}), 1u) << "line " << line << " column " << column;
            }
    }
    // About 40 % of the bars are picked and six kinds in seven change something.
    EXPECT_GT(changed, 60u);
    EXPECT_LT(changed, 200u);
}

TEST_F(DirtyData, WithoutAShareOfBadTicksTheCleanBarsAreWritten)
{
    // "Dirtydata" is stored, the dirty data switch is not: a settings file cannot turn it on.
    WriteFileBytes(folder / "saved.ini", "[Generator]\nDirtydata=100\n");
    folder.Ok(With(Base, {"-o", "clean.csv"}));
    folder.Ok(With(Base, {"--settings", "saved.ini", "-o", "restored.csv"}));
    folder.Ok(With(Base, {"--dirty", "0", "--dirty-labels", "labels.csv", "-o", "none.csv"}));
    EXPECT_EQ(folder.Read("restored.csv"), folder.Read("clean.csv"));
    EXPECT_EQ(folder.Read("none.csv"), folder.Read("clean.csv"));
    EXPECT_EQ(folder.ReadLines("labels.csv"), Texts{LabelHeading});
}

}  // namespace
}  // namespace tickforge::clitest
