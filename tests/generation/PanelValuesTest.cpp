#include "generation/PanelValues.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using namespace tickforge;

// Controls kept in maps; reading a control that was not filled throws.
class MapPanel final : public PanelControls {
public:
    std::string Text(std::string_view control) const override { return texts.at(std::string(control)); }
    void SetText(std::string_view, const std::string&) override {}
    bool Checked(std::string_view control) const override { return checks.at(std::string(control)); }
    void SetChecked(std::string_view, bool) override {}
    bool Enabled(std::string_view) const override { return true; }
    void SetEnabled(std::string_view, bool) override {}
    DateTimeValue Date(std::string_view control) const override { return control == "StartDate" ? 45293.75 : -1.0; }
    void SetDate(std::string_view, DateTimeValue) override {}
    void Beep() override {}
    const LocaleFormats& Formats() const override { return formats; }

    std::map<std::string, std::string> texts;
    std::map<std::string, bool> checks;
    LocaleFormats formats;
};

TEST(ReadPanelValues, TakesEveryMemberFromTheControlOfTheSameName)
{
    const std::pair<const char*, std::string PanelValues::*> texts[] = {
        {"ebLength", &PanelValues::ebLength},         {"ebRandomPeriodMin", &PanelValues::ebRandomPeriodMin},
        {"ebTicksPerDay", &PanelValues::ebTicksPerDay}, {"ebSeed", &PanelValues::ebSeed},
        {"ebSeedMin", &PanelValues::ebSeedMin},       {"ebSeedMax", &PanelValues::ebSeedMax},
        {"ebMinPrice", &PanelValues::ebMinPrice},     {"ebMaxPrice", &PanelValues::ebMaxPrice},
        {"ebVolatility", &PanelValues::ebVolatility}, {"ebBias", &PanelValues::ebBias},
        {"ebShockFreq", &PanelValues::ebShockFreq},   {"ebShockMag", &PanelValues::ebShockMag},
        {"ebMinVolume", &PanelValues::ebMinVolume},   {"ebMaxVolume", &PanelValues::ebMaxVolume},
        {"ebDirtydata", &PanelValues::ebDirtydata}};
    const std::pair<const char*, bool PanelValues::*> checks[] = {
        {"cbRandomPeriod", &PanelValues::cbRandomPeriod}, {"cbWeekends", &PanelValues::cbWeekends},
        {"cbSeedRandom", &PanelValues::cbSeedRandom},     {"cbMin", &PanelValues::cbMin},
        {"cbMax", &PanelValues::cbMax},                   {"rbSoft", &PanelValues::rbSoft},
        {"cbActiveBias", &PanelValues::cbActiveBias},     {"cbActiveShock", &PanelValues::cbActiveShock},
        {"cbDirtyDataActive", &PanelValues::cbDirtyDataActive}};
    MapPanel panel;
    for (const auto& [name, member] : texts)
        panel.texts[name] = name;
    bool state = true;  // alternating, so that a swapped pair shows
    for (const auto& [name, member] : checks)
        panel.checks[name] = (state = !state);

    const PanelValues v = ReadPanelValues(panel);
    EXPECT_EQ(v.StartDate, 45293.75);
    for (const auto& [name, member] : texts)
        EXPECT_EQ(v.*member, name);
    for (const auto& [name, member] : checks)
        EXPECT_EQ(v.*member, panel.checks[name]) << name;
}

}  // namespace
