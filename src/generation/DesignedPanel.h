#pragma once
// The parameter panel as designed: every control, its kind, its text or tick and
// whether it is enabled, before the main window's creation sets the dates and restores
// the settings. The main window's form is tested against this table; the panel record
// and the panel values start from it. The first-start panel is the settings' defaults.

#include <array>
#include <string_view>

namespace tickforge {

enum class ControlKind { Text, CheckBox, Radio, Date };

struct DesignedControl {
    const char* Name;
    ControlKind Kind;
    const char* Text;   // texts only
    bool Checked;       // boxes and radio buttons only
    bool Enabled;
    const char* Partner;  // the other radio button of a pair
};

inline constexpr std::array<DesignedControl, 33> DesignedPanel{{
    // Tab "Time".
    {"StartDate", ControlKind::Date, "", false, true, ""},
    {"EndDate", ControlKind::Date, "", false, true, ""},
    {"ebLength", ControlKind::Text, "180", false, true, ""},
    {"cbWeekends", ControlKind::CheckBox, "", false, true, ""},
    {"cbRandomPeriod", ControlKind::CheckBox, "", false, true, ""},
    {"ebRandomPeriodMin", ControlKind::Text, "90", false, false, ""},
    {"ebTicksPerDay", ControlKind::Text, "1000", false, true, ""},
    // Tab "Price": seed, bounds, distribution.
    {"cbSeedRandom", ControlKind::CheckBox, "", true, true, ""},
    {"ebSeed", ControlKind::Text, "3000", false, true, ""},
    {"ebSeedMin", ControlKind::Text, "0", false, false, ""},
    {"ebSeedMax", ControlKind::Text, "5000", false, false, ""},
    {"cbMin", ControlKind::CheckBox, "", false, true, ""},
    {"ebMinPrice", ControlKind::Text, "0", false, false, ""},
    {"cbMax", ControlKind::CheckBox, "", false, true, ""},
    {"ebMaxPrice", ControlKind::Text, "5000", false, false, ""},
    {"rbHard", ControlKind::Radio, "", true, true, "rbSoft"},
    {"rbSoft", ControlKind::Radio, "", false, true, "rbHard"},
    {"ebTickSize", ControlKind::Text, "", false, false, ""},  // hidden as well; only the settings file uses it
    {"ebVolatility", ControlKind::Text, "1", false, true, ""},
    {"cbActiveBias", ControlKind::CheckBox, "", false, true, ""},
    {"ebBias", ControlKind::Text, "4.5", false, true, ""},
    {"cbActiveShock", ControlKind::CheckBox, "", false, true, ""},
    {"ebShockFreq", ControlKind::Text, "100", false, true, ""},
    {"ebShockMag", ControlKind::Text, "3", false, true, ""},
    // Tab "Volume".
    {"ebMinVolume", ControlKind::Text, "0", false, true, ""},
    {"ebMaxVolume", ControlKind::Text, "1000", false, true, ""},
    // Tab "Dirty Data".
    {"cbDirtyDataActive", ControlKind::CheckBox, "", false, true, ""},
    {"ebDirtydata", ControlKind::Text, "5", false, true, ""},
    // Display and export controls beside the tabs.
    {"ebSecurityName", ControlKind::Text, "AOI", false, true, ""},
    {"ebMultiples", ControlKind::Text, "10", false, true, ""},
    {"rbBar", ControlKind::Radio, "", true, true, "rbCandle"},
    {"rbCandle", ControlKind::Radio, "", false, true, "rbBar"},
    {"cbColor", ControlKind::CheckBox, "", true, true, ""},
}};

}  // namespace tickforge
