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
    panel.SetEnabled(PanelControl::ebMinPrice, panel.Checked(PanelControl::cbMin));
}

void cbMaxClick(PanelControls& panel)
{
    panel.SetEnabled(PanelControl::ebMaxPrice, panel.Checked(PanelControl::cbMax));
}

// Price bounds exist only with a fixed starting price: a random one switches both
// bounds off and locks their boxes; a fixed one unlocks them but leaves them unticked.
void cbSeedRandomClick(PanelControls& panel)
{
    const bool fixed = panel.Checked(PanelControl::cbSeedRandom);
    panel.SetEnabled(PanelControl::ebSeed, fixed);
    panel.SetEnabled(PanelControl::ebSeedMin, !fixed);
    panel.SetEnabled(PanelControl::ebSeedMax, !fixed);
    panel.SetEnabled(PanelControl::cbMin, fixed);
    panel.SetEnabled(PanelControl::cbMax, fixed);
    if (!fixed) {
        panel.SetChecked(PanelControl::cbMin, false);
        panel.SetChecked(PanelControl::cbMax, false);
    }
}

void cbRandomPeriodClick(PanelControls& panel)
{
    panel.SetEnabled(PanelControl::ebRandomPeriodMin, panel.Checked(PanelControl::cbRandomPeriod));
}

// Moving the start keeps the end and changes the days; an end before the start snaps
// back to it.
void StartDateChange(PanelControls& panel)
{
    const DateTimeValue start = panel.Date(PanelControl::StartDate);
    if (panel.Date(PanelControl::EndDate) < start)
        panel.SetDate(PanelControl::EndDate, start);
    panel.SetText(PanelControl::ebLength, WholeDaysText(panel.Date(PanelControl::EndDate) - start));
}

void ebLengthChange(PanelControls& panel)
{
    std::int32_t days = 1;
    if (const auto converted = TryStrToInt(panel.Text(PanelControl::ebLength))) {
        days = *converted;
        if (days < 1) {
            panel.SetText(PanelControl::ebLength, "1");
            days = 1;
        }
    } else {
        panel.Beep();
        panel.SetText(PanelControl::ebLength, "1");
    }
    panel.SetDate(PanelControl::EndDate, panel.Date(PanelControl::StartDate) + days);
    ebRandomPeriodMinChange(panel);
}

// The random minimum never stays above the number of days, also while it is disabled.
void ebRandomPeriodMinChange(PanelControls& panel)
{
    const auto minimum = TryStrToFloat(panel.Text(PanelControl::ebRandomPeriodMin), panel.Formats());
    const auto length = minimum ? TryStrToFloat(panel.Text(PanelControl::ebLength), panel.Formats()) : std::nullopt;
    if (!minimum || !length) {
        panel.Beep();
        panel.SetText(PanelControl::ebRandomPeriodMin, "");
        return;
    }
    if (*length < *minimum)
        panel.SetText(PanelControl::ebRandomPeriodMin, panel.Text(PanelControl::ebLength));
}

// A minimum price is never negative; any text that converts to zero becomes "0".
void ebMinPriceChange(PanelControls& panel)
{
    const auto price = TryStrToFloat(panel.Text(PanelControl::ebMinPrice), panel.Formats());
    if (!price) {
        panel.Beep();
        panel.SetText(PanelControl::ebMinPrice, "");
        return;
    }
    if (*price <= 0.0)
        panel.SetText(PanelControl::ebMinPrice, "0");
}

}  // namespace tickforge
