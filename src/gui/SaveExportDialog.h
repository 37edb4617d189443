#pragma once
// The save dialog of the export command: one "CSV" filter, the name preset, no default
// extension (a name typed without one stays without one), no question before an
// existing file is replaced, read-only files refused, resizable. Tests replace the
// whole dialog through SetSaveFileChooser.

#include <QFileDialog>
#include <QString>

#include <functional>
#include <optional>

namespace tickforge {

inline constexpr const char* ExportFileFilter = "CSV (*.csv)";

class TSaveExportDialog : public QFileDialog {
    Q_OBJECT

public:
    TSaveExportDialog(QWidget* parent, const QString& presetName);

public slots:
    // Refuses an existing file that cannot be written and stays open.
    void accept() override;
};

// "<path>\nThis file is set to read-only.\nTry again with a different file name."
QString ReadOnlyFileMessage(const QString& path);

// Asks for the export file with the name preset; nothing when the user cancels.
std::optional<QString> ChooseExportFile(QWidget* parent, const QString& presetName);

using SaveFileChooser = std::function<std::optional<QString>(QWidget* parent, const QString& presetName)>;
// Installs a replacement for the dialog (an empty function restores it) and returns
// the one it replaces.
SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser);

}  // namespace tickforge
