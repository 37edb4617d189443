#pragma once
// The export command behind both export buttons: the batch count, a first generation
// when nothing exists yet, the format dialog, the column check, the save dialog and
// then the files, the current history first and, for a batch, freshly generated ones.
// It reports failures in message boxes and success with silence.

#include "generation/GenerationOutcome.h"
#include "generation/PanelControls.h"
#include "platform/LocaleFormats.h"
#include "series/TimeSeries.h"

#include <functional>

class QWidget;

namespace tickforge {

class TfrmWriteMarket;

struct ExportCommandContext {
    QWidget* owner = nullptr;               // parent of the boxes and the save dialog
    PanelControls* panel = nullptr;         // ebMultiples and ebSecurityName
    const TTimeSeriesSet* bars = nullptr;   // GeneratedSet: always the clean bars
    // One generation run as GO makes it, its error not yet shown.
    std::function<GenerationOutcome()> generate;
    TfrmWriteMarket* formatDialog = nullptr;
    LocaleFormats formats;
};

// batch: the button pressed was btnExportMulti.
void RunExportCommand(const ExportCommandContext& context, bool batch);

}  // namespace tickforge
