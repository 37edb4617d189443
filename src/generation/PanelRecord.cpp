#include "generation/PanelRecord.h"

#include "generation/PanelRules.h"
#include "platform/NumericText.h"

#include <stdexcept>
#include <utility>

namespace tickforge {

PanelRecord::PanelRecord(LocaleFormats formats) : formats_(std::move(formats))
{
    // Tab "Time".
    AddDate("StartDate");
    AddDate("EndDate");
    AddText("ebLength", "180", true, [](PanelRecord& p) { ebLengthChange(p); });
    AddCheckBox("cbWeekends", false);
    AddCheckBox("cbRandomPeriod", false, [](PanelRecord& p) { cbRandomPeriodClick(p); });
    AddText("ebRandomPeriodMin", "90", false, [](PanelRecord& p) { ebRandomPeriodMinChange(p); });
    AddText("ebTicksPerDay", "1000");
    // Tab "Price": seed, bounds, distribution.
    AddCheckBox("cbSeedRandom", true, [](PanelRecord& p) { cbSeedRandomClick(p); });
    AddText("ebSeed", "3000");
    AddText("ebSeedMin", "0", false);
    AddText("ebSeedMax", "5000", false);
    AddCheckBox("cbMin", false, [](PanelRecord& p) { cbMinClick(p); });
    AddText("ebMinPrice", "0", false, [](PanelRecord& p) { ebMinPriceChange(p); });
    AddCheckBox("cbMax", false, [](PanelRecord& p) { cbMaxClick(p); });
    AddText("ebMaxPrice", "5000", false);
    AddRadioPair("rbHard", nullptr, "rbSoft", nullptr);
    AddText("ebTickSize", "", false);  // hidden as well; only the settings file uses it
    AddText("ebVolatility", "1");
    AddCheckBox("cbActiveBias", false);
    AddText("ebBias", "4.5");
    AddCheckBox("cbActiveShock", false);
    AddText("ebShockFreq", "100");
    AddText("ebShockMag", "3");
    // Tab "Volume".
    AddText("ebMinVolume", "0");
    AddText("ebMaxVolume", "1000");
    // Tab "Dirty Data".
    AddCheckBox("cbDirtyDataActive", false);
    AddText("ebDirtydata", "5");
    // Display and export controls beside the tabs.
    AddText("ebSecurityName", "AOI");
    AddText("ebMultiples", "10");
    AddRadioPair(
        "rbBar",
        [](PanelRecord& p) {
            p.chartStyle = ChartStyle::Bar;
            p.candleWidth = 6;
        },
        "rbCandle",
        [](PanelRecord& p) {
            p.chartStyle = ChartStyle::Candlestick;
            p.candleWidth = 4;
        });
    AddCheckBox("cbColor", true, [](PanelRecord& p) { p.backgroundGradient = p.Checked("cbColor"); });
    // Selected as designed, not by a click: the chart keeps its designed bar width.
    Find("rbHard", Kind::Radio).checked = true;
    Find("rbBar", Kind::Radio).checked = true;
}

PanelRecord PanelRecord::AtCreation(LocaleFormats formats, const std::function<DateTimeValue()>& now)
{
    PanelRecord panel(std::move(formats));
    panel.SetDate("StartDate", now());
    const DateTimeValue endNow = now();
    panel.SetDate("EndDate", endNow + StrToInt(panel.Text("ebLength")));
    return panel;
}

std::string PanelRecord::Text(std::string_view control) const
{
    return Find(control, Kind::Text).text;
}

void PanelRecord::SetText(std::string_view control, const std::string& text)
{
    Control& field = Find(control, Kind::Text);
    if (field.text == text)
        return;
    field.text = text;
    if (field.rule)
        field.rule(*this);
}

bool PanelRecord::Checked(std::string_view control) const
{
    const Control& box = FindAny(control);
    if (box.kind != Kind::CheckBox && box.kind != Kind::Radio)
        throw std::logic_error("not a check box or radio button: " + std::string(control));
    return box.checked;
}

void PanelRecord::SetChecked(std::string_view control, bool checked)
{
    Control& box = FindAny(control);
    if (box.kind != Kind::CheckBox && box.kind != Kind::Radio)
        throw std::logic_error("not a check box or radio button: " + std::string(control));
    if (box.checked == checked)
        return;
    box.checked = checked;
    // Deselecting a radio button runs nothing and may leave its pair empty.
    if (box.kind == Kind::Radio && !checked)
        return;
    if (box.kind == Kind::Radio)
        Find(box.partner, Kind::Radio).checked = false;
    if (box.rule)
        box.rule(*this);
}

bool PanelRecord::Enabled(std::string_view control) const
{
    return FindAny(control).enabled;
}

void PanelRecord::SetEnabled(std::string_view control, bool enabled)
{
    FindAny(control).enabled = enabled;
}

DateTimeValue PanelRecord::Date(std::string_view control) const
{
    return Find(control, Kind::Date).date;
}

void PanelRecord::SetDate(std::string_view control, DateTimeValue value)
{
    Find(control, Kind::Date).date = value;
}

void PanelRecord::ChangeDate(std::string_view control, DateTimeValue value)
{
    SetDate(control, value);
    StartDateChange(*this);
}

void PanelRecord::AddText(const char* name, const char* text, bool enabled, Rule rule)
{
    Control control;
    control.kind = Kind::Text;
    control.text = text;
    control.enabled = enabled;
    control.rule = rule;
    controls_.emplace(name, std::move(control));
}

void PanelRecord::AddCheckBox(const char* name, bool checked, Rule rule)
{
    Control control;
    control.kind = Kind::CheckBox;
    control.checked = checked;
    control.rule = rule;
    controls_.emplace(name, std::move(control));
}

void PanelRecord::AddRadioPair(const char* first, Rule firstRule, const char* second, Rule secondRule)
{
    Control a;
    a.kind = Kind::Radio;
    a.partner = second;
    a.rule = firstRule;
    controls_.emplace(first, std::move(a));
    Control b;
    b.kind = Kind::Radio;
    b.partner = first;
    b.rule = secondRule;
    controls_.emplace(second, std::move(b));
}

void PanelRecord::AddDate(const char* name)
{
    Control control;
    control.kind = Kind::Date;
    controls_.emplace(name, std::move(control));
}

PanelRecord::Control& PanelRecord::FindAny(std::string_view control)
{
    return const_cast<Control&>(std::as_const(*this).FindAny(control));
}

const PanelRecord::Control& PanelRecord::FindAny(std::string_view control) const
{
    const auto found = controls_.find(control);
    if (found == controls_.end())
        throw std::logic_error("no such panel control: " + std::string(control));
    return found->second;
}

PanelRecord::Control& PanelRecord::Find(std::string_view control, Kind kind)
{
    return const_cast<Control&>(std::as_const(*this).Find(control, kind));
}

const PanelRecord::Control& PanelRecord::Find(std::string_view control, Kind kind) const
{
    const Control& found = FindAny(control);
    if (found.kind != kind)
        throw std::logic_error("panel control of another kind: " + std::string(control));
    return found;
}

}  // namespace tickforge
