#pragma once
// The generation run behind "GO" and "Apply", without windows. It owns the two bar sets
// of the main window: GeneratedSet, exactly as synthesis made it, and WorkingSet, its
// copy that dirty data may spoil.

#include "generation/GenerationUi.h"
#include "platform/LocaleFormats.h"
#include "series/TimeSeries.h"

#include <string>

namespace tickforge {

namespace messages {
inline constexpr const char* ErrorTitle = "Error";
inline constexpr const char* MinimumShockMagnitude = "Minimum Shock Magnitude is 1.0";
inline constexpr const char* MinimumPriceAboveSeed = "Minimum Price larger than Seed";
inline constexpr const char* MaximumPriceBelowSeed = "Maximum Price less than Seed";
inline constexpr const char* SeedRangeInverted = "Minimum Seed larger than Maximum Seed";
inline constexpr const char* IdleActivity = "Idle";
inline constexpr const char* SynthName = "Synth";
}  // namespace messages

class GenerationRun {
public:
    explicit GenerationRun(GenerationUi& ui, LocaleFormats formats = {});

    // "GO": reads and checks the panel, synthesises into GeneratedSet, refreshes
    // WorkingSet and shows GeneratedSet. A failed check shows its boxes and changes
    // nothing. Errors (conversions, synthesis) propagate to the caller after the
    // clean-up has restored the idle state; the caller shows them in its error box.
    void btnGenerateClick();

    // "Apply": generates first when nothing exists yet, then redraws a fresh corruption
    // of the clean history and shows WorkingSet without resetting the zoom.
    void btnCorruptClick();

    // WorkingSet := GeneratedSet, then corrupted when the panel's dirty data is active.
    void RefreshWorkingSet();

    const LocaleFormats& Formats() const { return formats_; }

    TTimeSeriesSet GeneratedSet;
    TTimeSeriesSet WorkingSet;

private:
    GenerationUi& ui_;
    LocaleFormats formats_;
};

// The text of the application's error box: a full stop is appended when the message's
// last character has a higher code than the full stop.
std::string ErrorBoxText(const std::string& message);

}  // namespace tickforge
