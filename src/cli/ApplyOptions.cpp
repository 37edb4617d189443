#include "cli/ApplyOptions.h"

#include "generation/PanelRules.h"
#include "platform/DateFormat.h"

namespace tickforge::cli {

namespace {

class PanelEditor {
public:
    PanelEditor(PanelControls& panel, std::vector<std::string>& notes) : panel_(panel), notes_(notes) {}

    void Type(const TextOption& option, PanelControl control)
    {
        if (option.Given())
            Type(option.option->get_name(), option.value, control);
    }

    void Type(const std::string& optionName, const std::string& text, PanelControl control)
    {
        panel_.SetText(control, text);
        const std::string shown = panel_.Text(control);
        if (shown != text)
            notes_.push_back(optionName + " \"" + text + "\" became \"" + shown + "\" by the panel's rule");
    }

    void Tick(PanelControl control, bool ticked) { panel_.SetChecked(control, ticked); }

private:
    PanelControls& panel_;
    std::vector<std::string>& notes_;
};

}  // namespace

void ApplyPanelOptions(const CliOptions& o, PanelControls& panel, std::vector<std::string>& notes)
{
    PanelEditor edit(panel, notes);

    // "Time" tab. The start date moves the whole range and keeps its number of days:
    // the end date follows the start as the days rule sets it.
    if (o.start.Given()) {
        const auto start = ParseIsoDate(o.start.value);
        if (!start)
            throw CLI::ValidationError("--start", "'" + o.start.value + "' is not a date of the form YYYY-MM-DD");
        panel.SetDate(PanelControl::StartDate, *start);
        ebLengthChange(panel);
    }
    edit.Type(o.days, PanelControl::ebLength);
    if (o.randomPeriodMin.Given()) {
        edit.Tick(PanelControl::cbRandomPeriod, true);
        edit.Type(o.randomPeriodMin, PanelControl::ebRandomPeriodMin);
    }
    if (o.weekends.Given())
        edit.Tick(PanelControl::cbWeekends, true);
    if (o.noWeekends.Given())
        edit.Tick(PanelControl::cbWeekends, false);
    edit.Type(o.ticksPerDay, PanelControl::ebTicksPerDay);

    // "Price" tab, starting price first: it decides whether bounds may be ticked.
    if (o.price.Given()) {
        edit.Tick(PanelControl::cbSeedRandom, true);
        edit.Type(o.price, PanelControl::ebSeed);
    }
    if (o.priceMin.Given() || o.priceMax.Given()) {
        edit.Tick(PanelControl::cbSeedRandom, false);
        edit.Type(o.priceMin, PanelControl::ebSeedMin);
        edit.Type(o.priceMax, PanelControl::ebSeedMax);
    }
    if ((o.minPrice.Given() || o.maxPrice.Given()) && !panel.Checked(PanelControl::cbSeedRandom)) {
        const auto* bound = o.minPrice.Given() ? o.minPrice.option : o.maxPrice.option;
        throw CLI::ValidationError(bound->get_name(),
                                   "a price bound needs a fixed starting price (--price): the panel allows price "
                                   "bounds only with \"Fixed :\" ticked");
    }
    if (o.minPrice.Given()) {
        edit.Tick(PanelControl::cbMin, true);
        edit.Type(o.minPrice, PanelControl::ebMinPrice);
    }
    if (o.maxPrice.Given()) {
        edit.Tick(PanelControl::cbMax, true);
        edit.Type(o.maxPrice, PanelControl::ebMaxPrice);
    }
    if (o.soft.Given())
        edit.Tick(PanelControl::rbSoft, true);
    if (o.hard.Given())
        edit.Tick(PanelControl::rbHard, true);

    edit.Type(o.volatility, PanelControl::ebVolatility);
    if (o.bias.Given()) {
        edit.Tick(PanelControl::cbActiveBias, true);
        edit.Type(o.bias, PanelControl::ebBias);
    }
    if (o.noBias.Given())
        edit.Tick(PanelControl::cbActiveBias, false);
    if (o.shocks.Given())
        edit.Tick(PanelControl::cbActiveShock, true);
    if (o.noShocks.Given())
        edit.Tick(PanelControl::cbActiveShock, false);
    edit.Type(o.shockDays, PanelControl::ebShockFreq);
    edit.Type(o.shockMagnitude, PanelControl::ebShockMag);

    // "Volume" tab, the security name and the "Dirty Data" tab.
    edit.Type(o.minVolume, PanelControl::ebMinVolume);
    edit.Type(o.maxVolume, PanelControl::ebMaxVolume);
    edit.Type(o.name, PanelControl::ebSecurityName);
    if (o.dirty.Given()) {
        edit.Tick(PanelControl::cbDirtyDataActive, true);
        edit.Type(o.dirty, PanelControl::ebDirtydata);
    }
}

}  // namespace tickforge::cli
