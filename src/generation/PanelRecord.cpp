#include "generation/PanelRecord.h"

#include "generation/DesignedPanel.h"
#include "generation/PanelRules.h"
#include "platform/NumericText.h"

#include <stdexcept>
#include <utility>

namespace tickforge {

PanelRecord::PanelRecord(LocaleFormats formats) : formats_(std::move(formats))
{
    for (const DesignedControl& designed : DesignedPanel) {
        Control control;
        control.kind = designed.Kind;
        control.text = designed.Text;
        control.checked = designed.Checked;
        control.enabled = designed.Enabled;
        control.partner = designed.Partner;
        controls_.emplace(designed.Name, std::move(control));
    }
    // The rules the main window runs on a change. The chart's style has none here:
    // only the window has a chart to apply it to.
    const std::pair<PanelControl, Rule> rules[] = {
        {PanelControl::ebLength, [](PanelRecord& p) { ebLengthChange(p); }},
        {PanelControl::cbRandomPeriod, [](PanelRecord& p) { cbRandomPeriodClick(p); }},
        {PanelControl::ebRandomPeriodMin, [](PanelRecord& p) { ebRandomPeriodMinChange(p); }},
        {PanelControl::cbSeedRandom, [](PanelRecord& p) { cbSeedRandomClick(p); }},
        {PanelControl::cbMin, [](PanelRecord& p) { cbMinClick(p); }},
        {PanelControl::ebMinPrice, [](PanelRecord& p) { ebMinPriceChange(p); }},
        {PanelControl::cbMax, [](PanelRecord& p) { cbMaxClick(p); }},
    };
    for (const auto& [control, rule] : rules)
        FindAny(ControlName(control)).rule = rule;
}

PanelRecord PanelRecord::AtCreation(LocaleFormats formats, const std::function<DateTimeValue()>& now)
{
    PanelRecord panel(std::move(formats));
    panel.SetDate(PanelControl::StartDate, now());
    const DateTimeValue endNow = now();
    panel.SetDate(PanelControl::EndDate, endNow + StrToInt(panel.Text(PanelControl::ebLength)));
    return panel;
}

std::string PanelRecord::Text(std::string_view control) const
{
    return Find(control, ControlKind::Text).text;
}

void PanelRecord::SetText(std::string_view control, const std::string& text)
{
    Control& field = Find(control, ControlKind::Text);
    if (field.text == text)
        return;
    field.text = text;
    if (field.rule)
        field.rule(*this);
}

bool PanelRecord::Checked(std::string_view control) const
{
    const Control& box = FindAny(control);
    if (box.kind != ControlKind::CheckBox && box.kind != ControlKind::Radio)
        throw std::logic_error("not a check box or radio button: " + std::string(control));
    return box.checked;
}

void PanelRecord::SetChecked(std::string_view control, bool checked)
{
    Control& box = FindAny(control);
    if (box.kind != ControlKind::CheckBox && box.kind != ControlKind::Radio)
        throw std::logic_error("not a check box or radio button: " + std::string(control));
    if (box.checked == checked)
        return;
    box.checked = checked;
    // Deselecting a radio button runs nothing and may leave its pair empty.
    if (box.kind == ControlKind::Radio && !checked)
        return;
    if (box.kind == ControlKind::Radio)
        Find(box.partner, ControlKind::Radio).checked = false;
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
    return Find(control, ControlKind::Date).date;
}

void PanelRecord::SetDate(std::string_view control, DateTimeValue value)
{
    Find(control, ControlKind::Date).date = value;
}

void PanelRecord::ChangeDate(std::string_view control, DateTimeValue value)
{
    SetDate(control, value);
    StartDateChange(*this);
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

PanelRecord::Control& PanelRecord::Find(std::string_view control, ControlKind kind)
{
    return const_cast<Control&>(std::as_const(*this).Find(control, kind));
}

const PanelRecord::Control& PanelRecord::Find(std::string_view control, ControlKind kind) const
{
    const Control& found = FindAny(control);
    if (found.kind != kind)
        throw std::logic_error("panel control of another kind: " + std::string(control));
    return found;
}

}  // namespace tickforge
