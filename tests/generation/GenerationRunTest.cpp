#include "generation/GenerationRun.h"

#include "platform/Error.h"
#include "support/DailyBars.h"
#include "support/RecordingSink.h"
#include "synthesis/MakeHistory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tickforge {
void PrintTo(const GenerationOutcome& outcome, std::ostream* out) { *out << outcome.kind << " '" << outcome.Error << "'"; }
}  // namespace tickforge

namespace {

using namespace tickforge;
using namespace tickforge::testing;
using Change = std::function<void(PanelValues&)>;

// A user interface made of plain objects: it logs every call in order and keeps the busy
// state it was told, so that tests can check both.
struct FakeGenerationUi final : GenerationUi {
    using Box = std::pair<std::string, std::string>;         // (text, title)
    using ShownBars = std::pair<const TTimeSeriesSet*, bool>;  // (bars, zoom reset)

    PanelValues ReadPanel() override { log.push_back("read panel"); return panel; }
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        log.push_back("box:" + title + ":" + text);
        boxes.emplace_back(text, title);
    }
    void ShowBusyCursor() override { log.push_back("cursor:busy"); ++busyCursorDepth; }
    void RestoreCursor() override { log.push_back("cursor:restore"); --busyCursorDepth; }
    void SetMainWindowEnabled(bool enabled) override
    {
        log.push_back((mainWindowEnabled = enabled) ? "main:enable" : "main:disable");
    }
    void ShowProgressWindow() override { log.push_back("progress:show"), progressVisible = true; }
    void HideProgressWindow() override { log.push_back("progress:hide"), progressVisible = false; }
    ProgressSink& Progress() override { return sink; }
    void ShowBars(const TTimeSeriesSet& bars, bool resetZoom) override
    {
        log.push_back(std::string("show bars:") + (resetZoom ? "reset" : "keep"));
        shown.push_back({&bars, resetZoom});
    }

    // The state outside a run: enabled, normal cursor, progress hidden, caption "Idle".
    bool IsIdle() const { return mainWindowEnabled && busyCursorDepth == 0 && !progressVisible && sink.Activity() == "Idle"; }

    PanelValues panel;
    std::vector<std::string> log;
    std::vector<Box> boxes;
    std::vector<ShownBars> shown;
    RecordingSink sink{log};
    bool mainWindowEnabled = true, progressVisible = false;
    int busyCursorDepth = 0;
};

GenerationOutcome Failure(const std::string& message) { return {GenerationOutcome::Failed, message}; }

constexpr double SecondJanuary2024 = 45293.0;
constexpr std::uint32_t RunSeed = 777u;

// Every time and value of every series in one list, for comparing sets.
std::vector<double> Snapshot(const TTimeSeriesSet& set)
{
    std::vector<double> snapshot;
    for (const auto& series : set.Series)
        for (const TTimeSeriesSample& sample : series->Samples)
            snapshot.insert(snapshot.end(), {sample.Time, sample.Value});
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
        // A short history: 20 calendar days of 40 ticks.
        ui.panel.StartDate = SecondJanuary2024 + 0.5;
        ui.panel.ebLength = "20", ui.panel.ebTicksPerDay = "40";
        run.Synthesize = [this](const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result) {
            requests.push_back(request);
            seedsAtSynthesis.push_back(SharedRandom().Seed());
            return MakeHistory(request, progress, result);
        };
    }

    // Idle again, and the clean-up was the last thing the run did.
    void ExpectCleanedUp() const
    {
        EXPECT_TRUE(ui.IsIdle());
        ASSERT_GE(ui.log.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(ui.log.end() - 4, ui.log.end()),
                  (std::vector<std::string>{"progress:hide", "main:enable", "activity:Idle", "cursor:restore"}));
    }

    Undo keepRandom = KeepSharedRandom();
    FakeGenerationUi ui;
    GenerationRun run{ui};
    std::vector<HistoryRequest> requests;
    std::vector<std::uint32_t> seedsAtSynthesis;
};

TEST_F(GenerationRunTest, EveryChoiceReachesTheRequestAndTheWorkingCopyStartsClean)
{
    PanelValues& p = ui.panel;
    p = PanelValues{};
    p.StartDate = SecondJanuary2024 + 0.5;  // the picker's full value
    p.ebRandomPeriodMin = p.ebBias = p.ebSeedMin = p.ebSeedMax = p.ebDirtydata = p.ebShockMag = "x";
    EXPECT_EQ(run.btnGenerateClick(), GenerationOutcome{});
    EXPECT_GT(run.GeneratedSet.Length(), 0);
    EXPECT_EQ(Snapshot(run.WorkingSet), Snapshot(run.GeneratedSet));

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

TEST_F(GenerationRunTest, RandomPeriodAndPriceAreDrawnInOrderInsideTheirRanges)
{
    PanelValues& p = ui.panel;
    p.ebLength = "180", p.cbRandomPeriod = true, p.ebTicksPerDay = "4";
    p.cbSeedRandom = false, p.ebSeedMin = "1000", p.ebSeedMax = "2000";
    // A minimum equal to the length is the whole range; both draws are still made.
    for (const auto& [seed, minimum] : {std::pair{1u, 90}, std::pair{0xDEADBEEFu, 90}, std::pair{RunSeed, 180}}) {
        p.ebRandomPeriodMin = std::to_string(minimum);
        SharedRandom().SetSeed(seed);
        run.btnGenerateClick();
        RandomSource reference;
        reference.SetSeed(seed);
        const std::int32_t days = minimum + reference.NextInt(180 - minimum);
        const std::int32_t shift = reference.NextInt(180 - days);
        EXPECT_EQ(requests.back().NumberOfDays, days);
        EXPECT_EQ(requests.back().StartDate, SecondJanuary2024 + 0.5 + shift);
        EXPECT_EQ(requests.back().SeedPrice, 1000.0 + reference.NextReal() * (2000.0 - 1000.0));
        EXPECT_EQ(seedsAtSynthesis.back(), SeedAfter(seed, 3));
    }

    // The price is drawn before its range is checked: an empty range still draws, and so does one whose width overflows.
    p.cbRandomPeriod = false;
    const std::tuple<const char*, const char*, GenerationOutcome> ranges[] = {
        {"4000", "4000", {GenerationOutcome::ChecksFailed}}, {"-1e308", "1e308", Failure("Floating point overflow")}};
    for (const auto& [minimum, maximum, outcome] : ranges) {
        p.ebSeedMin = minimum, p.ebSeedMax = maximum;
        SharedRandom().SetSeed(RunSeed);
        EXPECT_EQ(run.btnGenerateClick(), outcome);
        EXPECT_EQ(SharedRandom().Seed(), SeedAfter(RunSeed, 1));
    }
}

Change LongestRandomPeriod(const char* minimum)
{
    return [=](PanelValues& p) { p.cbRandomPeriod = true, p.ebLength = "2147483647", p.ebRandomPeriodMin = minimum; };
}

TEST_F(GenerationRunTest, ChecksCompareOnlyWhatIsActiveAndRefuseEqualityAndFaultsStopTheRunBeforeSynthesis)
{
    const struct {
        const char* what;
        Change change;
        GenerationOutcome outcome;
        std::vector<FakeGenerationUi::Box> boxes;
    } cases[] = {
        // Dates are written with four-digit years: the last day may be 31 December 9999.
        {"just inside every check",
         [](PanelValues& p) {
             p.StartDate = LastDay - 1.5, p.ebShockMag = "0.5", p.cbMin = p.cbMax = true;
             p.ebMinPrice = "2999.99", p.ebMaxPrice = "3000.01";
         },
         {}, {}},
        {"first day 1 January 1", [](PanelValues& p) { p.StartDate = FirstDay - 0.5; }, {}, {}},
        // Each check fails at equality (an empty range draws exactly its price); one press shows all, in order.
        {"every check fails",
         [](PanelValues& p) {
             p.StartDate = LastDay - 0.5, p.cbActiveShock = p.cbMin = p.cbMax = true, p.cbSeedRandom = false;
             p.ebShockMag = "0.5", p.ebSeedMin = p.ebSeedMax = p.ebMinPrice = p.ebMaxPrice = "3000";
         },
         {GenerationOutcome::ChecksFailed},
         {{"The last day falls outside the years 1 to 9999", "Error"}, {"Minimum Shock Magnitude is 1.0", "Error"},
          {"Minimum Price larger than Seed", "Error"}, {"Maximum Price less than Seed", "Error"},
          {"Minimum Seed larger than Maximum Seed", "Error"}}},
        // The random period's draw takes any 32-bit bound and refuses a larger one.
        {"largest random period", LongestRandomPeriod("0"),
         {GenerationOutcome::ChecksFailed}, {{"The last day falls outside the years 1 to 9999", "Error"}}},
        {"random period beyond 32 bits", LongestRandomPeriod("-1"), Failure("Range check error"), {}},
        // Ticks per day of zero or less are a floating point fault after the volatility is read.
        {"no ticks", [](PanelValues& p) { p.ebTicksPerDay = "0"; }, Failure("Floating point division by zero"), {}},
        {"negative ticks", [](PanelValues& p) { p.ebTicksPerDay = "-5"; }, Failure("Invalid floating point operation"), {}},
        {"negative ticks, volatility no number", [](PanelValues& p) { p.ebTicksPerDay = "-5", p.ebVolatility = "vol"; },
         Failure("'vol' is not a valid floating point value"), {}},
        // The dirty data percentage is converted once the progress window shows, yet before synthesis.
        {"dirty data no number", [](PanelValues& p) { p.cbDirtyDataActive = true, p.ebDirtydata = "half"; },
         Failure("'half' is not a valid floating point value"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.panel = PanelValues{};
        ui.panel.ebLength = "3", ui.panel.ebTicksPerDay = "4";
        c.change(ui.panel);
        ui.boxes.clear();
        const std::size_t synthesised = requests.size();
        EXPECT_EQ(run.btnGenerateClick(), c.outcome);
        EXPECT_EQ(ui.boxes, c.boxes);
        EXPECT_EQ(requests.size() - synthesised, c.outcome == GenerationOutcome{} ? 1u : 0u);
        ExpectCleanedUp();
    }
}

TEST_F(GenerationRunTest, AFailedSynthesisLeavesNoHistory)
{
    run.btnGenerateClick();
    run.Synthesize = [](const HistoryRequest&, ProgressSink&, TTimeSeriesSet& result) -> bool {
        result.SetSeriesCount(5);
        result.SetLength(3);
        throw Error("No move fits");
    };
    EXPECT_EQ(run.btnGenerateClick(), Failure("No move fits"));
    EXPECT_EQ(run.GeneratedSet.SeriesCount() + run.WorkingSet.SeriesCount(), 0);
    EXPECT_EQ(ui.shown.size(), 1u);
    ExpectCleanedUp();
}

TEST_F(GenerationRunTest, ApplyGeneratesFirstWhenNeededThenRedrawsTheCorruptionFromTheCleanHistory)
{
    ui.panel.cbMin = true;
    ui.panel.ebMinPrice = "3000";
    EXPECT_EQ(run.btnCorruptClick().kind, GenerationOutcome::ChecksFailed);
    ui.panel.cbMin = false;
    ui.panel.ebLength = "twenty";
    EXPECT_EQ(run.btnCorruptClick(), Failure("'twenty' is not a valid integer value"));
    EXPECT_TRUE(ui.shown.empty());

    ui.panel.ebLength = "20", ui.panel.cbDirtyDataActive = true, ui.panel.ebDirtydata = "50";
    EXPECT_EQ(run.btnCorruptClick(), GenerationOutcome{});
    EXPECT_EQ(ui.shown, (std::vector<FakeGenerationUi::ShownBars>{{&run.GeneratedSet, true}, {&run.WorkingSet, false}}));
    const auto clean = Snapshot(run.GeneratedSet);
    EXPECT_NE(Snapshot(run.WorkingSet), clean);

    // Each press spoils the clean bars afresh, so the same draws give the same copy.
    run.RecordCorruptions = true;
    std::vector<std::vector<double>> spoiled;
    for (int press = 0; press < 2; ++press) {
        SharedRandom().SetSeed(RunSeed);
        EXPECT_EQ(run.btnCorruptClick(), GenerationOutcome{});
        spoiled.push_back(Snapshot(run.WorkingSet));
    }
    EXPECT_EQ(spoiled[1], spoiled[0]);
    EXPECT_EQ(Snapshot(run.GeneratedSet), clean);
    EXPECT_FALSE(run.Corruptions.empty());
    EXPECT_EQ(requests.size(), 1u);  // only the first press generated

    ui.panel.ebDirtydata = "5%";
    EXPECT_EQ(run.btnCorruptClick(), Failure("'5%' is not a valid floating point value"));
    EXPECT_EQ(ui.shown.size(), 4u);
    ui.panel.cbDirtyDataActive = false;
    run.btnCorruptClick();
    EXPECT_EQ(Snapshot(run.WorkingSet), clean);
    EXPECT_TRUE(run.Corruptions.empty());
}

TEST(ErrorBoxText, AppendsAFullStopAfterACharacterAboveIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ends with a slash/", "ends with a slash/."},                     // '/' follows '.'
        {"caf\xC3\xA9", "caf\xC3\xA9."},                                   // bytes above 127 count as high
        {"List index out of bounds (0)", "List index out of bounds (0)"},  // ')' is 41
        {"Already ends.", "Already ends."},
        {"", ""},
    };
    for (const auto& [message, text] : cases)
        EXPECT_EQ(ErrorBoxText(message), text);
}

}  // namespace
