// Dirty data: the spoiled working copy is written instead of the clean bars, and the
// labels file names every corruption, so cleaning code can be scored against it.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tickforge::clitest {
namespace {

const std::vector<std::string> Base = {"--days", "150", "--ticks-per-day", "40", "--price", "3000", "--rng-seed", "3",
                                       "--count", "2", "--columns", "TDOHLCV"};

std::vector<std::string> With(const std::vector<std::string>& more)
{
    std::vector<std::string> args = Base;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// Column index of each field name in a line of TDOHLCV.
const std::map<std::string, std::size_t> Column = {{"OPEN", 2}, {"HIGH", 3}, {"LOW", 4}, {"CLOSE", 5}, {"VOLUME", 6}};

TEST(DirtyData, EveryChangedFieldHasItsLabelAndEveryLabelIsTrue)
{
    CliFolder folder;
    ASSERT_EQ(folder.Run(With({"-o", "clean.csv"})).exitCode, 0);
    const RunResult dirty = folder.Run(With({"--dirty", "40", "--dirty-labels", "labels.csv", "-o", "dirty.csv"}));
    ASSERT_EQ(dirty.exitCode, 0) << dirty.err;

    const auto clean = Lines(folder.Read("clean.csv"));
    const auto spoiled = Lines(folder.Read("dirty.csv"));
    ASSERT_EQ(clean.size(), 300u);
    ASSERT_EQ(spoiled.size(), clean.size());
    const auto labels = Lines(folder.Read("labels.csv"));
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels[0], R"("MEMBER","BAR","DATE","KIND","FIELD","BEFORE","AFTER")");

    // Field (line, column) -> the label's before and after texts.
    std::map<std::pair<std::size_t, std::size_t>, std::pair<std::string, std::string>> labelled;
    std::set<int> kindsSeen;
    std::set<int> membersSeen;
    for (std::size_t i = 1; i < labels.size(); ++i) {
        const auto f = Fields(labels[i]);
        ASSERT_EQ(f.size(), 7u) << labels[i];
        const int member = std::stoi(Unquote(f[0]));
        const std::size_t bar = std::stoul(Unquote(f[1]));
        const int kind = std::stoi(Unquote(f[3]));
        const std::string field = Unquote(f[4]);
        membersSeen.insert(member);
        kindsSeen.insert(kind);
        ASSERT_GE(kind, 1);
        ASSERT_LE(kind, 6);
        const std::size_t line = static_cast<std::size_t>(member - 1) * 150 + bar;
        ASSERT_LT(line, clean.size());
        const auto cleanFields = Fields(clean[line]);
        const auto dirtyFields = Fields(spoiled[line]);
        EXPECT_EQ(f[2], cleanFields[1]) << "date of " << labels[i];

        // The kind says which field changed and where its new value came from.
        static const std::map<int, std::pair<std::string, std::string>> effect = {
            {1, {"OPEN", "CLOSE"}}, {2, {"CLOSE", "OPEN"}}, {3, {"HIGH", "LOW"}},
            {4, {"LOW", "HIGH"}},   {5, {"VOLUME", ""}},   {6, {"VOLUME", ""}}};
        EXPECT_EQ(field, effect.at(kind).first) << labels[i];
        const std::size_t column = Column.at(field);
        EXPECT_EQ(f[5], cleanFields[column]) << labels[i];
        EXPECT_EQ(f[6], dirtyFields[column]) << labels[i];
        if (kind <= 4) {
            EXPECT_EQ(f[6], cleanFields[Column.at(effect.at(kind).second)]) << labels[i];
        } else if (kind == 5) {
            EXPECT_EQ(Unquote(f[6]), "0");
        } else {  // a tenth, truncated as volumes are
            EXPECT_EQ(std::stoll(Unquote(f[6])), std::stoll(Unquote(f[5])) / 10) << labels[i];
        }
        labelled[{line, column}] = {f[5], f[6]};
    }
    EXPECT_EQ(membersSeen, (std::set<int>{1, 2}));
    EXPECT_EQ(kindsSeen.size(), 6u);

    // Every field that differs between the files is labelled.
    std::size_t changed = 0;
    for (std::size_t line = 0; line < clean.size(); ++line) {
        const auto a = Fields(clean[line]);
        const auto b = Fields(spoiled[line]);
        ASSERT_EQ(a.size(), b.size());
        EXPECT_EQ(a[0], b[0]);
        EXPECT_EQ(a[1], b[1]);
        for (std::size_t column = 2; column < a.size(); ++column)
            if (a[column] != b[column]) {
                ++changed;
                EXPECT_TRUE(labelled.count({line, column}) == 1) << "line " << line << " column " << column;
            }
    }
    // About 40 % of the bars are picked and six kinds in seven change something.
    EXPECT_GT(changed, 60u);
    EXPECT_LT(changed, 200u);
}

TEST(DirtyData, NoPercentageMeansNoLabelsButTheHeadingAndTheCleanBars)
{
    CliFolder folder;
    ASSERT_EQ(folder.Run(With({"-o", "clean.csv"})).exitCode, 0);
    ASSERT_EQ(folder.Run(With({"--dirty", "0", "--dirty-labels", "labels.csv", "-o", "dirty.csv"})).exitCode, 0);
    EXPECT_EQ(folder.Read("dirty.csv"), folder.Read("clean.csv"));
    EXPECT_EQ(Lines(folder.Read("labels.csv")).size(), 1u);
}

TEST(DirtyData, WithoutDirtyTheCleanBarsAreWrittenEvenWhenTheSettingsSwitchItOn)
{
    // "Dirtydata" is stored, the dirty data switch is not: a settings file cannot turn it on.
    CliFolder folder;
    WriteBytes(folder / "saved.ini", "[Generator]\nDirtydata=100\n");
    ASSERT_EQ(folder.Run(With({"-o", "clean.csv"})).exitCode, 0);
    ASSERT_EQ(folder.Run(With({"--settings", "saved.ini", "-o", "restored.csv"})).exitCode, 0);
    EXPECT_EQ(folder.Read("restored.csv"), folder.Read("clean.csv"));
}

}  // namespace
}  // namespace tickforge::clitest
