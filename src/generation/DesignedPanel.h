#pragma once
// The parameter panel as designed: every control, its kind, its text or tick and
// whether it is enabled, before the main window's creation sets the dates and restores
// the settings. PanelControl names the controls in code, so that a mistyped name fails
// to compile. The main window's form is tested against this table; the panel record
// and the panel values start from it. The first-start panel is the settings' defaults.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tickforge {

enum class PanelControl : std::uint8_t {
    StartDate,
    EndDate,
    ebLength,
    cbWeekends,
    cbRandomPeriod,
    ebRandomPeriodMin,
    ebTicksPerDay,
    cbSeedRandom,
    ebSeed,
    ebSeedMin,
    ebSeedMax,
    cbMin,
    ebMinPrice,
    cbMax,
    ebMaxPrice,
    rbHard,
    rbSoft,
    ebTickSize,
    ebVolatility,
    cbActiveBias,
    ebBias,
    cbActiveShock,
    ebShockFreq,
    ebShockMag,
    ebMinVolume,
    ebMaxVolume,
    cbDirtyDataActive,
    ebDirtydata,
    ebSecurityName,
    ebMultiples,
    rbBar,
    rbCandle,
    cbColor,
};

enum class ControlKind { Text, CheckBox, Radio, Date };

struct DesignedControl {
    PanelControl Control;
    const char* Name;   // the control's object name
    ControlKind Kind;
    const char* Text;   // texts only
    bool Checked;       // boxes and radio buttons only
    bool Enabled;
    const char* Partner;  // the other radio button of a pair
};

inline constexpr std::array<DesignedControl, 33> DesignedPanel{{
    // Tab "Time".
    {PanelControl::StartDate, "StartDate", ControlKind::Date, "", false, true, ""},
    {PanelControl::EndDate, "EndDate", ControlKind::Date, "", false, true, ""},
    {PanelControl::ebLength, "ebLength", ControlKind::Text, "180", false, true, ""},
    {PanelControl::cbWeekends, "cbWeekends", ControlKind::CheckBox, "", false, true, ""},
    {PanelControl::cbRandomPeriod, "cbRandomPeriod", ControlKind::CheckBox, "", false, true, ""},
    {PanelControl::ebRandomPeriodMin, "ebRandomPeriodMin", ControlKind::Text, "90", false, false, ""},
    {PanelControl::ebTicksPerDay, "ebTicksPerDay", ControlKind::Text, "1000", false, true, ""},
    // Tab "Price": seed, bounds, distribution.
    {PanelControl::cbSeedRandom, "cbSeedRandom", ControlKind::CheckBox, "", true, true, ""},
    {PanelControl::ebSeed, "ebSeed", ControlKind::Text, "3000", false, true, ""},
    {PanelControl::ebSeedMin, "ebSeedMin", ControlKind::Text, "0", false, false, ""},
    {PanelControl::ebSeedMax, "ebSeedMax", ControlKind::Text, "5000", false, false, ""},
    {PanelControl::cbMin, "cbMin", ControlKind::CheckBox, "", false, true, ""},
    {PanelControl::ebMinPrice, "ebMinPrice", ControlKind::Text, "0", false, false, ""},
    {PanelControl::cbMax, "cbMax", ControlKind::CheckBox, "", false, true, ""},
    {PanelControl::ebMaxPrice, "ebMaxPrice", ControlKind::Text, "5000", false, false, ""},
    {PanelControl::rbHard, "rbHard", ControlKind::Radio, "", true, true, "rbSoft"},
    {PanelControl::rbSoft, "rbSoft", ControlKind::Radio, "", false, true, "rbHard"},
    {PanelControl::ebTickSize, "ebTickSize", ControlKind::Text, "", false, false, ""},  // hidden as well; only the settings file uses it
    {PanelControl::ebVolatility, "ebVolatility", ControlKind::Text, "1", false, true, ""},
    {PanelControl::cbActiveBias, "cbActiveBias", ControlKind::CheckBox, "", false, true, ""},
    {PanelControl::ebBias, "ebBias", ControlKind::Text, "4.5", false, true, ""},
    {PanelControl::cbActiveShock, "cbActiveShock", ControlKind::CheckBox, "", false, true, ""},
    {PanelControl::ebShockFreq, "ebShockFreq", ControlKind::Text, "100", false, true, ""},
    {PanelControl::ebShockMag, "ebShockMag", ControlKind::Text, "3", false, true, ""},
    // Tab "Volume".
    {PanelControl::ebMinVolume, "ebMinVolume", ControlKind::Text, "0", false, true, ""},
    {PanelControl::ebMaxVolume, "ebMaxVolume", ControlKind::Text, "1000", false, true, ""},
    // Tab "Dirty Data".
    {PanelControl::cbDirtyDataActive, "cbDirtyDataActive", ControlKind::CheckBox, "", false, true, ""},
    {PanelControl::ebDirtydata, "ebDirtydata", ControlKind::Text, "5", false, true, ""},
    // Display and export controls beside the tabs.
    {PanelControl::ebSecurityName, "ebSecurityName", ControlKind::Text, "AOI", false, true, ""},
    {PanelControl::ebMultiples, "ebMultiples", ControlKind::Text, "10", false, true, ""},
    {PanelControl::rbBar, "rbBar", ControlKind::Radio, "", true, true, "rbCandle"},
    {PanelControl::rbCandle, "rbCandle", ControlKind::Radio, "", false, true, "rbBar"},
    {PanelControl::cbColor, "cbColor", ControlKind::CheckBox, "", true, true, ""},
}};

constexpr bool InControlOrder()
{
    for (std::size_t i = 0; i < DesignedPanel.size(); ++i) {
        if (static_cast<std::size_t>(DesignedPanel[i].Control) != i)
            return false;
    }
    return true;
}
static_assert(InControlOrder(), "DesignedPanel lists the controls in PanelControl's order");

constexpr const char* ControlName(PanelControl control) { return DesignedPanel[static_cast<std::size_t>(control)].Name; }

}  // namespace tickforge
