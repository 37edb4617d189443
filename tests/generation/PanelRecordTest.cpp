#include "generation/PanelRecord.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using tickforge::ChartStyle;
using tickforge::PanelRecord;

namespace {

TEST(PanelRecordDesign, TextsAsDesigned)
{
    const PanelRecord panel;
    const std::vector<std::pair<const char*, const char*>> texts = {
        {"ebLength", "180"},      {"ebRandomPeriodMin", "90"}, {"ebTicksPerDay", "1000"}, {"ebSeed", "3000"},
        {"ebSeedMin", "0"},       {"ebSeedMax", "5000"},       {"ebMinPrice", "0"},       {"ebMaxPrice", "5000"},
        {"ebTickSize", ""},       {"ebVolatility", "1"},       {"ebBias", "4.5"},         {"ebShockFreq", "100"},
        {"ebShockMag", "3"},      {"ebMinVolume", "0"},        {"ebMaxVolume", "1000"},   {"ebDirtydata", "5"},
        {"ebSecurityName", "AOI"}, {"ebMultiples", "10"}};
    for (const auto& [control, text] : texts)
        EXPECT_EQ(panel.Text(control), text) << control;
}

TEST(PanelRecordDesign, BoxesAndRadioButtonsAsDesigned)
{
    const PanelRecord panel;
    for (const char* ticked : {"cbSeedRandom", "cbColor", "rbHard", "rbBar"})
        EXPECT_TRUE(panel.Checked(ticked)) << ticked;
    for (const char* unticked : {"cbWeekends", "cbRandomPeriod", "cbMin", "cbMax", "cbActiveBias", "cbActiveShock",
                                 "cbDirtyDataActive", "rbSoft", "rbCandle"})
        EXPECT_FALSE(panel.Checked(unticked)) << unticked;
}

TEST(PanelRecordDesign, EnabledStatesAsDesigned)
{
    const PanelRecord panel;
    for (const char* disabled : {"ebRandomPeriodMin", "ebSeedMin", "ebSeedMax", "ebMinPrice", "ebMaxPrice", "ebTickSize"})
        EXPECT_FALSE(panel.Enabled(disabled)) << disabled;
    for (const char* enabled : {"ebLength", "ebSeed", "cbMin", "cbMax", "cbSeedRandom", "ebVolatility", "rbSoft"})
        EXPECT_TRUE(panel.Enabled(enabled)) << enabled;
}

TEST(PanelRecordDesign, ChartAsDesigned)
{
    const PanelRecord panel;
    EXPECT_EQ(panel.chartStyle, ChartStyle::Bar);
    EXPECT_EQ(panel.candleWidth, 3);
    EXPECT_TRUE(panel.backgroundGradient);
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelRecordCreation, StartIsNowAndEndIsNowReadAgainPlusTheDays)
{
    std::vector<double> clock = {45000.25, 45000.5};
    std::size_t reads = 0;
    const PanelRecord panel = PanelRecord::AtCreation({}, [&] { return clock.at(reads++); });
    EXPECT_EQ(reads, 2u);
    EXPECT_DOUBLE_EQ(panel.Date("StartDate"), 45000.25);
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), 45000.5 + 180);
}

TEST(PanelRecordCreation, UsesTheLocalClockByDefault)
{
    const double before = tickforge::NowLocal();
    const PanelRecord panel = PanelRecord::AtCreation();
    const double after = tickforge::NowLocal();
    EXPECT_GE(panel.Date("StartDate"), before);
    EXPECT_LE(panel.Date("StartDate"), after);
    EXPECT_GE(panel.Date("EndDate") - 180, panel.Date("StartDate"));
}

TEST(PanelRecordRadio, SelectingDeselectsThePartnerAndRunsTheRule)
{
    PanelRecord panel;
    panel.SetChecked("rbCandle", true);
    EXPECT_TRUE(panel.Checked("rbCandle"));
    EXPECT_FALSE(panel.Checked("rbBar"));
    EXPECT_EQ(panel.chartStyle, ChartStyle::Candlestick);
    EXPECT_EQ(panel.candleWidth, 4);
    panel.SetChecked("rbBar", true);
    EXPECT_FALSE(panel.Checked("rbCandle"));
    EXPECT_EQ(panel.chartStyle, ChartStyle::Bar);
    EXPECT_EQ(panel.candleWidth, 6);

    panel.SetChecked("rbSoft", true);
    EXPECT_TRUE(panel.Checked("rbSoft"));
    EXPECT_FALSE(panel.Checked("rbHard"));
}

TEST(PanelRecordRadio, SelectingTheSelectedButtonRunsNothing)
{
    PanelRecord panel;
    panel.SetChecked("rbBar", true);
    EXPECT_EQ(panel.candleWidth, 3);
}

TEST(PanelRecordRadio, DeselectingRunsNothingAndMayLeaveThePairEmpty)
{
    PanelRecord panel;
    panel.SetChecked("rbCandle", true);
    panel.SetChecked("rbCandle", false);
    EXPECT_FALSE(panel.Checked("rbCandle"));
    EXPECT_FALSE(panel.Checked("rbBar"));
    EXPECT_EQ(panel.chartStyle, ChartStyle::Candlestick);
    // From the empty pair, either button can be selected again.
    panel.SetChecked("rbBar", true);
    EXPECT_EQ(panel.candleWidth, 6);
}

TEST(PanelRecordBoxes, ColourBoxSwitchesTheGradient)
{
    PanelRecord panel;
    panel.SetChecked("cbColor", false);
    EXPECT_FALSE(panel.backgroundGradient);
    panel.SetChecked("cbColor", true);
    EXPECT_TRUE(panel.backgroundGradient);
}

TEST(PanelRecordBoxes, BoxWithoutRuleOnlyChangesItsState)
{
    PanelRecord panel;
    panel.SetChecked("cbWeekends", true);
    EXPECT_TRUE(panel.Checked("cbWeekends"));
    panel.SetText("ebSeed", "abc");  // no rule: kept until a run reads it
    EXPECT_EQ(panel.Text("ebSeed"), "abc");
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelRecordNames, UnknownOrMismatchedControlsAreProgrammingErrors)
{
    PanelRecord panel;
    EXPECT_THROW((void)panel.Text("ebNoSuchField"), std::logic_error);
    EXPECT_THROW(panel.SetText("cbMin", "1"), std::logic_error);
    EXPECT_THROW((void)panel.Checked("ebLength"), std::logic_error);
    EXPECT_THROW(panel.SetChecked("StartDate", true), std::logic_error);
    EXPECT_THROW((void)panel.Date("ebLength"), std::logic_error);
    EXPECT_THROW(panel.SetEnabled("btnNothing", false), std::logic_error);
    EXPECT_THROW(panel.ChangeDate("cbMin", 1.0), std::logic_error);
    // Names match exactly, as object names do.
    EXPECT_THROW((void)panel.Text("eblength"), std::logic_error);
}

}  // namespace
