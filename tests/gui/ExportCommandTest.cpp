// The main window's two export buttons: the format dialog, the column check, the save
// dialog and the files of a plain export and of batches, with the failures each step
// can meet. The format dialog is answered from inside its own event loop; the save
// dialog is replaced by a chooser naming a file in a scratch folder, and tested alone.

#include "GuiTestSupport.h"
#include "export/HistoryWriter.h"
#include "gui/ExportFormatDialog.h"
#include "gui/SaveExportDialog.h"

#include <memory>
#include <optional>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// Answers the export format dialog whenever it is shown by clicking the named controls
// in order (a click toggles a box: the dialog starts with every column but the ticker
// ticked); the last should be OK (BitBtn1) or Cancel (BitBtn2). Counts the showings and
// notes how many series the generated history had at the first.
class FormatDialogAnswer final : public QObject {
public:
    FormatDialogAnswer(TfrmWriteMarket& dialog, TGenerator& window) : dialog_(dialog), window_(window)
    {
        dialog.installEventFilter(this);
    }

    QStringList clicks{QStringLiteral("BitBtn1")};
    int shown = 0;
    int seriesWhenShown = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            if (shown++ == 0)
                seriesWhenShown = window_.Run().GeneratedSet.SeriesCount();
            QTimer::singleShot(0, &dialog_, [this] {
                for (const QString& name : clicks)
                    Find<QAbstractButton>(dialog_, name)->click();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TfrmWriteMarket& dialog_;
    TGenerator& window_;
};

// Stands in for the save dialog: records the preset names and answers with chosen.
struct SaveChooser {
    std::optional<QString> chosen;
    QStringList presets;
    Seam<SaveFileChooser> seam{SetSaveFileChooser, [this](QWidget*, const QString& preset) {
                                   presets << preset;
                                   return chosen;
                               }};
};

// A plain export that stops before writing, from a file "AOI.csv" that must survive
// untouched; a history is generated first where the panel has no steps.
struct StopCase {
    const char* name;
    QStringList panel, clicks;  // steps on the main window (see Do), clicks on the format dialog
    bool fileChosen;            // else the save dialog is cancelled
    const char *text, *title;   // of the box shown, if any
    int dialogShown, chooserAsked;
};

const StopCase StopCases[] = {
    {"format dialog cancelled", {}, {"BitBtn2"}, true, nullptr, "", 1, 0},
    {"save dialog cancelled", {}, {"BitBtn1"}, false, nullptr, "", 1, 1},
    {"no value column", {}, {"cbTicker", "cbOpen", "cbHigh", "cbLow", "cbClose", "cbVolume", "BitBtn1"}, true,
     "At least one value column must be selected", "Illegal column selection", 1, 0},
    // With no history to write, neither dialog appears.
    {"first generation refused by a check", {"cbActiveShock", "ebShockMag=0.5"}, {"BitBtn1"}, true,
     "Minimum Shock Magnitude is 1.0", "Error", 0, 0},
};

}  // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<SaveChooser> chooser;
    std::unique_ptr<TfrmWriteMarket> dialog;
    std::unique_ptr<MainWindowUnderTest> w;
    std::unique_ptr<FormatDialogAnswer> answer;

    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QStringList Files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
    const TTimeSeriesSet& Generated() { return w->Run().GeneratedSet; }
    void SetText(const char* field, const char* text) { w->window.Panel().SetText(field, text); }

    void Generate()
    {
        w->Press("btnGenerate");
        QVERIFY(Generated().Length() > 0);
    }

    void Press(const char* button)
    {
        GuardAgainstHanging(&w->window, 60000);
        w->Press(button);
    }

    // What the writer makes of bars with the dialog's current choices and the ticker.
    QByteArray Reference(const TTimeSeriesSet& bars, const char* ticker) const
    {
        const QString path = folder.filePath(QStringLiteral("reference.txt"));
        const ExportFormat format = dialog->ReadExportFormat();
        WriteHistoryFile(path.toStdString(), false, bars, format, ticker, false,
                         w->window.Run().Formats());
        const QByteArray text = ReadFile(path);
        QFile::remove(path);
        return text;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(folder.isValid());
        chooser = std::make_unique<SaveChooser>();
        chooser->chosen = Path("AOI.csv");
        dialog = std::make_unique<TfrmWriteMarket>();
        w = std::make_unique<MainWindowUnderTest>();
        w->window.SetExportFormatDialog(dialog.get());
        answer = std::make_unique<FormatDialogAnswer>(*dialog, w->window);
        // Short histories keep the runs quick.
        SetText("ebLength", "20");
        SetText("ebTicksPerDay", "50");
    }

    void cleanup()
    {
        answer.reset();
        w.reset();
        dialog.reset();
        chooser.reset();
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }

    void plainExportGeneratesFirstAndWritesUnderTheSecurityName()
    {
        SetText("ebSecurityName", "XJO");
        chooser->chosen = Path("XJO.csv");
        // The file mode plays no part in a plain export.
        answer->clicks = QStringList{"cbTicker", "rbMultiFile", "BitBtn1"};
        Press("btnExport");

        QVERIFY(w->boxes.boxes.empty());
        QCOMPARE(answer->shown, 1);
        QCOMPARE(answer->seriesWhenShown, 5);  // nothing generated before: GO ran first
        QCOMPARE(chooser->presets, QStringList{QStringLiteral("XJO.csv")});
        QCOMPARE(ReadFile(Path("XJO.csv")), Reference(Generated(), "XJO"));
        QVERIFY(ReadFile(Path("XJO.csv")).startsWith("\"XJO\","));
        QCOMPARE(Files(), QStringList{QStringLiteral("XJO.csv")});
    }

    void dirtyDataLeavesTheExportClean()
    {
        w->Press("cbDirtyDataActive");
        SetText("ebDirtydata", "100");
        Generate();
        const QByteArray clean = Reference(Generated(), "AOI");
        QVERIFY(clean != Reference(w->Run().WorkingSet, "AOI"));
        w->Press("btnCorrupt");
        Press("btnExport");
        QCOMPARE(ReadFile(Path("AOI.csv")), clean);
    }

    void stopsWithoutWriting_data() { AddRows(StopCases); }

    void stopsWithoutWriting()
    {
        const StopCase& row = FetchRow(StopCases);
        const bool generated = row.panel.isEmpty();
        if (generated)
            Generate();
        w->Do(row.panel);
        QVERIFY(WriteFile(Path("AOI.csv"), "kept\r\n"));
        answer->clicks = row.clicks;
        if (!row.fileChosen)
            chooser->chosen = std::nullopt;
        Press("btnExport");

        QCOMPARE(w->boxes.Texts(), row.text ? QStringList{QString::fromUtf8(row.text)} : QStringList{});
        for (const AlertBox& box : w->boxes.boxes)
            QCOMPARE(box.title, QString::fromLatin1(row.title));
        QCOMPARE(answer->shown, row.dialogShown);
        QCOMPARE(chooser->presets.size(), row.chooserAsked);
        QCOMPARE(Files(), QStringList{QStringLiteral("AOI.csv")});
        QCOMPARE(ReadFile(Path("AOI.csv")), QByteArray("kept\r\n"));
        QCOMPARE(Generated().SeriesCount(), generated ? 5 : 0);
        QVERIFY(w->window.TakesInput() && !w->window.Busy());
    }

    void aMemberThatCannotBeWrittenEndsTheBatchNamingItsFile()
    {
        Generate();
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("AOI3.csv")));  // a folder in the way of member 3
        SetText("ebMultiples", "4");
        answer->clicks = QStringList{"rbMultiFile", "BitBtn1"};
        Press("btnExportMulti");

        const QString path = Path("AOI3.csv");
        QCOMPARE(w->boxes.Texts(), QStringList{"Error writing to file " + path + ". Is it open elsewhere?"});
        QCOMPARE(w->boxes.boxes[0].title, QStringLiteral("File Error"));
        QCOMPARE(Files(), (QStringList{"AOI1.csv", "AOI2.csv", "AOI3.csv"}));
        QVERIFY(!w->progress.isVisible());
        QVERIFY(w->window.TakesInput() && !w->window.Busy());
    }

    void saveDialogRefusesOnlyReadOnlyFiles()
    {
        const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        for (const bool writable : {true, false}) {
            const QString path = Path(writable ? "old.csv" : "locked.csv");
            QVERIFY(WriteFile(path, "") && QFile::setPermissions(path, writable ? readOnly | QFileDevice::WriteOwner : readOnly));
            TSaveExportDialog save(nullptr, path);
            QCOMPARE(save.nameFilters(), QStringList{QStringLiteral("CSV (*.csv)")});
            save.setResult(QDialog::Rejected);
            save.accept();
            QCOMPARE(save.result(), int(writable ? QDialog::Accepted : QDialog::Rejected));
        }
        QCOMPARE(w->boxes.Texts(), QStringList{Path("locked.csv") + "\nThis file is set to read-only.\nTry again with a different file name."});
    }
};

QTEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
