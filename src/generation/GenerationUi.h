#pragma once
// What a generation run needs of the user interface. The desktop program implements it
// with its windows; the command line and the tests with plain objects.

#include "generation/PanelValues.h"
#include "series/TimeSeries.h"
#include "synthesis/ProgressSink.h"

#include <string>

namespace tickforge {

class GenerationUi {
public:
    virtual ~GenerationUi() = default;

    virtual PanelValues ReadPanel() = 0;
    // A modal message box with one OK button and no icon.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    // Saves the current cursor and shows the hourglass; RestoreCursor puts it back.
    virtual void ShowBusyCursor() = 0;
    virtual void RestoreCursor() = 0;
    virtual void SetMainWindowEnabled(bool enabled) = 0;
    // Makes the progress window visible and brings it to the front / hides it.
    virtual void ShowProgressWindow() = 0;
    virtual void HideProgressWindow() = 0;
    // The progress window as synthesis sees it; SetActivity("Idle") ends every run.
    virtual ProgressSink& Progress() = 0;
    virtual void ShowBars(const TTimeSeriesSet& bars, bool resetZoom) = 0;
};

}  // namespace tickforge
