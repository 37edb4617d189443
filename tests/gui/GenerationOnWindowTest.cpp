// GO and Apply on the main window: the designed panel produces a history in the chart,
// each check of the panel shows its box, errors reach the application's error box, the
// progress window's Abort ends a long run, Apply keeps the zoom that GO resets, and the
// display controls change only the drawing.

#include "GuiTestSupport.h"
#include "HistoryChart.h"
#include "TGenerator.h"
#include "TProgress.h"
#include "platform/DateTime.h"
#include "synthesis/Abort.h"
#include "synthesis/MakeHistory.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include <cmath>
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
        if (event->type() == QEvent::Show)
            ++shows;
        return QObject::eventFilter(watched, event);
    }
};

struct Extremes {
    double lowestLow = 1e300, highestHigh = -1e300, lowestVolume = 1e300, highestVolume = -1e300;
};

Extremes ExtremesOf(const TTimeSeriesSet& set)
{
    Extremes e;
    for (std::int32_t i = 0; i < set.Length(); ++i) {
        e.lowestLow = std::min(e.lowestLow, set.GetValue(SeriesLow, i));
        e.highestHigh = std::max(e.highestHigh, set.GetValue(SeriesHigh, i));
        e.lowestVolume = std::min(e.lowestVolume, set.GetValue(SeriesVolume, i));
        e.highestVolume = std::max(e.highestVolume, set.GetValue(SeriesVolume, i));
    }
    return e;
}

// The chart holds exactly the bars of set, at their close times.
bool ChartShows(HistoryChart& chart, const TTimeSeriesSet& set)
{
    if (chart.Series1()->dataCount() != set.Length() || chart.Series2()->dataCount() != set.Length())
        return false;
    auto candle = chart.Series1()->data()->constBegin();
    auto volume = chart.Series2()->data()->constBegin();
    for (std::int32_t i = 0; i < set.Length(); ++i, ++candle, ++volume) {
        const double key = HistoryChart::AxisKeyOfDate(set.GetTime(SeriesClose, i));
        if (candle->key != key || volume->key != key || candle->open != set.GetValue(SeriesOpen, i) ||
            candle->high != set.GetValue(SeriesHigh, i) || candle->low != set.GetValue(SeriesLow, i) ||
            candle->close != set.GetValue(SeriesClose, i) || volume->value != set.GetValue(SeriesVolume, i))
            return false;
    }
    return true;
}

bool SameBars(const TTimeSeriesSet& a, const TTimeSeriesSet& b)
{
    if (a.SeriesCount() != b.SeriesCount() || a.Length() != b.Length())
        return false;
    for (std::int32_t s = 0; s < a.SeriesCount(); ++s)
        for (std::int32_t i = 0; i < a.Length(); ++i)
            if (a.GetValue(s, i) != b.GetValue(s, i) || a.GetTime(s, i) != b.GetTime(s, i))
                return false;
    return true;
}

void Copy(const TTimeSeriesSet& from, TTimeSeriesSet& to)
{
    to.SetSeriesCount(from.SeriesCount());
    to.Assign(from);
}

void Paste(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    edit->insert(text);
}

enum Scenario { ShockBelowOne, MinimumAtSeed, MaximumAtSeed, SeedRangeEmpty, ShockAndMinimum, ShockMinimumAndMaximum };

}  // namespace

Q_DECLARE_METATYPE(Scenario)

class GenerationOnWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void goWithTheDesignedPanelShowsTheHistory();
    void designedPanelMakesTheDesignedRequest();
    void runIsBusyWhileSynthesisPumps();
    void eachFailedCheckShowsItsBoxAndRunsNothing_data();
    void eachFailedCheckShowsItsBoxAndRunsNothing();
    void failedCheckKeepsThePreviousHistory();
    void shockMagnitudeIsIgnoredWhileShocksAreOff();
    void conversionErrorsReachTheErrorBox_data();
    void conversionErrorsReachTheErrorBox();
    void emptyMinimumPriceFailsAfterTheProgressWindowAppeared();
    void badDirtyPercentageStopsBeforeSynthesis();
    void abortFromTheProgressWindowLeavesAnEmptyHistory();
    void applyDrawsFreshCorruptionsInTheSameZoom();
    void applyBeforeAnyGoGeneratesFirst();
    void applyBeforeAnyGoWithAFailedCheckShowsOnlyTheBox();
    void expandChartUndoesTheZoom();
    void stylesAndColourDoNotTouchTheData();
    void screenshotAfterGo();

private:
    QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(*window_, name); }
    QAbstractButton* Button(const char* name) const { return Find<QAbstractButton>(*window_, name); }
    HistoryChart& Chart() const { return window_->Chart(); }
    QString Activity() const { return Find<QLabel>(*progress_, "Activity")->text(); }
    void VerifyIdle();

    TGenerator* window_ = nullptr;
    TProgress* progress_ = nullptr;
    AlertRecorder* boxes_ = nullptr;
    BeepCounter* beeps_ = nullptr;
};

void GenerationOnWindow::init()
{
    boxes_ = new AlertRecorder;
    beeps_ = new BeepCounter;
    window_ = new TGenerator;
    progress_ = new TProgress;
    window_->SetProgressWindow(progress_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void GenerationOnWindow::cleanup()
{
    delete window_;
    delete progress_;
    delete beeps_;
    delete boxes_;
    ClearAbortRequest();
}

void GenerationOnWindow::VerifyIdle()
{
    QVERIFY(window_->TakesInput());
    QVERIFY(!window_->Busy());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(!progress_->isVisible());
    QCOMPARE(Activity(), QStringLiteral("Idle"));
}

void GenerationOnWindow::goWithTheDesignedPanelShowsTheHistory()
{
    const DateTimeValue start = window_->Panel().Date("StartDate");
    Button("btnGenerate")->click();
    QVERIFY(boxes_->boxes.empty());
    VerifyIdle();

    // 180 calendar days from the start, weekend days without bars.
    int weekdays = 0;
    for (int day = 0; day < 180; ++day)
        weekdays += IsWeekend(WholeDays(start) + day) ? 0 : 1;
    const TTimeSeriesSet& history = window_->Run().GeneratedSet;
    QCOMPARE(history.SeriesCount(), 5);
    QCOMPARE(history.Length(), weekdays);
    QVERIFY(SameBars(window_->Run().WorkingSet, history));

    QVERIFY(ChartShows(Chart(), history));
    const Extremes e = ExtremesOf(history);
    QCOMPARE(Chart().PriceAxis()->range(), QCPRange(e.lowestLow, e.highestHigh));
    QCOMPARE(Chart().VolumeAxis()->range(), QCPRange(e.lowestVolume, 4 * e.highestVolume));
    QVERIFY(Chart().BottomAxis()->range().contains(HistoryChart::AxisKeyOfDate(history.GetTime(SeriesClose, 0))));
    QVERIFY(Chart().BottomAxis()->range().contains(
        HistoryChart::AxisKeyOfDate(history.GetTime(SeriesClose, history.Length() - 1))));
    QVERIFY(!Chart().IsZoomed());
    QVERIFY(!AbortRequested());
}

void GenerationOnWindow::designedPanelMakesTheDesignedRequest()
{
    std::optional<HistoryRequest> seen;
    window_->Run().Synthesize = [&seen](const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result) {
        seen = request;
        MakeHistory(request, progress, result);
    };
    Button("btnGenerate")->click();
    QVERIFY(seen.has_value());
    QCOMPARE(seen->Name, std::string("Synth"));
    QCOMPARE(seen->SeedPrice, 3000.0);
    QCOMPARE(seen->NumberOfDays, 180);
    QCOMPARE(seen->TicksPerDay, 1000);
    QCOMPARE(seen->StartDate, window_->Panel().Date("StartDate"));
    QCOMPARE(seen->TickVolatility, 0.01 / std::sqrt(1000.0));
    QCOMPARE(seen->ShockMagnitude, 1.0);
    QCOMPARE(seen->ShockDaysPerEvent, 100.0);
    QCOMPARE(seen->BiasPercentPerYear, 0.0);
    QCOMPARE(seen->MinVolume, 0.0);
    QCOMPARE(seen->MaxVolume, 1000.0);
    QCOMPARE(seen->MinPrice, 0.0);
    QCOMPARE(seen->MaxPrice, 5000.0);
    QVERIFY(seen->SkipWeekends);
    QVERIFY(!seen->SoftBounds);
    QVERIFY(!seen->MinBoundActive);
    QVERIFY(!seen->MaxBoundActive);
}

void GenerationOnWindow::runIsBusyWhileSynthesisPumps()
{
    Paste(Edit("ebTicksPerDay"), QStringLiteral("20000"));
    Find<QTabWidget>(*window_, "pcParameters")->setCurrentWidget(Find<QWidget>(*window_, "tsTime"));
    Edit("ebLength")->setFocus();
    Edit("ebLength")->end(false);
    // Input as the window system delivers it: to the native window first.
    QWindow* native = window_->windowHandle();
    const auto clickWeekends = [&] {
        QTest::mouseClick(native, Qt::LeftButton, {}, Button("cbWeekends")->mapTo(window_, QPoint(8, 8)));
    };
    bool sampled = false;
    bool takesInput = true;
    bool progressVisible = false;
    bool closed = true;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QString activity;
    QString daysTyped;
    bool weekendsClicked = true;
    // Fires at the first delivery of events inside the run.
    QTimer::singleShot(0, this, [&] {
        sampled = true;
        takesInput = window_->TakesInput();
        progressVisible = progress_->isVisible();
        cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        activity = Activity();
        closed = window_->close();
        // The panel ignores the mouse and the keyboard meanwhile.
        QTest::keyClick(native, Qt::Key_9);
        daysTyped = Edit("ebLength")->text();
        clickWeekends();
        weekendsClicked = Button("cbWeekends")->isChecked();
    });
    Button("btnGenerate")->click();
    QVERIFY(sampled);
    QVERIFY(!takesInput);
    QVERIFY(!weekendsClicked);
    QCOMPARE(daysTyped, QStringLiteral("180"));
    QVERIFY(progressVisible);
    QCOMPARE(cursor, Qt::WaitCursor);
    QCOMPARE(activity, QStringLiteral("Making History..."));
    QVERIFY(!closed);
    QVERIFY(window_->isVisible());
    VerifyIdle();
    QCOMPARE(window_->Run().GeneratedSet.SeriesCount(), 5);
    // Afterwards the panel takes input again.
    QTest::keyClick(native, Qt::Key_9);
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("1809"));
    clickWeekends();
    QVERIFY(Button("cbWeekends")->isChecked());
}

void GenerationOnWindow::eachFailedCheckShowsItsBoxAndRunsNothing_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<QStringList>("texts");
    const QString shock = QStringLiteral("Minimum Shock Magnitude is 1.0");
    const QString minimum = QStringLiteral("Minimum Price larger than Seed");
    const QString maximum = QStringLiteral("Maximum Price less than Seed");
    QTest::newRow("shock magnitude below one") << ShockBelowOne << QStringList{shock};
    QTest::newRow("minimum price equal to the seed") << MinimumAtSeed << QStringList{minimum};
    QTest::newRow("maximum price equal to the seed") << MaximumAtSeed << QStringList{maximum};
    QTest::newRow("random seed range empty") << SeedRangeEmpty << QStringList{QStringLiteral("Minimum Seed larger than Maximum Seed")};
    QTest::newRow("shock and minimum, in that order") << ShockAndMinimum << QStringList{shock, minimum};
    QTest::newRow("three at one press") << ShockMinimumAndMaximum << QStringList{shock, minimum, maximum};
}

void GenerationOnWindow::eachFailedCheckShowsItsBoxAndRunsNothing()
{
    QFETCH(Scenario, scenario);
    QFETCH(QStringList, texts);
    const bool shock = scenario == ShockBelowOne || scenario == ShockAndMinimum || scenario == ShockMinimumAndMaximum;
    const bool minimum = scenario == MinimumAtSeed || scenario == ShockAndMinimum || scenario == ShockMinimumAndMaximum;
    const bool maximum = scenario == MaximumAtSeed || scenario == ShockMinimumAndMaximum;
    if (shock) {
        Button("cbActiveShock")->click();
        Paste(Edit("ebShockMag"), QStringLiteral("0.5"));
    }
    if (minimum) {
        Button("cbMin")->click();
        Paste(Edit("ebMinPrice"), QStringLiteral("3000"));
    }
    if (maximum) {
        Button("cbMax")->click();
        Paste(Edit("ebMaxPrice"), QStringLiteral("3000"));
    }
    if (scenario == SeedRangeEmpty) {
        Button("cbSeedRandom")->click();
        Paste(Edit("ebSeedMin"), QStringLiteral("4000"));
        Paste(Edit("ebSeedMax"), QStringLiteral("4000"));
    }
    ShowCounter progressShows(*progress_);
    Button("btnGenerate")->click();

    QCOMPARE(boxes_->Texts(), texts);
    for (const AlertBox& box : boxes_->boxes) {
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.icon, AlertIcon::None);
    }
    QCOMPARE(progressShows.shows, 0);
    QCOMPARE(window_->Run().GeneratedSet.SeriesCount(), 0);
    QCOMPARE(Chart().Series1()->dataCount(), 0);
    VerifyIdle();
}

void GenerationOnWindow::failedCheckKeepsThePreviousHistory()
{
    Button("btnGenerate")->click();
    TTimeSeriesSet before;
    Copy(window_->Run().GeneratedSet, before);
    const QCPRange price = Chart().PriceAxis()->range();

    Button("cbMax")->click();
    Paste(Edit("ebMaxPrice"), QStringLiteral("2999"));
    Button("btnGenerate")->click();
    QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral("Maximum Price less than Seed")});
    QVERIFY(SameBars(window_->Run().GeneratedSet, before));
    QVERIFY(ChartShows(Chart(), before));
    QCOMPARE(Chart().PriceAxis()->range(), price);
}

void GenerationOnWindow::shockMagnitudeIsIgnoredWhileShocksAreOff()
{
    std::optional<HistoryRequest> seen;
    window_->Run().Synthesize = [&seen](const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result) {
        seen = request;
        MakeHistory(request, progress, result);
    };
    Paste(Edit("ebShockMag"), QStringLiteral("0.5"));
    Button("btnGenerate")->click();
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(seen.has_value());
    QCOMPARE(seen->ShockMagnitude, 1.0);

    // Active with exactly 1 passes too.
    seen.reset();
    Button("cbActiveShock")->click();
    Paste(Edit("ebShockMag"), QStringLiteral("1"));
    Button("btnGenerate")->click();
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(seen.has_value());
    QCOMPARE(seen->ShockMagnitude, 1.0);
}

void GenerationOnWindow::conversionErrorsReachTheErrorBox_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("progressShows");
    QTest::newRow("ticks per day not an integer") << "ebTicksPerDay" << "abc" << "'abc' is not a valid integer value." << 0;
    QTest::newRow("volatility not a number") << "ebVolatility" << "x" << "'x' is not a valid floating point value." << 0;
    QTest::newRow("zero ticks per day") << "ebTicksPerDay" << "0" << "Floating point division by zero." << 0;
    QTest::newRow("negative ticks per day") << "ebTicksPerDay" << "-4" << "Invalid floating point operation." << 0;
    QTest::newRow("volume bound, read after the progress window appeared")
        << "ebMaxVolume" << "lots" << "'lots' is not a valid floating point value." << 1;
}

void GenerationOnWindow::conversionErrorsReachTheErrorBox()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, progressShows);
    Paste(Edit(field.toLatin1().constData()), text);
    ShowCounter shows(*progress_);
    Button("btnGenerate")->click();
    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    QCOMPARE(boxes_->boxes[0].text, message);
    QCOMPARE(boxes_->boxes[0].title, QStringLiteral("Tickforge"));
    QCOMPARE(boxes_->boxes[0].icon, AlertIcon::Stop);
    QCOMPARE(shows.shows, progressShows);
    QCOMPARE(window_->Run().GeneratedSet.SeriesCount(), 0);
    VerifyIdle();
}

void GenerationOnWindow::emptyMinimumPriceFailsAfterTheProgressWindowAppeared()
{
    // The field is disabled while "Min :" is off; the settings file can still empty it.
    window_->Panel().SetText("ebMinPrice", "");
    QCOMPARE(Edit("ebMinPrice")->text(), QString());
    ShowCounter shows(*progress_);
    Button("btnGenerate")->click();
    QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral("'' is not a valid floating point value.")});
    QCOMPARE(shows.shows, 1);
    VerifyIdle();
}

void GenerationOnWindow::badDirtyPercentageStopsBeforeSynthesis()
{
    int syntheses = 0;
    window_->Run().Synthesize = [&syntheses](const HistoryRequest& request, ProgressSink& progress, TTimeSeriesSet& result) {
        ++syntheses;
        MakeHistory(request, progress, result);
    };
    Button("cbDirtyDataActive")->click();
    Paste(Edit("ebDirtydata"), QStringLiteral("some"));
    Button("btnGenerate")->click();
    QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral("'some' is not a valid floating point value.")});
    QCOMPARE(syntheses, 0);
    QCOMPARE(window_->Run().GeneratedSet.SeriesCount(), 0);
    VerifyIdle();
}

void GenerationOnWindow::abortFromTheProgressWindowLeavesAnEmptyHistory()
{
    // Ten million ticks: far longer than the moment the gauge reaches 10.
    Paste(Edit("ebLength"), QStringLiteral("400"));
    Paste(Edit("ebTicksPerDay"), QStringLiteral("25000"));
    Button("btnGenerate")->click();  // a first history, so that the abort visibly empties it
    QVERIFY(window_->Run().GeneratedSet.Length() > 0);

    int gaugeAtAbort = -1;
    QTimer presser;
    presser.setInterval(1);
    connect(&presser, &QTimer::timeout, this, [&] {
        auto* gauge = Find<QProgressBar>(*progress_, "Gauge1");
        if (progress_->isVisible() && gauge->value() >= 10 && gaugeAtAbort < 0) {
            gaugeAtAbort = gauge->value();
            QTest::mouseClick(Find<QPushButton>(*progress_, "btnAbort"), Qt::LeftButton);
        }
    });
    presser.start();
    Button("btnGenerate")->click();
    presser.stop();

    QVERIFY(gaugeAtAbort >= 10 && gaugeAtAbort < 50);
    const GenerationRun& run = window_->Run();
    QCOMPARE(run.GeneratedSet.SeriesCount(), 5);
    QCOMPARE(run.GeneratedSet.Length(), 0);
    QCOMPARE(run.WorkingSet.SeriesCount(), 5);
    QCOMPARE(run.WorkingSet.Length(), 0);
    QCOMPARE(Chart().Series1()->dataCount(), 0);
    QCOMPARE(Chart().Series2()->dataCount(), 0);
    QCOMPARE(Chart().PriceAxis()->range(), QCPRange(0, 999999));
    QCOMPARE(Chart().VolumeAxis()->range(), QCPRange(0, 999999));
    QVERIFY(!AbortRequested());
    QVERIFY(boxes_->boxes.empty());
    VerifyIdle();
}

void GenerationOnWindow::applyDrawsFreshCorruptionsInTheSameZoom()
{
    Button("cbDirtyDataActive")->click();
    Paste(Edit("ebDirtydata"), QStringLiteral("50"));
    Button("btnGenerate")->click();
    const GenerationRun& run = window_->Run();
    // GO shows the clean history; the working copy is already spoiled.
    QVERIFY(ChartShows(Chart(), run.GeneratedSet));
    QVERIFY(!SameBars(run.WorkingSet, run.GeneratedSet));

    const QRect area = Chart().axisRect()->rect();
    Chart().ZoomToRect(QRect(area.topLeft() + QPoint(area.width() / 4, 10), area.center() + QPoint(0, area.height() / 3)), false);
    const QCPRange dates = Chart().BottomAxis()->range();
    const QCPRange price = Chart().PriceAxis()->range();
    const QCPRange volume = Chart().VolumeAxis()->range();
    const auto sameView = [&] {
        return Chart().IsZoomed() && Chart().BottomAxis()->range() == dates && Chart().PriceAxis()->range() == price &&
               Chart().VolumeAxis()->range() == volume;
    };

    Button("btnCorrupt")->click();
    QVERIFY(ChartShows(Chart(), run.WorkingSet));
    QVERIFY(!SameBars(run.WorkingSet, run.GeneratedSet));
    QVERIFY(sameView());
    TTimeSeriesSet first;
    Copy(run.WorkingSet, first);

    Button("btnCorrupt")->click();
    QVERIFY(ChartShows(Chart(), run.WorkingSet));
    QVERIFY(!SameBars(run.WorkingSet, first));  // a fresh corruption of the same history
    QVERIFY(sameView());

    Button("cbDirtyDataActive")->click();
    Button("btnCorrupt")->click();
    QVERIFY(ChartShows(Chart(), run.GeneratedSet));
    QVERIFY(sameView());

    Button("btnGenerate")->click();
    QVERIFY(!Chart().IsZoomed());
    const Extremes e = ExtremesOf(run.GeneratedSet);
    QCOMPARE(Chart().PriceAxis()->range(), QCPRange(e.lowestLow, e.highestHigh));
    QVERIFY(boxes_->boxes.empty());
}

void GenerationOnWindow::applyBeforeAnyGoGeneratesFirst()
{
    Button("cbDirtyDataActive")->click();
    Paste(Edit("ebDirtydata"), QStringLiteral("50"));
    Button("btnCorrupt")->click();
    const GenerationRun& run = window_->Run();
    QCOMPARE(run.GeneratedSet.SeriesCount(), 5);
    QVERIFY(run.GeneratedSet.Length() > 0);
    QVERIFY(ChartShows(Chart(), run.WorkingSet));
    QVERIFY(!SameBars(run.WorkingSet, run.GeneratedSet));
    QVERIFY(boxes_->boxes.empty());
    VerifyIdle();
}

void GenerationOnWindow::applyBeforeAnyGoWithAFailedCheckShowsOnlyTheBox()
{
    Button("cbMin")->click();
    Paste(Edit("ebMinPrice"), QStringLiteral("3500"));
    Button("btnCorrupt")->click();
    QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral("Minimum Price larger than Seed")});
    QCOMPARE(window_->Run().GeneratedSet.SeriesCount(), 0);
    QCOMPARE(Chart().Series1()->dataCount(), 0);
    VerifyIdle();
}

void GenerationOnWindow::expandChartUndoesTheZoom()
{
    Button("btnGenerate")->click();
    const QCPRange dates = Chart().BottomAxis()->range();
    const QCPRange price = Chart().PriceAxis()->range();
    const QRect area = Chart().axisRect()->rect();
    Chart().ZoomToRect(QRect(area.center(), area.bottomRight()), false);
    QVERIFY(Chart().PriceAxis()->range() != price);
    QTest::mouseClick(Find<QToolButton>(*window_, "btnExpand"), Qt::LeftButton);
    QVERIFY(!Chart().IsZoomed());
    QCOMPARE(Chart().BottomAxis()->range(), dates);
    QCOMPARE(Chart().PriceAxis()->range(), price);
}

void GenerationOnWindow::stylesAndColourDoNotTouchTheData()
{
    Button("btnGenerate")->click();
    const GenerationRun& run = window_->Run();
    TTimeSeriesSet before;
    Copy(run.GeneratedSet, before);
    const QCPRange price = Chart().PriceAxis()->range();
    const QCPRange dates = Chart().BottomAxis()->range();

    QTest::mouseClick(Find<QRadioButton>(*window_, "rbCandle"), Qt::LeftButton);
    QCOMPARE(Chart().Style(), HistoryChart::CandleStyle::Candlestick);
    QCOMPARE(Chart().CandleWidth(), 4.0);
    QVERIFY(!Find<QRadioButton>(*window_, "rbBar")->isChecked());
    // Clicking the selected button again changes nothing.
    QTest::mouseClick(Find<QRadioButton>(*window_, "rbCandle"), Qt::LeftButton);
    QCOMPARE(Chart().Style(), HistoryChart::CandleStyle::Candlestick);

    QTest::mouseClick(Find<QRadioButton>(*window_, "rbBar"), Qt::LeftButton);
    QCOMPARE(Chart().Style(), HistoryChart::CandleStyle::Bar);
    QCOMPARE(Chart().CandleWidth(), 6.0);

    QTest::mouseClick(Find<QCheckBox>(*window_, "cbColor"), Qt::LeftButton);
    QVERIFY(!Chart().GradientVisible());
    QTest::mouseClick(Find<QCheckBox>(*window_, "cbColor"), Qt::LeftButton);
    QVERIFY(Chart().GradientVisible());

    QVERIFY(SameBars(run.GeneratedSet, before));
    QVERIFY(ChartShows(Chart(), before));
    QCOMPARE(Chart().PriceAxis()->range(), price);
    QCOMPARE(Chart().BottomAxis()->range(), dates);
}

void GenerationOnWindow::screenshotAfterGo()
{
    QTest::mouseClick(Button("btnGenerate"), Qt::LeftButton);
    QTest::qWait(50);
    const QImage shot = window_->grab().toImage();
    QCOMPARE(shot.size(), QSize(721, 573));
    // Bars were drawn: the chart holds pure blue and pure red pixels.
    const QImage chart = Chart().grab().toImage();
    bool blue = false;
    bool red = false;
    for (int y = 0; y < chart.height(); ++y)
        for (int x = 0; x < chart.width(); ++x) {
            const QColor c = chart.pixelColor(x, y);
            blue = blue || c == QColor(0, 0, 255);
            red = red || c == QColor(255, 0, 0);
        }
    QVERIFY(blue && red);
    QVERIFY(shot.save(ArtefactPath(QStringLiteral("MainWindowAfterGo.png"))));
}

QTEST_MAIN(GenerationOnWindow)
#include "GenerationOnWindowTest.moc"
