#include "generation/PanelRules.h"

#include "platform/NumericText.h"

#include <cmath>
#include <cstdio>

namespace tickforge {

namespace {

// The whole number of days as text; any finite count prints without overflow.
std::string WholeDaysText(double days)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", std::trunc(days));
    return text;
}

}  // namespace

void cbMinClick(PanelControls& panel)
{
    panel.SetEnabled("ebMinPrice", panel.Checked("cbMin"));
}

void cbMaxClick(PanelControls& panel)
{
    panel.SetEnabled("ebMaxPrice", panel.Checked("cbMax"));
}

// Price bounds exist only with a fixed starting price: a random one switches both
// bounds off and locks their boxes; a fixed one unlocks them but leaves them unticked.
void cbSeedRandomClick(PanelControls& panel)
{
    const bool fixed = panel.Checked("cbSeedRandom");
    panel.SetEnabled("ebSeed", fixed);
    panel.SetEnabled("ebSeedMin", !fixed);
    panel.SetEnabled("ebSeedMax", !fixed);
    panel.SetEnabled("cbMin", fixed);
    panel.SetEnabled("cbMax", fixed);
    if (!fixed) {
        panel.SetChecked("cbMin", false);
        panel.SetChecked("cbMax", false);
    }
}

void cbRandomPeriodClick(PanelControls& panel)
{
    panel.SetEnabled("ebRandomPeriodMin", panel.Checked("cbRandomPeriod"));
}

// Moving the start keeps the end and changes the days; an end before the start snaps
// back to it.
void StartDateChange(PanelControls& panel)
{
    const DateTimeValue start = panel.Date("StartDate");
    if (panel.Date("EndDate") < start)
        panel.SetDate("EndDate", start);
    panel.SetText("ebLength", WholeDaysText(panel.Date("EndDate") - start));
}

void ebLengthChange(PanelControls& panel)
{
    std::int32_t days = 1;
    if (const auto converted = TryStrToInt(panel.Text("ebLength"))) {
        days = *converted;
        if (days < 1) {
            panel.SetText("ebLength", "1");
            days = 1;
        }
    } else {
        panel.Beep();
        panel.SetText("ebLength", "1");
    }
    panel.SetDate("EndDate", panel.Date("StartDate") + days);
    ebRandomPeriodMinChange(panel);
}

// The random minimum never stays above the number of days, also while it is disabled.
void ebRandomPeriodMinChange(PanelControls& panel)
{
    const auto minimum = TryStrToFloat(panel.Text("ebRandomPeriodMin"), panel.Formats());
    const auto length = minimum ? TryStrToFloat(panel.Text("ebLength"), panel.Formats()) : std::nullopt;
    if (!minimum || !length) {
        panel.Beep();
        panel.SetText("ebRandomPeriodMin", "");
        return;
    }
    if (*length < *minimum)
        panel.SetText("ebRandomPeriodMin", panel.Text("ebLength"));
}

// A minimum price is never negative; any text that converts to zero becomes "0".
void ebMinPriceChange(PanelControls& panel)
{
    const auto price = TryStrToFloat(panel.Text("ebMinPrice"), panel.Formats());
    if (!price) {
        panel.Beep();
        panel.SetText("ebMinPrice", "");
        return;
    }
    if (*price <= 0.0)
        panel.SetText("ebMinPrice", "0");
}

}  // namespace tickforge
