#pragma once
// The settings file that carries the parameter panel (and the chart style) from one run
// of the program to the next: section "Generator" of an INI profile file, one key per
// control, restored once when the main window is made and saved once when it goes.

#include "generation/PanelControls.h"
#include "platform/ProfileFile.h"

#include <array>
#include <optional>
#include <vector>
#include <string>
#include <string_view>

namespace tickforge {

inline constexpr const char* SettingsFileName = "TKF.ini";
inline constexpr const char* SettingsSection = "Generator";

enum class SettingKind { Text, Flag };

struct SettingKey {
    std::string_view key;
    SettingKind kind = SettingKind::Text;
    PanelControl control;          // the panel control the key is written from and read into
    std::string_view defaultText;  // a text key's default when restoring
    bool defaultFlag = false;      // a flag key's default when restoring
    // When set: the default is this control's text at the moment of reading.
    std::optional<PanelControl> defaultFromControl;
};

// Every key, in the order in which it is both written and read. Several defaults differ
// from the panel's designed contents on purpose: they are what a first start shows.
// The two radio pairs are restored with Hard before Soft and Bar before Candle, so the
// second key of a pair decides when both are set.
inline constexpr std::array<SettingKey, 28> SettingsKeys{{
    {"Seed", SettingKind::Text, PanelControl::ebSeed, "3000", false, {}},
    // The box captioned "Fixed :": 1 means the fixed starting price is used.
    {"RandomSeed", SettingKind::Flag, PanelControl::cbSeedRandom, {}, false, {}},
    {"SeedMin", SettingKind::Text, PanelControl::ebSeedMin, "2000", false, {}},
    {"SeedMax", SettingKind::Text, PanelControl::ebSeedMax, "4000", false, {}},
    {"Length", SettingKind::Text, PanelControl::ebLength, "180", false, {}},
    {"TicksPerDay", SettingKind::Text, PanelControl::ebTicksPerDay, "1000", false, {}},
    {"RandomPeriodMin", SettingKind::Text, PanelControl::ebRandomPeriodMin, {}, false, PanelControl::ebLength},
    {"RandomPeriod", SettingKind::Flag, PanelControl::cbRandomPeriod, {}, false, {}},
    {"Weekends", SettingKind::Flag, PanelControl::cbWeekends, {}, true, {}},
    {"Min", SettingKind::Flag, PanelControl::cbMin, {}, false, {}},
    {"Max", SettingKind::Flag, PanelControl::cbMax, {}, false, {}},
    {"MinPrice", SettingKind::Text, PanelControl::ebMinPrice, "2000", false, {}},
    {"MaxPrice", SettingKind::Text, PanelControl::ebMaxPrice, "4000", false, {}},
    {"MinVolume", SettingKind::Text, PanelControl::ebMinVolume, "100", false, {}},
    {"MaxVolume", SettingKind::Text, PanelControl::ebMaxVolume, "4000", false, {}},
    {"Hard", SettingKind::Flag, PanelControl::rbHard, {}, true, {}},
    {"Soft", SettingKind::Flag, PanelControl::rbSoft, {}, true, {}},
    {"TickSize", SettingKind::Text, PanelControl::ebTickSize, "", false, {}},
    {"Volatility", SettingKind::Text, PanelControl::ebVolatility, "1", false, {}},
    {"SecurityName", SettingKind::Text, PanelControl::ebSecurityName, "AOI", false, {}},
    {"Bar", SettingKind::Flag, PanelControl::rbBar, {}, false, {}},
    {"Candle", SettingKind::Flag, PanelControl::rbCandle, {}, true, {}},
    {"Dirtydata", SettingKind::Text, PanelControl::ebDirtydata, "1", false, {}},
    {"ActiveBias", SettingKind::Flag, PanelControl::cbActiveBias, {}, false, {}},
    {"ActiveShock", SettingKind::Flag, PanelControl::cbActiveShock, {}, false, {}},
    {"Bias", SettingKind::Text, PanelControl::ebBias, "5", false, {}},
    {"ShockFreq", SettingKind::Text, PanelControl::ebShockFreq, "100", false, {}},
    {"ShockMag", SettingKind::Text, PanelControl::ebShockMag, "3", false, {}},
}};

// The text a first start gives a control: its key's default.
std::string FirstStartText(PanelControl control);

// Reads the keys one by one in table order and applies each at once, as a user's action
// would be applied: a changed text runs its field's rule, a changed box its click rule,
// a newly selected radio button deselects its partner and runs its rule, and a
// deselected one runs nothing. Missing keys take their defaults, and so does every key
// of a file that cannot be read. No file is created. The file is read once.
void RestoreSettings(PanelControls& panel, const std::string& fileName);
void RestoreSettings(PanelControls& panel, const ProfileFile& file);

// Writes every key in table order from the controls as they are ("1"/"0" for boxes and
// radio buttons); nothing is validated. The keys are put in place together, in one
// atomic replace; a refused write raises "Unable to write to %s" with fileName and
// leaves the file byte for byte as it was.
void SaveSettings(const PanelControls& panel, const std::string& fileName);

// Every key's value as SaveSettings writes it, in table order.
std::vector<IniEntry> SettingsEntries(const PanelControls& panel);

}  // namespace tickforge
