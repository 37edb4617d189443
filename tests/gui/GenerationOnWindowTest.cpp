// GO and Apply on the main window: the designed panel draws a history (and leaves a
// screenshot), the window takes no input during a run, each check of the panel and
// each conversion error shows its box, the progress window's Abort ends a long run,
// Apply keeps the zoom that GO resets, the display controls change only the drawing, and
// the copied command line makes the same file with tickforge-cli.

#include "ExportFormatDialog.h"
#include "GuiTestSupport.h"
#include "export/ExportHistories.h"
#include "platform/DateTime.h"

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

// Counts how often a window is shown.
class ShowCounter final : public QObject {
public:
    explicit ShowCounter(QWidget& watched) { watched.installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

// A panel made by steps (a button to press or "field=text" to paste) and the box GO shows.
struct PanelCase {
    const char* name;
    QStringList steps;
    const char *text, *title;
    int progressShows;
};

const PanelCase PanelCases[] = {
    // The panel's checks: boxes captioned "Error", no progress window.
    {"shock magnitude below one", {"cbActiveShock", "ebShockMag=0.5"}, "Minimum Shock Magnitude is 1.0", "Error", 0},
    {"minimum price equal to the seed", {"cbMin", "ebMinPrice=3000"}, "Minimum Price larger than Seed", "Error", 0},
    {"maximum price equal to the seed", {"cbMax", "ebMaxPrice=3000"}, "Maximum Price less than Seed", "Error", 0},
    {"random seed range empty", {"cbSeedRandom", "ebSeedMin=4000", "ebSeedMax=4000"},
     "Minimum Seed larger than Maximum Seed", "Error", 0},
    // Conversion errors in the application's error box, before or after the progress window.
    {"ticks per day not an integer", {"ebTicksPerDay=abc"}, "'abc' is not a valid integer value.", "Tickforge", 0},
    {"volume bound, read after the progress window appeared", {"ebMaxVolume=lots"},
     "'lots' is not a valid floating point value.", "Tickforge", 1},
};

// Panels whose history the copied command makes again, in the export format the
// format dialog's steps set; with dirty data the command writes the working copy that
// GO spoiled.
struct CommandCase {
    const char* name;
    QStringList steps, formatSteps;
    bool dirty;
};

const CommandCase CommandCases[] = {
    {"drawn price and period, weekends, shocks",
     {"cbSeedRandom", "cbRandomPeriod", "ebLength=40", "ebRandomPeriodMin=20", "cbWeekends", "cbActiveShock", "ebShockFreq=5"},
     {},
     false},
    {"price bound, bias, spoiled copy, other format",
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
        QVERIFY(w->window.TakesInput());
        QVERIFY(!w->window.Busy());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(!w->progress.isVisible());
        QCOMPARE(Activity(), QStringLiteral("Idle"));
    }

private Q_SLOTS:
    void init()
    {
        w = std::make_unique<MainWindowUnderTest>();
    }
    void cleanup() { w.reset(); }

    void goWithTheDesignedPanelDrawsTheHistory()
    {
        const DateTimeValue start = w->window.Panel().Date("StartDate");
        QTest::mouseClick(w->Button("btnGenerate"), Qt::LeftButton);
        QVERIFY(w->boxes.boxes.empty());
        VerifyIdle();
        // 180 calendar days from the start, weekend days without bars.
        int weekdays = 0;
        for (int day = 0; day < 180; ++day)
            weekdays += IsWeekend(WholeDays(start) + day) ? 0 : 1;
        const TTimeSeriesSet& history = w->Run().GeneratedSet;
        QCOMPARE(history.SeriesCount(), 5);
        QCOMPARE(history.Length(), weekdays);
        QVERIFY(SameBars(w->Run().WorkingSet, history));
        QVERIFY(ChartShows(w->Chart(), history));
        QVERIFY(ShowsWholeHistory(w->Chart(), history));

        // Drawn: the chart holds pure blue (rising) and pure red (falling) pixels.
        QTest::qWait(50);
        const QImage chart = w->Chart().grab().toImage();
        bool blue = false, red = false;
        for (int y = 0; y < chart.height(); ++y)
            for (int x = 0; x < chart.width(); ++x) {
                blue = blue || chart.pixelColor(x, y) == QColor(0, 0, 255);
                red = red || chart.pixelColor(x, y) == QColor(255, 0, 0);
            }
        QVERIFY(blue && red);
        const QImage shot = w->window.grab().toImage();
        QCOMPARE(shot.size(), QSize(721, 573));
        QVERIFY(shot.save(QStringLiteral(TICKFORGE_TEST_ARTEFACTS "/MainWindowAfterGo.png")));
    }

    void panelTakesNoInputDuringARun()
    {
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
            sampled = w->progress.isVisible() && !w->window.TakesInput();
            cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
            activity = Activity();
            closed = w->window.close();
            QTest::keyClick(native, Qt::Key_9);
            daysTyped = w->Edit("ebLength")->text();
        });
        w->Press("btnGenerate");
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
        ShowCounter shows(w->progress);
        w->Press("btnGenerate");

        QCOMPARE(w->boxes.Texts(), QStringList{QString::fromUtf8(row.text)});
        QCOMPARE(w->boxes.boxes[0].title, QString::fromLatin1(row.title));
        QCOMPARE(w->boxes.boxes[0].icon, QByteArray(row.title) == "Tickforge" ? AlertIcon::Stop : AlertIcon::None);
        QCOMPARE(shows.shows, row.progressShows);
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
        QVERIFY(!w->Button("btnCopyCommand")->isEnabled());
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
        w->Press("btnGenerate");
        TTimeSeriesSet before;
        CopyBars(w->Run().GeneratedSet, before);
        HistoryChart& chart = w->Chart();

        // Expand Chart undoes a zoom.
        const QCPRange dates = chart.BottomAxis()->range();
        ZoomIntoAPart(chart);
        QVERIFY(chart.IsZoomed());
        QTest::mouseClick(w->Button("btnExpand"), Qt::LeftButton);
        QVERIFY(ShowsWholeHistory(chart, before));
        QCOMPARE(chart.BottomAxis()->range(), dates);

        // Styles and colour leave the data and the view alone.
        QTest::mouseClick(w->Button("rbCandle"), Qt::LeftButton);
        QCOMPARE(chart.Style(), HistoryChart::CandleStyle::Candlestick);
        QVERIFY(!w->Button("rbBar")->isChecked());
        QTest::mouseClick(w->Button("rbBar"), Qt::LeftButton);
        QCOMPARE(chart.Style(), HistoryChart::CandleStyle::Bar);
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
        w->Press("btnCopyCommand");
        const QString command = QApplication::clipboard()->text();
        // The line under the chart names the bars, the price and the seed the command carries.
        const QRegularExpressionMatch named = QRegularExpression(QStringLiteral("^(\\d+) bars from .+ to .+, starting price (\\S+), seed (\\d+)$"))
                                                  .match(Find<QLabel>(w->window, "lblHistory")->text());
        QVERIFY(named.hasMatch());
        QCOMPARE(named.captured(1).toInt(), w->Run().GeneratedSet.Length());
        QVERIFY(command.contains(QStringLiteral(" --price %1 ").arg(named.captured(2))));
        QVERIFY(command.endsWith(QStringLiteral(" --rng-seed ") + named.captured(3)));
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
