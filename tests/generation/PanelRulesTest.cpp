#include "generation/PanelRecord.h"
#include "generation/PanelRules.h"

#include <gtest/gtest.h>

using tickforge::PanelRecord;

namespace {

// 1 March 2024, 10:30.
constexpr double Start = 45352.4375;

// A panel as created at Start, so that the date coupling has a fixed starting point.
PanelRecord CreatedPanel()
{
    return PanelRecord::AtCreation({}, [] { return Start; });
}

// ---- Number of days ("Days :") ----

TEST(PanelDays, ChangingTheDaysMovesTheEndDateFromTheStartWithItsTimeOfDay)
{
    PanelRecord panel = CreatedPanel();
    panel.SetText("ebLength", "30");
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Start + 30);
    EXPECT_DOUBLE_EQ(panel.Date("StartDate"), Start);
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelDays, ZeroOrNegativeBecomesOneWithoutBeep)
{
    for (const char* text : {"0", "-5"}) {
        PanelRecord panel = CreatedPanel();
        panel.SetText("ebLength", text);
        EXPECT_EQ(panel.Text("ebLength"), "1") << text;
        EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Start + 1) << text;
        EXPECT_EQ(panel.beepCount, 0) << text;
    }
}

TEST(PanelDays, TextThatIsNoWholeNumberBecomesOneWithABeep)
{
    for (const char* text : {"abc", "", "1.5", "99999999999"}) {
        PanelRecord panel = CreatedPanel();
        panel.SetText("ebLength", text);
        EXPECT_EQ(panel.Text("ebLength"), "1") << text;
        EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Start + 1) << text;
        EXPECT_EQ(panel.beepCount, 1) << text;
    }
}

TEST(PanelDays, DeletingDigitsOneByOneRepairsTheEmptyField)
{
    PanelRecord panel = CreatedPanel();
    panel.SetText("ebLength", "18");
    panel.SetText("ebLength", "1");
    EXPECT_EQ(panel.beepCount, 0);
    panel.SetText("ebLength", "");
    EXPECT_EQ(panel.Text("ebLength"), "1");
    EXPECT_EQ(panel.beepCount, 1);
}

TEST(PanelDays, SettingTheSameTextRunsNothing)
{
    PanelRecord panel = CreatedPanel();
    panel.SetDate("EndDate", Start + 5);  // from code: no rule
    panel.SetText("ebLength", "180");
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Start + 5);
}

// ---- Random period minimum ----

TEST(PanelRandomPeriod, FewerDaysClampTheMinimumInOneChange)
{
    PanelRecord panel = CreatedPanel();
    ASSERT_EQ(panel.Text("ebRandomPeriodMin"), "90");
    panel.SetText("ebLength", "60");
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "60");
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelRandomPeriod, KeyByKeyEditingLowersTheMinimumAndNeverRaisesIt)
{
    PanelRecord panel = CreatedPanel();
    panel.SetText("ebRandomPeriodMin", "170");
    panel.SetText("ebLength", "18");  // the last digit of "180" deleted
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "18");
    panel.SetText("ebLength", "182");
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "18");
}

TEST(PanelRandomPeriod, MinimumAboveTheDaysBecomesTheDaysTextCharacterForCharacter)
{
    PanelRecord panel = CreatedPanel();
    panel.SetText("ebRandomPeriodMin", "200");
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "180");
    panel.SetText("ebLength", " 120");
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), " 120");
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelRandomPeriod, MinimumAtOrBelowTheDaysIsKept)
{
    PanelRecord panel = CreatedPanel();
    for (const char* text : {"180", "179.5", "0", "-4", "1e2"}) {
        panel.SetText("ebRandomPeriodMin", text);
        EXPECT_EQ(panel.Text("ebRandomPeriodMin"), text);
    }
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelRandomPeriod, TextThatIsNoNumberIsEmptiedWithABeepAndTheRerunBeepsAgain)
{
    PanelRecord panel = CreatedPanel();
    panel.SetText("ebRandomPeriodMin", "x");
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "");
    // Emptying runs the rule once more, which beeps again and leaves the text empty.
    EXPECT_EQ(panel.beepCount, 2);
}

TEST(PanelRandomPeriod, ClampingFollowsTheDecimalSeparatorOfTheLocale)
{
    PanelRecord panel({',', "dd.MM.yyyy"});
    panel.SetText("ebRandomPeriodMin", "179,5");
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "179,5");
    panel.SetText("ebRandomPeriodMin", "180.5");  // no number where the comma is the separator
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "");
    EXPECT_EQ(panel.beepCount, 2);
}

TEST(PanelRandomPeriod, EmptyMinimumStaysEmptyAndBeepsWhenTheDaysChange)
{
    PanelRecord panel = CreatedPanel();
    panel.SetText("ebRandomPeriodMin", "");
    const int beeps = panel.beepCount;
    panel.SetText("ebLength", "50");
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "");
    EXPECT_EQ(panel.beepCount, beeps + 1);
}

TEST(PanelRandomPeriod, TheBoxEnablesTheFieldWithoutChangingItsText)
{
    PanelRecord panel = CreatedPanel();
    EXPECT_FALSE(panel.Enabled("ebRandomPeriodMin"));
    panel.SetChecked("cbRandomPeriod", true);
    EXPECT_TRUE(panel.Enabled("ebRandomPeriodMin"));
    panel.SetChecked("cbRandomPeriod", false);
    EXPECT_FALSE(panel.Enabled("ebRandomPeriodMin"));
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "90");
}

// ---- Start and end dates ----

TEST(PanelDates, EndDateTenDaysAfterTheStartShowsTen)
{
    PanelRecord panel = CreatedPanel();
    panel.ChangeDate("EndDate", Start + 10.7);
    EXPECT_EQ(panel.Text("ebLength"), "10");
    // The days' rule then puts the end date at start + days.
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Start + 10);
    EXPECT_EQ(panel.Text("ebRandomPeriodMin"), "10");
}

TEST(PanelDates, EndDateBeforeTheStartSnapsBackAndEndsOneDayAfter)
{
    PanelRecord panel = CreatedPanel();
    panel.ChangeDate("EndDate", Start - 3);
    // "0" first, then repaired to "1" without a beep.
    EXPECT_EQ(panel.Text("ebLength"), "1");
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Start + 1);
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelDates, MovingTheStartKeepsTheEndAndChangesTheDays)
{
    PanelRecord panel = CreatedPanel();
    const double end = panel.Date("EndDate");
    panel.ChangeDate("StartDate", Start + 100);
    EXPECT_EQ(panel.Text("ebLength"), "80");
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), end);
}

TEST(PanelDates, StartAfterTheEndPullsTheEndAlong)
{
    PanelRecord panel = CreatedPanel();
    panel.ChangeDate("StartDate", Start + 400.25);
    EXPECT_EQ(panel.Text("ebLength"), "1");
    EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Start + 401.25);
}

// ---- Minimum price ----

TEST(PanelMinPrice, NegativeOrZeroBecomesZero)
{
    for (const char* text : {"-3", "0.0", "00", "-0"}) {
        PanelRecord panel = CreatedPanel();
        panel.SetText("ebMinPrice", "5");
        panel.SetText("ebMinPrice", text);
        EXPECT_EQ(panel.Text("ebMinPrice"), "0") << text;
        EXPECT_EQ(panel.beepCount, 0) << text;
    }
}

TEST(PanelMinPrice, PositivePricesAreKept)
{
    PanelRecord panel = CreatedPanel();
    for (const char* text : {"0.5", "2500", " 7 "}) {
        panel.SetText("ebMinPrice", text);
        EXPECT_EQ(panel.Text("ebMinPrice"), text);
    }
    EXPECT_EQ(panel.beepCount, 0);
}

TEST(PanelMinPrice, ALeadingMinusSignEmptiesTheFieldWithBeeps)
{
    PanelRecord panel = CreatedPanel();
    panel.SetText("ebMinPrice", "-");
    EXPECT_EQ(panel.Text("ebMinPrice"), "");
    EXPECT_EQ(panel.beepCount, 2);
    // Typing on into the empty field: a digit is fine again.
    panel.SetText("ebMinPrice", "3");
    EXPECT_EQ(panel.Text("ebMinPrice"), "3");
    EXPECT_EQ(panel.beepCount, 2);
}

TEST(PanelMinPrice, ALoneDecimalSeparatorEmptiesTheField)
{
    PanelRecord panel = CreatedPanel();
    panel.SetText("ebMinPrice", ".");
    EXPECT_EQ(panel.Text("ebMinPrice"), "");
    EXPECT_GT(panel.beepCount, 0);
}

// ---- Fixed starting price and price bounds ----

TEST(PanelSeed, UntickingFixedUnticksAndLocksBothBounds)
{
    PanelRecord panel = CreatedPanel();
    panel.SetChecked("cbMin", true);
    panel.SetChecked("cbMax", true);
    ASSERT_TRUE(panel.Enabled("ebMinPrice"));
    ASSERT_TRUE(panel.Enabled("ebMaxPrice"));

    panel.SetChecked("cbSeedRandom", false);
    EXPECT_FALSE(panel.Checked("cbMin"));
    EXPECT_FALSE(panel.Checked("cbMax"));
    EXPECT_FALSE(panel.Enabled("cbMin"));
    EXPECT_FALSE(panel.Enabled("cbMax"));
    EXPECT_FALSE(panel.Enabled("ebMinPrice"));
    EXPECT_FALSE(panel.Enabled("ebMaxPrice"));
    EXPECT_FALSE(panel.Enabled("ebSeed"));
    EXPECT_TRUE(panel.Enabled("ebSeedMin"));
    EXPECT_TRUE(panel.Enabled("ebSeedMax"));
}

TEST(PanelSeed, TickingFixedAgainUnlocksTheBoundsButLeavesThemUnticked)
{
    PanelRecord panel = CreatedPanel();
    panel.SetChecked("cbMin", true);
    panel.SetChecked("cbSeedRandom", false);
    panel.SetChecked("cbSeedRandom", true);
    EXPECT_TRUE(panel.Enabled("cbMin"));
    EXPECT_TRUE(panel.Enabled("cbMax"));
    EXPECT_FALSE(panel.Checked("cbMin"));
    EXPECT_FALSE(panel.Checked("cbMax"));
    EXPECT_FALSE(panel.Enabled("ebMinPrice"));
    EXPECT_TRUE(panel.Enabled("ebSeed"));
    EXPECT_FALSE(panel.Enabled("ebSeedMin"));
    EXPECT_FALSE(panel.Enabled("ebSeedMax"));
}

TEST(PanelSeed, BoundBoxesEnableTheirPriceFields)
{
    PanelRecord panel = CreatedPanel();
    panel.SetChecked("cbMax", true);
    EXPECT_TRUE(panel.Enabled("ebMaxPrice"));
    EXPECT_FALSE(panel.Enabled("ebMinPrice"));
    panel.SetChecked("cbMax", false);
    EXPECT_FALSE(panel.Enabled("ebMaxPrice"));
}

// The rules can also be called directly, as the windows' handlers do.
TEST(PanelRulesDirect, ARuleReadsTheStateItIsCalledWith)
{
    PanelRecord panel = CreatedPanel();
    panel.SetEnabled("ebMinPrice", true);
    tickforge::cbMinClick(panel);  // cbMin is unticked
    EXPECT_FALSE(panel.Enabled("ebMinPrice"));
}

}  // namespace
