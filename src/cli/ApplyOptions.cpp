#include "cli/ApplyOptions.h"

#include "generation/PanelRules.h"
#include "platform/DateFormat.h"

namespace tickforge::cli {

namespace {

class PanelEditor {
public:
    PanelEditor(PanelControls& panel, std::vector<std::string>& notes) : panel_(panel), notes_(notes) {}

    void Type(const TextOption& option, const char* control)
    {
        if (option.Given())
            Type(option.option->get_name(), option.value, control);
    }

    void Type(const std::string& optionName, const std::string& text, const char* control)
    {
        panel_.SetText(control, text);
        const std::string shown = panel_.Text(control);
        if (shown != text)
            notes_.push_back(optionName + " \"" + text + "\" became \"" + shown + "\" by the panel's rule");
    }

    void Tick(const char* control, bool ticked) { panel_.SetChecked(control, ticked); }

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
        panel.SetDate("StartDate", *start);
        ebLengthChange(panel);
    }
    edit.Type(o.days, "ebLength");
    if (o.randomPeriodMin.Given()) {
        edit.Tick("cbRandomPeriod", true);
        edit.Type(o.randomPeriodMin, "ebRandomPeriodMin");
    }
    if (o.weekends.Given())
        edit.Tick("cbWeekends", true);
    if (o.noWeekends.Given())
        edit.Tick("cbWeekends", false);
    edit.Type(o.ticksPerDay, "ebTicksPerDay");

    // "Price" tab, starting price first: it decides whether bounds may be ticked.
    if (o.price.Given()) {
        edit.Tick("cbSeedRandom", true);
        edit.Type(o.price, "ebSeed");
    }
    if (o.priceMin.Given() || o.priceMax.Given()) {
        edit.Tick("cbSeedRandom", false);
        edit.Type(o.priceMin, "ebSeedMin");
        edit.Type(o.priceMax, "ebSeedMax");
    }
    if ((o.minPrice.Given() || o.maxPrice.Given()) && !panel.Checked("cbSeedRandom")) {
        const auto* bound = o.minPrice.Given() ? o.minPrice.option : o.maxPrice.option;
        throw CLI::ValidationError(bound->get_name(),
                                   "a price bound needs a fixed starting price (--price): the panel allows price "
                                   "bounds only with \"Fixed :\" ticked");
    }
    if (o.minPrice.Given()) {
        edit.Tick("cbMin", true);
        edit.Type(o.minPrice, "ebMinPrice");
    }
    if (o.maxPrice.Given()) {
        edit.Tick("cbMax", true);
        edit.Type(o.maxPrice, "ebMaxPrice");
    }
    if (o.soft.Given())
        edit.Tick("rbSoft", true);
    if (o.hard.Given())
        edit.Tick("rbHard", true);

    edit.Type(o.volatility, "ebVolatility");
    if (o.bias.Given()) {
        edit.Tick("cbActiveBias", true);
        edit.Type(o.bias, "ebBias");
    }
    if (o.noBias.Given())
        edit.Tick("cbActiveBias", false);
    if (o.shocks.Given())
        edit.Tick("cbActiveShock", true);
    if (o.noShocks.Given())
        edit.Tick("cbActiveShock", false);
    edit.Type(o.shockDays, "ebShockFreq");
    edit.Type(o.shockMagnitude, "ebShockMag");

    // "Volume" tab, the security name and the "Dirty Data" tab.
    edit.Type(o.minVolume, "ebMinVolume");
    edit.Type(o.maxVolume, "ebMaxVolume");
    edit.Type(o.name, "ebSecurityName");
    if (o.dirty.Given()) {
        edit.Tick("cbDirtyDataActive", true);
        edit.Type(o.dirty, "ebDirtydata");
    }
}

}  // namespace tickforge::cli
