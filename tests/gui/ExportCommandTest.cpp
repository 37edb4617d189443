// The main window's two export buttons: the format dialog, the column check, the save
// dialog and the files of a plain export and of batches, with the failures each step
// can meet. The dialogs are answered from inside their own event loops; the save
// dialog is replaced by a chooser that names a file in a scratch folder.

#include "GuiTestSupport.h"
#include "TGenerator.h"
#include "TProgress.h"
#include "export/HistoryWriter.h"
#include "gui/ExportFormatDialog.h"
#include "gui/SaveExportDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <optional>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// Answers the export format dialog whenever it is shown: makes the choices, then
// presses OK or Cancel. Counts how often the dialog appeared and what the window's
// generated history held at that moment.
class FormatDialogAnswer final : public QObject {
public:
    FormatDialogAnswer(TfrmWriteMarket& dialog, TGenerator& window) : dialog_(dialog), window_(window)
    {
        dialog.installEventFilter(this);
    }

    std::function<void(TfrmWriteMarket&)> choose;
    bool pressOk = true;
    int shown = 0;
    int seriesWhenShown = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            ++shown;
            seriesWhenShown = window_.Run().GeneratedSet.SeriesCount();
            QTimer::singleShot(0, &dialog_, [this] {
                if (choose)
                    choose(dialog_);
                Find<QPushButton>(dialog_, pressOk ? "BitBtn1" : "BitBtn2")->click();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TfrmWriteMarket& dialog_;
    TGenerator& window_;
};

// Stands in for the save dialog: records the preset name and returns a chosen path.
class SaveChooser {
public:
    SaveChooser()
    {
        previous_ = SetSaveFileChooser([this](QWidget*, const QString& preset) {
            ++asked;
            presets << preset;
            return chosen;
        });
    }
    ~SaveChooser() { SetSaveFileChooser(previous_); }
    SaveChooser(const SaveChooser&) = delete;
    SaveChooser& operator=(const SaveChooser&) = delete;

    std::optional<QString> chosen;
    int asked = 0;
    QStringList presets;

private:
    SaveFileChooser previous_;
};

QByteArray Contents(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QList<QByteArray> Lines(const QString& path)
{
    QList<QByteArray> lines = Contents(path).split('\n');
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

void Tick(TfrmWriteMarket& dialog, const char* name, bool ticked)
{
    auto* box = Find<QAbstractButton>(dialog, name);
    if (box->isChecked() != ticked)
        box->click();
}

}  // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(folder_.isValid());
        boxes_ = new AlertRecorder;
        chooser_ = new SaveChooser;
        window_ = new TGenerator;
        progress_ = new TProgress;
        dialog_ = new TfrmWriteMarket;
        window_->SetProgressWindow(progress_);
        window_->SetExportFormatDialog(dialog_);
        answer_ = new FormatDialogAnswer(*dialog_, *window_);
        // Short histories keep the batches quick.
        window_->Panel().SetText("ebLength", "20");
        window_->Panel().SetText("ebTicksPerDay", "50");
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }

    void cleanup()
    {
        delete answer_;
        delete window_;
        delete dialog_;
        delete progress_;
        delete chooser_;
        delete boxes_;
        for (const QFileInfo& entry : QDir(folder_.path()).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (entry.isDir())
                QDir(entry.filePath()).removeRecursively();
            else
                QFile::remove(entry.filePath());
        }
    }

    void plainExportWritesTheCurrentHistory()
    {
        Generate();
        chooser_->chosen = Path("AOI.csv");
        answer_->choose = [](TfrmWriteMarket& d) { Tick(d, "cbTicker", true); };
        Press("btnExport");

        QVERIFY(boxes_->boxes.empty());
        QCOMPARE(answer_->shown, 1);
        QCOMPARE(chooser_->presets, QStringList{QStringLiteral("AOI.csv")});
        QCOMPARE(Contents(Path("AOI.csv")), Reference(window_->Run().GeneratedSet, "AOI"));
        QCOMPARE(FirstField(Lines(Path("AOI.csv")).first()), QByteArray("AOI"));
    }

    void savePresetFollowsTheSecurityName()
    {
        Generate();
        window_->Panel().SetText("ebSecurityName", "XJO");
        chooser_->chosen = std::nullopt;
        Press("btnExport");
        QCOMPARE(chooser_->presets, QStringList{QStringLiteral("XJO.csv")});
    }

    void theFileModeDoesNotAffectThePlainExport()
    {
        Generate();
        chooser_->chosen = Path("AOI.csv");
        answer_->choose = [](TfrmWriteMarket& d) { Find<QRadioButton>(d, "rbMultiFile")->click(); };
        Press("btnExport");
        QCOMPARE(Contents(Path("AOI.csv")), Reference(window_->Run().GeneratedSet, "AOI"));
        QVERIFY(!QFile::exists(Path("AOI1.csv")));
    }

    void exportBeforeAnyGenerateGeneratesFirst()
    {
        QCOMPARE(window_->Run().GeneratedSet.SeriesCount(), 0);
        chooser_->chosen = Path("AOI.csv");
        Press("btnExport");
        QCOMPARE(answer_->seriesWhenShown, 5);
        QVERIFY(window_->Run().GeneratedSet.Length() > 0);
        QCOMPARE(Contents(Path("AOI.csv")), Reference(window_->Run().GeneratedSet, "AOI"));
    }

    void batchOfThreeIntoOneFile()
    {
        Generate();
        TTimeSeriesSet first;
        CopyBars(window_->Run().GeneratedSet, first);
        WriteFile(Path("AOI.csv"), "an older file\r\n");
        window_->Panel().SetText("ebMultiples", "3");
        chooser_->chosen = Path("AOI.csv");
        answer_->choose = [](TfrmWriteMarket& d) {
            Tick(d, "cbTicker", true);
            Tick(d, "cbHeadings", true);
        };
        Press("btnExportMulti");

        QVERIFY(boxes_->boxes.empty());
        const QList<QByteArray> lines = Lines(Path("AOI.csv"));
        const int bars = first.Length();
        QCOMPARE(lines.size(), 1 + 3 * bars);
        QCOMPARE(lines[0], QByteArray("\"TICKER\",\"DATE\",\"OPEN\",\"HIGH\",\"LOW\",\"CLOSE\",\"VOLUME\"\r"));
        for (int member = 1; member <= 3; ++member)
            for (int i = 0; i < bars; ++i)
                QCOMPARE(FirstField(lines[1 + (member - 1) * bars + i]), "AOI" + QByteArray::number(member));
        // Member 1 is the history that was current; the last member is the one now shown.
        QVERIFY(Contents(Path("AOI.csv")).startsWith(Reference(first, "AOI1", true)));
        QVERIFY(Contents(Path("AOI.csv")).endsWith(Reference(window_->Run().GeneratedSet, "AOI3")));
    }

    void batchOfThreeIntoThreeFiles()
    {
        Generate();
        TTimeSeriesSet first;
        CopyBars(window_->Run().GeneratedSet, first);
        window_->Panel().SetText("ebMultiples", "3");
        chooser_->chosen = Path("AOI.csv");
        answer_->choose = [](TfrmWriteMarket& d) {
            Tick(d, "cbTicker", true);
            Tick(d, "cbHeadings", true);
            Find<QRadioButton>(d, "rbMultiFile")->click();
        };
        Press("btnExportMulti");

        QVERIFY(boxes_->boxes.empty());
        QVERIFY(!QFile::exists(Path("AOI.csv")));
        QCOMPARE(Contents(Path("AOI1.csv")), Reference(first, "AOI1", true));
        QCOMPARE(Contents(Path("AOI3.csv")), Reference(window_->Run().GeneratedSet, "AOI3", true));
        const QList<QByteArray> second = Lines(Path("AOI2.csv"));
        QCOMPARE(second.size(), 1 + first.Length());
        QCOMPARE(FirstField(second[1]), QByteArray("AOI2"));
        // Three independent histories.
        QVERIFY(Contents(Path("AOI1.csv")).mid(60) != Contents(Path("AOI2.csv")).mid(60));
    }

    void batchCountOfZeroWritesNothing()
    {
        Generate();
        window_->Panel().SetText("ebMultiples", "0");
        chooser_->chosen = Path("AOI.csv");
        Press("btnExportMulti");
        QCOMPARE(answer_->shown, 1);
        QCOMPARE(chooser_->asked, 1);
        QVERIFY(boxes_->boxes.empty());
        QVERIFY(QDir(folder_.path()).isEmpty());
    }

    void batchCountThatIsNoNumber()
    {
        window_->Panel().SetText("ebMultiples", "ten");
        Press("btnExportMulti");
        QCOMPARE(boxes_->boxes.size(), std::size_t(1));
        QCOMPARE(boxes_->boxes[0].text, QStringLiteral("'ten' is not a valid integer value."));
        QCOMPARE(boxes_->boxes[0].title, QStringLiteral("Tickforge"));
        QCOMPARE(boxes_->boxes[0].icon, AlertIcon::Stop);
        QCOMPARE(window_->Run().GeneratedSet.SeriesCount(), 0);
        QCOMPARE(answer_->shown, 0);
    }

    void aNameWithoutExtension()
    {
        Generate();
        chooser_->chosen = Path("AOI");
        Press("btnExport");
        QCOMPARE(Contents(Path("AOI")), Reference(window_->Run().GeneratedSet, "AOI"));

        window_->Panel().SetText("ebMultiples", "2");
        answer_->choose = [](TfrmWriteMarket& d) { Find<QRadioButton>(d, "rbMultiFile")->click(); };
        Press("btnExportMulti");
        QVERIFY(QFile::exists(Path("AOI1")));
        QVERIFY(QFile::exists(Path("AOI2")));
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files).size(), 3);
    }

    void dirtyDataLeavesTheExportClean()
    {
        Find<QCheckBox>(*window_, "cbDirtyDataActive")->setChecked(true);
        window_->Panel().SetText("ebDirtydata", "100");
        Generate();
        const QByteArray clean = Reference(window_->Run().GeneratedSet, "AOI");
        QVERIFY(clean != Reference(window_->Run().WorkingSet, "AOI"));
        Find<QPushButton>(*window_, "btnCorrupt")->click();
        chooser_->chosen = Path("AOI.csv");
        Press("btnExport");
        QCOMPARE(Contents(Path("AOI.csv")), clean);
    }

    void noValueColumnIsRefused()
    {
        Generate();
        chooser_->chosen = Path("AOI.csv");
        answer_->choose = [](TfrmWriteMarket& d) {
            Tick(d, "cbTicker", true);
            for (const char* name : {"cbOpen", "cbHigh", "cbLow", "cbClose", "cbVolume"})
                Tick(d, name, false);
        };
        Press("btnExport");
        QCOMPARE(boxes_->boxes.size(), std::size_t(1));
        QCOMPARE(boxes_->boxes[0].text, QStringLiteral("At least one value column must be selected"));
        QCOMPARE(boxes_->boxes[0].title, QStringLiteral("Illegal column selection"));
        QCOMPARE(chooser_->asked, 0);
        QVERIFY(QDir(folder_.path()).isEmpty());
    }

    void cancelStopsSilently()
    {
        Generate();
        chooser_->chosen = Path("AOI.csv");
        answer_->pressOk = false;
        Press("btnExport");
        QCOMPARE(answer_->shown, 1);
        QCOMPARE(chooser_->asked, 0);

        answer_->pressOk = true;
        chooser_->chosen = std::nullopt;
        Press("btnExport");
        QCOMPARE(chooser_->asked, 1);
        QVERIFY(boxes_->boxes.empty());
        QVERIFY(QDir(folder_.path()).isEmpty());
    }

    void aFailingMemberEndsTheBatch()
    {
        Generate();
        QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("AOI3.csv")));  // cannot be written as a file
        window_->Panel().SetText("ebMultiples", "4");
        chooser_->chosen = Path("AOI.csv");
        answer_->choose = [](TfrmWriteMarket& d) { Find<QRadioButton>(d, "rbMultiFile")->click(); };
        Press("btnExportMulti");

        QCOMPARE(boxes_->boxes.size(), std::size_t(1));
        QCOMPARE(boxes_->boxes[0].text,
                 QStringLiteral("Error writing to file ") + Path("AOI3.csv") + QStringLiteral(". Is it open elsewhere?"));
        QCOMPARE(boxes_->boxes[0].title, QStringLiteral("File Error"));
        QVERIFY(QFile::exists(Path("AOI1.csv")));
        QVERIFY(QFile::exists(Path("AOI2.csv")));
        QVERIFY(!QFile::exists(Path("AOI4.csv")));
        QVERIFY(window_->TakesInput());
        QVERIFY(!window_->Busy());
    }

    void aFailingGenerationEndsTheBatchNamingTheMemberBefore()
    {
        Generate();
        window_->Panel().SetText("ebTicksPerDay", "x");
        window_->Panel().SetText("ebMultiples", "3");
        chooser_->chosen = Path("AOI.csv");
        answer_->choose = [](TfrmWriteMarket& d) { Find<QRadioButton>(d, "rbMultiFile")->click(); };
        Press("btnExportMulti");

        // Only the file error: the generation's own message is not shown.
        QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral("Error writing to file ") + Path("AOI1.csv") +
                                              QStringLiteral(". Is it open elsewhere?")});
        QVERIFY(QFile::exists(Path("AOI1.csv")));
        QVERIFY(!QFile::exists(Path("AOI2.csv")));
        QVERIFY(!progress_->isVisible());
        QVERIFY(window_->TakesInput());
    }

    void firstGenerationRefusedByTheChecksStopsTheExport()
    {
        // Nothing generated yet and the panel fails a check: its box is shown, and with
        // no history to write neither dialog appears and no file is touched.
        Find<QCheckBox>(*window_, "cbActiveShock")->setChecked(true);
        window_->Panel().SetText("ebShockMag", "0.5");
        WriteFile(Path("AOI.csv"), "kept\r\n");
        chooser_->chosen = Path("AOI.csv");
        Press("btnExport");

        QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral("Minimum Shock Magnitude is 1.0")});
        QCOMPARE(answer_->shown, 0);
        QCOMPARE(chooser_->asked, 0);
        QCOMPARE(Contents(Path("AOI.csv")), QByteArray("kept\r\n"));
    }

    void firstGenerationErrorStopsBeforeTheDialog()
    {
        window_->Panel().SetText("ebTicksPerDay", "abc");
        Press("btnExport");
        QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral("'abc' is not a valid integer value.")});
        QCOMPARE(boxes_->boxes[0].title, QStringLiteral("Tickforge"));
        QCOMPARE(answer_->shown, 0);
        QVERIFY(window_->TakesInput());
    }

    void theDialogKeepsItsChoicesBetweenExports()
    {
        Generate();
        chooser_->chosen = Path("AOI.csv");
        answer_->choose = [](TfrmWriteMarket& d) { Find<QRadioButton>(d, "rbTab")->click(); };
        answer_->pressOk = false;
        Press("btnExport");
        answer_->choose = nullptr;
        answer_->pressOk = true;
        Press("btnExport");
        QVERIFY(Lines(Path("AOI.csv")).first().contains('\t'));
    }

private:
    QString Path(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }

    void Generate()
    {
        Find<QPushButton>(*window_, "btnGenerate")->click();
        QVERIFY(window_->Run().GeneratedSet.Length() > 0);
    }

    void Press(const char* button)
    {
        // A safety net: no modal loop may outlive the test.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] {
            while (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        guard.start(60000);
        Find<QPushButton>(*window_, button)->click();
    }

    // What the writer makes of bars with the dialog's current choices and the ticker.
    QByteArray Reference(const TTimeSeriesSet& bars, const char* ticker, bool headings = false) const
    {
        const QString path = folder_.filePath(QStringLiteral("reference.txt"));
        WriteHistoryFile(path.toStdString(), false, bars, dialog_->ReadExportFormat(), ticker,
                         headings && dialog_->ReadExportFormat().WriteHeadings, window_->Run().Formats());
        const QByteArray text = Contents(path);
        QFile::remove(path);
        return text;
    }

    static void CopyBars(const TTimeSeriesSet& from, TTimeSeriesSet& to)
    {
        to.SetSeriesCount(from.SeriesCount());
        to.Assign(from);
    }

    static void WriteFile(const QString& path, const QByteArray& text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir folder_;
    AlertRecorder* boxes_ = nullptr;
    SaveChooser* chooser_ = nullptr;
    TGenerator* window_ = nullptr;
    TProgress* progress_ = nullptr;
    TfrmWriteMarket* dialog_ = nullptr;
    FormatDialogAnswer* answer_ = nullptr;
};

QTEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
