// The two export buttons through the format dialog, the column check and the save dialog
// (a chooser naming a scratch file), with each step's failures; and the two dialogs alone.

#include "GuiTestSupport.h"
#include "export/HistoryWriter.h"
#include "gui/ExportFormatDialog.h"
#include "gui/SaveExportDialog.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// A plain export that stops before writing, from a file "AOI.csv" that must survive untouched.
struct StopCase {
    const char* name;
    QStringList panel, clicks;  // steps on the main window (see Do), clicks on the format dialog
    bool fileChosen;            // else the save dialog is cancelled
    const char *text, *title;   // of the box shown, if any
    int dialogShown, chooserAsked;
};

const StopCase StopCases[] = {
    {"format dialog cancelled", {"btnGenerate"}, {"BitBtn2"}, true, nullptr, "", 1, 0},
    {"save dialog cancelled", {"btnGenerate"}, {"BitBtn1"}, false, nullptr, "", 1, 1},
    {"no value column", {"btnGenerate"}, {"cbTicker", "cbOpen", "cbHigh", "cbLow", "cbClose", "cbVolume", "BitBtn1"}, true,
     "At least one value column must be selected", "Illegal column selection", 1, 0},
    // With no history to write, neither dialog appears.
    {"first generation refused by a check", {"cbActiveShock", "ebShockMag=0.5"}, {"BitBtn1"}, true,
     "Minimum Shock Magnitude is 1.0", "Error", 0, 0},
};

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> folder;  // a fresh one for each test
    std::unique_ptr<TfrmWriteMarket> dialog;
    std::unique_ptr<MainWindowUnderTest> w;
    // Clicked in order on the format dialog (all but the ticker ticked at first), then OK (BitBtn1) or Cancel (BitBtn2).
    QStringList clicks;
    int dialogShown = 0;
    // The save dialog's stand-in records the preset names and answers with chosen.
    std::optional<QString> chosen;
    QStringList presets;
    Undo chooser = Replace(SetSaveFileChooser, [this](QWidget*, const QString& preset) { return presets << preset, chosen; });

    QString Path(const char* name) const { return folder->filePath(QString::fromLatin1(name)); }
    QStringList Files() const { return QDir(folder->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
    void SetText(const char* field, const char* text) { w->window.Panel().SetText(field, text); }

    // What the writer makes of bars with the dialog's current choices and the ticker.
    QByteArray Reference(const TTimeSeriesSet& bars, const char* ticker) const
    {
        const QTemporaryDir scratch;  // not in folder, whose files the tests list
        const QString path = scratch.filePath(QStringLiteral("reference.txt"));
        WriteHistoryFile(path.toStdString(), false, bars, dialog->ReadExportFormat(), ticker, false, w->window.Run().Formats());
        return ReadFile(path);
    }

    QString Example() const { return Find<QLabel>(*dialog, "pnlExample")->text(); }
    QString Precision() const { return Find<QLineEdit>(*dialog, "ebPrec")->text(); }
    void Click(const char* name) const { QTest::mouseClick(Find<QAbstractButton>(*dialog, name), Qt::LeftButton); }

    // The format dialog alone, shown and answered by the test itself.
    void ShowDialog()
    {
        clicks.clear();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    // Runs the modal dialog while act, which must close it, works inside its loop; a second timer closes it anyway.
    bool ExecuteWhile(const std::function<void()>& act)
    {
        dialog->hide();
        QTimer::singleShot(0, dialog.get(), act);
        QTimer::singleShot(5000, dialog.get(), [this] { dialog->done(QDialog::Rejected); });
        return dialog->Execute();
    }

public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == dialog.get() && event->type() == QEvent::Show) {
            ++dialogShown;
            QTimer::singleShot(0, dialog.get(), [this] {
                for (const QString& name : clicks)
                    Find<QAbstractButton>(*dialog, name)->click();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(folder.emplace().isValid());
        chosen = Path("AOI.csv");
        presets.clear();
        clicks = QStringList{QStringLiteral("BitBtn1")};
        dialogShown = 0;
        dialog = std::make_unique<TfrmWriteMarket>();
        dialog->installEventFilter(this);
        w = std::make_unique<MainWindowUnderTest>();
        w->window.SetExportFormatDialog(dialog.get());
        GuardAgainstHanging(&w->window, 60000);  // a dialog a fault leaves up cannot hang the test
        // Short histories keep the runs quick.
        SetText("ebLength", "20");
        SetText("ebTicksPerDay", "50");
    }

    void cleanup()
    {
        w.reset();
        dialog.reset();
    }

    void plainExportGeneratesFirstAndWritesTheCleanHistoryUnderTheSecurityName()
    {
        SetText("ebSecurityName", "XJO");
        w->Press("cbDirtyDataActive");
        SetText("ebDirtydata", "100");
        chosen = Path("XJO.csv");
        clicks = QStringList{"cbTicker", "rbMultiFile", "BitBtn1"};  // the file mode plays no part here
        w->Press("btnExport");

        QVERIFY(w->boxes.boxes.empty());
        QCOMPARE(dialogShown, 1);
        QCOMPARE(presets, QStringList{QStringLiteral("XJO.csv")});
        const QByteArray clean = Reference(w->Run().GeneratedSet, "XJO");
        QVERIFY(clean.startsWith("\"XJO\",") && clean != Reference(w->Run().WorkingSet, "XJO"));
        QCOMPARE(ReadFile(Path("XJO.csv")), clean);
        QCOMPARE(Files(), QStringList{QStringLiteral("XJO.csv")});
    }

    void stopsWithoutWriting_data() { AddRows(StopCases); }

    void stopsWithoutWriting()
    {
        const StopCase& row = FetchRow(StopCases);
        w->Do(row.panel);
        QVERIFY(WriteFile(Path("AOI.csv"), "kept\r\n"));
        clicks = row.clicks;
        if (!row.fileChosen)
            chosen = std::nullopt;
        w->Press("btnExport");

        QCOMPARE(w->boxes.texts, row.text ? QStringList{QString::fromUtf8(row.text)} : QStringList{});
        for (const AlertBox& box : w->boxes.boxes)
            QCOMPARE(box.title, QString::fromLatin1(row.title));
        QCOMPARE(dialogShown, row.dialogShown);
        QCOMPARE(presets.size(), row.chooserAsked);
        QCOMPARE(Files(), QStringList{QStringLiteral("AOI.csv")});
        QCOMPARE(ReadFile(Path("AOI.csv")), QByteArray("kept\r\n"));
        QVERIFY(w->window.TakesInput() && !w->window.Busy());
    }

    void aMemberThatCannotBeWrittenEndsTheBatchNamingItsFile()
    {
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("AOI3.csv")));  // a folder in the way of member 3
        SetText("ebMultiples", "4");
        clicks = QStringList{"rbMultiFile", "BitBtn1"};
        w->Press("btnExportMulti");

        const QString path = Path("AOI3.csv");
        QCOMPARE(w->boxes.texts, QStringList{"Error writing to file " + path + ". Is it open elsewhere?"});
        QCOMPARE(w->boxes.boxes[0].title, QStringLiteral("File Error"));
        QCOMPARE(Files(), (QStringList{"AOI1.csv", "AOI2.csv", "AOI3.csv"}));
        QVERIFY(!w->progress.isVisible() && w->window.TakesInput() && !w->window.Busy());
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
        QCOMPARE(w->boxes.texts, QStringList{Path("locked.csv") + "\nThis file is set to read-only.\nTry again with a different file name."});
    }
    void precisionStaysWithinOneToNineAndCannotBeTyped()
    {
        ShowDialog();
        for (const auto& [button, presses, end] : {std::tuple{"upButton", 5, 9}, {"downButton", 9, 1}}) {
            for (int i = 0; i < presses; ++i)
                Click(button);
            QCOMPARE(Precision(), QString::number(end));  // and no further
            QCOMPARE(dialog->ReadExportFormat().Precision, end);
        }

        // Typing does nothing; the arrow keys step.
        auto* prec = Find<QLineEdit>(*dialog, "ebPrec");
        QVERIFY(prec->isReadOnly());
        prec->setFocus();
        QTest::keyClicks(prec, "7");
        QTest::keyClick(prec, Qt::Key_Backspace);
        QCOMPARE(Precision(), QStringLiteral("1"));
        QTest::keySequence(prec, QKeySequence(Qt::Key_Up, Qt::Key_Up));
        QCOMPARE(Precision(), QStringLiteral("3"));
    }

    void everyControlReachesTheExampleAndTheRecordAndChoicesMadeBeforeCancelAreKept()
    {
        ShowDialog();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Export Format"));
        QString withTicker, onlyColumns, seenAgain;
        QVERIFY(!ExecuteWhile([&] {
            Click("cbTicker");
            withTicker = Example();
            for (const char* name : {"cbDate", "cbOpen", "cbHigh", "cbLow", "cbClose", "cbVolume", "cbHeadings",
                                     "cbQuotes", "rbTab", "rbMultiFile", "downButton"})
                Click(name);
            onlyColumns = Example();
            for (const auto& [field, text] : {std::pair{"ebTicker", "Sym"}, {"ebDate", ""}, {"ebVolume", "Vol Traded"}})
                Find<QLineEdit>(*dialog, field)->setText(text);
            Click("BitBtn2");
        }));
        QVERIFY(ExecuteWhile([&] {
            seenAgain = Example();
            Click("BitBtn1");
        }));
        QCOMPARE(withTicker, QStringLiteral("T,D,O,H,L,C,V"));
        QCOMPARE(onlyColumns, QStringLiteral("T"));  // only the columns show
        QCOMPARE(seenAgain, onlyColumns);
        const ExportFormat f = dialog->ReadExportFormat();
        QString columns;  // the included columns as letters, "-" for a left-out one
        for (const ExportColumnInfo& column : ExportColumns)
            columns += QLatin1Char(f.Includes(column.Column) ? column.Letter : '-');
        QCOMPARE(columns, QStringLiteral("T------"));
        QCOMPARE(std::vector<std::string>(f.Headings.begin(), f.Headings.end()),
                 (std::vector<std::string>{"Sym", "", "OPEN", "HIGH", "LOW", "CLOSE", "Vol Traded"}));
        QVERIFY(f.WriteHeadings && !f.QuoteValues && f.MultipleFiles);
        QCOMPARE(f.Delimiter, '\t');
        QCOMPARE(f.Precision, 4);

        // A new dialog starts from the design again.
        TfrmWriteMarket fresh;
        QCOMPARE(Find<QLabel>(fresh, "pnlExample")->text(), QStringLiteral("D,O,H,L,C,V"));
        QCOMPARE(fresh.ReadExportFormat().Delimiter, ',');
    }
};

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
