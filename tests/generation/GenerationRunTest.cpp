#include "generation/GenerationRun.h"

#include "generation/FakeGenerationUi.h"
#include "support/DailyBars.h"
#include "support/TestHelpers.h"
#include "synthesis/Abort.h"
#include "synthesis/MakeHistory.h"

#include <cmath>
#include <ostream>
#include <functional>
#include <string>
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

// Expects a run that an error ended with exactly the given message.
#define EXPECT_FAILURE(outcome, message) \
    EXPECT_EQ(outcome, (GenerationOutcome{GenerationOutcome::Failed, std::string(message)}))

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

TEST_F(GenerationRunTest, PanelAsDesignedGivesTheDocumentedRequest)
{
    ui.panel = PanelValues{};
    ui.panel.StartDate = SecondJanuary2024;
    // Texts of choices that are off are not read.
    ui.panel.ebRandomPeriodMin = ui.panel.ebBias = ui.panel.ebSeedMin = ui.panel.ebSeedMax = ui.panel.ebDirtydata = "x";
    run.btnGenerateClick();
    ASSERT_EQ(requests.size(), 1u);
    const HistoryRequest& r = requests[0];
    EXPECT_EQ(r.Name, "Synth");
    EXPECT_EQ(std::vector<double>({r.SeedPrice, double(r.NumberOfDays), double(r.TicksPerDay), r.StartDate,
                                   r.ShockMagnitude, r.ShockDaysPerEvent, r.BiasPercentPerYear, r.MaxPrice, r.MaxVolume}),
              std::vector<double>({3000.0, 180.0, 1000.0, SecondJanuary2024, 1.0, 100.0, 0.0, 5000.0, 1000.0}));
    EXPECT_NEAR(r.TickVolatility, 0.000316228, 1e-9);  // 1 % a day over 1000 ticks
    EXPECT_TRUE(r.SkipWeekends);
    EXPECT_FALSE(r.SoftBounds || r.MinBoundActive || r.MaxBoundActive);
    EXPECT_EQ(seedsAtSynthesis[0], RunSeed);  // no draw before synthesis for a fixed price and the full period
}

TEST_F(GenerationRunTest, SwitchesAndTextsReachTheRequest)
{
    PanelValues& p = ui.panel;
    p.rbSoft = p.cbMin = p.cbMax = p.cbWeekends = p.cbActiveBias = p.cbActiveShock = true;
    p.ebMinPrice = "100", p.ebMaxPrice = "9000", p.ebBias = "-2.5", p.ebShockMag = "1", p.ebShockFreq = "30";
    p.ebVolatility = "4", p.ebMinVolume = "10", p.ebMaxVolume = "250";
    run.btnGenerateClick();
    ASSERT_EQ(requests.size(), 1u);
    const HistoryRequest& r = requests[0];
    EXPECT_TRUE(r.SoftBounds && r.MinBoundActive && r.MaxBoundActive);
    EXPECT_FALSE(r.SkipWeekends);
    EXPECT_EQ(std::vector<double>({r.MinPrice, r.MaxPrice, r.BiasPercentPerYear, r.ShockMagnitude,
                                   r.ShockDaysPerEvent, r.MinVolume, r.MaxVolume}),
              std::vector<double>({100.0, 9000.0, -2.5, 1.0, 30.0, 10.0, 250.0}));
    EXPECT_DOUBLE_EQ(r.TickVolatility, 0.04 / std::sqrt(40.0));
    EXPECT_EQ(r.StartDate, SecondJanuary2024 + 0.5);  // the picker's full value
}

TEST_F(GenerationRunTest, FillsBothSetsShowsTheCleanHistoryAndEndsIdle)
{
    bool checked = false;
    ui.sink.onPump = [&] {
        if (!checked) {
            checked = true;  // synthesis runs with the progress window up and the main window off
            EXPECT_TRUE(ui.progressVisible && !ui.mainWindowEnabled && ui.busyCursorDepth == 1);
        }
    };
    EXPECT_EQ(run.btnGenerateClick(), GenerationOutcome{});
    EXPECT_TRUE(checked);
    ASSERT_EQ(run.GeneratedSet.SeriesCount(), 5);
    EXPECT_EQ(run.GeneratedSet.Name, "Synth");
    EXPECT_EQ(run.GeneratedSet.Length(), 14);  // 20 days from a Tuesday hold three weekends
    EXPECT_EQ(Snapshot(run.WorkingSet), Snapshot(run.GeneratedSet));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].set, &run.GeneratedSet);
    EXPECT_TRUE(ui.shown[0].resetZoom);
    ExpectCleanedUp();
}

TEST_F(GenerationRunTest, AbortLeavesFiveEmptySeriesAndAnEmptyChart)
{
    ui.sink.onPump = [] { RequestAbort(); };
    EXPECT_EQ(run.btnGenerateClick().kind, GenerationOutcome::Aborted);
    for (const TTimeSeriesSet* set : {&run.GeneratedSet, &run.WorkingSet}) {
        ASSERT_EQ(set->SeriesCount(), 5);
        EXPECT_EQ(set->Length(), 0);
    }
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].length, 0);
    EXPECT_FALSE(AbortRequested());
    ExpectCleanedUp();
}

TEST_F(GenerationRunTest, RandomPeriodDrawsLengthThenShiftAndStaysInsideTheRange)
{
    ui.panel.ebLength = "180";
    ui.panel.cbRandomPeriod = true;
    ui.panel.ebRandomPeriodMin = "90";
    ui.panel.ebTicksPerDay = "4";
    for (std::uint32_t seed : {1u, 0xDEADBEEFu}) {
        SharedRandom().SetSeed(seed);
        run.btnGenerateClick();
        RandomSource reference;
        reference.SetSeed(seed);
        const std::int32_t days = 90 + reference.NextInt(180 - 90);
        const std::int32_t shift = reference.NextInt(180 - days);
        EXPECT_EQ(requests.back().NumberOfDays, days);
        EXPECT_EQ(requests.back().StartDate, SecondJanuary2024 + 0.5 + shift);
        EXPECT_EQ(seedsAtSynthesis.back(), reference.Seed());
        EXPECT_TRUE(days <= 179 && shift <= 179 - days) << seed;  // never reaching the range's last day
    }
    // A minimum equal to the length is the whole range; both draws are still made.
    ui.panel.ebRandomPeriodMin = "180";
    SharedRandom().SetSeed(RunSeed);
    run.btnGenerateClick();
    EXPECT_EQ(requests.back().NumberOfDays, 180);
    EXPECT_EQ(requests.back().StartDate, SecondJanuary2024 + 0.5);
    EXPECT_EQ(seedsAtSynthesis.back(), SeedAfter(RunSeed, 2));
}

TEST_F(GenerationRunTest, RandomStartingPriceIsDrawnBeforeItsRangeIsChecked)
{
    ui.panel.cbSeedRandom = false;
    ui.panel.ebSeedMin = "1000";
    ui.panel.ebSeedMax = "2000";
    run.btnGenerateClick();
    ASSERT_EQ(requests.size(), 1u);
    RandomSource reference;
    reference.SetSeed(RunSeed);
    EXPECT_EQ(requests[0].SeedPrice, 1000.0 + reference.NextReal() * (2000.0 - 1000.0));

    // An empty range still draws (exactly 4000 here, so the maximum refuses too).
    ui.panel.ebSeedMin = ui.panel.ebSeedMax = ui.panel.ebMaxPrice = "4000";
    ui.panel.cbMax = true;
    SharedRandom().SetSeed(RunSeed);
    run.btnGenerateClick();
    EXPECT_EQ(ui.boxes, (Boxes{{"Maximum Price less than Seed", "Error"}, {"Minimum Seed larger than Maximum Seed", "Error"}}));
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(RunSeed, 1));
    EXPECT_EQ(requests.size(), 1u);

    // The draw comes before the width of the range, even when that overflows.
    ui.panel.ebSeedMin = "-1e308";
    ui.panel.ebSeedMax = "1e308";
    SharedRandom().SetSeed(RunSeed);
    EXPECT_FAILURE(run.btnGenerateClick(), "Floating point overflow");
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(RunSeed, 1));
}

TEST_F(GenerationRunTest, ChecksCompareOnlyWhatIsActiveAndRefuseEquality)
{
    const struct {
        const char* what;
        std::function<void(PanelValues&)> change;
        Boxes boxes;
    } cases[] = {
        {"inactive shock below one", [](PanelValues& p) { p.ebShockMag = "0.5"; }, {}},
        {"minimum at the price", [](PanelValues& p) { p.cbMin = true; p.ebMinPrice = "3000"; },
         {{"Minimum Price larger than Seed", "Error"}}},
        {"maximum at the price", [](PanelValues& p) { p.cbMax = true; p.ebMaxPrice = "3000"; },
         {{"Maximum Price less than Seed", "Error"}}},
        {"bounds just around the price",
         [](PanelValues& p) { p.cbMin = p.cbMax = true; p.ebMinPrice = "2999.99"; p.ebMaxPrice = "3000.01"; }, {}},
        // Dates are written with four-digit years, from 1 to 9999.
        {"last day 31 December 9999", [](PanelValues& p) { p.StartDate = LastDay - 1.5; }, {}},
        {"last day in the year 10000", [](PanelValues& p) { p.StartDate = LastDay - 0.5; },
         {{"The last day falls outside the years 1 to 9999", "Error"}}},
        {"first day 1 January 1", [](PanelValues& p) { p.StartDate = FirstDay - 0.5; }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.panel = PanelValues{};
        ui.panel.ebLength = "3";
        ui.panel.ebTicksPerDay = "4";
        c.change(ui.panel);
        ui.boxes.clear();
        requests.clear();
        run.btnGenerateClick();
        EXPECT_EQ(ui.boxes, c.boxes);
        EXPECT_EQ(requests.size(), c.boxes.empty() ? 1u : 0u);
    }
    EXPECT_EQ(requests[0].ShockMagnitude, 1.0);  // inactive: exactly 1 whatever the text
}

TEST_F(GenerationRunTest, OnePressShowsEveryFailedCheckInOrderAndChangesNothing)
{
    run.btnGenerateClick();  // a history to keep
    const SetSnapshot generated = Snapshot(run.GeneratedSet);
    const SetSnapshot working = Snapshot(run.WorkingSet);
    ui.log.clear();
    ui.shown.clear();
    requests.clear();

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
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(Snapshot(run.GeneratedSet), generated);
    EXPECT_EQ(Snapshot(run.WorkingSet), working);
}

TEST_F(GenerationRunTest, ConversionErrorsArriveInTheRunsOrder)
{
    run.btnGenerateClick();  // a history to keep
    const SetSnapshot generated = Snapshot(run.GeneratedSet);

    // Every text the run reads is broken; they are mended one at a time in the order in
    // which the run converts them; the last five come after the progress window shows.
    PanelValues& p = ui.panel;
    p.cbRandomPeriod = p.cbActiveShock = p.cbActiveBias = p.cbDirtyDataActive = true;
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
        {&PanelValues::ebSeedMin, "smin", "100", false, false}, {&PanelValues::ebDirtydata, "dirty", "5", false, true},
        {&PanelValues::ebMaxPrice, "pmax", "9000", false, true}, {&PanelValues::ebMinPrice, "pmin", "1", false, true},
        {&PanelValues::ebMaxVolume, "vmax", "1000", false, true}, {&PanelValues::ebMinVolume, "vmin", "0", false, true},
    };
    for (const auto& step : order)
        p.*step.field = step.broken;
    for (const auto& step : order) {
        SCOPED_TRACE(step.broken);
        const int showsBefore = ui.progressShows;
        EXPECT_FAILURE(run.btnGenerateClick(), std::string("'") + step.broken + "' is not a valid " +
                                                         (step.integer ? "integer" : "floating point") + " value");
        EXPECT_EQ(ui.progressShows - showsBefore, step.afterProgressShown ? 1 : 0);
        ExpectCleanedUp();
        EXPECT_EQ(Snapshot(run.GeneratedSet), generated);
        EXPECT_EQ(Snapshot(run.WorkingSet), generated);
        p.*step.field = step.good;
    }
    EXPECT_TRUE(ui.boxes.empty());
    run.btnGenerateClick();  // everything mended
    EXPECT_EQ(requests.size(), 2u);
}

TEST_F(GenerationRunTest, TickedPriceBoundsAreConvertedByTheirChecksAndEmptyOnesLater)
{
    ui.panel.cbMax = true;
    ui.panel.ebMaxPrice = "high";
    ui.panel.ebMaxVolume = "also broken, but later";
    EXPECT_FAILURE(run.btnGenerateClick(), "'high' is not a valid floating point value");
    EXPECT_EQ(ui.progressShows, 0);

    // Unticked, an empty minimum is still converted, after the progress window appeared.
    ui.panel = PanelValues{};
    ui.panel.ebMinPrice = "";
    EXPECT_FAILURE(run.btnGenerateClick(), "'' is not a valid floating point value");
    EXPECT_EQ(ui.progressShows, 1);
    EXPECT_EQ(run.GeneratedSet.SeriesCount(), 0);
    ExpectCleanedUp();
}

TEST_F(GenerationRunTest, RealsUseTheRunsDecimalSeparator)
{
    GenerationRun local(ui, LocaleFormats{',', "dd.MM.yyyy"});
    local.Synthesize = run.Synthesize;
    ui.panel.ebVolatility = "1,5";
    local.btnGenerateClick();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_DOUBLE_EQ(requests[0].TickVolatility, 0.015 / std::sqrt(40.0));
    ui.panel.ebVolatility = "1.5";
    EXPECT_FAILURE(local.btnGenerateClick(), "'1.5' is not a valid floating point value");
}

TEST_F(GenerationRunTest, TicksPerDayZeroOrNegativeIsAFloatingPointFaultAfterTheVolatilityIsRead)
{
    const struct {
        const char* ticks;
        const char* volatility;
        const char* message;
    } cases[] = {{"0", "1", "Floating point division by zero"},
                 {"-5", "1", "Invalid floating point operation"},
                 {"-5", "vol", "'vol' is not a valid floating point value"}};  // converted before the root
    for (const auto& c : cases) {
        ui.panel.ebTicksPerDay = c.ticks;
        ui.panel.ebVolatility = c.volatility;
        EXPECT_FAILURE(run.btnGenerateClick(), c.message);
        ExpectCleanedUp();
    }
    EXPECT_EQ(ui.progressShows, 0);
    EXPECT_TRUE(requests.empty());
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
    EXPECT_FAILURE(run.btnGenerateClick(), "No price move stays inside the price bounds");
    EXPECT_EQ(run.GeneratedSet.SeriesCount(), 0);
    EXPECT_EQ(run.WorkingSet.SeriesCount(), 0);
    EXPECT_TRUE(ui.shown.empty());
    ExpectCleanedUp();
    run.Synthesize = synthesize;
    run.btnCorruptClick();
    EXPECT_EQ(run.GeneratedSet.SeriesCount(), 5);
    EXPECT_EQ(ui.shown.size(), 2u);  // the fresh history, then its working copy
}

// Bars of working that differ from generated; each may differ in one value only, and
// no time may differ.
int ChangedBars(const TTimeSeriesSet& generated, const TTimeSeriesSet& working)
{
    int changed = 0;
    for (std::int32_t i = 0; i < generated.Length(); ++i) {
        int values = 0;
        for (std::int32_t s = 0; s < 5; ++s) {
            EXPECT_EQ(working.GetTime(s, i), generated.GetTime(s, i));
            values += working.GetValue(s, i) != generated.GetValue(s, i);
        }
        EXPECT_LE(values, 1) << "bar " << i;
        changed += values > 0;
    }
    return changed;
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
    std::vector<std::vector<std::int32_t>> pickedBars;
    for (int press = 0; press < 2; ++press) {
        ui.shown.clear();
        run.btnCorruptClick();
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].set, &run.WorkingSet);
        EXPECT_FALSE(ui.shown[0].resetZoom);
        EXPECT_EQ(Snapshot(run.GeneratedSet), clean);
        ASSERT_FALSE(run.Corruptions.empty());
        // Every kind but 0 changes one value of its bar; nothing accumulates.
        EXPECT_EQ(ChangedBars(run.GeneratedSet, run.WorkingSet), static_cast<int>(run.Corruptions.size()));
        pickedBars.emplace_back();
        for (const Corruption& c : run.Corruptions) {
            EXPECT_EQ(c.Before, run.GeneratedSet.GetValue(c.Series, c.Bar));
            pickedBars.back().push_back(c.Bar);
        }
    }
    EXPECT_NE(pickedBars[0], pickedBars[1]);
    EXPECT_EQ(requests.size(), 1u);  // Apply runs no generation

    ui.panel.cbDirtyDataActive = false;
    run.btnCorruptClick();
    EXPECT_EQ(Snapshot(run.WorkingSet), clean);
}

TEST_F(GenerationRunTest, ApplyBeforeAnyHistoryGeneratesFirst)
{
    ui.panel.cbDirtyDataActive = true;
    ui.panel.ebDirtydata = "100";
    run.btnCorruptClick();
    EXPECT_EQ(requests.size(), 1u);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].set, &run.GeneratedSet);
    EXPECT_TRUE(ui.shown[0].resetZoom);
    EXPECT_EQ(ui.shown[1].set, &run.WorkingSet);
    EXPECT_GT(ChangedBars(run.GeneratedSet, run.WorkingSet), 0);
    EXPECT_TRUE(ui.IsIdle());
}

TEST_F(GenerationRunTest, ApplyReportsFailedChecksAndConversionErrors)
{
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "3000";
    EXPECT_EQ(run.btnCorruptClick().kind, GenerationOutcome::ChecksFailed);
    EXPECT_EQ(ui.boxes, (Boxes{{"Minimum Price larger than Seed", "Error"}}));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(run.WorkingSet.SeriesCount(), 0);
    ExpectCleanedUp();

    ui.panel.cbMin = false;
    ui.panel.ebLength = "twenty";
    EXPECT_FAILURE(run.btnCorruptClick(), "'twenty' is not a valid integer value");
    ui.panel.ebLength = "20";
    run.btnGenerateClick();
    ui.shown.clear();
    ui.panel.cbDirtyDataActive = true;
    ui.panel.ebDirtydata = "5%";
    EXPECT_FAILURE(run.btnCorruptClick(), "'5%' is not a valid floating point value");
    EXPECT_TRUE(ui.shown.empty());
}

TEST(ErrorBoxText, AppendsAFullStopAfterACharacterAboveIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
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
