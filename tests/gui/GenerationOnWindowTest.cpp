// GO and Apply on the main window: the designed panel produces a history in the chart,
// each check of the panel and each conversion error shows its box, the progress
// window's Abort ends a long run, Apply keeps the zoom that GO resets, and the display
// controls change only the drawing.

#include "GuiTestSupport.h"
#include "platform/DateTime.h"
#include "synthesis/MakeHistory.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QWindow>

#include <cmath>
#include <memory>
#include <optional>

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

}  // namespace

class GenerationOnWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowUnderTest> w;
    std::optional<HistoryRequest> request;  // the last request synthesis received
    int syntheses = 0;

    QString Activity() const { return Find<QLabel>(w->progress, "Activity")->text(); }

    void VerifyIdle()
    {
        QVERIFY(w->window.TakesInput());
        QVERIFY(!w->window.Busy());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(!w->progress.isVisible());
        QCOMPARE(Activity(), QStringLiteral("Idle"));
    }

    void ZoomIntoAPart()
    {
        const QRect area = w->Chart().axisRect()->rect();
        w->Chart().ZoomToRect(QRect(area.topLeft() + QPoint(area.width() / 4, 10), area.center()), false);
    }

private Q_SLOTS:
    void init()
    {
        w = std::make_unique<MainWindowUnderTest>();
        request.reset();
        syntheses = 0;
        w->window.Run().Synthesize = [this](const HistoryRequest& made, ProgressSink& progress, TTimeSeriesSet& result) {
            request = made;
            ++syntheses;
            MakeHistory(made, progress, result);
        };
    }
    void cleanup() { w.reset(); }

    void goWithTheDesignedPanelShowsTheHistory()
    {
        const DateTimeValue start = w->window.Panel().Date("StartDate");
        w->Press("btnGenerate");
        QVERIFY(w->boxes.boxes.empty());
        VerifyIdle();

        QVERIFY(request.has_value());
        QCOMPARE(request->Name, std::string("Synth"));
        QCOMPARE(request->SeedPrice, 3000.0);
        QCOMPARE(request->NumberOfDays, 180);
        QCOMPARE(request->TicksPerDay, 1000);
        QCOMPARE(request->StartDate, start);
        QCOMPARE(request->TickVolatility, 0.01 / std::sqrt(1000.0));
        // The designed magnitude 3 and rate 4.5 play no part while shocks and bias are off.
        QCOMPARE(request->ShockMagnitude, 1.0);
        QCOMPARE(request->ShockDaysPerEvent, 100.0);
        QCOMPARE(request->BiasPercentPerYear, 0.0);
        QCOMPARE(request->MinVolume, 0.0);
        QCOMPARE(request->MaxVolume, 1000.0);
        QCOMPARE(request->MinPrice, 0.0);
        QCOMPARE(request->MaxPrice, 5000.0);
        QVERIFY(request->SkipWeekends && !request->SoftBounds && !request->MinBoundActive && !request->MaxBoundActive);

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
        QVERIFY(!AbortRequested());
    }

    void runIsBusyWhileSynthesisPumps()
    {
        w->Paste("ebTicksPerDay", QStringLiteral("20000"));
        Find<QTabWidget>(w->window, "pcParameters")->setCurrentWidget(Find(w->window, "tsTime"));
        w->Edit("ebLength")->setFocus();
        w->Edit("ebLength")->end(false);
        // Input as the window system delivers it: to the native window first.
        QWindow* native = w->window.windowHandle();
        const auto clickWeekends = [&] {
            QTest::mouseClick(native, Qt::LeftButton, {}, w->Button("cbWeekends")->mapTo(&w->window, QPoint(8, 8)));
        };
        bool sampled = false, takesInput = true, progressVisible = false, closed = true, weekendsClicked = true;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        QString activity, daysTyped;
        // Fires at the first delivery of events inside the run.
        QTimer::singleShot(0, this, [&] {
            sampled = true;
            takesInput = w->window.TakesInput();
            progressVisible = w->progress.isVisible();
            cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
            activity = Activity();
            closed = w->window.close();
            QTest::keyClick(native, Qt::Key_9);
            daysTyped = w->Edit("ebLength")->text();
            clickWeekends();
            weekendsClicked = w->Button("cbWeekends")->isChecked();
        });
        w->Press("btnGenerate");
        QVERIFY(sampled && progressVisible);
        // The panel ignored the mouse, the keyboard and the close meanwhile.
        QVERIFY(!takesInput && !weekendsClicked && !closed);
        QCOMPARE(daysTyped, QStringLiteral("180"));
        QCOMPARE(cursor, Qt::WaitCursor);
        QCOMPARE(activity, QStringLiteral("Making History..."));
        QVERIFY(w->window.isVisible());
        VerifyIdle();
        QCOMPARE(w->Run().GeneratedSet.SeriesCount(), 5);
        // Afterwards the panel takes input again.
        QTest::keyClick(native, Qt::Key_9);
        QCOMPARE(w->Edit("ebLength")->text(), QStringLiteral("1809"));
        clickWeekends();
        QVERIFY(w->Button("cbWeekends")->isChecked());
    }

    // Each step is a button to press or "field=text" to paste.
    void checksAndConversionErrorsShowTheirBoxes_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("progressShows");
        const QString shock = QStringLiteral("Minimum Shock Magnitude is 1.0");
        const QString minimum = QStringLiteral("Minimum Price larger than Seed");
        const QString maximum = QStringLiteral("Maximum Price less than Seed");
        const QStringList shockSteps{"cbActiveShock", "ebShockMag=0.5"}, minimumSteps{"cbMin", "ebMinPrice=3000"};
        const QStringList maximumSteps{"cbMax", "ebMaxPrice=3000"};
        // The panel's checks: boxes captioned "Error", no progress window, no run.
        QTest::newRow("shock magnitude below one") << shockSteps << QStringList{shock} << "Error" << 0;
        QTest::newRow("minimum price equal to the seed") << minimumSteps << QStringList{minimum} << "Error" << 0;
        QTest::newRow("maximum price equal to the seed") << maximumSteps << QStringList{maximum} << "Error" << 0;
        QTest::newRow("random seed range empty") << QStringList{"cbSeedRandom", "ebSeedMin=4000", "ebSeedMax=4000"}
                                                 << QStringList{"Minimum Seed larger than Maximum Seed"} << "Error" << 0;
        QTest::newRow("shock and minimum, in that order")
            << shockSteps + minimumSteps << QStringList{shock, minimum} << "Error" << 0;
        QTest::newRow("three at one press")
            << shockSteps + minimumSteps + maximumSteps << QStringList{shock, minimum, maximum} << "Error" << 0;
        // Passing panels: no box, one run.
        QTest::newRow("shock magnitude ignored while shocks are off") << QStringList{"ebShockMag=0.5"} << QStringList{}
                                                                      << "" << 1;
        QTest::newRow("shock magnitude of exactly one") << QStringList{"cbActiveShock", "ebShockMag=1"} << QStringList{}
                                                        << "" << 1;
        // Conversion errors in the application's error box, before or after the progress window.
        QTest::newRow("ticks per day not an integer")
            << QStringList{"ebTicksPerDay=abc"} << QStringList{"'abc' is not a valid integer value."} << "Tickforge" << 0;
        QTest::newRow("volatility not a number")
            << QStringList{"ebVolatility=x"} << QStringList{"'x' is not a valid floating point value."} << "Tickforge" << 0;
        QTest::newRow("zero ticks per day")
            << QStringList{"ebTicksPerDay=0"} << QStringList{"Floating point division by zero."} << "Tickforge" << 0;
        QTest::newRow("negative ticks per day")
            << QStringList{"ebTicksPerDay=-4"} << QStringList{"Invalid floating point operation."} << "Tickforge" << 0;
        QTest::newRow("volume bound, read after the progress window appeared")
            << QStringList{"ebMaxVolume=lots"} << QStringList{"'lots' is not a valid floating point value."}
            << "Tickforge" << 1;
        // Disabled while "Min :" is off, yet read: the settings file can empty it.
        QTest::newRow("empty minimum price, read after the progress window appeared")
            << QStringList{"ebMinPrice="} << QStringList{"'' is not a valid floating point value."} << "Tickforge" << 1;
        QTest::newRow("bad ticks percentage, read before synthesis")
            << QStringList{"cbDirtyDataActive", "ebDirtydata=some"}
            << QStringList{"'some' is not a valid floating point value."} << "Tickforge" << 1;
    }

    void checksAndConversionErrorsShowTheirBoxes()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, texts);
        QFETCH(QString, title);
        QFETCH(int, progressShows);
        for (const QString& step : steps) {
            const qsizetype equals = step.indexOf(QLatin1Char('='));
            if (equals < 0)
                w->Press(step);
            else
                w->Paste(step.left(equals), step.mid(equals + 1));
        }
        ShowCounter shows(w->progress);
        w->Press("btnGenerate");

        QCOMPARE(w->boxes.Texts(), texts);
        for (const AlertBox& box : w->boxes.boxes) {
            QCOMPARE(box.title, title);
            QCOMPARE(box.icon, title == QStringLiteral("Tickforge") ? AlertIcon::Stop : AlertIcon::None);
        }
        QCOMPARE(shows.shows, progressShows);
        QCOMPARE(syntheses, texts.isEmpty() ? 1 : 0);
        QCOMPARE(w->Run().GeneratedSet.SeriesCount(), texts.isEmpty() ? 5 : 0);
        QCOMPARE(w->Chart().Series1()->dataCount(), texts.isEmpty() ? w->Run().GeneratedSet.Length() : 0);
        VerifyIdle();
    }

    void failedCheckKeepsThePreviousHistory()
    {
        w->Press("btnGenerate");
        TTimeSeriesSet before;
        CopyBars(w->Run().GeneratedSet, before);
        w->Press("cbMax");
        w->Paste("ebMaxPrice", QStringLiteral("2999"));
        w->Press("btnGenerate");
        QCOMPARE(w->boxes.Texts(), QStringList{QStringLiteral("Maximum Price less than Seed")});
        QVERIFY(SameBars(w->Run().GeneratedSet, before));
        QVERIFY(ChartShows(w->Chart(), before));
        QVERIFY(ShowsWholeHistory(w->Chart(), before));
    }

    void abortFromTheProgressWindowLeavesAnEmptyHistory()
    {
        // Ten million ticks: far longer than the moment the gauge reaches 10.
        w->Paste("ebLength", QStringLiteral("400"));
        w->Paste("ebTicksPerDay", QStringLiteral("25000"));
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
        QVERIFY(!AbortRequested());
        QVERIFY(w->boxes.boxes.empty());
        VerifyIdle();
    }

    void applyDrawsFreshCorruptionsInTheSameZoom()
    {
        w->Press("cbDirtyDataActive");
        w->Paste("ebDirtydata", QStringLiteral("50"));
        w->Press("btnGenerate");
        const GenerationRun& run = w->Run();
        // GO shows the clean history; the working copy is already spoiled.
        QVERIFY(ChartShows(w->Chart(), run.GeneratedSet));
        QVERIFY(!SameBars(run.WorkingSet, run.GeneratedSet));

        ZoomIntoAPart();
        HistoryChart& chart = w->Chart();
        const QCPRange dates = chart.BottomAxis()->range(), price = chart.PriceAxis()->range();
        const QCPRange volume = chart.VolumeAxis()->range();
        const auto sameView = [&] {
            return chart.IsZoomed() && chart.BottomAxis()->range() == dates && chart.PriceAxis()->range() == price &&
                   chart.VolumeAxis()->range() == volume;
        };
        w->Press("btnCorrupt");
        QVERIFY(ChartShows(chart, run.WorkingSet));
        QVERIFY(!SameBars(run.WorkingSet, run.GeneratedSet));
        QVERIFY(sameView());
        TTimeSeriesSet first;
        CopyBars(run.WorkingSet, first);

        w->Press("btnCorrupt");
        QVERIFY(ChartShows(chart, run.WorkingSet));
        QVERIFY(!SameBars(run.WorkingSet, first));  // a fresh corruption of the same history
        QVERIFY(sameView());

        w->Press("cbDirtyDataActive");
        w->Press("btnCorrupt");
        QVERIFY(ChartShows(chart, run.GeneratedSet));
        QVERIFY(sameView());

        w->Press("btnGenerate");
        QVERIFY(ShowsWholeHistory(chart, run.GeneratedSet));
        QVERIFY(w->boxes.boxes.empty());
    }

    void applyBeforeAnyGoGeneratesFirst()
    {
        // A failed check shows only its box...
        w->Press("cbMin");
        w->Paste("ebMinPrice", QStringLiteral("3500"));
        w->Press("btnCorrupt");
        QCOMPARE(w->boxes.Texts(), QStringList{QStringLiteral("Minimum Price larger than Seed")});
        QCOMPARE(w->Run().GeneratedSet.SeriesCount(), 0);
        QCOMPARE(w->Chart().Series1()->dataCount(), 0);
        VerifyIdle();

        // ...a passing one generates, then shows a corrupted copy.
        w->Press("cbMin");
        w->Press("cbDirtyDataActive");
        w->Paste("ebDirtydata", QStringLiteral("50"));
        w->Press("btnCorrupt");
        QCOMPARE(syntheses, 1);
        QCOMPARE(w->Run().GeneratedSet.SeriesCount(), 5);
        QVERIFY(ChartShows(w->Chart(), w->Run().WorkingSet));
        QVERIFY(!SameBars(w->Run().WorkingSet, w->Run().GeneratedSet));
        QCOMPARE(w->boxes.boxes.size(), std::size_t(1));
        VerifyIdle();
    }

    void displayControlsChangeOnlyTheDrawing()
    {
        w->Press("btnGenerate");
        TTimeSeriesSet before;
        CopyBars(w->Run().GeneratedSet, before);
        HistoryChart& chart = w->Chart();

        // Expand Chart undoes a zoom.
        const QCPRange dates = chart.BottomAxis()->range();
        ZoomIntoAPart();
        QVERIFY(chart.IsZoomed());
        QTest::mouseClick(w->Button("btnExpand"), Qt::LeftButton);
        QVERIFY(ShowsWholeHistory(chart, before));
        QCOMPARE(chart.BottomAxis()->range(), dates);

        // Styles and colour leave the data and the view alone.
        QTest::mouseClick(w->Button("rbCandle"), Qt::LeftButton);
        QCOMPARE(chart.Style(), HistoryChart::CandleStyle::Candlestick);
        QCOMPARE(chart.CandleWidth(), 4.0);
        QVERIFY(!w->Button("rbBar")->isChecked());
        QTest::mouseClick(w->Button("rbCandle"), Qt::LeftButton);  // selected already: nothing changes
        QCOMPARE(chart.Style(), HistoryChart::CandleStyle::Candlestick);
        QTest::mouseClick(w->Button("rbBar"), Qt::LeftButton);
        QCOMPARE(chart.Style(), HistoryChart::CandleStyle::Bar);
        QCOMPARE(chart.CandleWidth(), 6.0);
        QTest::mouseClick(w->Button("cbColor"), Qt::LeftButton);
        QVERIFY(!chart.GradientVisible());
        QTest::mouseClick(w->Button("cbColor"), Qt::LeftButton);
        QVERIFY(chart.GradientVisible());
        QVERIFY(ShowsWholeHistory(chart, before));

        QVERIFY(SameBars(w->Run().GeneratedSet, before));
        QVERIFY(ChartShows(chart, before));
    }

    void screenshotAfterGo()
    {
        QTest::mouseClick(w->Button("btnGenerate"), Qt::LeftButton);
        QTest::qWait(50);
        const QImage shot = w->window.grab().toImage();
        QCOMPARE(shot.size(), QSize(721, 573));
        // Bars were drawn: the chart holds pure blue (rising) and pure red (falling) pixels.
        const QImage chart = w->Chart().grab().toImage();
        bool blue = false, red = false;
        for (int y = 0; y < chart.height(); ++y)
            for (int x = 0; x < chart.width(); ++x) {
                blue = blue || chart.pixelColor(x, y) == QColor(0, 0, 255);
                red = red || chart.pixelColor(x, y) == QColor(255, 0, 0);
            }
        QVERIFY(blue && red);
        QVERIFY(shot.save(ArtefactPath(QStringLiteral("MainWindowAfterGo.png"))));
    }
};

QTEST_MAIN(GenerationOnWindow)
#include "GenerationOnWindowTest.moc"
