#include "generation/GenerationRun.h"

#include "platform/CheckedMath.h"
#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/NumericText.h"
#include "platform/Random.h"
#include "synthesis/HistoryRequest.h"
#include "synthesis/MakeHistory.h"

#include <cstdint>
#include <limits>

namespace tickforge {

namespace {

// A draw in [0, n) from the shared source. The bound is worked out in 64 bits; one
// that no 32-bit integer holds (only reachable with absurd panel texts) is refused.
std::int32_t RandomInt(std::int64_t n)
{
    if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
        throw Error(messages::RangeCheck);
    return SharedRandom().NextInt(static_cast<std::int32_t>(n));
}

double RandomReal() { return SharedRandom().NextReal(); }

}  // namespace

GenerationRun::GenerationRun(GenerationUi& ui, LocaleFormats formats)
    : Synthesize([](const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result) {
          return MakeHistory(request, progress, result);
      }),
      ui_(ui),
      formats_(std::move(formats))
{
}

GenerationOutcome GenerationRun::btnGenerateClick()
{
    ui_.ShowBusyCursor();
    GenerationOutcome outcome;
    try {
        outcome = Generate(ui_.ReadPanel());
    } catch (...) {
        outcome = {GenerationOutcome::Failed, CurrentErrorMessage()};
    }
    EndRun();
    return outcome;
}

void GenerationRun::EndRun()
{
    ui_.HideProgressWindow();
    ui_.SetMainWindowEnabled(true);
    ui_.Progress().SetActivity(messages::IdleActivity);
    ui_.RestoreCursor();
}

GenerationOutcome GenerationRun::Generate(const PanelValues& panel)
{
    const auto asInt = [](const std::string& text) { return StrToInt(text); };
    const auto asReal = [this](const std::string& text) { return StrToFloat(text, formats_); };
    bool generationFailed = false;

    double start = panel.StartDate;
    const std::int32_t length = asInt(panel.ebLength);

    // A random period: between the minimum and length - 1 days, shifted forward by
    // whole days so that it stays inside the panel's range.
    std::int32_t days = length;
    if (panel.cbRandomPeriod) {
        const std::int32_t minimum = asInt(panel.ebRandomPeriodMin);
        days = minimum + RandomInt(static_cast<std::int64_t>(length) - minimum);
        start = start + RandomInt(static_cast<std::int64_t>(length) - days);
    }

    // Dates are written with four-digit years: a history may not leave them.
    const double lastDay = WholeDays(start) + static_cast<double>(days) - 1.0;
    if (lastDay < FirstDay || lastDay > LastDay) {
        ui_.ShowMessage(messages::OutsideCalendar, messages::ErrorTitle);
        generationFailed = true;
    }

    const double magnitude = panel.cbActiveShock ? asReal(panel.ebShockMag) : 1.0;
    if (panel.cbActiveShock && magnitude < 1.0) {
        ui_.ShowMessage(messages::MinimumShockMagnitude, messages::ErrorTitle);
        generationFailed = true;
    }

    const double shockFrequency = asReal(panel.ebShockFreq);
    const std::int32_t ticksPerDay = asInt(panel.ebTicksPerDay);
    // The percentage is read before the root of T is taken: the order of a call's
    // arguments is not fixed, and a text that is no number must be reported first.
    const double volatilityPercent = asReal(panel.ebVolatility);
    const double volatility =
        CheckedDiv(CheckedDiv(volatilityPercent, 100.0), CheckedSqrt(static_cast<double>(ticksPerDay)));
    const double bias = panel.cbActiveBias ? asReal(panel.ebBias) : 0.0;

    // The random starting price is drawn before its range is checked, so an inverted
    // range still moves the random sequence on.
    double price = 0.0;
    if (panel.cbSeedRandom) {
        price = asReal(panel.ebSeed);
    } else {
        const double hi = asReal(panel.ebSeedMax);
        const double lo = asReal(panel.ebSeedMin);
        const double draw = RandomReal();  // drawn first, also when the range's width overflows
        price = CheckFinite(lo + CheckFinite(draw * CheckFinite(hi - lo)));
    }

    if (panel.cbMin && asReal(panel.ebMinPrice) >= price) {
        ui_.ShowMessage(messages::MinimumPriceAboveSeed, messages::ErrorTitle);
        generationFailed = true;
    }
    if (panel.cbMax && asReal(panel.ebMaxPrice) <= price) {
        ui_.ShowMessage(messages::MaximumPriceBelowSeed, messages::ErrorTitle);
        generationFailed = true;
    }
    if (!panel.cbSeedRandom) {
        const double lo = asReal(panel.ebSeedMin);
        const double hi = asReal(panel.ebSeedMax);
        if (lo >= hi) {
            ui_.ShowMessage(messages::SeedRangeInverted, messages::ErrorTitle);
            generationFailed = true;
        }
    }
    if (generationFailed)
        return {GenerationOutcome::ChecksFailed};

    ui_.ShowProgressWindow();
    ui_.SetMainWindowEnabled(false);

    // Refuse a bad percentage before synthesis rather than after it.
    if (panel.cbDirtyDataActive)
        asReal(panel.ebDirtydata);

    HistoryRequest request;
    request.Name = messages::SynthName;
    request.SeedPrice = price;
    request.TicksPerDay = ticksPerDay;
    request.NumberOfDays = days;
    request.StartDate = start;
    request.SoftBounds = panel.rbSoft;
    request.MinBoundActive = panel.cbMin;
    request.MaxBoundActive = panel.cbMax;
    request.MaxPrice = asReal(panel.ebMaxPrice);
    request.MinPrice = asReal(panel.ebMinPrice);
    request.MaxVolume = asReal(panel.ebMaxVolume);
    request.MinVolume = asReal(panel.ebMinVolume);
    request.BiasPercentPerYear = bias;
    request.ShockDaysPerEvent = shockFrequency;
    request.ShockMagnitude = magnitude;
    request.TickVolatility = volatility;
    request.SkipWeekends = !panel.cbWeekends;

    bool finished = false;
    try {
        finished = Synthesize(request, ui_.Progress(), GeneratedSet);
    } catch (...) {
        // A history that failed is no history: "Apply" and the export generate anew, as
        // they do before the first "GO", instead of using what synthesis left behind.
        GeneratedSet.SetSeriesCount(0);
        WorkingSet.SetSeriesCount(0);
        throw;
    }
    LastRun = RunRecord{panel, days, start, price, SharedRandom().LastClockSeed()};
    RefreshWorkingSet(panel);
    ui_.ShowBars(GeneratedSet, true);
    return {finished ? GenerationOutcome::Generated : GenerationOutcome::Aborted};
}

void GenerationRun::RefreshWorkingSet() { RefreshWorkingSet(ui_.ReadPanel()); }

void GenerationRun::RefreshWorkingSet(const PanelValues& panel)
{
    Corruptions.clear();
    WorkingSet.Assign(GeneratedSet);
    if (!panel.cbDirtyDataActive)
        return;
    const double percentage = StrToFloat(panel.ebDirtydata, formats_);
    if (RecordCorruptions)
        CorruptHistory(WorkingSet, percentage, Corruptions);
    else
        CorruptHistory(WorkingSet, percentage);
}

GenerationOutcome GenerationRun::btnCorruptClick()
{
    if (WorkingSet.SeriesCount() == 0) {
        // An aborted run leaves an empty history, which is corrupted and shown as any.
        const GenerationOutcome first = btnGenerateClick();
        if (first.kind == GenerationOutcome::ChecksFailed || first.kind == GenerationOutcome::Failed)
            return first;
    }
    try {
        RefreshWorkingSet();
    } catch (...) {
        return {GenerationOutcome::Failed, CurrentErrorMessage()};
    }
    ui_.ShowBars(WorkingSet, false);
    return {};
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

}  // namespace tickforge
