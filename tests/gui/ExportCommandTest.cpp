// The main window's two export buttons: the format dialog, the column check, the save
// dialog and the files of a plain export and of batches, with the failures each step
// can meet. The format dialog is answered from inside its own event loop; the save
// dialog is replaced by a chooser that names a file in a scratch folder, and is itself
// tested on its own.

#include "GuiTestSupport.h"
#include "export/HistoryWriter.h"
#include "gui/ExportFormatDialog.h"
#include "gui/SaveExportDialog.h"

#include <QPushButton>

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

QList<QByteArray> Lines(const QString& path)
{
    QList<QByteArray> lines = ReadFile(path).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The first field of a line, without its quotes.
QByteArray FirstField(const QByteArray& line)
{
    QByteArray field = line.left(line.indexOf(','));
    if (field.startsWith('"') && field.endsWith('"'))
        field = field.mid(1, field.size() - 2);
    return field;
}

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
    QByteArray Reference(const TTimeSeriesSet& bars, const char* ticker, bool headings = false) const
    {
        const QString path = folder.filePath(QStringLiteral("reference.txt"));
        const ExportFormat format = dialog->ReadExportFormat();
        WriteHistoryFile(path.toStdString(), false, bars, format, ticker, headings && format.WriteHeadings,
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
        // Short histories keep the batches quick.
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

    void plainExportWritesTheCurrentHistoryUnderTheSecurityName()
    {
        Generate();
        SetText("ebSecurityName", "XJO");
        chooser->chosen = Path("XJO.csv");
        // The file mode plays no part in a plain export.
        answer->clicks = QStringList{"cbTicker", "rbMultiFile", "BitBtn1"};
        Press("btnExport");

        QVERIFY(w->boxes.boxes.empty());
        QCOMPARE(answer->shown, 1);
        QCOMPARE(chooser->presets, QStringList{QStringLiteral("XJO.csv")});
        QCOMPARE(ReadFile(Path("XJO.csv")), Reference(Generated(), "XJO"));
        QCOMPARE(FirstField(Lines(Path("XJO.csv")).first()), QByteArray("XJO"));
        QCOMPARE(Files(), QStringList{QStringLiteral("XJO.csv")});
    }

    void exportBeforeAnyGenerateGeneratesFirst()
    {
        QCOMPARE(Generated().SeriesCount(), 0);
        Press("btnExport");
        QCOMPARE(answer->seriesWhenShown, 5);
        QVERIFY(Generated().Length() > 0);
        QCOMPARE(ReadFile(Path("AOI.csv")), Reference(Generated(), "AOI"));
    }

    void batchOfThreeIntoOneFile()
    {
        Generate();
        TTimeSeriesSet first;
        CopyBars(Generated(), first);
        QVERIFY(WriteFile(Path("AOI.csv"), "an older file\r\n"));
        SetText("ebMultiples", "3");
        answer->clicks = QStringList{"cbTicker", "cbHeadings", "BitBtn1"};
        Press("btnExportMulti");

        QVERIFY(w->boxes.boxes.empty());
        const QList<QByteArray> lines = Lines(Path("AOI.csv"));
        const int bars = first.Length();
        QCOMPARE(lines.size(), 1 + 3 * bars);
        QCOMPARE(lines[0], QByteArray("\"TICKER\",\"DATE\",\"OPEN\",\"HIGH\",\"LOW\",\"CLOSE\",\"VOLUME\"\r"));
        for (int member = 1; member <= 3; ++member)
            for (int i = 0; i < bars; ++i)
                QCOMPARE(FirstField(lines[1 + (member - 1) * bars + i]), "AOI" + QByteArray::number(member));
        // Member 1 is the history that was current; the last member is the one now shown.
        QVERIFY(ReadFile(Path("AOI.csv")).startsWith(Reference(first, "AOI1", true)));
        QVERIFY(ReadFile(Path("AOI.csv")).endsWith(Reference(Generated(), "AOI3")));
    }

    void batchOfThreeIntoThreeFiles()
    {
        Generate();
        TTimeSeriesSet first;
        CopyBars(Generated(), first);
        SetText("ebMultiples", "3");
        answer->clicks = QStringList{"cbTicker", "cbHeadings", "rbMultiFile", "BitBtn1"};
        Press("btnExportMulti");

        QVERIFY(w->boxes.boxes.empty());
        QCOMPARE(Files(), (QStringList{"AOI1.csv", "AOI2.csv", "AOI3.csv"}));
        QCOMPARE(ReadFile(Path("AOI1.csv")), Reference(first, "AOI1", true));
        QCOMPARE(ReadFile(Path("AOI3.csv")), Reference(Generated(), "AOI3", true));
        const QList<QByteArray> second = Lines(Path("AOI2.csv"));
        QCOMPARE(second.size(), 1 + first.Length());
        QCOMPARE(FirstField(second[1]), QByteArray("AOI2"));
        // Three independent histories.
        QVERIFY(ReadFile(Path("AOI1.csv")).mid(60) != ReadFile(Path("AOI2.csv")).mid(60));
    }

    void aNameWithoutExtensionStaysWithout()
    {
        Generate();
        chooser->chosen = Path("AOI");
        Press("btnExport");
        QCOMPARE(ReadFile(Path("AOI")), Reference(Generated(), "AOI"));

        SetText("ebMultiples", "2");
        answer->clicks = QStringList{"rbMultiFile", "BitBtn1"};
        Press("btnExportMulti");
        QCOMPARE(Files(), (QStringList{"AOI", "AOI1", "AOI2"}));
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

    // Each row starts from a file "AOI.csv" that must survive untouched. Panel steps
    // are "field=text" or a box to tick.
    void stopsWithoutWriting_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("generated");
        QTest::addColumn<QStringList>("panel");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("fileChosen");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("dialogShown");
        QTest::addColumn<int>("chooserAsked");
        const QStringList ok{"BitBtn1"};
        QTest::newRow("batch count of zero") << "btnExportMulti" << true << QStringList{"ebMultiples=0"} << ok << true
                                             << QStringList{} << "" << 1 << 1;
        QTest::newRow("format dialog cancelled") << "btnExport" << true << QStringList{} << QStringList{"BitBtn2"}
                                                 << true << QStringList{} << "" << 1 << 0;
        QTest::newRow("save dialog cancelled") << "btnExport" << true << QStringList{} << ok << false << QStringList{}
                                               << "" << 1 << 1;
        QTest::newRow("no value column")
            << "btnExport" << true << QStringList{}
            << QStringList{"cbTicker", "cbOpen", "cbHigh", "cbLow", "cbClose", "cbVolume", "BitBtn1"} << true
            << QStringList{"At least one value column must be selected"} << "Illegal column selection" << 1 << 0;
        QTest::newRow("batch count that is no number")
            << "btnExportMulti" << false << QStringList{"ebMultiples=ten"} << ok << true
            << QStringList{"'ten' is not a valid integer value."} << "Tickforge" << 0 << 0;
        // With no history to write, neither dialog appears.
        QTest::newRow("first generation refused by a check")
            << "btnExport" << false << QStringList{"cbActiveShock", "ebShockMag=0.5"} << ok << true
            << QStringList{"Minimum Shock Magnitude is 1.0"} << "Error" << 0 << 0;
        QTest::newRow("first generation failing")
            << "btnExport" << false << QStringList{"ebTicksPerDay=abc"} << ok << true
            << QStringList{"'abc' is not a valid integer value."} << "Tickforge" << 0 << 0;
    }

    void stopsWithoutWriting()
    {
        QFETCH(QString, button);
        QFETCH(bool, generated);
        QFETCH(QStringList, panel);
        QFETCH(QStringList, clicks);
        QFETCH(bool, fileChosen);
        QFETCH(QStringList, texts);
        QFETCH(QString, title);
        QFETCH(int, dialogShown);
        QFETCH(int, chooserAsked);
        if (generated)
            Generate();
        for (const QString& step : panel) {
            const QStringList parts = step.split(QLatin1Char('='));
            if (parts.size() == 2)
                w->window.Panel().SetText(parts[0].toStdString(), parts[1].toStdString());
            else
                w->window.Panel().SetChecked(step.toStdString(), true);
        }
        QVERIFY(WriteFile(Path("AOI.csv"), "kept\r\n"));
        answer->clicks = clicks;
        if (!fileChosen)
            chooser->chosen = std::nullopt;
        Press(button.toLatin1().constData());

        QCOMPARE(w->boxes.Texts(), texts);
        for (const AlertBox& box : w->boxes.boxes) {
            QCOMPARE(box.title, title);
            QCOMPARE(box.icon, title == QStringLiteral("Tickforge") ? AlertIcon::Stop : AlertIcon::None);
        }
        QCOMPARE(answer->shown, dialogShown);
        QCOMPARE(chooser->presets.size(), chooserAsked);
        QCOMPARE(Files(), QStringList{QStringLiteral("AOI.csv")});
        QCOMPARE(ReadFile(Path("AOI.csv")), QByteArray("kept\r\n"));
        QCOMPARE(Generated().SeriesCount(), generated ? 5 : 0);
        QVERIFY(w->window.TakesInput() && !w->window.Busy());
    }

    void aFailingMemberEndsTheBatch()
    {
        Generate();
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("AOI3.csv")));  // cannot be written as a file
        SetText("ebMultiples", "4");
        answer->clicks = QStringList{"rbMultiFile", "BitBtn1"};
        Press("btnExportMulti");

        QCOMPARE(w->boxes.Texts(), QStringList{"Error writing to file " + Path("AOI3.csv") + ". Is it open elsewhere?"});
        QCOMPARE(w->boxes.boxes[0].title, QStringLiteral("File Error"));
        QCOMPARE(Files(), (QStringList{"AOI1.csv", "AOI2.csv", "AOI3.csv"}));
        QVERIFY(w->window.TakesInput() && !w->window.Busy());
    }

    void aFailingGenerationEndsTheBatchNamingTheMemberBefore()
    {
        Generate();
        SetText("ebTicksPerDay", "x");
        SetText("ebMultiples", "3");
        answer->clicks = QStringList{"rbMultiFile", "BitBtn1"};
        Press("btnExportMulti");

        // Only the file error: the generation's own message is not shown.
        QCOMPARE(w->boxes.Texts(), QStringList{"Error writing to file " + Path("AOI1.csv") + ". Is it open elsewhere?"});
        QCOMPARE(Files(), QStringList{QStringLiteral("AOI1.csv")});
        QVERIFY(!w->progress.isVisible());
        QVERIFY(w->window.TakesInput());
    }

    void theDialogKeepsItsChoicesBetweenExports()
    {
        Generate();
        answer->clicks = QStringList{"rbTab", "BitBtn2"};
        Press("btnExport");
        answer->clicks = QStringList{"BitBtn1"};
        Press("btnExport");
        QVERIFY(Lines(Path("AOI.csv")).first().contains('\t'));
    }

    void saveDialogSettings()
    {
        TSaveExportDialog save(nullptr, Path("AOI.csv"));
        QCOMPARE(save.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(save.nameFilters(), QStringList{QStringLiteral("CSV (*.csv)")});
        QCOMPARE(save.defaultSuffix(), QString());
        QVERIFY(save.testOption(QFileDialog::DontConfirmOverwrite));
        QVERIFY(save.isSizeGripEnabled());
        QCOMPARE(save.selectedFiles(), QStringList{Path("AOI.csv")});
    }

    void saveDialogRefusesOnlyReadOnlyFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QFileDevice::Permissions>("permissions");  // of an existing file
        QTest::addColumn<bool>("accepted");
        const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QTest::newRow("new file") << "new.csv" << QFileDevice::Permissions() << true;
        QTest::newRow("writable file") << "old.csv" << (readOnly | QFileDevice::WriteOwner) << true;
        QTest::newRow("read-only file") << "locked.csv" << readOnly << false;
    }

    void saveDialogRefusesOnlyReadOnlyFiles()
    {
        QFETCH(QString, name);
        QFETCH(QFileDevice::Permissions, permissions);
        QFETCH(bool, accepted);
        const QString path = folder.filePath(name);
        if (permissions) {
            QVERIFY(WriteFile(path, ""));
            QVERIFY(QFile::setPermissions(path, permissions));
        }
        TSaveExportDialog save(nullptr, path);
        save.setResult(QDialog::Rejected);
        save.accept();
        QCOMPARE(save.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
        const QString refusal = path + QStringLiteral("\nThis file is set to read-only.\nTry again with a different file name.");
        QCOMPARE(w->boxes.Texts(), accepted ? QStringList{} : QStringList{refusal});
    }
};

QTEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
