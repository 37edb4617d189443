#include "generation/PanelRecord.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using tickforge::ChartStyle;
using tickforge::PanelRecord;

namespace {

TEST(PanelRecord, ControlsAsDesigned)
{
    const PanelRecord panel;
    const std::pair<const char*, const char*> texts[] = {
        {"ebLength", "180"},   {"ebRandomPeriodMin", "90"}, {"ebTicksPerDay", "1000"}, {"ebSeed", "3000"},
        {"ebSeedMin", "0"},    {"ebSeedMax", "5000"},       {"ebMinPrice", "0"},       {"ebMaxPrice", "5000"},
        {"ebTickSize", ""},    {"ebVolatility", "1"},       {"ebBias", "4.5"},         {"ebShockFreq", "100"},
        {"ebShockMag", "3"},   {"ebMinVolume", "0"},        {"ebMaxVolume", "1000"},   {"ebDirtydata", "5"},
        {"ebSecurityName", "AOI"}, {"ebMultiples", "10"}};
    for (const auto& [control, text] : texts)
        EXPECT_EQ(panel.Text(control), text) << control;
    for (const char* ticked : {"cbSeedRandom", "cbColor", "rbHard", "rbBar"})
        EXPECT_TRUE(panel.Checked(ticked)) << ticked;
    for (const char* unticked : {"cbWeekends", "cbRandomPeriod", "cbMin", "cbMax", "cbActiveBias", "cbActiveShock",
                                 "cbDirtyDataActive", "rbSoft", "rbCandle"})
        EXPECT_FALSE(panel.Checked(unticked)) << unticked;
    for (const char* disabled : {"ebRandomPeriodMin", "ebSeedMin", "ebSeedMax", "ebMinPrice", "ebMaxPrice", "ebTickSize"})
        EXPECT_FALSE(panel.Enabled(disabled)) << disabled;
    EXPECT_EQ(panel.chartStyle, ChartStyle::Bar);
    EXPECT_EQ(panel.candleWidth, 3);
    EXPECT_TRUE(panel.backgroundGradient);
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelRecord, SelectingARadioButtonDeselectsItsPartnerAndRunsItsRule)
{
    PanelRecord panel;
    panel.SetChecked("rbBar", true);  // already selected: no rule
    EXPECT_EQ(panel.candleWidth, 3);
    panel.SetChecked("rbCandle", true);
    EXPECT_FALSE(panel.Checked("rbBar"));
    EXPECT_EQ(panel.chartStyle, ChartStyle::Candlestick);
    EXPECT_EQ(panel.candleWidth, 4);
    panel.SetChecked("rbBar", true);
    EXPECT_FALSE(panel.Checked("rbCandle"));
    EXPECT_EQ(panel.chartStyle, ChartStyle::Bar);
    EXPECT_EQ(panel.candleWidth, 6);
    panel.SetChecked("rbSoft", true);
    EXPECT_FALSE(panel.Checked("rbHard"));

    // Deselecting runs nothing and may leave the pair empty; either button can follow.
    panel.SetChecked("rbCandle", true);
    panel.SetChecked("rbCandle", false);
    EXPECT_FALSE(panel.Checked("rbCandle") || panel.Checked("rbBar"));
    EXPECT_EQ(panel.chartStyle, ChartStyle::Candlestick);
    panel.SetChecked("rbBar", true);
    EXPECT_EQ(panel.candleWidth, 6);
    panel.SetChecked("cbColor", false);  // the one display box with a rule
    EXPECT_FALSE(panel.backgroundGradient);
}

TEST(PanelRecord, UnknownOrMismatchedControlsAreProgrammingErrors)
{
    PanelRecord panel;
    EXPECT_THROW((void)panel.Text("eblength"), std::logic_error);  // names match exactly
    EXPECT_THROW(panel.SetText("cbMin", "1"), std::logic_error);
    EXPECT_THROW((void)panel.Checked("ebLength"), std::logic_error);
    EXPECT_THROW(panel.ChangeDate("cbMin", 1.0), std::logic_error);
}

}  // namespace
