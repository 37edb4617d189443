// The main window's commands that lead out of it: the export of histories to files and
// the about box.

#include "TGenerator.h"

#include "WidgetPanel.h"
#include "gui/CreditsWindow.h"
#include "gui/ExportCommand.h"
#include "gui/ExportFormatDialog.h"
#include "gui/SplashWindow.h"

namespace tickforge {

void TGenerator::SetSplashWindow(TfrmSplash* splash)
{
    splash_ = splash;
}

void TGenerator::SetExportFormatDialog(TfrmWriteMarket* dialog)
{
    formatDialog_ = dialog;
}

TfrmSplash& TGenerator::SplashWindow()
{
    if (!splash_) {
        // A window made without the program's start-up makes its own about box.
        splash_ = new TfrmSplash(this);
        splash_->SetCreditsWindow(new TfrmBetaTesters(splash_));
    }
    return *splash_;
}

TfrmWriteMarket& TGenerator::ExportFormatDialog()
{
    if (!formatDialog_)
        formatDialog_ = new TfrmWriteMarket(this);
    return *formatDialog_;
}

void TGenerator::btnAboutClick()
{
    SplashWindow().ShowAbout();
}

void TGenerator::btnExportClick()
{
    RunExportCommand(false);
}

void TGenerator::btnExportMultiClick()
{
    RunExportCommand(true);
}

void TGenerator::RunExportCommand(bool batch)
{
    if (busy_)
        return;
    // Busy for the whole command: the window must outlive its batch.
    busy_ = true;
    struct Idle {
        bool& busy;
        ~Idle() { busy = false; }
    } idle{busy_};
    ExportCommandContext context;
    context.owner = this;
    context.panel = panel_.get();
    context.bars = &run_->GeneratedSet;
    context.generate = [this] { return run_->btnGenerateClick(); };
    context.formatDialog = &ExportFormatDialog();
    context.formats = run_->Formats();
    tickforge::RunExportCommand(context, batch);
}

}  // namespace tickforge
