#include "settings/Settings.h"

#include "generation/PanelRecord.h"
#include "support/ScratchFolder.h"
#include "support/ScopedChange.h"
#include "support/TestHelpers.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tickforge;
using namespace tickforge::testing;
namespace fs = std::filesystem;

namespace {

constexpr double Now = 45352.4375;

// The main window's creation: dates set, then the settings file restored.
PanelRecord StartedPanel(const std::string& fileName)
{
    PanelRecord panel = PanelRecord::AtCreation({}, [] { return Now; });
    RestoreSettings(panel, fileName);
    return panel;
}

// What an exit right after a first start writes: all 28 keys in table order with their
// defaults (RandomPeriodMin follows Length; Soft and Candle win their pairs).
const std::string FirstStartFile =
    "[Generator]\nSeed=3000\nRandomSeed=0\nSeedMin=2000\nSeedMax=4000\nLength=180\nTicksPerDay=1000\n"
    "RandomPeriodMin=180\nRandomPeriod=0\nWeekends=1\nMin=0\nMax=0\nMinPrice=2000\nMaxPrice=4000\nMinVolume=100\n"
    "MaxVolume=4000\nHard=0\nSoft=1\nTickSize=\nVolatility=1\nSecurityName=AOI\nBar=0\nCandle=1\nDirtydata=1\n"
    "ActiveBias=0\nActiveShock=0\nBias=5\nShockFreq=100\nShockMag=3\n";

TEST(SettingsFirstStart, PanelShowsTheTablesDefaultsAndTheExitWritesThemIntoTheSettingsFolder)
{
    ScratchFolder config, current;
    const Undo xdg = SetEnvironment("XDG_CONFIG_HOME", config / "deeper");
    const Undo cd = ChangeCurrentFolder(current.Path());
    WriteFileBytes(current / "TKF.ini", "[Generator]\nSeed=1\n");
    const PanelRecord panel = StartedPanel("TKF.ini");
    EXPECT_EQ(panel.Text("ebSeed"), "3000");  // a file beside us is ignored
    EXPECT_FALSE(fs::exists(config / "deeper"));  // restoring creates nothing
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Now + 180);
    EXPECT_EQ(panel.beepCount, 0);

    SaveSettings(panel, "TKF.ini");  // the first save makes the folder
    EXPECT_EQ(ReadFileBytes(config / "deeper/tickforge/TKF.ini"), FirstStartFile);
    EXPECT_EQ(ReadFileBytes(current / "TKF.ini"), "[Generator]\nSeed=1\n");
    // The command line's help names the same defaults; a control without a key has none.
    EXPECT_EQ(FirstStartText(PanelControl::ebSeedMax) + FirstStartText(PanelControl::ebMultiples), "4000");
}

TEST(SettingsRoundTrip, EveryKeyComesBackAsItStoodAndReplacesItsLineInAHandWrittenFile)
{
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    WriteFileBytes(path, "; by hand\r\n[Window]\r\nLeft=10\r\n\r\n[generator]\r\nShockMag=9\r\nColour=green\r\nSEED=1\r\n");
    PanelRecord edited = StartedPanel(path);
    EXPECT_EQ(edited.Text("ebSeed") + edited.Text("ebShockMag"), "19");  // names match whatever their case
    edited.SetChecked("cbSeedRandom", true);
    const std::pair<const char*, const char*> texts[] = {
        {"ebSeed", " 2500,5 "}, {"ebSeedMin", "10"}, {"ebSeedMax", "20"}, {"ebLength", "400"},
        {"ebTicksPerDay", "50"}, {"ebRandomPeriodMin", "33"}, {"ebMinPrice", "0.5"}, {"ebMaxPrice", "9000"},
        {"ebMinVolume", "7"}, {"ebMaxVolume", "8"}, {"ebTickSize", "0.01"}, {"ebVolatility", "2.5"},
        {"ebSecurityName", "\"BHP\" Ltd = big"}, {"ebDirtydata", "12"}, {"ebBias", "-3"}, {"ebShockFreq", "25"},
        {"ebShockMag", "4"}};
    for (const auto& [control, text] : texts)
        edited.SetText(control, text);
    for (const char* box : {"cbRandomPeriod", "cbMin", "cbMax", "rbHard", "cbActiveBias", "cbActiveShock", "rbBar"})
        edited.SetChecked(box, true);
    edited.SetChecked("cbWeekends", false);
    SaveSettings(edited, path);
    // Known keys are replaced where they stand, unknown lines stay, the other keys follow; a value with padding is quoted.
    const std::string head =
        "; by hand\n[Window]\nLeft=10\n\n[generator]\nShockMag=4\nColour=green\nSeed=\" 2500,5 \"\nRandomSeed=1\n";
    EXPECT_EQ(ReadFileBytes(path).substr(0, head.size()), head);

    const PanelRecord restored = StartedPanel(path);
    for (const auto& setting : SettingsKeys) {
        if (setting.kind == SettingKind::Flag)
            EXPECT_EQ(restored.Checked(setting.control), edited.Checked(setting.control)) << setting.key;
        else
            EXPECT_EQ(restored.Text(setting.control), edited.Text(setting.control)) << setting.key;
    }
    EXPECT_DOUBLE_EQ(restored.Date("EndDate"), Now + 400);
    EXPECT_EQ(restored.beepCount, 0);
}

TEST(SettingsRestore, ValuesAreAppliedKeyByKeyThroughThePanelsRules)
{
    const struct {
        const char* what;
        std::string file;  // the lines of section Generator
        std::vector<std::pair<const char*, std::string>> texts;
        std::vector<std::pair<const char*, bool>> checks, enabled{};
        int beeps = 0;
    } cases[] = {
        {"a stored zero", "Weekends=0\n", {}, {{"cbWeekends", false}}},
        {"an empty text is restored, an empty flag takes its default", "Seed=\nWeekends=\n", {{"ebSeed", ""}},
         {{"cbWeekends", true}}},
        // Each text goes through its field's rule: a missing minimum follows the length, which is repaired first.
        {"a bad length", "Length=abc\nSeed=abc\n", {{"ebLength", "1"}, {"ebRandomPeriodMin", "1"}, {"ebSeed", "abc"}},
         {}, {}, 1},
        // Bounds are applied after the fixed price box. A hand-edited file can store a bound
        // with a random price: the box's rule has locked it before the bound is applied.
        {"bounds with a fixed price", "RandomSeed=1\nMin=1\nMax=1\n", {}, {{"cbMin", true}, {"cbMax", true}},
         {{"ebMinPrice", true}, {"ebMaxPrice", true}}},
        {"a bound with a random price", "RandomSeed=0\nMin=1\n", {}, {{"cbMin", true}},
         {{"cbMin", false}, {"ebMinPrice", true}}},
        // The second key of a radio pair decides when both are set, a cleared one changes
        // nothing; a pair may end with neither selected.
        {"first radio key set, both keys set", "Hard=1\nSoft=0\nBar=1\nCandle=1\n", {},
         {{"rbHard", true}, {"rbSoft", false}, {"rbBar", false}, {"rbCandle", true}}},
        {"no radio key set", "Hard=0\nSoft=0\nBar=0\nCandle=0\n", {},
         {{"rbHard", false}, {"rbSoft", false}, {"rbBar", false}, {"rbCandle", false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        WriteFileBytes(folder / "TKF.ini", "[Generator]\n" + c.file);
        const PanelRecord panel = StartedPanel(folder / "TKF.ini");
        for (const auto& [control, text] : c.texts)
            EXPECT_EQ(panel.Text(control), text) << control;
        for (const auto& [control, checked] : c.checks)
            EXPECT_EQ(panel.Checked(control), checked) << control;
        for (const auto& [control, enabled] : c.enabled)
            EXPECT_EQ(panel.Enabled(control), enabled) << control;
        EXPECT_EQ(panel.beepCount, c.beeps);
    }
}

TEST(SettingsSaveFailure, AFileThatCouldNotBeReadIsNotOverwritten)
{
    // A pipe in the file's place cannot be read, even by the superuser, but takes writes
    // once a reader waits: the save must refuse rather than write the keys into it.
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_ERROR_MESSAGE(SaveSettings(StartedPanel(path), path), "Unable to write to " + path);
    char byte = 0;
    EXPECT_EQ(::read(reader, &byte, 1), 0);  // nothing arrived, and no writer is left
    ::close(reader);
}

}  // namespace
