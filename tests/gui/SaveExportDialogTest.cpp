// The export command's save dialog: its settings, and read-only files refused.

#include "GuiTestSupport.h"
#include "gui/SaveExportDialog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using tickforge::TSaveExportDialog;
using tickforge::testing::AlertRecorder;

class SaveExportDialogTest : public QObject {
    Q_OBJECT

private slots:
    void settings()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        TSaveExportDialog dialog(nullptr, folder.filePath(QStringLiteral("AOI.csv")));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog.nameFilters(), QStringList{QStringLiteral("CSV (*.csv)")});
        QCOMPARE(dialog.defaultSuffix(), QString());
        QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        QVERIFY(dialog.isSizeGripEnabled());
        QCOMPARE(dialog.selectedFiles(), QStringList{folder.filePath(QStringLiteral("AOI.csv"))});
    }

    void aNewOrWritableFileIsAccepted()
    {
        QTemporaryDir folder;
        AlertRecorder alerts;
        const QString existing = folder.filePath(QStringLiteral("old.csv"));
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        for (const QString& path : {folder.filePath(QStringLiteral("new.csv")), existing}) {
            TSaveExportDialog dialog(nullptr, path);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QVERIFY(alerts.boxes.empty());
    }

    void aReadOnlyFileIsRefused()
    {
        QTemporaryDir folder;
        AlertRecorder alerts;
        const QString path = folder.filePath(QStringLiteral("locked.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));

        TSaveExportDialog dialog(nullptr, path);
        dialog.setResult(QDialog::Rejected);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(alerts.boxes.size(), std::size_t(1));
        QCOMPARE(alerts.boxes[0].text,
                 path + QStringLiteral("\nThis file is set to read-only.\nTry again with a different file name."));
    }

    void theChooserCanBeReplaced()
    {
        QString presetSeen;
        const auto previous = tickforge::SetSaveFileChooser([&presetSeen](QWidget*, const QString& preset) {
            presetSeen = preset;
            return std::optional<QString>(QStringLiteral("/somewhere/else.csv"));
        });
        const std::optional<QString> chosen = tickforge::ChooseExportFile(nullptr, QStringLiteral("XYZ.csv"));
        tickforge::SetSaveFileChooser(previous);
        QCOMPARE(presetSeen, QStringLiteral("XYZ.csv"));
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QStringLiteral("/somewhere/else.csv"));
    }
};

QTEST_MAIN(SaveExportDialogTest)
#include "SaveExportDialogTest.moc"
