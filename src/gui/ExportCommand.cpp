#include "gui/ExportCommand.h"

#include "UserAlerts.h"
#include "export/ExportHistories.h"
#include "gui/ExportFormatDialog.h"
#include "gui/SaveExportDialog.h"
#include "platform/Error.h"
#include "platform/NumericText.h"

#include <new>

namespace tickforge {

namespace {

void ShowExportError(QWidget* owner, const ExportError& error)
{
    ShowAlertBox(owner, AlertBox{QString::fromStdString(error.what()), QString::fromStdString(error.Title()),
                                 AlertIcon::None});
}

// Runs one step; an error it raises is shown in the application's error box and
// ends the command (false).
template <typename Step>
bool Guarded(QWidget* owner, Step&& step)
{
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
        ShowErrorBox(owner, messages::OutOfMemory);
    } catch (const std::exception& error) {
        ShowErrorBox(owner, error.what());
    }
    return false;
}

}  // namespace

void RunExportCommand(const ExportCommandContext& context, bool batch)
{
    QWidget* owner = context.owner;
    PanelControls& panel = *context.panel;

    std::int32_t count = 1;
    if (batch && !Guarded(owner, [&] { count = StrToInt(panel.Text("ebMultiples")); }))
        return;

    if (context.bars->SeriesCount() == 0) {
        if (!Guarded(owner, context.generate))
            return;
        // A run refused by the panel's checks has shown its boxes and made nothing:
        // there is no history to export, and no file is touched.
        if (context.bars->SeriesCount() == 0)
            return;
    }

    TfrmWriteMarket& dialog = *context.formatDialog;
    if (!dialog.Execute())
        return;
    const ExportFormat format = dialog.ReadExportFormat();
    try {
        CheckValueColumns(format);
    } catch (const ExportError& refused) {
        ShowExportError(owner, refused);
        return;
    }

    const std::optional<QString> chosen =
        ChooseExportFile(owner, QString::fromStdString(panel.Text("ebSecurityName")) + QStringLiteral(".csv"));
    if (!chosen)
        return;

    try {
        ExportHistories(format, chosen->toStdString(), count, batch, [&panel] { return panel.Text("ebSecurityName"); },
                        *context.bars, context.generate, context.formats);
    } catch (const ExportError& failure) {
        ShowExportError(owner, failure);
    }
}

}  // namespace tickforge
