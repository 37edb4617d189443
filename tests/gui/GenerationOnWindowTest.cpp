// GO and Apply on the main window: the designed panel draws a history (and leaves a
// screenshot), the window takes no input during a run, a check of the panel and the
// conversion errors show their boxes, the progress window's Abort ends a long run,
// Apply keeps the zoom that GO resets, the display controls change only the drawing, and
// the copied command line makes the same file with tickforge-cli.

#include "ExportFormatDialog.h"
#include "GuiTestSupport.h"
#include "export/ExportHistories.h"
#include "platform/DateFormat.h"

#include <QClipboard>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QWindow>

#include <memory>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// A panel made by steps (a button to press or "field=text" to paste) and the box GO shows.
struct PanelCase {
    const char* name;
    QStringList steps;
    const char *text, *title;
};

// Each message's text is checked on the window-free run; these rows show the boxes as
// the window shows them, also once the progress window is up.
const PanelCase PanelCases[] = {
    {"a check of the panel", {"cbActiveShock", "ebShockMag=0.5"}, "Minimum Shock Magnitude is 1.0", "Error"},
    {"ticks per day not an integer", {"ebTicksPerDay=abc"}, "'abc' is not a valid integer value.", "Tickforge"},
    {"volume bound, read after the progress window appeared", {"ebMaxVolume=lots"},
     "'lots' is not a valid floating point value.", "Tickforge"},
};

// Panels whose history the copied command makes again, in the export format the
// format dialog's steps set; with dirty data the command writes the working copy that
// GO spoiled.
struct CommandCase {
    const char* name;
    QStringList steps, formatSteps;
    bool dirty;
};

void CopyBars(const TTimeSeriesSet& from, TTimeSeriesSet& to)
{
    to.SetSeriesCount(from.SeriesCount());
    to.Assign(from);
}

const CommandCase CommandCases[] = {
    {"drawn price and period, weekends, shocks, by the button",
     {"cbSeedRandom", "cbRandomPeriod", "ebLength=40", "ebRandomPeriodMin=20", "cbWeekends", "cbActiveShock", "ebShockFreq=5"},
     {}, false},
    {"price bound, bias, spoiled copy, other format, by the chart's menu",
     {"cbMax", "ebMaxPrice=3100", "ebVolatility=3", "cbActiveBias", "ebSecurityName=O'Neil & Co", "cbDirtyDataActive",
      "ebDirtydata=30"},
     {"cbTicker", "cbHeadings", "cbQuotes", "rbTab", "cbVolume", "ebPrec=8"},
     true},
};

}  // namespace

class GenerationOnWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowUnderTest> w;

    QString Activity() const { return Find<QLabel>(w->progress, "Activity")->text(); }

    void VerifyIdle()
    {
        QVERIFY(w->window.TakesInput() && !w->window.Busy() && !w->progress.isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(Activity(), QStringLiteral("Idle"));
    }

private Q_SLOTS:
    void init() { w = std::make_unique<MainWindowUnderTest>(); }
    void cleanup() { w.reset(); }

    void goWithTheDesignedPanelDrawsTheHistory()
    {
        QTest::mouseClick(w->Button("btnGenerate"), Qt::LeftButton);
        QVERIFY(w->boxes.boxes.empty());
        VerifyIdle();
        const TTimeSeriesSet& history = w->Run().GeneratedSet;
        QVERIFY(history.Length() > 100 && SameBars(w->Run().WorkingSet, history));
        QVERIFY(ChartShows(w->Chart(), history) && ShowsWholeHistory(w->Chart(), history));
        const QImage shot = w->window.grab().toImage();
        QCOMPARE(shot.size(), QSize(721, 573));
        QVERIFY(shot.save(QStringLiteral(TICKFORGE_TEST_ARTEFACTS "/MainWindowAfterGo.png")));
    }

    void panelTakesNoInputDuringARun_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("GO") << "btnGenerate";
        QTest::newRow("Apply, which makes a history first") << "btnCorrupt";
    }

    void panelTakesNoInputDuringARun()
    {
        QFETCH(QString, button);
        // 36 million ticks: longer than the first interval before events are delivered.
        w->Paste("ebTicksPerDay", QStringLiteral("200000"));
        Find<QTabWidget>(w->window, "pcParameters")->setCurrentWidget(Find(w->window, "tsTime"));
        w->Edit("ebLength")->setFocus();
        w->Edit("ebLength")->end(false);
        // Input as the window system delivers it: to the native window first.
        QWindow* native = w->window.windowHandle();
        bool sampled = false, closed = true;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        QString activity, daysTyped;
        // Fires at the first delivery of events inside the run.
        QTimer::singleShot(0, this, [&] {
            sampled = w->progress.isVisible() && !w->window.TakesInput() && w->window.Busy();
            cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
            activity = Activity();
            closed = w->window.close();
            QTest::keyClick(native, Qt::Key_9);
            daysTyped = w->Edit("ebLength")->text();
        });
        w->Press(button);
        QVERIFY(sampled && !closed);
        QCOMPARE(daysTyped, QStringLiteral("180"));
        QCOMPARE(cursor, Qt::WaitCursor);
        QCOMPARE(activity, QStringLiteral("Making History..."));
        VerifyIdle();
        // Afterwards the panel takes input again.
        QTest::keyClick(native, Qt::Key_9);
        QCOMPARE(w->Edit("ebLength")->text(), QStringLiteral("1809"));
    }

    void checksAndConversionErrorsShowTheirBoxes_data() { AddRows(PanelCases); }

    void checksAndConversionErrorsShowTheirBoxes()
    {
        const PanelCase& row = FetchRow(PanelCases);
        w->Do(row.steps);
        w->Press("btnGenerate");

        QCOMPARE(w->boxes.Texts(), QStringList{QString::fromUtf8(row.text)});
        QCOMPARE(w->boxes.boxes[0].title, QString::fromLatin1(row.title));
        QCOMPARE(w->boxes.boxes[0].icon, QByteArray(row.title) == "Tickforge" ? AlertIcon::Stop : AlertIcon::None);
        QCOMPARE(w->Run().GeneratedSet.SeriesCount(), 0);
        QCOMPARE(w->Chart().Series1()->dataCount(), 0);
        VerifyIdle();
    }

    void abortFromTheProgressWindowLeavesAnEmptyHistory()
    {
        // Forty million ticks: far longer than the moment the gauge reaches 10.
        w->Paste("ebLength", QStringLiteral("400"));
        w->Paste("ebTicksPerDay", QStringLiteral("100000"));
        w->Press("btnGenerate");  // a first history, so that the abort visibly empties it
        QVERIFY(w->Run().GeneratedSet.Length() > 0);

        int gaugeAtAbort = -1;
        QTimer presser;
        presser.setInterval(1);
        connect(&presser, &QTimer::timeout, this, [&] {
            const int gauge = Find<QProgressBar>(w->progress, "Gauge1")->value();
            if (w->progress.isVisible() && gauge >= 10 && gaugeAtAbort < 0) {
                gaugeAtAbort = gauge;
                QTest::mouseClick(Find<QPushButton>(w->progress, "btnAbort"), Qt::LeftButton);
            }
        });
        presser.start();
        w->Press("btnGenerate");
        presser.stop();

        QVERIFY(gaugeAtAbort >= 10 && gaugeAtAbort < 50);
        for (const TTimeSeriesSet* set : {&w->Run().GeneratedSet, &w->Run().WorkingSet}) {
            QCOMPARE(set->SeriesCount(), 5);
            QCOMPARE(set->Length(), 0);
        }
        QCOMPARE(w->Chart().Series1()->dataCount(), 0);
        QCOMPARE(w->Chart().Series2()->dataCount(), 0);
        QCOMPARE(w->Chart().PriceAxis()->range(), QCPRange(0, 999999));
        QCOMPARE(w->Chart().VolumeAxis()->range(), QCPRange(0, 999999));
        QVERIFY(!w->Chart().BottomAxis()->ticks());
        QCOMPARE(Find<QLabel>(w->window, "lblHistory")->text(), QStringLiteral("No bars"));
        QVERIFY(!w->Button("btnCopyCommand")->isEnabled() && !w->Chart().actions().at(0)->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        w->window.btnCopyCommandClick();  // nothing to copy
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
        QVERIFY(!AbortRequested());
        QVERIFY(w->boxes.boxes.empty());
        VerifyIdle();
    }

    void applyRedrawsTheCorruptionInTheZoomThatGoResets()
    {
        w->Do({"cbDirtyDataActive", "ebDirtydata=50", "btnGenerate"});
        const GenerationRun& run = w->Run();
        HistoryChart& chart = w->Chart();
        // GO shows the clean history; the working copy is already spoiled.
        QVERIFY(ChartShows(chart, run.GeneratedSet));
        QVERIFY(!SameBars(run.WorkingSet, run.GeneratedSet));
        ZoomIntoAPart(chart);
        const auto view = ViewOf(chart);

        w->Press("btnCorrupt");
        QVERIFY(ChartShows(chart, run.WorkingSet));
        QVERIFY(!SameBars(run.WorkingSet, run.GeneratedSet));
        QVERIFY(chart.IsZoomed() && ViewOf(chart) == view);
        TTimeSeriesSet first;
        CopyBars(run.WorkingSet, first);
        w->Press("btnCorrupt");
        QVERIFY(!SameBars(run.WorkingSet, first));  // a fresh corruption of the same history
        w->Do({"cbDirtyDataActive", "btnCorrupt"});
        QVERIFY(ChartShows(chart, run.GeneratedSet));
        QVERIFY(chart.IsZoomed() && ViewOf(chart) == view);

        w->Press("btnGenerate");
        QVERIFY(ShowsWholeHistory(chart, run.GeneratedSet));
        QVERIFY(w->boxes.boxes.empty());
    }

    void displayControlsChangeOnlyTheDrawing()
    {
        w->Do({"ebLength=20", "btnGenerate"});  // days wide enough for bars of full width
        TTimeSeriesSet before;
        CopyBars(w->Run().GeneratedSet, before);
        HistoryChart& chart = w->Chart();

        // Expand Chart undoes a zoom.
        const QCPRange dates = chart.BottomAxis()->range();
        ZoomIntoAPart(chart);
        QTest::mouseClick(w->Button("btnExpand"), Qt::LeftButton);
        QVERIFY(ShowsWholeHistory(chart, before));
        QCOMPARE(chart.BottomAxis()->range(), dates);

        // Candles are drawn 4 pixels wide, bars 6; colour turns the gradient off and on.
        const bool rising = before.GetValue(SeriesClose, 1) >= before.GetValue(SeriesOpen, 1);
        const auto drawnWidth = [&] {
            const QImage image = DrawnSharp(chart);
            return ColumnsCovered(image, rising ? QColor(0, 0, 255) : QColor(255, 0, 0),
                                  qRound(chart.BottomAxis()->coordToPixel(KeyOf(before, 1)))) - 1;
        };
        QTest::mouseClick(w->Button("rbCandle"), Qt::LeftButton);
        QCOMPARE(chart.Style(), HistoryChart::CandleStyle::Candlestick);
        QCOMPARE(drawnWidth(), 4);
        QTest::mouseClick(w->Button("rbBar"), Qt::LeftButton);
        QCOMPARE(chart.Style(), HistoryChart::CandleStyle::Bar);
        QCOMPARE(drawnWidth(), 6);
        QTest::mouseClick(w->Button("cbColor"), Qt::LeftButton);
        QVERIFY(!chart.GradientVisible());
        QTest::mouseClick(w->Button("cbColor"), Qt::LeftButton);
        QVERIFY(chart.GradientVisible());
        QVERIFY(ShowsWholeHistory(chart, before));
        QVERIFY(SameBars(w->Run().GeneratedSet, before) && ChartShows(chart, before));
    }

    void copiedCommandMakesTheSameFile_data() { AddRows(CommandCases); }

    void copiedCommandMakesTheSameFile()
    {
        const CommandCase& row = FetchRow(CommandCases);
        w->Do(row.steps);
        w->Press("btnGenerate");
        w->Press("btnCopyCommand");
        auto* dialog = w->window.findChild<TfrmWriteMarket*>();
        for (const QString& step : row.formatSteps) {
            if (step.contains(QLatin1Char('=')))
                Find<QLineEdit>(*dialog, step.section(QLatin1Char('='), 0, 0))->setText(step.section(QLatin1Char('='), 1));
            else
                Find<QAbstractButton>(*dialog, step)->click();
        }
        // The button, or the same command in the chart's own menu.
        QAction* inMenu = w->Chart().actions().value(0);
        QVERIFY(inMenu != nullptr && inMenu->isEnabled() && inMenu->text() == w->Button("btnCopyCommand")->text());
        QApplication::clipboard()->clear();
        row.dirty ? inMenu->trigger() : w->Press("btnCopyCommand");
        const QString command = QApplication::clipboard()->text();
        // The line under the chart names the bars, the price and the seed the command carries.
        const TTimeSeriesSet& shown = w->Run().GeneratedSet;
        const auto date = [&](std::int32_t bar) {
            return QString::fromStdString(FormatShortDate(shown.GetTime(SeriesClose, bar), w->Run().Formats().shortDatePattern));
        };
        const QString price = QRegularExpression(QStringLiteral(" --price (\\S+) ")).match(command).captured(1);
        QCOMPARE(Find<QLabel>(w->window, "lblHistory")->text(),
                 QStringLiteral("%1 bars from %2 to %3, starting price %4, seed %5")
                     .arg(shown.Length()).arg(date(0), date(shown.Length() - 1), price).arg(w->Run().LastRun->seed));
        QVERIFY(!price.isEmpty() && command.endsWith(QStringLiteral(" --rng-seed %1").arg(w->Run().LastRun->seed)));
        QCOMPARE(command.contains(QStringLiteral(" --dirty 30 ")), row.dirty);
        QCOMPARE(command.contains(QStringLiteral(" --columns TDOHLC --headings --no-quotes --tab --precision 8 ")),
                 !row.formatSteps.isEmpty());

        QTemporaryDir folder;
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(TICKFORGE_CLI_PATH)).path() + QStringLiteral(":") + environment.value(QStringLiteral("PATH")));
        cli.setProcessEnvironment(environment);
        cli.setWorkingDirectory(folder.path());
        cli.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command + QStringLiteral(" -q -o cli.csv")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.readAllStandardError(), QByteArray());
        QCOMPARE(cli.exitCode(), 0);

        const std::string exported = folder.filePath(QStringLiteral("desktop.csv")).toStdString();
        ExportJob job;
        job.SecurityName = [this] { return w->window.Panel().Text("ebSecurityName"); };
        job.Bars = row.dirty ? &w->Run().WorkingSet : &w->Run().GeneratedSet;
        job.Formats = w->Run().Formats();
        QCOMPARE(ExportHistories(dialog->ReadExportFormat(), exported, job).Stop,
                 ExportResult::Finished);
        const QByteArray bytes = ReadFile(folder.filePath(QStringLiteral("cli.csv")));
        QVERIFY(bytes.size() > 100);
        QCOMPARE(bytes, ReadFile(QString::fromStdString(exported)));
    }
};

QTEST_MAIN(GenerationOnWindow)
#include "GenerationOnWindowTest.moc"
