#include "generation/PanelValues.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using namespace tickforge;

// Controls kept in maps; reading an unknown control fails the test.
class MapPanel final : public PanelControls {
public:
    std::string Text(std::string_view control) const override { return Find(texts, control); }
    void SetText(std::string_view control, const std::string& text) override { texts[std::string(control)] = text; }
    bool Checked(std::string_view control) const override { return Find(checks, control); }
    void SetChecked(std::string_view control, bool checked) override { checks[std::string(control)] = checked; }
    bool Enabled(std::string_view) const override { return true; }
    void SetEnabled(std::string_view, bool) override {}
    DateTimeValue Date(std::string_view control) const override { return Find(dates, control); }
    void SetDate(std::string_view control, DateTimeValue value) override { dates[std::string(control)] = value; }
    void Beep() override {}
    const LocaleFormats& Formats() const override { return formats; }

    std::map<std::string, std::string> texts;
    std::map<std::string, bool> checks;
    std::map<std::string, DateTimeValue> dates;
    LocaleFormats formats;

private:
    template <typename T>
    static T Find(const std::map<std::string, T>& map, std::string_view control)
    {
        const auto it = map.find(std::string(control));
        if (it == map.end()) {
            ADD_FAILURE() << "read of unknown control " << control;
            return T{};
        }
        return it->second;
    }
};

TEST(ReadPanelValues, TakesEveryMemberFromTheControlOfTheSameName)
{
    MapPanel panel;
    const char* texts[] = {"ebLength", "ebRandomPeriodMin", "ebTicksPerDay", "ebSeed", "ebSeedMin", "ebSeedMax",
                           "ebMinPrice", "ebMaxPrice", "ebVolatility", "ebBias", "ebShockFreq", "ebShockMag",
                           "ebMinVolume", "ebMaxVolume", "ebDirtydata"};
    for (const char* name : texts)
        panel.texts[name] = std::string("text of ") + name;
    // Alternate the switches so that a swapped pair would show.
    const char* checks[] = {"cbRandomPeriod", "cbWeekends", "cbSeedRandom", "cbMin", "cbMax",
                            "rbSoft", "cbActiveBias", "cbActiveShock", "cbDirtyDataActive"};
    bool state = true;
    for (const char* name : checks) {
        panel.checks[name] = state;
        state = !state;
    }
    panel.dates["StartDate"] = 45293.75;
    panel.dates["EndDate"] = 1.0;

    const PanelValues v = ReadPanelValues(panel);
    EXPECT_EQ(v.StartDate, 45293.75);
    EXPECT_EQ(v.ebLength, "text of ebLength");
    EXPECT_EQ(v.ebRandomPeriodMin, "text of ebRandomPeriodMin");
    EXPECT_EQ(v.ebTicksPerDay, "text of ebTicksPerDay");
    EXPECT_EQ(v.ebSeed, "text of ebSeed");
    EXPECT_EQ(v.ebSeedMin, "text of ebSeedMin");
    EXPECT_EQ(v.ebSeedMax, "text of ebSeedMax");
    EXPECT_EQ(v.ebMinPrice, "text of ebMinPrice");
    EXPECT_EQ(v.ebMaxPrice, "text of ebMaxPrice");
    EXPECT_EQ(v.ebVolatility, "text of ebVolatility");
    EXPECT_EQ(v.ebBias, "text of ebBias");
    EXPECT_EQ(v.ebShockFreq, "text of ebShockFreq");
    EXPECT_EQ(v.ebShockMag, "text of ebShockMag");
    EXPECT_EQ(v.ebMinVolume, "text of ebMinVolume");
    EXPECT_EQ(v.ebMaxVolume, "text of ebMaxVolume");
    EXPECT_EQ(v.ebDirtydata, "text of ebDirtydata");
    EXPECT_TRUE(v.cbRandomPeriod);
    EXPECT_FALSE(v.cbWeekends);
    EXPECT_TRUE(v.cbSeedRandom);
    EXPECT_FALSE(v.cbMin);
    EXPECT_TRUE(v.cbMax);
    EXPECT_FALSE(v.rbSoft);
    EXPECT_TRUE(v.cbActiveBias);
    EXPECT_FALSE(v.cbActiveShock);
    EXPECT_TRUE(v.cbDirtyDataActive);
}

}  // namespace
