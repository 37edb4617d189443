#include "gui/SaveExportDialog.h"

#include "UserAlerts.h"

#include <QFileInfo>

#include <utility>

namespace tickforge {

namespace {

SaveFileChooser& InstalledChooser()
{
    static SaveFileChooser chooser;
    return chooser;
}

}  // namespace

TSaveExportDialog::TSaveExportDialog(QWidget* parent, const QString& presetName) : QFileDialog(parent)
{
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(QString::fromLatin1(ExportFileFilter));
    setDefaultSuffix(QString());
    // Qt's own dialog, so that the read-only check below sees every choice.
    setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    setSizeGripEnabled(true);
    selectFile(presetName);
}

void TSaveExportDialog::accept()
{
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty()) {
        const QFileInfo file(chosen.first());
        // Read-only: the owner's write permission is off (even a user allowed to
        // write anything respects that here), or this user may not write it.
        const bool readOnly = !(file.permissions() & QFileDevice::WriteOwner) || !file.isWritable();
        if (file.exists() && readOnly) {
            ShowAlertBox(this, AlertBox{ReadOnlyFileMessage(chosen.first()), windowTitle(), AlertIcon::None});
            return;
        }
    }
    QFileDialog::accept();
}

QString ReadOnlyFileMessage(const QString& path)
{
    return path + QStringLiteral("\nThis file is set to read-only.\nTry again with a different file name.");
}

std::optional<QString> ChooseExportFile(QWidget* parent, const QString& presetName)
{
    if (const SaveFileChooser& chooser = InstalledChooser())
        return chooser(parent, presetName);
    TSaveExportDialog dialog(parent, presetName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser)
{
    return std::exchange(InstalledChooser(), std::move(chooser));
}

}  // namespace tickforge
