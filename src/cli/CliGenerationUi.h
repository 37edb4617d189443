#pragma once
// The generation run's user interface on a terminal: the panel is a plain record,
// each check's message box is a line on standard error, the progress window is the
// progress bar, and there is no cursor, main window or chart to look after.

#include "cli/TerminalProgress.h"
#include "generation/GenerationUi.h"
#include "generation/PanelControls.h"

#include <cstdio>

namespace tickforge::cli {

class CliGenerationUi final : public GenerationUi {
public:
    CliGenerationUi(const PanelControls& panel, TerminalProgress& progress, std::FILE* messages);

    PanelValues ReadPanel() override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    void ShowBusyCursor() override {}
    void RestoreCursor() override {}
    void SetMainWindowEnabled(bool) override {}
    void ShowProgressWindow() override { progress_.Show(); }
    void HideProgressWindow() override { progress_.Hide(); }
    ProgressSink& Progress() override { return progress_; }
    void ShowBars(const TTimeSeriesSet&, bool) override {}

private:
    const PanelControls& panel_;
    TerminalProgress& progress_;
    std::FILE* messages_;
};

}  // namespace tickforge::cli
