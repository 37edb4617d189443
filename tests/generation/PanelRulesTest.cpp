#include "generation/PanelRecord.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace tickforge;

namespace {

constexpr double Start = 45352.4375;  // 1 March 2024, 10:30

PanelRecord CreatedPanel(LocaleFormats formats = {})
{
    return PanelRecord::AtCreation(std::move(formats), [] { return Start; });
}

using Edit = std::function<void(PanelRecord&)>;
Edit Type(const char* control, std::vector<const char*> texts)
{
    return [=](PanelRecord& p) {
        for (const char* text : texts)
            p.SetText(control, text);
    };
}

TEST(PanelRules, TextAndDateRulesRepairThePanelAndBeepOnlyForTextsThatDoNotConvert)
{
    const struct {
        const char* what;
        Edit edit;
        std::vector<std::pair<const char*, const char*>> texts;  // control, text afterwards
        double endAfterStart;
        int beeps;
        bool decimalComma = false;  // the user's locale writes 2,5
    } cases[] = {
        // "Days :" puts the end date at the start (with its time of day) plus the days.
        {"zero days", Type("ebLength", {"0"}), {{"ebLength", "1"}}, 1, 0},
        {"one day as typed", Type("ebLength", {"01"}), {{"ebLength", "01"}}, 1, 0},
        {"days deleted digit by digit", Type("ebLength", {"18", "1", ""}), {{"ebLength", "1"}}, 1, 1},
        {"same days text runs nothing",
         [](PanelRecord& p) {
             p.SetDate("EndDate", Start + 5);  // from code: no rule
             p.SetText("ebLength", "180");
         },
         {{"ebLength", "180"}}, 5, 0},
        // The random minimum never stays above the days, also while it is disabled.
        {"fewer days clamp the minimum", Type("ebLength", {"60"}), {{"ebRandomPeriodMin", "60"}}, 60, 0},
        {"key by key the minimum only falls",
         [](PanelRecord& p) { Type("ebRandomPeriodMin", {"170"})(p); Type("ebLength", {"18", "182"})(p); },
         {{"ebRandomPeriodMin", "18"}}, 182, 0},
        {"minimum above the days", Type("ebRandomPeriodMin", {"200"}), {{"ebRandomPeriodMin", "180"}}, 180, 0},
        {"fraction below the days", Type("ebRandomPeriodMin", {"179.5"}), {{"ebRandomPeriodMin", "179.5"}}, 180, 0},
        {"minimum no number is emptied, its rerun beeps again", Type("ebRandomPeriodMin", {"x"}),
         {{"ebRandomPeriodMin", ""}}, 180, 2},
        {"empty minimum beeps when the days change",
         [](PanelRecord& p) { Type("ebRandomPeriodMin", {""})(p); Type("ebLength", {"50"})(p); },
         {{"ebRandomPeriodMin", ""}}, 50, 2},
        // Date pickers: the start keeps the end; an end before the start snaps back.
        {"end ten days after the start", [](PanelRecord& p) { p.ChangeDate("EndDate", Start + 10.7); },
         {{"ebLength", "10"}, {"ebRandomPeriodMin", "10"}}, 10, 0},
        {"end before the start", [](PanelRecord& p) { p.ChangeDate("EndDate", Start - 3); }, {{"ebLength", "1"}}, 1, 0},
        {"start moved forward", [](PanelRecord& p) { p.ChangeDate("StartDate", Start + 100); }, {{"ebLength", "80"}}, 180, 0},
        {"start after the end pulls it along", [](PanelRecord& p) { p.ChangeDate("StartDate", Start + 400.25); },
         {{"ebLength", "1"}}, 401.25, 0},
        // A minimum price is never negative; a text that is no number is emptied.
        {"minimum price negative", Type("ebMinPrice", {"5", "-3"}), {{"ebMinPrice", "0"}}, 180, 0},
        {"minimum price zero forms", Type("ebMinPrice", {"5", "0.0"}), {{"ebMinPrice", "0"}}, 180, 0},
        {"minimum price positive", Type("ebMinPrice", {"0.5", "2500", " 7 "}), {{"ebMinPrice", " 7 "}}, 180, 0},
        {"minus sign typed first", Type("ebMinPrice", {"-"}), {{"ebMinPrice", ""}}, 180, 2},
        // Texts convert in the user's form: a full stop is then no decimal sign.
        {"comma: minimum kept", Type("ebRandomPeriodMin", {"179,5"}), {{"ebRandomPeriodMin", "179,5"}}, 180, 0, true},
        {"comma: minimum with a full stop", Type("ebRandomPeriodMin", {"180.5"}), {{"ebRandomPeriodMin", ""}}, 180, 2, true},
        {"comma: minimum price", Type("ebMinPrice", {"2,5", "-0,5"}), {{"ebMinPrice", "0"}}, 180, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PanelRecord panel = CreatedPanel(c.decimalComma ? LocaleFormats{',', "dd.MM.yyyy"} : LocaleFormats{});
        c.edit(panel);
        for (const auto& [control, text] : c.texts)
            EXPECT_EQ(panel.Text(control), text) << control;
        EXPECT_DOUBLE_EQ(panel.Date("EndDate"), Start + c.endAfterStart);
        EXPECT_EQ(panel.beepCount, c.beeps);
    }
}

TEST(PanelRules, BoxesEnableTheirFieldsAndPriceBoundsExistOnlyWithAFixedStartingPrice)
{
    PanelRecord panel = CreatedPanel();
    panel.SetChecked("cbRandomPeriod", true);
    EXPECT_TRUE(panel.Enabled("ebRandomPeriodMin"));
    panel.SetChecked("cbRandomPeriod", false);
    EXPECT_FALSE(panel.Enabled("ebRandomPeriodMin"));

    panel.SetChecked("cbMax", true);
    EXPECT_TRUE(panel.Enabled("ebMaxPrice") && !panel.Enabled("ebMinPrice"));
    panel.SetChecked("cbMin", true);
    EXPECT_TRUE(panel.Enabled("ebMinPrice"));
    panel.SetChecked("cbSeedRandom", false);  // unticks and locks both bounds
    EXPECT_FALSE(panel.Checked("cbMin") || panel.Checked("cbMax"));
    for (const char* control : {"cbMin", "cbMax", "ebMinPrice", "ebMaxPrice", "ebSeed"})
        EXPECT_FALSE(panel.Enabled(control)) << control;
    EXPECT_TRUE(panel.Enabled("ebSeedMin") && panel.Enabled("ebSeedMax"));

    panel.SetChecked("cbSeedRandom", true);  // unlocks them, still unticked
    EXPECT_TRUE(panel.Enabled("cbMin") && panel.Enabled("cbMax") && panel.Enabled("ebSeed"));
    EXPECT_FALSE(panel.Checked("cbMin") || panel.Checked("cbMax"));
    for (const char* control : {"ebMinPrice", "ebMaxPrice", "ebSeedMin", "ebSeedMax"})
        EXPECT_FALSE(panel.Enabled(control)) << control;
}

TEST(PanelRecord, SelectingARadioButtonDeselectsItsPartnerAndMisnamedControlsAreProgrammingErrors)
{
    PanelRecord panel;
    panel.SetChecked("rbCandle", true);
    panel.SetChecked("rbSoft", true);
    EXPECT_FALSE(panel.Checked("rbBar") || panel.Checked("rbHard"));
    panel.SetChecked("rbCandle", false);  // deselecting may leave the pair empty
    EXPECT_FALSE(panel.Checked("rbCandle") || panel.Checked("rbBar"));

    EXPECT_THROW((void)panel.Text("eblength"), std::logic_error);  // names match exactly
    EXPECT_THROW(panel.SetText("cbMin", "1"), std::logic_error);
    EXPECT_THROW((void)panel.Checked("ebLength"), std::logic_error);
    EXPECT_THROW(panel.SetChecked("StartDate", true), std::logic_error);
    EXPECT_THROW(panel.ChangeDate("cbMin", 1.0), std::logic_error);
}

}  // namespace
