#include "generation/GenerationRun.h"

#include "generation/FakeGenerationUi.h"
#include "platform/Error.h"
#include "support/DailyBars.h"
#include "synthesis/Abort.h"
#include "synthesis/MakeHistory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace tickforge {
void PrintTo(const GenerationOutcome& outcome, std::ostream* out) { *out << outcome.kind << " '" << outcome.Error << "'"; }
}  // namespace tickforge

namespace {

using namespace tickforge;
using tickforge::testing::FakeGenerationUi;
using tickforge::testing::SeedAfter;
using tickforge::testing::SharedRandomGuard;
using Boxes = std::vector<FakeGenerationUi::Box>;
using Change = std::function<void(PanelValues&)>;

GenerationOutcome Failure(const std::string& message) { return {GenerationOutcome::Failed, message}; }

constexpr double SecondJanuary2024 = 45293.0;  // a Tuesday
constexpr std::uint32_t RunSeed = 777u;

// Every time and value of every series, for comparing sets.
using SetSnapshot = std::vector<std::vector<std::pair<double, double>>>;
SetSnapshot Snapshot(const TTimeSeriesSet& set)
{
    SetSnapshot snapshot;
    for (const auto& series : set.Series) {
        snapshot.emplace_back();
        for (const TTimeSeriesSample& sample : series->Samples)
            snapshot.back().emplace_back(sample.Time, sample.Value);
    }
    return snapshot;
}

// The request's numbers and switches in one list.
std::vector<double> Numbers(const HistoryRequest& r)
{
    return {r.SeedPrice,       double(r.NumberOfDays), double(r.TicksPerDay), r.StartDate,    r.MinPrice,
            r.MaxPrice,        r.MinVolume,            r.MaxVolume,           r.BiasPercentPerYear,
            r.ShockDaysPerEvent, r.ShockMagnitude,     r.TickVolatility,      double(r.SoftBounds),
            double(r.MinBoundActive), double(r.MaxBoundActive), double(r.SkipWeekends)};
}

class GenerationRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedRandom().SetSeed(RunSeed);
        SharedRandom().SetClockSeedSource([] { return 4242u; });
        ClearAbortRequest();
        // A short history: 20 calendar days of 40 ticks.
        ui.panel.StartDate = SecondJanuary2024 + 0.5;
        ui.panel.ebLength = "20";
        ui.panel.ebTicksPerDay = "40";
        run.Synthesize = [this](const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result) {
            requests.push_back(request);
            seedsAtSynthesis.push_back(SharedRandom().Seed());
            return MakeHistory(request, progress, result);
        };
    }
    void TearDown() override { ClearAbortRequest(); }

    // Idle again, and the clean-up was the last thing the run did.
    void ExpectCleanedUp() const
    {
        EXPECT_TRUE(ui.IsIdle());
        ASSERT_GE(ui.log.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(ui.log.end() - 4, ui.log.end()),
                  (std::vector<std::string>{"progress:hide", "main:enable", "activity:Idle", "cursor:restore"}));
    }

    SharedRandomGuard guard;
    FakeGenerationUi ui;
    GenerationRun run{ui};
    std::vector<HistoryRequest> requests;
    std::vector<std::uint32_t> seedsAtSynthesis;
};

TEST_F(GenerationRunTest, EveryChoiceReachesTheRequestAndTextsOfChoicesThatAreOffAreNotRead)
{
    PanelValues& p = ui.panel;
    p = PanelValues{};
    p.StartDate = SecondJanuary2024 + 0.5;  // the picker's full value
    p.ebRandomPeriodMin = p.ebBias = p.ebSeedMin = p.ebSeedMax = p.ebDirtydata = p.ebShockMag = "x";
    run.btnGenerateClick();
    // Every choice on, read by a run whose locale writes a decimal comma.
    GenerationRun comma(ui, LocaleFormats{',', "dd.MM.yyyy"});
    comma.Synthesize = run.Synthesize;
    p.rbSoft = p.cbMin = p.cbMax = p.cbWeekends = p.cbActiveBias = p.cbActiveShock = true;
    p.ebMinPrice = "100", p.ebMaxPrice = "9000", p.ebBias = "-2,5", p.ebShockMag = "1", p.ebShockFreq = "30";
    p.ebVolatility = "4", p.ebMinVolume = "10", p.ebMaxVolume = "250", p.ebTicksPerDay = "40";
    comma.btnGenerateClick();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Name, "Synth");
    const double start = SecondJanuary2024 + 0.5;
    EXPECT_EQ(Numbers(requests[0]), (std::vector<double>{3000, 180, 1000, start, 0, 5000, 0, 1000, 0, 100, 1,
                                                         0.01 / std::sqrt(1000.0), 0, 0, 0, 1}));
    EXPECT_EQ(Numbers(requests[1]), (std::vector<double>{3000, 180, 40, start, 100, 9000, 10, 250, -2.5, 30, 1,
                                                         0.04 / std::sqrt(40.0), 1, 1, 1, 0}));
    EXPECT_EQ(seedsAtSynthesis[0], RunSeed);  // no draw before synthesis for a fixed price and the full period
}

TEST_F(GenerationRunTest, FillsBothSetsShowsTheCleanHistoryAndEndsIdle)
{
    bool checked = false;
    ui.sink.onPump = [&] {  // synthesis runs with the progress window up and the main window off
        if (!std::exchange(checked, true)) {
            EXPECT_TRUE(ui.progressVisible && !ui.mainWindowEnabled && ui.busyCursorDepth == 1);
        }
    };
    EXPECT_EQ(run.btnGenerateClick(), GenerationOutcome{});
    EXPECT_TRUE(checked);
    ASSERT_EQ(run.GeneratedSet.SeriesCount(), 5);
    EXPECT_EQ(run.GeneratedSet.Length(), 14);  // 20 days from a Tuesday hold three weekends
    EXPECT_EQ(Snapshot(run.WorkingSet), Snapshot(run.GeneratedSet));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_TRUE(ui.shown[0].set == &run.GeneratedSet && ui.shown[0].resetZoom);
    ExpectCleanedUp();
}

TEST_F(GenerationRunTest, AbortLeavesFiveEmptySeriesAndAnEmptyChart)
{
    ui.sink.onPump = [] { RequestAbort(); };
    EXPECT_EQ(run.btnGenerateClick().kind, GenerationOutcome::Aborted);
    for (const TTimeSeriesSet* set : {&run.GeneratedSet, &run.WorkingSet})
        EXPECT_TRUE(set->SeriesCount() == 5 && set->Length() == 0);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].length, 0);
    EXPECT_FALSE(AbortRequested());
    ExpectCleanedUp();
}

TEST_F(GenerationRunTest, RandomPeriodDrawsLengthThenShiftAndStaysInsideTheRange)
{
    ui.panel.ebLength = "180";
    ui.panel.cbRandomPeriod = true;
    ui.panel.ebTicksPerDay = "4";
    // A minimum equal to the length is the whole range; both draws are still made.
    for (const auto& [seed, minimum] : {std::pair{1u, 90}, std::pair{0xDEADBEEFu, 90}, std::pair{RunSeed, 180}}) {
        ui.panel.ebRandomPeriodMin = std::to_string(minimum);
        SharedRandom().SetSeed(seed);
        run.btnGenerateClick();
        RandomSource reference;
        reference.SetSeed(seed);
        const std::int32_t days = minimum + reference.NextInt(180 - minimum);
        const std::int32_t shift = reference.NextInt(180 - days);
        EXPECT_EQ(requests.back().NumberOfDays, days);
        EXPECT_EQ(requests.back().StartDate, SecondJanuary2024 + 0.5 + shift);
        EXPECT_EQ(seedsAtSynthesis.back(), SeedAfter(seed, 2));
    }
}

TEST_F(GenerationRunTest, RandomStartingPriceIsDrawnBeforeItsRangeIsChecked)
{
    ui.panel.cbSeedRandom = false;
    ui.panel.ebSeedMin = "1000";
    ui.panel.ebSeedMax = "2000";
    run.btnGenerateClick();
    RandomSource reference;
    reference.SetSeed(RunSeed);
    EXPECT_EQ(requests.at(0).SeedPrice, 1000.0 + reference.NextReal() * (2000.0 - 1000.0));

    // An empty range still draws (exactly 4000 here, so the maximum refuses too).
    ui.panel.ebSeedMin = ui.panel.ebSeedMax = ui.panel.ebMaxPrice = "4000";
    ui.panel.cbMax = true;
    SharedRandom().SetSeed(RunSeed);
    EXPECT_EQ(run.btnGenerateClick().kind, GenerationOutcome::ChecksFailed);
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(RunSeed, 1));

    // The draw comes before the width of the range, even when that overflows.
    ui.panel.ebSeedMin = "-1e308";
    ui.panel.ebSeedMax = "1e308";
    SharedRandom().SetSeed(RunSeed);
    EXPECT_EQ(run.btnGenerateClick(), Failure("Floating point overflow"));
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(RunSeed, 1));
}

Change LongestRandomPeriod(const char* minimum)
{
    return [=](PanelValues& p) { p.cbRandomPeriod = true, p.ebLength = "2147483647", p.ebRandomPeriodMin = minimum; };
}

TEST_F(GenerationRunTest, ChecksCompareOnlyWhatIsActiveAndRefuseEqualityAndFaultsComeBeforeSynthesis)
{
    const struct {
        const char* what;
        Change change;
        GenerationOutcome outcome;
        Boxes boxes;
    } cases[] = {
        {"inactive shock below one", [](PanelValues& p) { p.ebShockMag = "0.5"; }, {}, {}},
        {"minimum at the price", [](PanelValues& p) { p.cbMin = true; p.ebMinPrice = "3000"; },
         {GenerationOutcome::ChecksFailed}, {{"Minimum Price larger than Seed", "Error"}}},
        {"maximum at the price", [](PanelValues& p) { p.cbMax = true; p.ebMaxPrice = "3000"; },
         {GenerationOutcome::ChecksFailed}, {{"Maximum Price less than Seed", "Error"}}},
        {"bounds just around the price",
         [](PanelValues& p) { p.cbMin = p.cbMax = true; p.ebMinPrice = "2999.99"; p.ebMaxPrice = "3000.01"; }, {}, {}},
        // Dates are written with four-digit years, from 1 to 9999.
        {"last day 31 December 9999", [](PanelValues& p) { p.StartDate = LastDay - 1.5; }, {}, {}},
        {"last day in the year 10000", [](PanelValues& p) { p.StartDate = LastDay - 0.5; },
         {GenerationOutcome::ChecksFailed}, {{"The last day falls outside the years 1 to 9999", "Error"}}},
        {"first day 1 January 1", [](PanelValues& p) { p.StartDate = FirstDay - 0.5; }, {}, {}},
        // The random period's draw takes any 32-bit bound and refuses a larger one.
        {"largest random period", LongestRandomPeriod("0"),
         {GenerationOutcome::ChecksFailed}, {{"The last day falls outside the years 1 to 9999", "Error"}}},
        {"random period beyond 32 bits", LongestRandomPeriod("-1"),
         Failure("Range check error"), {}},
        // Ticks per day of zero or less are a floating point fault after the volatility is read.
        {"no ticks", [](PanelValues& p) { p.ebTicksPerDay = "0"; }, Failure("Floating point division by zero"), {}},
        {"negative ticks", [](PanelValues& p) { p.ebTicksPerDay = "-5"; }, Failure("Invalid floating point operation"), {}},
        {"negative ticks, volatility no number", [](PanelValues& p) { p.ebTicksPerDay = "-5", p.ebVolatility = "vol"; },
         Failure("'vol' is not a valid floating point value"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.panel = PanelValues{};
        ui.panel.ebLength = "3";
        ui.panel.ebTicksPerDay = "4";
        c.change(ui.panel);
        ui.boxes.clear();
        const int shows = ui.progressShows;
        EXPECT_EQ(run.btnGenerateClick(), c.outcome);
        EXPECT_EQ(ui.boxes, c.boxes);
        EXPECT_EQ(ui.progressShows - shows, c.outcome == GenerationOutcome{} ? 1 : 0);
        ExpectCleanedUp();
    }
}

TEST_F(GenerationRunTest, OnePressShowsEveryFailedCheckInOrderAndChangesNothing)
{
    PanelValues& p = ui.panel;
    p.cbActiveShock = p.cbMin = p.cbMax = true;
    p.ebShockMag = "0.5";
    p.cbSeedRandom = false;  // a price between 3000 and 4000 from the inverted range
    p.ebSeedMin = "4000", p.ebSeedMax = "3000", p.ebMinPrice = "5000", p.ebMaxPrice = "1000";
    EXPECT_EQ(run.btnGenerateClick().kind, GenerationOutcome::ChecksFailed);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"cursor:busy", "read panel", "box:Error:Minimum Shock Magnitude is 1.0",
                                                "box:Error:Minimum Price larger than Seed",
                                                "box:Error:Maximum Price less than Seed",
                                                "box:Error:Minimum Seed larger than Maximum Seed", "progress:hide",
                                                "main:enable", "activity:Idle", "cursor:restore"}));
    EXPECT_TRUE(requests.empty() && ui.shown.empty());
}

TEST_F(GenerationRunTest, ConversionErrorsArriveInTheRunsOrder)
{
    run.btnGenerateClick();  // a history to keep
    const SetSnapshot generated = Snapshot(run.GeneratedSet);

    // Every text the run reads is broken; they are mended one at a time in the order in
    // which the run converts them. Ticked bounds are converted by their checks; the last
    // five come after the progress window shows.
    PanelValues& p = ui.panel;
    p.cbRandomPeriod = p.cbActiveShock = p.cbActiveBias = p.cbDirtyDataActive = p.cbMin = p.cbMax = true;
    p.cbSeedRandom = false;
    p.ebSeed = "not read for a random price";
    const struct {
        std::string PanelValues::*field;
        const char* broken;
        const char* good;
        bool integer;
        bool afterProgressShown;
    } order[] = {
        {&PanelValues::ebLength, "len", "20", true, false}, {&PanelValues::ebRandomPeriodMin, "rmin", "10", true, false},
        {&PanelValues::ebShockMag, "mag", "2", false, false}, {&PanelValues::ebShockFreq, "freq", "100", false, false},
        {&PanelValues::ebTicksPerDay, "ticks", "40", true, false}, {&PanelValues::ebVolatility, "vol", "1", false, false},
        {&PanelValues::ebBias, "bias", "4.5", false, false}, {&PanelValues::ebSeedMax, "smax", "5000", false, false},
        {&PanelValues::ebSeedMin, "smin", "100", false, false}, {&PanelValues::ebMinPrice, "pmin", "1", false, false},
        {&PanelValues::ebMaxPrice, "pmax", "9000", false, false}, {&PanelValues::ebDirtydata, "dirty", "5", false, true},
        {&PanelValues::ebMaxVolume, "vmax", "1000", false, true}, {&PanelValues::ebMinVolume, "vmin", "0", false, true},
    };
    for (const auto& step : order)
        p.*step.field = step.broken;
    for (const auto& step : order) {
        SCOPED_TRACE(step.broken);
        const int showsBefore = ui.progressShows;
        EXPECT_EQ(run.btnGenerateClick(), Failure(std::string("'") + step.broken + "' is not a valid " +
                                                  (step.integer ? "integer" : "floating point") + " value"));
        EXPECT_EQ(ui.progressShows - showsBefore, step.afterProgressShown ? 1 : 0);
        ExpectCleanedUp();
        EXPECT_EQ(Snapshot(run.GeneratedSet), generated);
        EXPECT_EQ(Snapshot(run.WorkingSet), generated);
        p.*step.field = step.good;
    }
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(run.btnGenerateClick(), GenerationOutcome{});  // everything mended
}

TEST_F(GenerationRunTest, AFailedSynthesisLeavesNoHistorySoApplyGeneratesAnew)
{
    run.btnGenerateClick();
    ui.shown.clear();
    const auto synthesize = run.Synthesize;
    run.Synthesize = [](const HistoryRequest&, ProgressSink&, TTimeSeriesSet& result) -> bool {
        result.SetSeriesCount(5);
        result.SetLength(3);
        throw Error("No price move stays inside the price bounds");
    };
    EXPECT_EQ(run.btnGenerateClick(), Failure("No price move stays inside the price bounds"));
    EXPECT_EQ(run.GeneratedSet.SeriesCount() + run.WorkingSet.SeriesCount(), 0);
    EXPECT_TRUE(ui.shown.empty());
    ExpectCleanedUp();
    run.Synthesize = synthesize;
    run.btnCorruptClick();
    EXPECT_EQ(run.GeneratedSet.SeriesCount(), 5);
    EXPECT_EQ(ui.shown.size(), 2u);  // the fresh history, then its working copy
}

// The bars with each recorded corruption undone, the last first.
SetSnapshot Undone(const TTimeSeriesSet& working, const std::vector<Corruption>& corruptions)
{
    TTimeSeriesSet bars;
    bars.Assign(working);
    for (auto c = corruptions.rbegin(); c != corruptions.rend(); ++c)
        bars.SetValue(c->Series, c->Bar, c->Before);
    return Snapshot(bars);
}

TEST_F(GenerationRunTest, DirtyDataSpoilsOnlyTheWorkingCopyAndApplyRedrawsItFromTheCleanHistory)
{
    ui.panel.ebLength = "60";
    ui.panel.ebDirtydata = "50";
    ui.panel.cbDirtyDataActive = true;
    run.RecordCorruptions = true;
    run.btnGenerateClick();
    const SetSnapshot clean = Snapshot(run.GeneratedSet);
    EXPECT_EQ(ui.shown.back().set, &run.GeneratedSet);  // the chart shows the clean bars
    std::vector<SetSnapshot> spoiled;
    for (int press = 0; press < 2; ++press) {
        ui.shown.clear();
        EXPECT_EQ(run.btnCorruptClick(), GenerationOutcome{});
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_TRUE(ui.shown[0].set == &run.WorkingSet && !ui.shown[0].resetZoom);
        EXPECT_EQ(Snapshot(run.GeneratedSet), clean);
        EXPECT_EQ(Undone(run.WorkingSet, run.Corruptions), clean);  // a fresh draw on the clean bars
        spoiled.push_back(Snapshot(run.WorkingSet));
    }
    EXPECT_NE(spoiled[0], clean);
    EXPECT_NE(spoiled[0], spoiled[1]);
    EXPECT_EQ(requests.size(), 1u);  // Apply runs no generation

    ui.panel.cbDirtyDataActive = false;
    run.btnCorruptClick();
    EXPECT_EQ(Snapshot(run.WorkingSet), clean);
    EXPECT_TRUE(run.Corruptions.empty());
}

TEST_F(GenerationRunTest, ApplyBeforeAnyHistoryGeneratesFirstAndReportsWhatStopsIt)
{
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "3000";
    EXPECT_EQ(run.btnCorruptClick().kind, GenerationOutcome::ChecksFailed);
    ui.panel.cbMin = false;
    ui.panel.ebLength = "twenty";
    EXPECT_EQ(run.btnCorruptClick(), Failure("'twenty' is not a valid integer value"));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(run.WorkingSet.SeriesCount(), 0);

    ui.panel.ebLength = "20";
    ui.panel.cbDirtyDataActive = true;
    ui.panel.ebDirtydata = "100";
    EXPECT_EQ(run.btnCorruptClick(), GenerationOutcome{});
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_TRUE(ui.shown[0].set == &run.GeneratedSet && ui.shown[0].resetZoom);
    EXPECT_EQ(ui.shown[1].set, &run.WorkingSet);
    EXPECT_NE(Snapshot(run.WorkingSet), Snapshot(run.GeneratedSet));
    EXPECT_TRUE(ui.IsIdle());

    ui.panel.ebDirtydata = "5%";
    EXPECT_EQ(run.btnCorruptClick(), Failure("'5%' is not a valid floating point value"));
    EXPECT_EQ(ui.shown.size(), 2u);
}

TEST(ErrorBoxText, AppendsAFullStopAfterACharacterAboveIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ends with a slash/", "ends with a slash/."},                     // '/' follows '.'
        {"caf\xC3\xA9", "caf\xC3\xA9."},                                   // bytes above 127 count as high
        {"Is it open elsewhere?", "Is it open elsewhere?."},               // '?' is 63
        {"List index out of bounds (0)", "List index out of bounds (0)"},  // ')' is 41
        {"Already ends.", "Already ends."},
        {"", ""},
    };
    for (const auto& [message, text] : cases)
        EXPECT_EQ(ErrorBoxText(message), text);
}

}  // namespace
