#include "gui/ExportCommand.h"

#include "UserAlerts.h"
#include "export/ExportHistories.h"
#include "gui/ExportFormatDialog.h"
#include "gui/SaveExportDialog.h"
#include "platform/Error.h"
#include "platform/NumericText.h"

namespace tickforge {

namespace {

void ShowExportError(QWidget* owner, const std::string& message, const std::string& title)
{
    ShowAlertBox(owner, AlertBox{QString::fromStdString(message), QString::fromStdString(title), AlertIcon::None});
}

// The format dialog, the column check and the save dialog; nothing when one of them
// ends the command.
std::optional<ExportChoice> ChooseExport(QWidget* owner, PanelControls& panel, TfrmWriteMarket& dialog)
{
    if (!dialog.Execute())
        return std::nullopt;
    ExportChoice choice;
    choice.Format = dialog.ReadExportFormat();
    try {
        CheckValueColumns(choice.Format);
    } catch (const ExportError& refused) {
        ShowExportError(owner, refused.what(), refused.Title());
        return std::nullopt;
    }
    const std::optional<QString> chosen =
        ChooseExportFile(owner, QString::fromStdString(panel.Text(PanelControl::ebSecurityName)) + QStringLiteral(".csv"));
    if (!chosen)
        return std::nullopt;
    choice.Path = chosen->toStdString();
    return choice;
}

}  // namespace

void RunExportCommand(const ExportCommandContext& context, bool batch)
{
    QWidget* owner = context.owner;
    PanelControls& panel = *context.panel;

    ExportJob job;
    job.Batch = batch;
    if (batch && !ShowErrorsOf(owner, [&] { job.Count = StrToInt(panel.Text(PanelControl::ebMultiples)); }))
        return;
    job.SecurityName = [&panel] { return panel.Text(PanelControl::ebSecurityName); };
    job.Bars = context.bars;
    job.Generate = context.generate;
    job.Formats = context.formats;

    const ExportResult result =
        GenerateAndExport(job, [&] { return ChooseExport(owner, panel, *context.formatDialog); });
    switch (result.Stop) {
    case ExportResult::NothingToExport:
        // Failed checks have shown their boxes already.
        if (result.Generation.kind == GenerationOutcome::Failed)
            ShowErrorBox(owner, result.Generation.Error);
        break;
    case ExportResult::GenerationStopped:
    case ExportResult::WriteFailed:
        // A failed generation is reported on the file of the member before it.
        ShowExportError(owner, FileErrorMessage(result.Path), messages::FileErrorTitle);
        break;
    case ExportResult::Finished:
    case ExportResult::Cancelled:
        break;
    }
}

}  // namespace tickforge
