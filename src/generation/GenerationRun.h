#pragma once
// The generation run behind "GO" and "Apply", without windows. It owns the two bar sets
// of the main window: GeneratedSet, exactly as synthesis made it, and WorkingSet, its
// copy that dirty data may spoil.

#include "generation/GenerationOutcome.h"
#include "generation/GenerationUi.h"
#include "platform/LocaleFormats.h"
#include "series/TimeSeries.h"
#include "synthesis/CorruptHistory.h"
#include "synthesis/HistoryRequest.h"
#include "synthesis/ProgressSink.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tickforge {

namespace messages {
inline constexpr const char* ErrorTitle = "Error";
inline constexpr const char* MinimumShockMagnitude = "Minimum Shock Magnitude is 1.0";
inline constexpr const char* MinimumPriceAboveSeed = "Minimum Price larger than Seed";
inline constexpr const char* MaximumPriceBelowSeed = "Maximum Price less than Seed";
inline constexpr const char* SeedRangeInverted = "Minimum Seed larger than Maximum Seed";
inline constexpr const char* OutsideCalendar = "The last day falls outside the years 1 to 9999";
inline constexpr const char* IdleActivity = "Idle";
inline constexpr const char* SynthName = "Synth";
}  // namespace messages

// What a run that got through synthesis took and drew, so that its history can be
// named and made again: the panel as read, the days and start after the random period,
// the starting price after its draw and the seed that synthesis took.
struct RunRecord {
    PanelValues panel;
    std::int32_t days = 0;
    DateTimeValue start = 0.0;
    double price = 0.0;
    std::uint32_t seed = 0;
};

class GenerationRun {
public:
    explicit GenerationRun(GenerationUi& ui, LocaleFormats formats = {});

    // "GO": reads and checks the panel, synthesises into GeneratedSet, refreshes
    // WorkingSet and shows GeneratedSet. A failed check shows its boxes and changes
    // nothing. An error (conversion, synthesis) ends the run after the clean-up has
    // restored the idle state; the outcome carries its message for the caller's error box. A
    // synthesis that fails leaves both sets without series, as before the first run.
    GenerationOutcome btnGenerateClick();

    // "Apply": generates first when nothing exists yet, then redraws a fresh corruption
    // of the clean history and shows WorkingSet without resetting the zoom. Returns the
    // first generation's outcome when it leaves nothing to corrupt, else Generated, or
    // Failed when the corruption's percentage does not convert.
    GenerationOutcome btnCorruptClick();

    // WorkingSet := GeneratedSet, then corrupted when the panel's dirty data is active.
    void RefreshWorkingSet();

    const LocaleFormats& Formats() const { return formats_; }

    TTimeSeriesSet GeneratedSet;
    TTimeSeriesSet WorkingSet;
    // The run that made GeneratedSet; none before the first synthesis.
    std::optional<RunRecord> LastRun;

    // When set, every refresh of WorkingSet lists the values its corruption changed in
    // Corruptions (empty when dirty data is inactive). Off by default.
    bool RecordCorruptions = false;
    std::vector<Corruption> Corruptions;

    // Synthesis as the run calls it: MakeHistory unless replaced, for a caller that
    // wants to see the request or stand in for synthesis. False: aborted.
    using Synthesizer = std::function<bool(const HistoryRequest&, ProgressSink&, TTimeSeriesSet&)>;
    Synthesizer Synthesize;

private:
    // The run between the busy cursor and the clean-up.
    GenerationOutcome Generate(const PanelValues& panel);
    // Puts the windows back into their idle state.
    void EndRun();
    void RefreshWorkingSet(const PanelValues& panel);

    GenerationUi& ui_;
    LocaleFormats formats_;
};

// The text of the application's error box: a full stop is appended when the message's
// last character has a higher code than the full stop.
std::string ErrorBoxText(const std::string& message);

}  // namespace tickforge
