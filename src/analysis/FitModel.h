#pragma once
// Fits the generator's panel to a daily history: the settings under which the model
// would most likely have made it. Every estimator is worked out from the model as
// synthesis runs it:
// - a day's random move is the sum of T uniform steps of width 2.95 x the per-tick
//   volatility, so its standard deviation is 2.95 / sqrt(12) (about 0.8516) times the
//   daily volatility entered;
// - the bias compounds per 365 calendar days, weekends included, and the prices move
//   on every calendar day, also where weekend bars are dropped;
// - a shock event multiplies T consecutive steps (about one day, mostly split over two
//   days) by 1 + u (M - 1), u uniform, and starts on 1 / D of the days on average;
// - the volume is an average (weight one half) of MinVolume + (MaxVolume - MinVolume)
//   x 50 ((High / Low)^2 - 1).

#include "analysis/DailyHistory.h"
#include "generation/PanelControls.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tickforge {

// The standard deviation of a day's random move per unit of daily volatility entered.
inline constexpr double DailyMoveSdPerVolatility = 0.85159067; // 2.95 / sqrt(12)

struct FittedPanel {
    DateTimeValue startDate = 0.0;
    std::int32_t days = 0;      // calendar days from the first bar to the last, both counted
    bool weekends = false;      // the history has bars on Saturdays or Sundays
    double startPrice = 0.0;    // the first open
    double volatilityPercent = 0.0;
    double biasPercent = 0.0;
    bool shocks = false;
    double shockDaysPerEvent = 0.0;
    double shockMagnitude = 0.0;
    bool volumes = false;       // the history has volumes to fit
    double minVolume = 0.0;
    double maxVolume = 0.0;
    // The excess kurtosis of the day-normalised returns, and the largest value that a
    // plain walk gives by chance (three standard errors); shocks are fitted above it.
    double excessKurtosis = 0.0;
    double kurtosisThreshold = 0.0;
    std::vector<std::string> notes;  // where a fitted value had to be limited
};

// Fits the panel for synthesis at ticksPerDay (kept as it is: the volume fit depends on
// it). The history needs at least two bars on different days. The volume fit runs the
// model itself with a fixed seed, so the same history always gives the same panel, and
// leaves the shared random source as it found it.
FittedPanel FitHistory(const DailyHistory& history, std::int32_t ticksPerDay);

// Sets the panel to the fitted values through the panel's own rules, as a user would:
// fixed starting price, no random period, no price bounds; ticks per day, the name,
// the display and dirty data are left as they are. Numbers use the panel's decimal
// separator.
void ApplyFit(const FittedPanel& fit, PanelControls& panel);

}  // namespace tickforge
