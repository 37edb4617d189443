// The fit proved by round trip: histories made with known settings, fitted, give the
// settings back within the tolerances the fit promises for a few hundred bars or more.

#include "analysis/FitModel.h"
#include "analysis/HistoryReport.h"
#include "generation/PanelRecord.h"
#include "platform/Random.h"
#include "support/DailyBars.h"
#include "synthesis/MakeHistory.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tickforge {
namespace {

constexpr std::int32_t Ticks = 100;  // few ticks keep the test fast; the fit takes T into account

struct Known {
    const char* name;
    double volatility, bias;
    std::int32_t days;
    bool weekends;
    double shockDays, shockMagnitude;  // magnitude 1: no shocks
};

DailyHistory Make(const Known& k, std::uint32_t seed)
{
    const HistoryRequest r{.Name = "Synth", .SeedPrice = 100.0, .TicksPerDay = Ticks, .NumberOfDays = k.days,
                           .StartDate = EncodeDate({2021, 3, 1}), .MinVolume = 500.0, .MaxVolume = 3000.0,
                           .BiasPercentPerYear = k.bias, .ShockDaysPerEvent = k.shockDays,
                           .ShockMagnitude = k.shockMagnitude, .TickVolatility = k.volatility / 100.0 / std::sqrt(Ticks),
                           .SkipWeekends = !k.weekends};
    const testing::Undo keepRandom = testing::KeepSharedRandom();
    SharedRandom().SetClockSeedSource([seed] { return seed; });
    NullProgressSink progress;
    TTimeSeriesSet bars;
    MakeHistory(r, progress, bars);
    return HistoryFromBars(bars, k.name);
}

TEST(FitModel, GivesKnownSettingsBack)
{
    const Known cases[] = {
        {"weekends kept, rising", 1.5, 8.0, 730, true, 100.0, 1.0},
        {"weekends dropped, falling, calm", 0.3, -10.0, 1000, false, 100.0, 1.0},
        {"shocks", 1.0, 8.0, 1460, true, 20.0, 4.0},
    };
    for (const Known& k : cases) {
        SCOPED_TRACE(k.name);
        const DailyHistory h = Make(k, 4711);
        const std::uint32_t seedAfter = SharedRandom().Seed();
        const FittedPanel fit = FitHistory(h, Ticks);
        EXPECT_EQ(SharedRandom().Seed(), seedAfter) << "the fit leaves the shared random sequence as it was";
        const bool shocks = k.shockMagnitude > 1.0;

        EXPECT_EQ(fit.startDate, EncodeDate({2021, 3, 1}));
        EXPECT_EQ(fit.days, k.days - (k.weekends ? 0 : 1));  // 1000 days from a Monday end on a Sunday
        EXPECT_EQ(fit.weekends, k.weekends);
        EXPECT_EQ(fit.startPrice, h.open.front());
        EXPECT_NEAR(fit.volatilityPercent / k.volatility, 1.0, shocks ? 0.10 : 0.05);
        // The bias is known only to the noise of the log growth: three standard errors.
        const double dailySd = k.volatility / 100.0 * DailyMoveSdPerVolatility;
        EXPECT_NEAR(std::log1p(fit.biasPercent / 100.0), std::log1p(k.bias / 100.0),
                    3.0 * 365.0 * dailySd / std::sqrt(double(fit.days)));
        ASSERT_EQ(fit.shocks, shocks);
        if (shocks) {
            EXPECT_NEAR(std::log(fit.shockDaysPerEvent / k.shockDays), 0.0, std::log(2.0));
            EXPECT_NEAR(fit.shockMagnitude / k.shockMagnitude, 1.0, 0.30);
        }
        // Volumes: the model's median and 90 % volume within 15 %, the scale too.
        EXPECT_NEAR(fit.maxVolume / 3000.0, 1.0, 0.15);
        for (const double q : {0.5, 0.9}) {
            std::vector<double> scale;
            for (const double v : h.volume)
                scale.push_back((v - 500.0) / 2500.0);
            const double x = Quantile(scale, q);
            EXPECT_NEAR((fit.minVolume + (fit.maxVolume - fit.minVolume) * x) / Quantile(h.volume, q), 1.0, 0.15);
        }
    }
}

TEST(FitModel, SetsThePanelThroughItsRulesInTheUsersDecimals)
{
    const FittedPanel fit{.startDate = EncodeDate({2022, 1, 3}), .days = 365, .startPrice = 123.456,
                          .volatilityPercent = 1.23456, .biasPercent = -7.5, .shocks = true, .shockDaysPerEvent = 42.26,
                          .shockMagnitude = 3.5, .volumes = true, .minVolume = 1200.4, .maxVolume = 56000.6, .notes = {}};
    PanelRecord panel({',', "dd.MM.yyyy"});
    panel.SetChecked("cbMin", true);
    panel.SetChecked("cbRandomPeriod", true);
    ApplyFit(fit, panel);
    EXPECT_EQ(panel.Date("StartDate"), fit.startDate);
    EXPECT_EQ(panel.Date("EndDate"), fit.startDate + 365);
    // Unticked, with the controls their rules disable.
    EXPECT_FALSE(panel.Checked("cbRandomPeriod") || panel.Enabled("ebRandomPeriodMin"));
    EXPECT_FALSE(panel.Checked("cbMin") || panel.Enabled("ebMinPrice"));
    EXPECT_FALSE(panel.Checked("cbWeekends"));
    EXPECT_TRUE(panel.Checked("cbSeedRandom"));
    EXPECT_TRUE(panel.Checked("cbActiveShock"));
    const std::pair<const char*, const char*> texts[] = {
        {"ebLength", "365"},  {"ebSeed", "123,4560"},  {"ebVolatility", "1,2346"}, {"ebBias", "-7,500"},
        {"ebShockFreq", "42,3"}, {"ebShockMag", "3,500"}, {"ebMinVolume", "1200"},  {"ebMaxVolume", "56001"}};
    for (const auto& [box, text] : texts)
        EXPECT_EQ(panel.Text(box), text) << box;
}

}  // namespace
}  // namespace tickforge
