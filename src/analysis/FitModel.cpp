#include "analysis/FitModel.h"

#include "analysis/HistoryReport.h"
#include "generation/PanelRules.h"
#include "platform/Error.h"
#include "platform/Random.h"
#include "synthesis/MakeHistory.h"

#include <boost/math/quadrature/gauss.hpp>
#include <boost/math/statistics/univariate_statistics.hpp>
#include <boost/math/tools/minima.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tickforge {

namespace {

// The day-normalised returns z = (r - mu g) / sqrt(g) of a walk whose variance grows
// with the calendar days g between two bars, and its per-day drift mu and variance.
struct DailyMoves {
    std::vector<double> z;
    double drift = 0.0;
    double variance = 0.0;
};

DailyMoves MeasureMoves(const DailyHistory& h)
{
    DailyMoves m;
    const std::vector<double> returns = LogReturns(h);
    const double calendarDays = h.dates.back() - h.dates.front();
    double total = 0.0;
    for (const double r : returns)
        total += r;
    m.drift = total / calendarDays;
    double squares = 0.0;
    for (std::size_t i = 0; i < returns.size(); ++i) {
        const double g = h.dates[i + 1] - h.dates[i];
        const double deviation = returns[i] - m.drift * g;
        squares += deviation * deviation;
        m.z.push_back(deviation / std::sqrt(g));
    }
    // Divided by the calendar days, so the fitted walk has the history's variance per
    // year, whether the bars skip weekends or not.
    const double n = static_cast<double>(returns.size());
    m.variance = squares / calendarDays * n / std::max(n - 1.0, 1.0);
    return m;
}

// A day holds a fraction f of a shock event with probability p = 2 / D (an event's T
// steps usually fall on two days), f uniform in [0, 1]; its move is then normal with
// variance s2 (1 + f k), k = E[(1 + u m)^2] - 1 = m + m^2 / 3, m = M - 1, u uniform.
// Other days are normal with variance s2. The three are fitted by maximum likelihood,
// one coordinate at a time, started from the moments:
//   variance = s2 (1 + p k / 2),  kurtosis = 3 (1 + p k + p k^2 / 3) / (1 + p k / 2)^2.
class ShockLikelihood {
public:
    explicit ShockLikelihood(const std::vector<double>& z) : z_(z) {}

    double NegativeLogLikelihood(double sd, double p, double k) const
    {
        constexpr double InvSqrt2Pi = 0.3989422804014327;
        double total = 0.0;
        for (const double z : z_) {
            const auto density = [&](double f) {
                const double s = sd * std::sqrt(1.0 + f * k);
                return InvSqrt2Pi / s * std::exp(-0.5 * (z / s) * (z / s));
            };
            const double shocked = boost::math::quadrature::gauss<double, 10>::integrate(density, 0.0, 1.0);
            total -= std::log((1.0 - p) * density(0.0) + p * shocked + 1e-300);
        }
        return total;
    }

private:
    const std::vector<double>& z_;
};

void FitShocks(const DailyMoves& moves, std::size_t bars, FittedPanel& fit, double& baseVariance)
{
    // Start: a robust base deviation, the rest of the variance and the kurtosis to shocks.
    std::vector<double> deviations;
    const double centre = Quantile(moves.z, 0.5);
    for (const double z : moves.z)
        deviations.push_back(std::fabs(z - centre));
    double sd = 1.4826 * Quantile(deviations, 0.5);
    const double variance = boost::math::statistics::variance(moves.z);
    const double a = std::clamp(2.0 * (variance / (sd * sd) - 1.0), 0.02, 10.0);
    const double kurtosis = fit.excessKurtosis + 3.0;
    const double pk2 = 3.0 * (kurtosis / 3.0 * (1.0 + a / 2.0) * (1.0 + a / 2.0) - 1.0 - a);
    double k = std::clamp(pk2 / a, 0.2, 1e4);
    double p = std::clamp(a / k, 1e-3, 0.9);

    const ShockLikelihood likelihood(moves.z);
    const double robustSd = sd;
    const int bits = 20;
    for (int round = 0; round < 6; ++round) {
        sd = boost::math::tools::brent_find_minima(
                 [&](double s) { return likelihood.NegativeLogLikelihood(s, p, k); }, 0.5 * robustSd, 1.2 * robustSd,
                 bits)
                 .first;
        p = std::exp(boost::math::tools::brent_find_minima(
                         [&](double lp) { return likelihood.NegativeLogLikelihood(sd, std::exp(lp), k); },
                         std::log(1e-3), std::log(0.9), bits)
                         .first);
        k = std::exp(boost::math::tools::brent_find_minima(
                         [&](double lk) { return likelihood.NegativeLogLikelihood(sd, p, std::exp(lk)); },
                         std::log(0.2), std::log(1e4), bits)
                         .first);
    }
    const double m = 1.5 * (std::sqrt(1.0 + 4.0 * k / 3.0) - 1.0);
    fit.shockMagnitude = std::min(1.0 + m, 100.0);
    fit.shockDaysPerEvent = std::clamp(2.0 / p, 2.0, 10.0 * static_cast<double>(bars));
    baseVariance = sd * sd;
}

// Runs the model with the fitted prices and volumes 0 to 1, so that each volume is the
// model's volume scale x for which volume = MinVolume + (MaxVolume - MinVolume) x.
std::vector<double> ModelVolumeScale(const FittedPanel& fit, std::int32_t ticksPerDay)
{
    constexpr std::int64_t TickBudget = 40'000'000;
    const std::int64_t days = std::clamp<std::int64_t>(TickBudget / ticksPerDay, 200, 2000);
    const std::int64_t daysPerRun = std::clamp<std::int64_t>(4'000'000 / ticksPerDay, 20, 400);
    constexpr std::size_t WarmUpBars = 10;  // the volume average forgets its first bar

    HistoryRequest request;
    request.Name = "Fit";
    request.SeedPrice = fit.startPrice;
    request.TicksPerDay = ticksPerDay;
    request.StartDate = fit.startDate;
    request.MinVolume = 0.0;
    request.MaxVolume = 1.0;
    request.BiasPercentPerYear = fit.biasPercent;
    request.ShockDaysPerEvent = fit.shocks ? fit.shockDaysPerEvent : 100.0;
    request.ShockMagnitude = fit.shocks ? fit.shockMagnitude : 1.0;
    request.TickVolatility = fit.volatilityPercent / 100.0 / std::sqrt(static_cast<double>(ticksPerDay));
    request.SkipWeekends = !fit.weekends;

    RandomSource& random = SharedRandom();
    const std::uint32_t savedSeed = random.Seed();
    const RandomSource::ClockSeedSource savedSource = random.GetClockSeedSource();
    std::uint32_t runSeed = 20240101u;
    random.SetClockSeedSource([&runSeed] { return runSeed++; });
    std::vector<double> scale;
    try {
        NullProgressSink progress;
        for (std::int64_t done = 0; done < days; done += daysPerRun) {
            request.NumberOfDays = static_cast<std::int32_t>(daysPerRun);
            TTimeSeriesSet bars;
            MakeHistory(request, progress, bars);
            const TTimeSeries& volume = bars.At(SeriesVolume);
            for (std::int32_t i = static_cast<std::int32_t>(WarmUpBars); i < volume.Count(); ++i)
                scale.push_back(volume.GetValue(i));
        }
    } catch (...) {
        random.SetClockSeedSource(savedSource);
        random.SetSeed(savedSeed);
        throw;
    }
    random.SetClockSeedSource(savedSource);
    random.SetSeed(savedSeed);
    return scale;
}

// Minimum and maximum volume that put the model's median and 90 % volume on the
// history's: volume = min + (max - min) x, so two quantiles fix both.
void FitVolumes(const DailyHistory& h, std::int32_t ticksPerDay, FittedPanel& fit)
{
    const double median = Quantile(h.volume, 0.5);
    const double upper = Quantile(h.volume, 0.9);
    const std::vector<double> scale = ModelVolumeScale(fit, ticksPerDay);
    const double scaleMedian = Quantile(scale, 0.5);
    const double scaleUpper = Quantile(scale, 0.9);
    double span = (upper - median) / (scaleUpper - scaleMedian);
    double minimum = median - span * scaleMedian;
    if (!(minimum >= 0.0)) {
        // Volumes spread wider than the model's: no negative volumes; keep the median.
        minimum = 0.0;
        span = median / scaleMedian;
        fit.notes.push_back("the volumes spread wider than the model can make them: minimum volume 0 keeps the "
                            "median, the upper volumes come out lower");
    }
    fit.volumes = std::isfinite(span);
    fit.minVolume = minimum;
    fit.maxVolume = minimum + span;
}

std::string Decimal(double value, int decimals, char separator)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, result.ptr);
    std::replace(out.begin(), out.end(), '.', separator);
    return out;
}

// Enough decimals for about seven significant digits.
int DecimalsFor(double value)
{
    const double magnitude = std::floor(std::log10(std::max(std::fabs(value), 1e-12)));
    return std::clamp(6 - static_cast<int>(magnitude), 0, 10);
}

}  // namespace

FittedPanel FitHistory(const DailyHistory& h, std::int32_t ticksPerDay)
{
    if (h.Bars() < 2 || h.dates.back() <= h.dates.front())
        throw Error(h.source + ": at least two bars on different days are needed");
    FittedPanel fit;
    fit.startDate = h.dates.front();
    fit.days = static_cast<std::int32_t>(h.dates.back() - h.dates.front()) + 1;
    fit.weekends = std::any_of(h.dates.begin(), h.dates.end(), [](DateTimeValue d) { return IsWeekend(d); });
    fit.startPrice = h.open.front();

    const DailyMoves moves = MeasureMoves(h);
    const double n = static_cast<double>(moves.z.size());
    fit.excessKurtosis = moves.z.size() >= 4 ? boost::math::statistics::excess_kurtosis(moves.z) : 0.0;
    fit.kurtosisThreshold = 3.0 * std::sqrt(24.0 / n);
    double baseVariance = moves.variance;
    fit.shocks = fit.excessKurtosis > fit.kurtosisThreshold;
    if (fit.shocks)
        FitShocks(moves, h.Bars(), fit, baseVariance);
    fit.volatilityPercent = 100.0 * std::sqrt(baseVariance) / DailyMoveSdPerVolatility;
    // A tick's log move has mean drift - variance / 2: the bias that makes the model's
    // log price drift like the history's adds half the daily variance back.
    fit.biasPercent = 100.0 * std::expm1(365.0 * (moves.drift + moves.variance / 2.0));
    if (h.HasVolume())
        FitVolumes(h, ticksPerDay, fit);
    return fit;
}

void ApplyFit(const FittedPanel& fit, PanelControls& panel)
{
    const char separator = panel.Formats().decimalSeparator;
    const auto type = [&](PanelControl control, double value, int decimals) {
        panel.SetText(control, Decimal(value, decimals, separator));
    };
    panel.SetChecked(PanelControl::cbRandomPeriod, false);
    panel.SetDate(PanelControl::StartDate, fit.startDate);
    ebLengthChange(panel);
    panel.SetText(PanelControl::ebLength, std::to_string(fit.days));
    panel.SetChecked(PanelControl::cbWeekends, fit.weekends);

    panel.SetChecked(PanelControl::cbSeedRandom, true);
    type(PanelControl::ebSeed, fit.startPrice, DecimalsFor(fit.startPrice));
    panel.SetChecked(PanelControl::cbMin, false);
    panel.SetChecked(PanelControl::cbMax, false);
    type(PanelControl::ebVolatility, fit.volatilityPercent, DecimalsFor(fit.volatilityPercent) - 2);
    panel.SetChecked(PanelControl::cbActiveBias, true);
    type(PanelControl::ebBias, fit.biasPercent, 3);
    panel.SetChecked(PanelControl::cbActiveShock, fit.shocks);
    if (fit.shocks) {
        type(PanelControl::ebShockFreq, fit.shockDaysPerEvent, 1);
        type(PanelControl::ebShockMag, fit.shockMagnitude, 3);
    }
    if (fit.volumes) {
        type(PanelControl::ebMinVolume, fit.minVolume, 0);
        type(PanelControl::ebMaxVolume, fit.maxVolume, 0);
    }
}

}  // namespace tickforge
