#include "generation/GenerationRun.h"

#include "generation/FakeGenerationUi.h"
#include "platform/Random.h"
#include "support/DailyBars.h"
#include "support/TestHelpers.h"
#include "synthesis/Abort.h"
#include "synthesis/MakeHistory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace tickforge;
using tickforge::testing::FakeGenerationUi;
using tickforge::testing::SharedRandomGuard;

constexpr double SecondJanuary2024 = 45293.0;  // a Tuesday
constexpr std::uint32_t RunSeed = 777u;
constexpr std::uint32_t ClockSeed = 4242u;

// Every value of every series, times included, for comparing sets.
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

// A short history so that each run takes little time: 20 calendar days of 40 ticks.
PanelValues SmallPanel()
{
    PanelValues panel;
    panel.StartDate = SecondJanuary2024 + 0.5;
    panel.ebLength = "20";
    panel.ebTicksPerDay = "40";
    return panel;
}

class GenerationRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedRandom().SetSeed(RunSeed);
        SharedRandom().SetClockSeedSource([] { return ClockSeed; });
        ClearAbortRequest();
        ui.panel = SmallPanel();
        // Record each request and the random seed synthesis starts from, then
        // synthesise as usual.
        run.Synthesize = [this](const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result) {
            requests.push_back(request);
            seedsAtSynthesis.push_back(SharedRandom().Seed());
            MakeHistory(request, progress, result);
        };
    }
    void TearDown() override { ClearAbortRequest(); }

    // The seed after the given number of draws from RunSeed.
    static std::uint32_t SeedAfter(int draws)
    {
        std::uint32_t seed = RunSeed;
        for (int i = 0; i < draws; ++i)
            seed = RandomSource::Step(seed);
        return seed;
    }

    void ExpectIdle() const
    {
        EXPECT_TRUE(ui.mainWindowEnabled);
        EXPECT_EQ(ui.busyCursorDepth, 0);
        EXPECT_FALSE(ui.progressVisible);
        EXPECT_EQ(ui.sink.activity, "Idle");
    }

    // The last four calls of every run: the clean-up, in its order.
    void ExpectEndsWithCleanUp() const
    {
        ASSERT_GE(ui.log.size(), 4u);
        const std::vector<std::string> tail(ui.log.end() - 4, ui.log.end());
        EXPECT_EQ(tail, (std::vector<std::string>{"progress:hide", "main:enable", "activity:Idle", "cursor:restore"}));
    }

    SharedRandomGuard guard;
    FakeGenerationUi ui;
    GenerationRun run{ui};
    std::vector<HistoryRequest> requests;
    std::vector<std::uint32_t> seedsAtSynthesis;
};

// ---- a successful run ----------------------------------------------------------

TEST_F(GenerationRunTest, PanelAsDesignedGivesTheDocumentedRequest)
{
    ui.panel = PanelValues{};
    ui.panel.StartDate = SecondJanuary2024;
    run.btnGenerateClick();

    ASSERT_EQ(requests.size(), 1u);
    const HistoryRequest& r = requests[0];
    EXPECT_EQ(r.Name, "Synth");
    EXPECT_EQ(r.SeedPrice, 3000.0);
    EXPECT_EQ(r.NumberOfDays, 180);
    EXPECT_EQ(r.TicksPerDay, 1000);
    EXPECT_EQ(r.StartDate, SecondJanuary2024);
    EXPECT_DOUBLE_EQ(r.TickVolatility, 0.01 / std::sqrt(1000.0));
    EXPECT_NEAR(r.TickVolatility, 0.000316228, 1e-9);
    EXPECT_EQ(r.ShockMagnitude, 1.0);
    EXPECT_EQ(r.ShockDaysPerEvent, 100.0);
    EXPECT_EQ(r.BiasPercentPerYear, 0.0);
    EXPECT_TRUE(r.SkipWeekends);
    EXPECT_FALSE(r.SoftBounds);
    EXPECT_FALSE(r.MinBoundActive);
    EXPECT_FALSE(r.MaxBoundActive);
    EXPECT_EQ(r.MinPrice, 0.0);
    EXPECT_EQ(r.MaxPrice, 5000.0);
    EXPECT_EQ(r.MinVolume, 0.0);
    EXPECT_EQ(r.MaxVolume, 1000.0);
    // No draw precedes synthesis for a fixed price and the full period.
    EXPECT_EQ(seedsAtSynthesis[0], RunSeed);
}

TEST_F(GenerationRunTest, SwitchesAndTextsReachTheRequest)
{
    ui.panel.rbSoft = true;
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "100";
    ui.panel.cbMax = true;
    ui.panel.ebMaxPrice = "9000";
    ui.panel.cbWeekends = true;
    ui.panel.cbActiveBias = true;
    ui.panel.ebBias = "-2.5";
    ui.panel.cbActiveShock = true;
    ui.panel.ebShockMag = "1";  // 1.0 itself passes the check
    ui.panel.ebShockFreq = "30";
    ui.panel.ebVolatility = "4";
    ui.panel.ebMinVolume = "10";
    ui.panel.ebMaxVolume = "250";
    run.btnGenerateClick();

    ASSERT_EQ(requests.size(), 1u);
    const HistoryRequest& r = requests[0];
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(r.SoftBounds);
    EXPECT_TRUE(r.MinBoundActive);
    EXPECT_TRUE(r.MaxBoundActive);
    EXPECT_EQ(r.MinPrice, 100.0);
    EXPECT_EQ(r.MaxPrice, 9000.0);
    EXPECT_FALSE(r.SkipWeekends);
    EXPECT_EQ(r.BiasPercentPerYear, -2.5);
    EXPECT_EQ(r.ShockMagnitude, 1.0);
    EXPECT_EQ(r.ShockDaysPerEvent, 30.0);
    EXPECT_DOUBLE_EQ(r.TickVolatility, 0.04 / std::sqrt(40.0));
    EXPECT_EQ(r.MinVolume, 10.0);
    EXPECT_EQ(r.MaxVolume, 250.0);
    EXPECT_EQ(r.NumberOfDays, 20);
    EXPECT_EQ(r.StartDate, SecondJanuary2024 + 0.5);  // the picker's full value
}

TEST_F(GenerationRunTest, InactiveShockPassesMagnitudeOneWhateverTheText)
{
    ui.panel.cbActiveShock = false;
    ui.panel.ebShockMag = "0.5";
    run.btnGenerateClick();
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].ShockMagnitude, 1.0);
}

TEST_F(GenerationRunTest, FillsBothSetsShowsTheCleanHistoryAndEndsIdle)
{
    run.btnGenerateClick();

    ASSERT_EQ(run.GeneratedSet.SeriesCount(), 5);
    EXPECT_EQ(run.GeneratedSet.Name, "Synth");
    // 20 calendar days from Tuesday 2 January 2024 hold three weekends.
    EXPECT_EQ(run.GeneratedSet.Length(), 14);
    EXPECT_EQ(Snapshot(run.WorkingSet), Snapshot(run.GeneratedSet));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].set, &run.GeneratedSet);
    EXPECT_TRUE(ui.shown[0].resetZoom);
    EXPECT_EQ(ui.shown[0].length, 14);
    ExpectIdle();
    EXPECT_TRUE(ui.LogHasInOrder({"cursor:busy", "read panel", "progress:show", "main:disable", "activity:Making History...",
                                  "show bars:reset"}));
    ExpectEndsWithCleanUp();
}

TEST_F(GenerationRunTest, SynthesisRunsWithTheProgressWindowUpAndTheMainWindowDisabled)
{
    bool checked = false;
    ui.sink.onPump = [&] {
        if (!checked) {
            checked = true;
            EXPECT_TRUE(ui.progressVisible);
            EXPECT_FALSE(ui.mainWindowEnabled);
            EXPECT_EQ(ui.busyCursorDepth, 1);
        }
    };
    run.btnGenerateClick();
    EXPECT_TRUE(checked);
    ExpectIdle();
}

TEST_F(GenerationRunTest, AbortLeavesFiveEmptySeriesAndAnEmptyChart)
{
    ui.sink.onPump = [] { RequestAbort(); };
    run.btnGenerateClick();

    ASSERT_EQ(run.GeneratedSet.SeriesCount(), 5);
    EXPECT_EQ(run.GeneratedSet.Length(), 0);
    ASSERT_EQ(run.WorkingSet.SeriesCount(), 5);
    EXPECT_EQ(run.WorkingSet.Length(), 0);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].set, &run.GeneratedSet);
    EXPECT_EQ(ui.shown[0].length, 0);
    EXPECT_FALSE(AbortRequested());
    ExpectIdle();
    ExpectEndsWithCleanUp();
}

// ---- random draws before synthesis ---------------------------------------------

TEST_F(GenerationRunTest, RandomPeriodDrawsLengthThenShiftInThatOrder)
{
    ui.panel.ebLength = "180";
    ui.panel.cbRandomPeriod = true;
    ui.panel.ebRandomPeriodMin = "90";
    ui.panel.ebTicksPerDay = "4";
    for (std::uint32_t seed : {1u, 99u, 123456u, 0xDEADBEEFu, 77777777u}) {
        requests.clear();
        SharedRandom().SetSeed(seed);
        run.btnGenerateClick();
        ASSERT_EQ(requests.size(), 1u);

        RandomSource reference;
        reference.SetSeed(seed);
        const std::int32_t days = 90 + reference.NextInt(180 - 90);
        const std::int32_t shift = reference.NextInt(180 - days);
        EXPECT_EQ(requests[0].NumberOfDays, days) << seed;
        EXPECT_EQ(requests[0].StartDate, SecondJanuary2024 + 0.5 + shift) << seed;
        EXPECT_EQ(seedsAtSynthesis.back(), reference.Seed()) << seed;

        // The period lies inside the panel's range and never reaches its last day.
        EXPECT_GE(requests[0].NumberOfDays, 90);
        EXPECT_LE(requests[0].NumberOfDays, 179);
        EXPECT_GE(shift, 0);
        EXPECT_LE(shift, 179 - days);
    }
}

TEST_F(GenerationRunTest, RandomPeriodWithMinimumEqualToLengthIsTheWholeRange)
{
    ui.panel.cbRandomPeriod = true;
    ui.panel.ebRandomPeriodMin = "20";
    run.btnGenerateClick();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].NumberOfDays, 20);
    EXPECT_EQ(requests[0].StartDate, SecondJanuary2024 + 0.5);
    // Both draws are still made, with a bound of 0.
    EXPECT_EQ(seedsAtSynthesis[0], SeedAfter(2));
}

TEST_F(GenerationRunTest, RandomStartingPriceIsDrawnBetweenMinimumAndMaximum)
{
    ui.panel.cbSeedRandom = false;
    ui.panel.ebSeedMin = "1000";
    ui.panel.ebSeedMax = "2000";
    run.btnGenerateClick();
    ASSERT_EQ(requests.size(), 1u);
    RandomSource reference;
    reference.SetSeed(RunSeed);
    EXPECT_EQ(requests[0].SeedPrice, 1000.0 + reference.NextReal() * (2000.0 - 1000.0));
    EXPECT_EQ(seedsAtSynthesis[0], SeedAfter(1));
}

TEST_F(GenerationRunTest, InvertedSeedRangeStillDrawsThePriceBeforeItIsRefused)
{
    ui.panel.cbSeedRandom = false;
    ui.panel.ebSeedMin = "4000";
    ui.panel.ebSeedMax = "4000";
    ui.panel.cbMax = true;
    ui.panel.ebMaxPrice = "4000";  // the drawn price is exactly 4000, so this refuses too
    run.btnGenerateClick();

    EXPECT_EQ(ui.boxes, (std::vector<std::pair<std::string, std::string>>{
                            {"Maximum Price less than Seed", "Error"},
                            {"Minimum Seed larger than Maximum Seed", "Error"}}));
    EXPECT_EQ(SharedRandom().Seed(), SeedAfter(1));
    EXPECT_TRUE(requests.empty());
}

// ---- the panel's checks --------------------------------------------------------

TEST_F(GenerationRunTest, OnePressShowsEveryFailedCheckInOrderAndChangesNothing)
{
    run.btnGenerateClick();  // a history to keep
    const SetSnapshot generated = Snapshot(run.GeneratedSet);
    const SetSnapshot working = Snapshot(run.WorkingSet);
    ui.log.clear();
    ui.shown.clear();
    requests.clear();

    ui.panel.cbActiveShock = true;
    ui.panel.ebShockMag = "0.5";
    ui.panel.cbSeedRandom = false;  // a price between 3000 and 4000 from the inverted range
    ui.panel.ebSeedMin = "4000";
    ui.panel.ebSeedMax = "3000";
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "5000";
    ui.panel.cbMax = true;
    ui.panel.ebMaxPrice = "1000";
    run.btnGenerateClick();

    EXPECT_EQ(ui.log, (std::vector<std::string>{
                          "cursor:busy", "read panel",
                          "box:Error:Minimum Shock Magnitude is 1.0",
                          "box:Error:Minimum Price larger than Seed",
                          "box:Error:Maximum Price less than Seed",
                          "box:Error:Minimum Seed larger than Maximum Seed",
                          "progress:hide", "main:enable", "activity:Idle", "cursor:restore"}));
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(ui.progressShows, 1);  // only the first run's
    EXPECT_EQ(Snapshot(run.GeneratedSet), generated);
    EXPECT_EQ(Snapshot(run.WorkingSet), working);
    ExpectIdle();
}

TEST_F(GenerationRunTest, ShockBelowOneIsRefusedOnlyWhenActive)
{
    ui.panel.cbActiveShock = true;
    ui.panel.ebShockMag = "0.5";
    run.btnGenerateClick();
    EXPECT_EQ(ui.boxes, (std::vector<std::pair<std::string, std::string>>{{"Minimum Shock Magnitude is 1.0", "Error"}}));
    EXPECT_EQ(run.GeneratedSet.SeriesCount(), 0);
    EXPECT_EQ(run.WorkingSet.SeriesCount(), 0);
}

TEST_F(GenerationRunTest, PriceBoundsEqualToTheStartingPriceAreRefused)
{
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "3000";
    run.btnGenerateClick();
    EXPECT_EQ(ui.boxes, (std::vector<std::pair<std::string, std::string>>{{"Minimum Price larger than Seed", "Error"}}));

    ui.boxes.clear();
    ui.panel.cbMin = false;
    ui.panel.cbMax = true;
    ui.panel.ebMaxPrice = "3000";
    run.btnGenerateClick();
    EXPECT_EQ(ui.boxes, (std::vector<std::pair<std::string, std::string>>{{"Maximum Price less than Seed", "Error"}}));

    ui.boxes.clear();
    ui.panel.ebMaxPrice = "3000.01";
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "2999.99";
    run.btnGenerateClick();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(requests.size(), 1u);
}

TEST_F(GenerationRunTest, ShockAndMinimumPriceGiveTwoBoxesShockFirst)
{
    ui.panel.cbActiveShock = true;
    ui.panel.ebShockMag = "0.5";
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "3500";
    run.btnGenerateClick();
    EXPECT_EQ(ui.boxes, (std::vector<std::pair<std::string, std::string>>{
                            {"Minimum Shock Magnitude is 1.0", "Error"}, {"Minimum Price larger than Seed", "Error"}}));
}

// ---- conversion failures -------------------------------------------------------

struct BrokenField {
    std::string PanelValues::*field;
    std::string goodText;
    std::string message;
    bool afterProgressShown;  // raised after step 16
};

TEST_F(GenerationRunTest, ConversionErrorsArriveInTheRunsOrder)
{
    run.btnGenerateClick();  // a history to keep
    const SetSnapshot generated = Snapshot(run.GeneratedSet);
    const SetSnapshot working = Snapshot(run.WorkingSet);

    // Every text the run reads is broken; they are mended one at a time in the order
    // in which the run converts them.
    ui.panel.cbRandomPeriod = true;
    ui.panel.cbActiveShock = true;
    ui.panel.cbActiveBias = true;
    ui.panel.cbSeedRandom = false;
    ui.panel.cbDirtyDataActive = true;
    const std::vector<BrokenField> order = {
        {&PanelValues::ebLength, "20", "'len' is not a valid integer value", false},
        {&PanelValues::ebRandomPeriodMin, "10", "'rmin' is not a valid integer value", false},
        {&PanelValues::ebShockMag, "2", "'mag' is not a valid floating point value", false},
        {&PanelValues::ebShockFreq, "100", "'freq' is not a valid floating point value", false},
        {&PanelValues::ebTicksPerDay, "40", "'ticks' is not a valid integer value", false},
        {&PanelValues::ebVolatility, "1", "'vol' is not a valid floating point value", false},
        {&PanelValues::ebBias, "4.5", "'bias' is not a valid floating point value", false},
        {&PanelValues::ebSeedMax, "5000", "'smax' is not a valid floating point value", false},
        {&PanelValues::ebSeedMin, "100", "'smin' is not a valid floating point value", false},
        {&PanelValues::ebDirtydata, "5", "'dirty' is not a valid floating point value", true},
        {&PanelValues::ebMaxPrice, "9000", "'pmax' is not a valid floating point value", true},
        {&PanelValues::ebMinPrice, "1", "'pmin' is not a valid floating point value", true},
        {&PanelValues::ebMaxVolume, "1000", "'vmax' is not a valid floating point value", true},
        {&PanelValues::ebMinVolume, "0", "'vmin' is not a valid floating point value", true},
    };
    const std::vector<std::string> broken = {"len", "rmin", "mag", "freq", "ticks", "vol", "bias",
                                             "smax", "smin", "dirty", "pmax", "pmin", "vmax", "vmin"};
    for (std::size_t i = 0; i < order.size(); ++i)
        ui.panel.*(order[i].field) = broken[i];
    ui.panel.ebSeed = "not read for a random price";

    for (const BrokenField& step : order) {
        ui.log.clear();
        const int showsBefore = ui.progressShows;
        EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), step.message);
        EXPECT_EQ(ui.progressShows - showsBefore, step.afterProgressShown ? 1 : 0) << step.message;
        ExpectIdle();
        ExpectEndsWithCleanUp();
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(Snapshot(run.GeneratedSet), generated) << step.message;
        EXPECT_EQ(Snapshot(run.WorkingSet), working) << step.message;
        ui.panel.*(step.field) = step.goodText;
    }
    EXPECT_EQ(requests.size(), 1u);
    run.btnGenerateClick();  // everything mended
    EXPECT_EQ(requests.size(), 2u);
    ExpectIdle();
}

TEST_F(GenerationRunTest, TickedPriceBoundsAreConvertedByTheirChecks)
{
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "low";
    ui.panel.ebMaxVolume = "also broken, but later";
    EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), "'low' is not a valid floating point value");
    EXPECT_EQ(ui.progressShows, 0);

    ui.panel.ebMinPrice = "1";
    ui.panel.cbMax = true;
    ui.panel.ebMaxPrice = "high";
    EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), "'high' is not a valid floating point value");
    EXPECT_EQ(ui.progressShows, 0);
    ExpectIdle();
}

TEST_F(GenerationRunTest, EmptyMinimumPriceStopsAfterTheProgressWindowAppeared)
{
    ui.panel.ebMinPrice = "";
    EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), "'' is not a valid floating point value");
    EXPECT_EQ(ui.progressShows, 1);
    EXPECT_TRUE(ui.LogHasInOrder({"progress:show", "main:disable", "progress:hide", "main:enable"}));
    EXPECT_EQ(run.GeneratedSet.SeriesCount(), 0);
    ExpectIdle();
}

TEST_F(GenerationRunTest, TextsOfInactiveChoicesAreNotRead)
{
    ui.panel.cbRandomPeriod = false;
    ui.panel.ebRandomPeriodMin = "x";
    ui.panel.cbActiveBias = false;
    ui.panel.ebBias = "x";
    ui.panel.cbSeedRandom = true;
    ui.panel.ebSeedMin = "x";
    ui.panel.ebSeedMax = "x";
    ui.panel.cbDirtyDataActive = false;
    ui.panel.ebDirtydata = "x";
    run.btnGenerateClick();
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].BiasPercentPerYear, 0.0);
}

TEST_F(GenerationRunTest, RealsUseTheRunsDecimalSeparator)
{
    LocaleFormats comma;
    comma.decimalSeparator = ',';
    GenerationRun local(ui, comma);
    std::vector<HistoryRequest> seen;
    local.Synthesize = [&](const HistoryRequest& r, ProgressSink& p, TTimeSeriesSet& s) {
        seen.push_back(r);
        MakeHistory(r, p, s);
    };
    ui.panel.ebVolatility = "1,5";
    local.btnGenerateClick();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_DOUBLE_EQ(seen[0].TickVolatility, 0.015 / std::sqrt(40.0));

    ui.panel.ebVolatility = "1.5";
    EXPECT_ERROR_MESSAGE(local.btnGenerateClick(), "'1.5' is not a valid floating point value");
}

TEST_F(GenerationRunTest, TicksPerDayZeroOrNegativeIsAFloatingPointFault)
{
    ui.panel.ebTicksPerDay = "0";
    EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), "Floating point division by zero");
    ExpectIdle();
    ui.panel.ebVolatility = "0";
    EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), "Invalid floating point operation");
    ui.panel.ebVolatility = "1";
    ui.panel.ebTicksPerDay = "-5";
    EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), "Invalid floating point operation");
    ExpectIdle();
    EXPECT_EQ(ui.progressShows, 0);
    EXPECT_TRUE(requests.empty());
}

TEST_F(GenerationRunTest, SynthesisErrorLeavesWorkingSetAndChartAlone)
{
    run.btnGenerateClick();
    const SetSnapshot working = Snapshot(run.WorkingSet);
    ui.shown.clear();
    run.Synthesize = [](const HistoryRequest&, ProgressSink&, TTimeSeriesSet& result) {
        result.SetSeriesCount(5);
        throw Error("No price move stays inside the price bounds");
    };
    EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), "No price move stays inside the price bounds");
    EXPECT_EQ(Snapshot(run.WorkingSet), working);
    EXPECT_TRUE(ui.shown.empty());
    ExpectIdle();
    ExpectEndsWithCleanUp();
}

// ---- dirty data and "Apply" ----------------------------------------------------

// Bars of working that differ from generated, and whether each differs in one value only.
int CountChangedBars(const TTimeSeriesSet& generated, const TTimeSeriesSet& working, bool& oneValueEach)
{
    oneValueEach = true;
    int changed = 0;
    for (std::int32_t i = 0; i < generated.Length(); ++i) {
        int values = 0;
        for (std::int32_t s = 0; s < 5; ++s) {
            EXPECT_EQ(working.GetTime(s, i), generated.GetTime(s, i));
            if (working.GetValue(s, i) != generated.GetValue(s, i))
                ++values;
        }
        if (values > 0)
            ++changed;
        if (values > 1)
            oneValueEach = false;
    }
    return changed;
}

TEST_F(GenerationRunTest, DirtyDataSpoilsOnlyTheWorkingCopyAndTheChartShowsCleanBars)
{
    ui.panel.ebLength = "60";
    ui.panel.cbDirtyDataActive = true;
    ui.panel.ebDirtydata = "100";
    run.RecordCorruptions = true;
    run.btnGenerateClick();

    bool oneValueEach = false;
    const int changed = CountChangedBars(run.GeneratedSet, run.WorkingSet, oneValueEach);
    EXPECT_GT(changed, 0);
    EXPECT_TRUE(oneValueEach);
    // Every picked bar of kind 1 to 6 is recorded; kind 0 leaves the rest clean.
    EXPECT_EQ(run.Corruptions.size(), static_cast<std::size_t>(changed)) << "every kind here changes a value";
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].set, &run.GeneratedSet);
    EXPECT_TRUE(ui.shown[0].resetZoom);
}

TEST_F(GenerationRunTest, DirtyDataInactiveLeavesAnExactCopy)
{
    ui.panel.cbDirtyDataActive = false;
    ui.panel.ebDirtydata = "100";
    run.RecordCorruptions = true;
    run.btnGenerateClick();
    EXPECT_EQ(Snapshot(run.WorkingSet), Snapshot(run.GeneratedSet));
    EXPECT_TRUE(run.Corruptions.empty());
}

TEST_F(GenerationRunTest, BadDirtyPercentageStopsBeforeSynthesis)
{
    ui.panel.cbDirtyDataActive = true;
    ui.panel.ebDirtydata = "lots";
    EXPECT_ERROR_MESSAGE(run.btnGenerateClick(), "'lots' is not a valid floating point value");
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(run.GeneratedSet.SeriesCount(), 0);
    ExpectIdle();
}

TEST_F(GenerationRunTest, ApplyDrawsAFreshCorruptionOfTheCleanHistoryEachTime)
{
    ui.panel.ebLength = "60";
    ui.panel.cbDirtyDataActive = true;
    ui.panel.ebDirtydata = "50";
    run.RecordCorruptions = true;
    run.btnGenerateClick();
    const SetSnapshot clean = Snapshot(run.GeneratedSet);
    ui.shown.clear();

    std::vector<std::vector<std::int32_t>> pickedBars;
    for (int press = 0; press < 4; ++press) {
        ui.log.clear();
        run.btnCorruptClick();
        EXPECT_EQ(Snapshot(run.GeneratedSet), clean);
        ASSERT_FALSE(run.Corruptions.empty());
        // Nothing accumulates: every overwritten value is the clean one.
        for (const Corruption& c : run.Corruptions)
            EXPECT_EQ(c.Before, run.GeneratedSet.GetValue(c.Series, c.Bar));
        bool oneValueEach = false;
        EXPECT_EQ(CountChangedBars(run.GeneratedSet, run.WorkingSet, oneValueEach),
                  static_cast<int>(run.Corruptions.size()));
        EXPECT_TRUE(oneValueEach);
        std::vector<std::int32_t> bars;
        for (const Corruption& c : run.Corruptions)
            bars.push_back(c.Bar);
        pickedBars.push_back(bars);
        // Apply shows the working copy, keeps the zoom and runs no generation.
        EXPECT_EQ(ui.log, (std::vector<std::string>{"read panel", "show bars:keep"}));
        ASSERT_EQ(ui.shown.size(), static_cast<std::size_t>(press + 1));
        EXPECT_EQ(ui.shown.back().set, &run.WorkingSet);
        EXPECT_FALSE(ui.shown.back().resetZoom);
    }
    EXPECT_NE(pickedBars[0], pickedBars[1]);
    EXPECT_NE(pickedBars[1], pickedBars[2]);
    EXPECT_EQ(requests.size(), 1u);

    ui.panel.cbDirtyDataActive = false;
    run.btnCorruptClick();
    EXPECT_EQ(Snapshot(run.WorkingSet), clean);
    EXPECT_TRUE(run.Corruptions.empty());
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
    EXPECT_FALSE(ui.shown[1].resetZoom);
    EXPECT_EQ(run.WorkingSet.Length(), run.GeneratedSet.Length());
    bool oneValueEach = false;
    EXPECT_GT(CountChangedBars(run.GeneratedSet, run.WorkingSet, oneValueEach), 0);
    ExpectIdle();
}

TEST_F(GenerationRunTest, ApplyBeforeAnyHistoryWithAFailingPanelShowsOnlyTheChecksBoxes)
{
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "3000";
    EXPECT_NO_THROW(run.btnCorruptClick());
    EXPECT_EQ(ui.boxes, (std::vector<std::pair<std::string, std::string>>{{"Minimum Price larger than Seed", "Error"}}));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(run.GeneratedSet.SeriesCount(), 0);
    EXPECT_EQ(run.WorkingSet.SeriesCount(), 0);
    ExpectIdle();
}

TEST_F(GenerationRunTest, ApplyPassesAGenerationErrorOn)
{
    ui.panel.ebLength = "twenty";
    EXPECT_ERROR_MESSAGE(run.btnCorruptClick(), "'twenty' is not a valid integer value");
    EXPECT_TRUE(ui.shown.empty());
    ExpectIdle();
}

TEST_F(GenerationRunTest, ApplyWithABadPercentageRaisesItsConversionError)
{
    run.btnGenerateClick();
    ui.shown.clear();
    ui.panel.cbDirtyDataActive = true;
    ui.panel.ebDirtydata = "5%";
    EXPECT_ERROR_MESSAGE(run.btnCorruptClick(), "'5%' is not a valid floating point value");
    EXPECT_TRUE(ui.shown.empty());
}

// ---- the error box's text ------------------------------------------------------

TEST(ErrorBoxText, AppendsAFullStopAfterCharactersAboveIt)
{
    EXPECT_EQ(ErrorBoxText("'abc' is not a valid integer value"), "'abc' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText("Floating point division by zero"), "Floating point division by zero.");
    EXPECT_EQ(ErrorBoxText("ends with a slash/"), "ends with a slash/.");  // '/' follows '.'
    EXPECT_EQ(ErrorBoxText("caf\xC3\xA9"), "caf\xC3\xA9.");                 // bytes above 127 count as high
    EXPECT_EQ(ErrorBoxText("Is it open elsewhere?"), "Is it open elsewhere?.");  // '?' is 63
}

TEST(ErrorBoxText, LeavesMessagesEndingAtOrBelowTheFullStop)
{
    // ')' (41) lies below '.' (46): the list error keeps its form.
    EXPECT_EQ(ErrorBoxText("List index out of bounds (0)"), "List index out of bounds (0)");
    EXPECT_EQ(ErrorBoxText("Already ends."), "Already ends.");
    EXPECT_EQ(ErrorBoxText("dash-"), "dash-");
    EXPECT_EQ(ErrorBoxText("quote'"), "quote'");
    EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
