#include "settings/Settings.h"

#include "platform/ProfileFile.h"

namespace tickforge {

void RestoreSettings(PanelControls& panel, const std::string& fileName) { RestoreSettings(panel, ProfileFile(fileName)); }

void RestoreSettings(PanelControls& panel, const ProfileFile& file)
{
    for (const SettingKey& setting : SettingsKeys) {
        const std::string key(setting.key);
        const PanelControl control = setting.control;
        if (setting.kind == SettingKind::Flag) {
            panel.SetChecked(control, file.ReadFlag(SettingsSection, key, setting.defaultFlag));
        } else {
            // Read now: an earlier key's rule may just have changed the source control.
            const std::string defaultText = setting.defaultFromControl ? panel.Text(*setting.defaultFromControl)
                                                                       : std::string(setting.defaultText);
            panel.SetText(control, file.ReadText(SettingsSection, key, defaultText));
        }
    }
}

std::string FirstStartText(PanelControl control)
{
    for (const SettingKey& setting : SettingsKeys) {
        if (setting.control == control)
            return std::string(setting.defaultText);
    }
    return {};
}

std::vector<IniEntry> SettingsEntries(const PanelControls& panel)
{
    std::vector<IniEntry> entries;
    for (const SettingKey& setting : SettingsKeys) {
        std::string value = setting.kind == SettingKind::Flag ? (panel.Checked(setting.control) ? "1" : "0")
                                                              : panel.Text(setting.control);
        entries.push_back({std::string(setting.key), std::move(value)});
    }
    return entries;
}

void SaveSettings(const PanelControls& panel, const std::string& fileName)
{
    ProfileFile file(fileName);
    for (const IniEntry& entry : SettingsEntries(panel))
        file.WriteText(SettingsSection, entry.key, entry.value);
    file.Save();
}

}  // namespace tickforge
