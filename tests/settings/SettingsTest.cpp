#include "settings/Settings.h"

#include "generation/PanelRecord.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchFolder.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using tickforge::ChartStyle;
using tickforge::PanelRecord;
using tickforge::RestoreSettings;
using tickforge::SaveSettings;
using tickforge::SettingsKeys;
using tickforge::testing::CurrentFolderOverride;
using tickforge::testing::EnvironmentOverride;
using tickforge::testing::FileSizeLimit;
using tickforge::testing::ReadFileBytes;
using tickforge::testing::ScratchFolder;
using tickforge::testing::WriteFileBytes;

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

// The file that an exit right after a first start writes, key for key from the table
// of defaults (RandomPeriodMin follows Length; Soft and Candle win their pairs).
const std::string FirstStartFile =
    "[Generator]\n"
    "Seed=3000\n"
    "RandomSeed=0\n"
    "SeedMin=2000\n"
    "SeedMax=4000\n"
    "Length=180\n"
    "TicksPerDay=1000\n"
    "RandomPeriodMin=180\n"
    "RandomPeriod=0\n"
    "Weekends=1\n"
    "Min=0\n"
    "Max=0\n"
    "MinPrice=2000\n"
    "MaxPrice=4000\n"
    "MinVolume=100\n"
    "MaxVolume=4000\n"
    "Hard=0\n"
    "Soft=1\n"
    "TickSize=\n"
    "Volatility=1\n"
    "SecurityName=AOI\n"
    "Bar=0\n"
    "Candle=1\n"
    "Dirtydata=1\n"
    "ActiveBias=0\n"
    "ActiveShock=0\n"
    "Bias=5\n"
    "ShockFreq=100\n"
    "ShockMag=3\n";

// ---- The table ----

TEST(SettingsTable, HoldsTheTwentyEightKeysInOrderEachForItsOwnControl)
{
    const char* keys[] = {"Seed",       "RandomSeed", "SeedMin",   "SeedMax",  "Length",       "TicksPerDay", "RandomPeriodMin",
                          "RandomPeriod", "Weekends", "Min",       "Max",      "MinPrice",     "MaxPrice",    "MinVolume",
                          "MaxVolume",  "Hard",       "Soft",      "TickSize", "Volatility",   "SecurityName", "Bar",
                          "Candle",     "Dirtydata",  "ActiveBias", "ActiveShock", "Bias",     "ShockFreq",   "ShockMag"};
    ASSERT_EQ(SettingsKeys.size(), 28u);
    for (std::size_t i = 0; i < SettingsKeys.size(); ++i) {
        EXPECT_EQ(SettingsKeys[i].key, keys[i]) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(SettingsKeys[i].control, SettingsKeys[j].control) << i;
    }
    EXPECT_EQ(std::string(tickforge::SettingsFileName), "TKF.ini");
    EXPECT_EQ(std::string(tickforge::SettingsSection), "Generator");
}

TEST(SettingsTable, EveryControlExistsOnThePanelWithItsKind)
{
    PanelRecord panel;
    for (const auto& setting : SettingsKeys) {
        if (setting.kind == tickforge::SettingKind::Flag)
            EXPECT_NO_THROW((void)panel.Checked(setting.control)) << setting.key;
        else
            EXPECT_NO_THROW((void)panel.Text(setting.control)) << setting.key;
    }
}

// ---- First start ----

TEST(SettingsFirstStart, PanelShowsTheDefaultsOfTheTable)
{
    ScratchFolder folder;
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(panel.Text("ebSeed"), "3000");
    EXPECT_EQ(panel.Text("ebSeedMin"), "2000");
    EXPECT_EQ(panel.Text("ebSeedMax"), "4000");
    EXPECT_EQ(panel.Text("ebLength"), "180");
    EXPECT_EQ(panel.Text("ebTicksPerDay"), "1000");
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "180");
    EXPECT_EQ(panel.Text("ebMinPrice"), "2000");
    EXPECT_EQ(panel.Text("ebMaxPrice"), "4000");
    EXPECT_EQ(panel.Text("ebMinVolume"), "100");
    EXPECT_EQ(panel.Text("ebMaxVolume"), "4000");
    EXPECT_EQ(panel.Text("ebTickSize"), "");
    EXPECT_EQ(panel.Text("ebVolatility"), "1");
    EXPECT_EQ(panel.Text("ebSecurityName"), "AOI");
    EXPECT_EQ(panel.Text("ebDirtydata"), "1");
    EXPECT_EQ(panel.Text("ebBias"), "5");
    EXPECT_EQ(panel.Text("ebShockFreq"), "100");
    EXPECT_EQ(panel.Text("ebShockMag"), "3");
    EXPECT_TRUE(panel.Checked("cbWeekends"));
    EXPECT_FALSE(panel.Checked("cbRandomPeriod"));
    EXPECT_FALSE(panel.Checked("cbActiveBias"));
    EXPECT_FALSE(panel.Checked("cbActiveShock"));
    EXPECT_EQ(panel.beepCount, 0);
    // Not kept in the file: as designed.
    EXPECT_EQ(panel.Text("ebMultiples"), "10");
    EXPECT_TRUE(panel.Checked("cbColor"));
    EXPECT_FALSE(panel.Checked("cbDirtyDataActive"));
    // The restore creates no file.
    EXPECT_FALSE(fs::exists(folder / "TKF.ini"));
}

TEST(SettingsFirstStart, SoftAndCandleAreSelectedAndTheChartDrawsCandles)
{
    ScratchFolder folder;
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_TRUE(panel.Checked("rbSoft"));
    EXPECT_FALSE(panel.Checked("rbHard"));
    EXPECT_TRUE(panel.Checked("rbCandle"));
    EXPECT_FALSE(panel.Checked("rbBar"));
    EXPECT_EQ(panel.chartStyle, ChartStyle::Candlestick);
    EXPECT_EQ(panel.candleWidth, 4);
}

TEST(SettingsFirstStart, RandomStartingPriceLocksTheBounds)
{
    ScratchFolder folder;
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_FALSE(panel.Checked("cbSeedRandom"));
    EXPECT_FALSE(panel.Enabled("ebSeed"));
    EXPECT_TRUE(panel.Enabled("ebSeedMin"));
    EXPECT_TRUE(panel.Enabled("ebSeedMax"));
    EXPECT_FALSE(panel.Checked("cbMin"));
    EXPECT_FALSE(panel.Checked("cbMax"));
    EXPECT_FALSE(panel.Enabled("cbMin"));
    EXPECT_FALSE(panel.Enabled("cbMax"));
    EXPECT_FALSE(panel.Enabled("ebMinPrice"));
    EXPECT_FALSE(panel.Enabled("ebMaxPrice"));
    EXPECT_FALSE(panel.Enabled("ebRandomPeriodMin"));
}

TEST(SettingsFirstStart, EndDateIsTheStartPlusTheLength)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nLength=30\n");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_DOUBLE_EQ(panel.Date("StartDate"), Now);
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Now + 30);
}

TEST(SettingsFirstStart, ExitWritesAllKeysInTableOrder)
{
    ScratchFolder folder;
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    SaveSettings(panel, folder / "TKF.ini");
    EXPECT_EQ(ReadFileBytes(folder / "TKF.ini"), FirstStartFile);
}

// ---- Saving and restoring ----

TEST(SettingsRoundTrip, EveryKeyComesBackIntoItsControl)
{
    ScratchFolder folder;
    PanelRecord edited = StartedPanel(folder / "TKF.ini");
    edited.SetChecked("cbSeedRandom", true);
    edited.SetText("ebSeed", " 2500,5 ");
    edited.SetText("ebSeedMin", "10");
    edited.SetText("ebSeedMax", "20");
    edited.SetText("ebLength", "400");
    edited.SetText("ebTicksPerDay", "50");
    edited.SetText("ebRandomPeriodMin", "33");
    edited.SetChecked("cbRandomPeriod", true);
    edited.SetChecked("cbWeekends", false);
    edited.SetChecked("cbMin", true);
    edited.SetChecked("cbMax", true);
    edited.SetText("ebMinPrice", "0.5");
    edited.SetText("ebMaxPrice", "9000");
    edited.SetText("ebMinVolume", "7");
    edited.SetText("ebMaxVolume", "8");
    edited.SetChecked("rbHard", true);
    edited.SetText("ebTickSize", "0.01");
    edited.SetText("ebVolatility", "2.5");
    edited.SetText("ebSecurityName", "\"BHP\" Ltd = big");
    edited.SetText("ebDirtydata", "12");
    edited.SetChecked("cbActiveBias", true);
    edited.SetChecked("cbActiveShock", true);
    edited.SetText("ebBias", "-3");
    edited.SetText("ebShockFreq", "25");
    edited.SetText("ebShockMag", "4");
    edited.SetChecked("rbBar", true);
    SaveSettings(edited, folder / "TKF.ini");

    const PanelRecord restored = StartedPanel(folder / "TKF.ini");
    for (const auto& setting : SettingsKeys) {
        if (setting.kind == tickforge::SettingKind::Flag)
            EXPECT_EQ(restored.Checked(setting.control), edited.Checked(setting.control)) << setting.key;
        else
            EXPECT_EQ(restored.Text(setting.control), edited.Text(setting.control)) << setting.key;
    }
    // The enabled states follow from the restored boxes through their rules.
    EXPECT_TRUE(restored.Enabled("ebSeed"));
    EXPECT_TRUE(restored.Enabled("ebMinPrice"));
    EXPECT_TRUE(restored.Enabled("ebMaxPrice"));
    EXPECT_TRUE(restored.Enabled("ebRandomPeriodMin"));
    EXPECT_DOUBLE_EQ(restored.Date("EndDate"), Now + 400);
    EXPECT_EQ(restored.beepCount, 0);
}

TEST(SettingsRoundTrip, SavingWritesTextsAsTheyStandWithoutValidation)
{
    ScratchFolder folder;
    PanelRecord panel = StartedPanel(folder / "TKF.ini");
    panel.SetText("ebSeed", "abc");
    panel.SetText("ebVolatility", "");
    SaveSettings(panel, folder / "TKF.ini");
    const std::string file = ReadFileBytes(folder / "TKF.ini");
    EXPECT_NE(file.find("\nSeed=abc\n"), std::string::npos);
    EXPECT_NE(file.find("\nVolatility=\n"), std::string::npos);
    const PanelRecord restored = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(restored.Text("ebSeed"), "abc");
    EXPECT_EQ(restored.Text("ebVolatility"), "");
}

TEST(SettingsRoundTrip, UnknownLinesStayWhereTheyAre)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini",
                   "; written by hand\r\n"
                   "[Window]\r\n"
                   "Left=10\r\n"
                   "\r\n"
                   "[generator]\r\n"
                   "ShockMag=9\r\n"
                   "Colour=green\r\n"
                   "SEED=1234\r\n");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(panel.Text("ebSeed"), "1234");
    EXPECT_EQ(panel.Text("ebShockMag"), "9");
    SaveSettings(panel, folder / "TKF.ini");

    // The two known keys are replaced where they stand; the rest follow in table order.
    std::string expected = "; written by hand\n[Window]\nLeft=10\n\n[generator]\nShockMag=9\nColour=green\nSeed=1234\n";
    for (const std::string line : {"RandomSeed=0", "SeedMin=2000", "SeedMax=4000", "Length=180", "TicksPerDay=1000",
                                   "RandomPeriodMin=180", "RandomPeriod=0", "Weekends=1", "Min=0", "Max=0",
                                   "MinPrice=2000", "MaxPrice=4000", "MinVolume=100", "MaxVolume=4000", "Hard=0",
                                   "Soft=1", "TickSize=", "Volatility=1", "SecurityName=AOI", "Bar=0", "Candle=1",
                                   "Dirtydata=1", "ActiveBias=0", "ActiveShock=0", "Bias=5", "ShockFreq=100"})
        expected += line + "\n";
    EXPECT_EQ(ReadFileBytes(folder / "TKF.ini"), expected);
}

// ---- Radio pairs ----

struct RadioCase {
    const char* file;
    bool hard, soft, bar, candle;
};

TEST(SettingsRadioPairs, TheSecondKeyOfAPairDecidesAndTwoZerosSelectNeither)
{
    const RadioCase cases[] = {
        {"Hard=0\nSoft=0\nBar=0\nCandle=0\n", false, false, false, false},
        {"Hard=1\nSoft=1\nBar=1\nCandle=1\n", false, true, false, true},
        {"Hard=1\nSoft=0\nBar=1\nCandle=0\n", true, false, true, false},
        {"Hard=0\nSoft=1\nBar=0\nCandle=1\n", false, true, false, true},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        WriteFileBytes(folder / "TKF.ini", std::string("[Generator]\n") + c.file);
        const PanelRecord panel = StartedPanel(folder / "TKF.ini");
        EXPECT_EQ(panel.Checked("rbHard"), c.hard) << c.file;
        EXPECT_EQ(panel.Checked("rbSoft"), c.soft) << c.file;
        EXPECT_EQ(panel.Checked("rbBar"), c.bar) << c.file;
        EXPECT_EQ(panel.Checked("rbCandle"), c.candle) << c.file;
    }
}

TEST(SettingsRadioPairs, BarKeptFromTheDesignRunsNoRuleSoTheChartKeepsItsDesignedWidth)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nBar=1\nCandle=0\n");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_TRUE(panel.Checked("rbBar"));
    EXPECT_EQ(panel.chartStyle, ChartStyle::Bar);
    EXPECT_EQ(panel.candleWidth, 3);
}

TEST(SettingsRadioPairs, NeitherChartButtonLeavesTheDesignedChart)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nBar=0\nCandle=0\n");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(panel.chartStyle, ChartStyle::Bar);
    EXPECT_EQ(panel.candleWidth, 3);
}

// ---- Value forms ----

TEST(SettingsValues, FlagsAreWholeNumbersAndOtherFormsTakeTheDefault)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini",
                   "[Generator]\nRandomSeed=2\nWeekends=-1\nActiveBias=0x10\nActiveShock=yes\n"
                   "RandomPeriod=true\nCandle=true\nMin=0X1\n");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_TRUE(panel.Checked("cbSeedRandom"));
    EXPECT_TRUE(panel.Checked("cbWeekends"));
    EXPECT_TRUE(panel.Checked("cbActiveBias"));
    EXPECT_TRUE(panel.Checked("cbMin"));
    // yes/true count as missing: defaults 0, 0 and 1.
    EXPECT_FALSE(panel.Checked("cbActiveShock"));
    EXPECT_FALSE(panel.Checked("cbRandomPeriod"));
    EXPECT_TRUE(panel.Checked("rbCandle"));
}

TEST(SettingsValues, WeekendsStoredAsZeroIsUnticked)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nWeekends=0\n");
    EXPECT_FALSE(StartedPanel(folder / "TKF.ini").Checked("cbWeekends"));
}

TEST(SettingsValues, EmptyTextIsRestoredButAnEmptyFlagTakesItsDefault)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nSeed=\nWeekends=\n");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(panel.Text("ebSeed"), "");
    EXPECT_TRUE(panel.Checked("cbWeekends"));
}

TEST(SettingsValues, MissingRandomPeriodMinFollowsTheRestoredLength)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nLength=400\n");
    EXPECT_EQ(StartedPanel(folder / "TKF.ini").Text("ebRandomPeriodMin"), "400");
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nLength=60\n");
    EXPECT_EQ(StartedPanel(folder / "TKF.ini").Text("ebRandomPeriodMin"), "60");
    // A bad length is repaired to "1" first, and the minimum follows the repaired text.
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nLength=abc\n");
    EXPECT_EQ(StartedPanel(folder / "TKF.ini").Text("ebRandomPeriodMin"), "1");
}

TEST(SettingsValues, StoredRandomPeriodMinAboveTheLengthIsClamped)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nLength=50\nRandomPeriodMin=70\n");
    EXPECT_EQ(StartedPanel(folder / "TKF.ini").Text("ebRandomPeriodMin"), "50");
}

TEST(SettingsValues, AValueOf3000CharactersIsCutTo2047)
{
    ScratchFolder folder;
    std::string name;
    for (int i = 0; i < 3000; ++i)
        name += static_cast<char>('A' + i % 26);
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nSecurityName=" + name + "\n");
    EXPECT_EQ(StartedPanel(folder / "TKF.ini").Text("ebSecurityName"), name.substr(0, 2047));
}

TEST(SettingsValues, MalformedNumbersAreRestoredAndThreeFieldsRepairThemWithABeep)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini",
                   "[Generator]\nSeed=abc\nLength=x1\nRandomPeriodMin=?\nMinPrice=cheap\nVolatility=high\n");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(panel.Text("ebSeed"), "abc");
    EXPECT_EQ(panel.Text("ebVolatility"), "high");
    EXPECT_EQ(panel.Text("ebLength"), "1");
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Now + 1);
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "");
    EXPECT_EQ(panel.Text("ebMinPrice"), "");
    // One beep for the length; two each for the emptied fields, whose emptying runs
    // their rule once more.
    EXPECT_EQ(panel.beepCount, 5);
}

TEST(SettingsValues, NegativeMinimumPriceBecomesZero)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nMinPrice=-3\n");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(panel.Text("ebMinPrice"), "0");
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(SettingsValues, BoundsAreAppliedAfterTheFixedPriceBox)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nRandomSeed=1\nMin=1\nMax=1\n");
    const PanelRecord fixed = StartedPanel(folder / "TKF.ini");
    EXPECT_TRUE(fixed.Checked("cbMin"));
    EXPECT_TRUE(fixed.Checked("cbMax"));
    EXPECT_TRUE(fixed.Enabled("ebMinPrice"));
    EXPECT_TRUE(fixed.Enabled("ebMaxPrice"));

    // A hand-edited file can store bounds with a random price: the stored bounds come
    // after the box's rule has locked them, so they are applied as stored.
    WriteFileBytes(folder / "TKF.ini", "[Generator]\nRandomSeed=0\nMin=1\n");
    const PanelRecord random = StartedPanel(folder / "TKF.ini");
    EXPECT_TRUE(random.Checked("cbMin"));
    EXPECT_FALSE(random.Enabled("cbMin"));
    EXPECT_TRUE(random.Enabled("ebMinPrice"));
}

TEST(SettingsValues, DamagedFilesGiveDefaults)
{
    ScratchFolder folder;
    std::string garbage;
    for (int i = 0; i < 100000; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    WriteFileBytes(folder / "TKF.ini", garbage);
    EXPECT_EQ(StartedPanel(folder / "TKF.ini").Text("ebSeedMin"), "2000");

    fs::remove(folder / "TKF.ini");
    fs::create_directory(folder / "TKF.ini");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(panel.Text("ebSeedMin"), "2000");
    EXPECT_TRUE(panel.Checked("rbSoft"));
}

TEST(SettingsValues, MixedLineEndsAndBlanksAroundTheEqualsSignAreRead)
{
    ScratchFolder folder;
    WriteFileBytes(folder / "TKF.ini", "[Generator]\r\nSeed = 1500\nBias\t=\t7\r\nLength=90");
    const PanelRecord panel = StartedPanel(folder / "TKF.ini");
    EXPECT_EQ(panel.Text("ebSeed"), "1500");
    EXPECT_EQ(panel.Text("ebBias"), "7");
    EXPECT_EQ(panel.Text("ebLength"), "90");
}

// ---- Where the file lies, and refused writes ----

TEST(SettingsLocation, TheBareNameIsFoundInTheSettingsFolderFromAnyCurrentFolder)
{
    ScratchFolder config;
    ScratchFolder current;
    EnvironmentOverride xdg("XDG_CONFIG_HOME", config.Path().string());
    CurrentFolderOverride cd(current.Path());
    WriteFileBytes(current / "TKF.ini", "[Generator]\nSeed=1\n");

    EXPECT_EQ(StartedPanel("TKF.ini").Text("ebSeed"), "3000");
    fs::create_directories(config.Path() / "tickforge");
    WriteFileBytes(config / "tickforge/TKF.ini", "[Generator]\nSeed=2\n");
    EXPECT_EQ(StartedPanel("TKF.ini").Text("ebSeed"), "2");

    PanelRecord panel = StartedPanel("TKF.ini");
    panel.SetText("ebSeed", "3");
    SaveSettings(panel, "TKF.ini");
    EXPECT_EQ(StartedPanel("TKF.ini").Text("ebSeed"), "3");
    EXPECT_EQ(ReadFileBytes(current / "TKF.ini"), "[Generator]\nSeed=1\n");
}

TEST(SettingsLocation, FirstSaveCreatesTheSettingsFolder)
{
    ScratchFolder config;
    EnvironmentOverride xdg("XDG_CONFIG_HOME", (config.Path() / "deeper").string());
    SaveSettings(StartedPanel("TKF.ini"), "TKF.ini");
    EXPECT_EQ(ReadFileBytes(config / "deeper/tickforge/TKF.ini"), FirstStartFile);
}

TEST(SettingsSaveFailure, AnUnwritableFileGivesOneErrorNamingTheBareName)
{
    ScratchFolder config;
    WriteFileBytes(config / "blocked", "a file where the settings folder should be");
    EnvironmentOverride xdg("XDG_CONFIG_HOME", config / "blocked");
    const PanelRecord panel = StartedPanel("TKF.ini");
    int errors = 0;
    try {
        SaveSettings(panel, "TKF.ini");
    } catch (const tickforge::Error& error) {
        ++errors;
        EXPECT_EQ(std::string(error.what()), "Unable to write to TKF.ini");
    }
    EXPECT_EQ(errors, 1);
}

TEST(SettingsSaveFailure, TheSaveStopsAtTheRefusedKeyAndKeepsTheKeysBefore)
{
    ScratchFolder folder;
    const std::string path = folder / "TKF.ini";
    const PanelRecord panel = StartedPanel(path);
    {
        // Room for the first few keys only.
        tickforge::testing::FileSizeLimit limit(60);
        EXPECT_ERROR_MESSAGE(SaveSettings(panel, path), "Unable to write to " + path);
    }
    const std::string written = ReadFileBytes(path);
    ASSERT_FALSE(written.empty());
    EXPECT_LE(written.size(), 60u);
    // A whole-line prefix of the complete file.
    EXPECT_EQ(FirstStartFile.compare(0, written.size(), written), 0);
    EXPECT_EQ(written.back(), '\n');
    EXPECT_LT(written.size(), FirstStartFile.size());
}

}  // namespace
