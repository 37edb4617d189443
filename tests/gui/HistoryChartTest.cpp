// The chart of a bar set: axis ranges from the extremes with their sentinels, points at
// the close times, zoom by a dragged rectangle (animated), undo by a reverse drag or
// by UndoZoom, scroll by a right drag, and the look switches that leave the data alone.

#include "HistoryChart.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include <cmath>
#include <vector>

using namespace tickforge;

namespace {

struct Bar {
    double time, open, high, low, close, volume;
};

void Fill(TTimeSeriesSet& set, const std::vector<Bar>& bars)
{
    set.SetSeriesCount(DailyBarSeriesCount);
    set.SetLength(static_cast<std::int32_t>(bars.size()));
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(bars.size()); ++i) {
        const Bar& b = bars[static_cast<std::size_t>(i)];
        for (std::int32_t s = 0; s < DailyBarSeriesCount; ++s)
            set.SetTime(s, i, b.time);
        set.SetValue(SeriesOpen, i, b.open);
        set.SetValue(SeriesHigh, i, b.high);
        set.SetValue(SeriesLow, i, b.low);
        set.SetValue(SeriesClose, i, b.close);
        set.SetValue(SeriesVolume, i, b.volume);
    }
}

// A wavy history of n days whose bars close at 16:48.
std::vector<Bar> Wave(int n, double level = 100.0)
{
    std::vector<Bar> bars;
    for (int i = 0; i < n; ++i) {
        const double mid = level + 10 * std::sin(i / 7.0);
        bars.push_back({45000 + i + 0.7, mid - 1, mid + 2, mid - 2, mid + 1, 500.0 + 10 * (i % 13)});
    }
    return bars;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void Drag(QWidget* widget, Qt::MouseButton button, QPoint from, QPoint to)
{
    SendMouse(widget, QEvent::MouseButtonPress, from, button, button);
    for (int step = 1; step <= 4; ++step)
        SendMouse(widget, QEvent::MouseMove, from + (to - from) * step / 4, Qt::NoButton, button);
    SendMouse(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

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

// The chart as it is drawn once the pending replot has run.
QImage Drawn(HistoryChart& chart)
{
    QCoreApplication::processEvents();
    return chart.grab().toImage();
}

bool Near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

bool SameRange(const QCPRange& a, const QCPRange& b)
{
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(a.upper) + std::fabs(a.lower));
    return Near(a.lower, b.lower, tolerance) && Near(a.upper, b.upper, tolerance);
}

// Colour distance small enough for a smooth gradient sampled one pixel off its end.
bool CloseColour(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 && std::abs(a.blue() - b.blue()) <= 3;
}

}  // namespace

class HistoryChartTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void oneBarSpansItsPricesAndFourTimesItsVolume();
    void emptyHistorySpansTheSentinels();
    void lowsAboveTheSentinelStartThePriceAxisThere();
    void flatHistoryGetsTheNarrowestRange();
    void extremesComeFromEveryBarIncludingSpoiledOnes();
    void bothPointsOfABarSitAtItsCloseTime();
    void dateAxisCountsSecondsSince1970();
    void leftDragZoomsIntoTheRectangleWithAnAnimation();
    void upwardLeftDragUndoesTheZoom();
    void tinyDragIsAClickAndChangesNothing();
    void rightDragScrollsTheView();
    void undoZoomReturnsToTheWholeHistory();
    void undoZoomWhenNotZoomedChangesNothing();
    void reloadWithoutResetKeepsAZoomedView();
    void reloadWithoutResetWhenNotZoomedShowsTheNewRanges();
    void reloadWithResetShowsTheWholeNewHistory();
    void stylesChangeTheDrawingNotTheData();
    void gradientRunsFromBottomToTopAndOffIsWhite();

private:
    HistoryChart* chart_ = nullptr;
};

void HistoryChartTest::init()
{
    chart_ = new HistoryChart;
    chart_->resize(700, 360);
    chart_->show();
    QVERIFY(QTest::qWaitForWindowExposed(chart_));
}

void HistoryChartTest::cleanup()
{
    delete chart_;
    chart_ = nullptr;
}

void HistoryChartTest::oneBarSpansItsPricesAndFourTimesItsVolume()
{
    TTimeSeriesSet set;
    Fill(set, {{45000.75, 100, 105, 95, 102, 500}});
    chart_->ShowBars(set, true);
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(95, 105));
    QCOMPARE(chart_->VolumeAxis()->range(), QCPRange(500, 2000));
    QCOMPARE(chart_->Series1()->dataCount(), 1);
    const QCPFinancialData candle = *chart_->Series1()->data()->constBegin();
    QCOMPARE(candle.open, 100.0);
    QCOMPARE(candle.high, 105.0);
    QCOMPARE(candle.low, 95.0);
    QCOMPARE(candle.close, 102.0);
    QCOMPARE(chart_->Series2()->dataCount(), 1);
    QCOMPARE(chart_->Series2()->data()->constBegin()->value, 500.0);
}

void HistoryChartTest::emptyHistorySpansTheSentinels()
{
    TTimeSeriesSet set;
    Fill(set, Wave(20));
    chart_->ShowBars(set, true);
    TTimeSeriesSet aborted;
    Fill(aborted, {});
    chart_->ShowBars(aborted, true);
    QCOMPARE(chart_->Series1()->dataCount(), 0);
    QCOMPARE(chart_->Series2()->dataCount(), 0);
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(0, 999999));
    QCOMPARE(chart_->VolumeAxis()->range(), QCPRange(0, 999999));
}

void HistoryChartTest::lowsAboveTheSentinelStartThePriceAxisThere()
{
    TTimeSeriesSet set;
    Fill(set, {{45000.7, 1.6e6, 2.0e6, 1.5e6, 1.7e6, 10}, {45001.7, 1.7e6, 1.9e6, 1.55e6, 1.8e6, 20}});
    chart_->ShowBars(set, true);
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(999999, 2.0e6));
    QCOMPARE(chart_->VolumeAxis()->range(), QCPRange(10, 80));
}

void HistoryChartTest::flatHistoryGetsTheNarrowestRange()
{
    TTimeSeriesSet set;
    Fill(set, {{45000.7, 100, 100, 100, 100, 0}, {45001.7, 100, 100, 100, 100, 0}});
    chart_->ShowBars(set, true);
    const QCPRange price = chart_->PriceAxis()->range();
    QCOMPARE(price.lower, 100.0);
    QVERIFY(price.size() >= 1e-10 && price.size() < 2e-10);
    const QCPRange volume = chart_->VolumeAxis()->range();
    QCOMPARE(volume.lower, 0.0);
    QVERIFY(volume.size() >= 1e-10 && volume.size() < 2e-10);
}

void HistoryChartTest::extremesComeFromEveryBarIncludingSpoiledOnes()
{
    TTimeSeriesSet set;
    Fill(set, {{45000.7, 50, 52, 49, 51, 300},
               {45001.7, 51, 51, 51, 51, 0},  // high set to low, volume zeroed
               {45002.7, 51, 60, 50, 58, 900},
               {45003.7, 58, 59, 40, 41, 450}});
    chart_->ShowBars(set, true);
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(40, 60));
    QCOMPARE(chart_->VolumeAxis()->range(), QCPRange(0, 3600));
    // Zoomed into a part, a reload still takes its extremes from the whole set.
    chart_->ZoomToRect(QRect(QPoint(chart_->axisRect()->left(), chart_->axisRect()->top()),
                             QPoint(chart_->axisRect()->center().x(), chart_->axisRect()->bottom())),
                       false);
    chart_->ShowBars(set, true);
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(40, 60));
}

void HistoryChartTest::bothPointsOfABarSitAtItsCloseTime()
{
    TTimeSeriesSet set;
    Fill(set, Wave(3));
    set.SetTime(SeriesOpen, 1, 45001.0);  // the other series' times play no part
    set.SetTime(SeriesHigh, 1, 45001.1);
    chart_->ShowBars(set, true);
    auto candle = chart_->Series1()->data()->constBegin();
    auto volume = chart_->Series2()->data()->constBegin();
    for (int i = 0; i < 3; ++i, ++candle, ++volume) {
        const double key = HistoryChart::AxisKeyOfDate(set.GetTime(SeriesClose, i));
        QCOMPARE(candle->key, key);
        QCOMPARE(volume->key, key);
    }
}

void HistoryChartTest::dateAxisCountsSecondsSince1970()
{
    QCOMPARE(HistoryChart::AxisKeyOfDate(25569.0), 0.0);
    QCOMPARE(HistoryChart::AxisKeyOfDate(25570.5), 1.5 * 86400);
    // 15 March 2023, 18:00 wall-clock time.
    const QDateTime expected(QDate(2023, 3, 15), QTime(18, 0), Qt::UTC);
    QCOMPARE(HistoryChart::AxisKeyOfDate(45000.75), static_cast<double>(expected.toSecsSinceEpoch()));
}

void HistoryChartTest::leftDragZoomsIntoTheRectangleWithAnAnimation()
{
    TTimeSeriesSet set;
    Fill(set, Wave(100));
    chart_->ShowBars(set, true);
    const QCPRange price = chart_->PriceAxis()->range();
    const QRect area = chart_->axisRect()->rect();
    const QPoint from(area.left() + area.width() * 3 / 10, area.top() + area.height() * 3 / 10);
    const QPoint to(area.left() + area.width() * 6 / 10, area.top() + area.height() * 7 / 10);
    const QCPRange expectedDates(chart_->BottomAxis()->pixelToCoord(from.x()), chart_->BottomAxis()->pixelToCoord(to.x()));
    const QCPRange expectedPrices(chart_->PriceAxis()->pixelToCoord(to.y()), chart_->PriceAxis()->pixelToCoord(from.y()));
    const QCPRange expectedVolumes(chart_->VolumeAxis()->pixelToCoord(to.y()), chart_->VolumeAxis()->pixelToCoord(from.y()));

    Drag(chart_, Qt::LeftButton, from, to);
    QVERIFY(chart_->IsZoomed());
    QVERIFY(chart_->IsAnimating());
    QVERIFY(!SameRange(chart_->PriceAxis()->range(), expectedPrices));
    QTRY_VERIFY(!chart_->IsAnimating());
    QVERIFY(SameRange(chart_->BottomAxis()->range(), expectedDates));
    QVERIFY(SameRange(chart_->PriceAxis()->range(), expectedPrices));
    QVERIFY(SameRange(chart_->VolumeAxis()->range(), expectedVolumes));
    QVERIFY(chart_->PriceAxis()->range().size() < price.size());
}

void HistoryChartTest::upwardLeftDragUndoesTheZoom()
{
    TTimeSeriesSet set;
    Fill(set, Wave(100));
    chart_->ShowBars(set, true);
    const QCPRange dates = chart_->BottomAxis()->range();
    const QCPRange price = chart_->PriceAxis()->range();
    const QRect area = chart_->axisRect()->rect();
    Drag(chart_, Qt::LeftButton, area.center() - QPoint(60, 40), area.center() + QPoint(60, 40));
    QTRY_VERIFY(!chart_->IsAnimating());
    QVERIFY(chart_->IsZoomed());
    Drag(chart_, Qt::LeftButton, area.center() + QPoint(50, 50), area.center() - QPoint(50, 50));
    QVERIFY(!chart_->IsZoomed());
    QCOMPARE(chart_->BottomAxis()->range(), dates);
    QCOMPARE(chart_->PriceAxis()->range(), price);
}

void HistoryChartTest::tinyDragIsAClickAndChangesNothing()
{
    TTimeSeriesSet set;
    Fill(set, Wave(30));
    chart_->ShowBars(set, true);
    const QCPRange dates = chart_->BottomAxis()->range();
    const QPoint centre = chart_->axisRect()->rect().center();
    Drag(chart_, Qt::LeftButton, centre, centre + QPoint(1, 1));
    QVERIFY(!chart_->IsZoomed());
    QCOMPARE(chart_->BottomAxis()->range(), dates);
}

void HistoryChartTest::rightDragScrollsTheView()
{
    TTimeSeriesSet set;
    Fill(set, Wave(60));
    chart_->ShowBars(set, true);
    const QCPRange dates = chart_->BottomAxis()->range();
    const QCPRange price = chart_->PriceAxis()->range();
    const QCPRange volume = chart_->VolumeAxis()->range();
    const QPoint centre = chart_->axisRect()->rect().center();
    const double secondsPerPixel = dates.size() / chart_->axisRect()->width();
    const double pricePerPixel = price.size() / chart_->axisRect()->height();

    Drag(chart_, Qt::RightButton, centre, centre + QPoint(80, 30));
    QVERIFY(chart_->IsZoomed());
    // The content follows the mouse: the view moves left (earlier) and up (higher).
    QVERIFY(Near(chart_->BottomAxis()->range().lower, dates.lower - 80 * secondsPerPixel, secondsPerPixel));
    QVERIFY(Near(chart_->BottomAxis()->range().size(), dates.size(), 1e-6));
    QVERIFY(Near(chart_->PriceAxis()->range().lower, price.lower + 30 * pricePerPixel, pricePerPixel));
    QVERIFY(Near(chart_->PriceAxis()->range().size(), price.size(), 1e-9));
    QVERIFY(chart_->VolumeAxis()->range().lower > volume.lower);
    QVERIFY(!chart_->IsAnimating());

    chart_->UndoZoom();
    QCOMPARE(chart_->BottomAxis()->range(), dates);
    QCOMPARE(chart_->PriceAxis()->range(), price);
    QCOMPARE(chart_->VolumeAxis()->range(), volume);
}

void HistoryChartTest::undoZoomReturnsToTheWholeHistory()
{
    TTimeSeriesSet set;
    Fill(set, Wave(50));
    chart_->ShowBars(set, true);
    const QRect area = chart_->axisRect()->rect();
    chart_->ZoomToRect(QRect(area.center(), area.bottomRight()), false);
    QVERIFY(chart_->IsZoomed());
    chart_->UndoZoom();
    QVERIFY(!chart_->IsZoomed());
    const Extremes e = ExtremesOf(set);
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(e.lowestLow, e.highestHigh));
    QCOMPARE(chart_->VolumeAxis()->range(), QCPRange(e.lowestVolume, 4 * e.highestVolume));
    // Every bar is in view along the date axis.
    const QCPRange dates = chart_->BottomAxis()->range();
    QVERIFY(dates.contains(HistoryChart::AxisKeyOfDate(set.GetTime(SeriesClose, 0))));
    QVERIFY(dates.contains(HistoryChart::AxisKeyOfDate(set.GetTime(SeriesClose, set.Length() - 1))));
}

void HistoryChartTest::undoZoomWhenNotZoomedChangesNothing()
{
    TTimeSeriesSet set;
    Fill(set, Wave(40));
    chart_->ShowBars(set, true);
    const QCPRange dates = chart_->BottomAxis()->range();
    const QCPRange price = chart_->PriceAxis()->range();
    const QCPRange volume = chart_->VolumeAxis()->range();
    const QImage before = Drawn(*chart_);
    chart_->UndoZoom();
    QCOMPARE(chart_->BottomAxis()->range(), dates);
    QCOMPARE(chart_->PriceAxis()->range(), price);
    QCOMPARE(chart_->VolumeAxis()->range(), volume);
    QCOMPARE(Drawn(*chart_), before);
}

void HistoryChartTest::reloadWithoutResetKeepsAZoomedView()
{
    TTimeSeriesSet set;
    Fill(set, Wave(80));
    chart_->ShowBars(set, true);
    const QRect area = chart_->axisRect()->rect();
    chart_->ZoomToRect(QRect(area.topLeft() + QPoint(40, 30), area.center()), false);
    const QCPRange dates = chart_->BottomAxis()->range();
    const QCPRange price = chart_->PriceAxis()->range();
    const QCPRange volume = chart_->VolumeAxis()->range();

    TTimeSeriesSet other;
    Fill(other, Wave(80, 300.0));
    chart_->ShowBars(other, false);
    QVERIFY(chart_->IsZoomed());
    QCOMPARE(chart_->BottomAxis()->range(), dates);
    QCOMPARE(chart_->PriceAxis()->range(), price);
    QCOMPARE(chart_->VolumeAxis()->range(), volume);
    QCOMPARE(chart_->Series1()->data()->constBegin()->close, other.GetValue(SeriesClose, 0));
    // The new history's ranges wait for the undo.
    chart_->UndoZoom();
    const Extremes e = ExtremesOf(other);
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(e.lowestLow, e.highestHigh));
    QCOMPARE(chart_->VolumeAxis()->range(), QCPRange(e.lowestVolume, 4 * e.highestVolume));
}

void HistoryChartTest::reloadWithoutResetWhenNotZoomedShowsTheNewRanges()
{
    TTimeSeriesSet set;
    Fill(set, {{45000.7, 100, 105, 95, 102, 500}});
    chart_->ShowBars(set, true);
    TTimeSeriesSet other;
    Fill(other, {{45000.7, 200, 230, 190, 220, 50}});
    chart_->ShowBars(other, false);
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(190, 230));
    QCOMPARE(chart_->VolumeAxis()->range(), QCPRange(50, 200));
}

void HistoryChartTest::reloadWithResetShowsTheWholeNewHistory()
{
    TTimeSeriesSet set;
    Fill(set, Wave(80));
    chart_->ShowBars(set, true);
    const QRect area = chart_->axisRect()->rect();
    chart_->ZoomToRect(QRect(area.topLeft() + QPoint(40, 30), area.center()), false);
    TTimeSeriesSet other;
    Fill(other, {{45000.7, 200, 230, 190, 220, 50}, {45001.7, 220, 240, 215, 216, 70}});
    chart_->ShowBars(other, true);
    QVERIFY(!chart_->IsZoomed());
    QCOMPARE(chart_->PriceAxis()->range(), QCPRange(190, 240));
    QCOMPARE(chart_->VolumeAxis()->range(), QCPRange(50, 280));
}

void HistoryChartTest::stylesChangeTheDrawingNotTheData()
{
    TTimeSeriesSet set;
    Fill(set, Wave(30));
    chart_->ShowBars(set, true);
    const QCPRange price = chart_->PriceAxis()->range();
    const QImage bars = Drawn(*chart_);

    chart_->SetCandleStyle(HistoryChart::CandleStyle::Candlestick, 4);
    QCOMPARE(chart_->Style(), HistoryChart::CandleStyle::Candlestick);
    QCOMPARE(chart_->Series1()->chartStyle(), QCPFinancial::csCandlestick);
    QCOMPARE(chart_->CandleWidth(), 4.0);
    QCOMPARE(chart_->Series1()->widthType(), QCPFinancial::wtAbsolute);
    QTRY_VERIFY(Drawn(*chart_) != bars);

    chart_->SetCandleStyle(HistoryChart::CandleStyle::Bar, 6);
    QCOMPARE(chart_->Series1()->chartStyle(), QCPFinancial::csOhlc);
    QCOMPARE(chart_->CandleWidth(), 6.0);
    QCOMPARE(chart_->Series1()->dataCount(), 30);
    QCOMPARE(chart_->Series1()->data()->constBegin()->open, set.GetValue(SeriesOpen, 0));
    QCOMPARE(chart_->PriceAxis()->range(), price);
}

void HistoryChartTest::gradientRunsFromBottomToTopAndOffIsWhite()
{
    TTimeSeriesSet set;
    Fill(set, Wave(30));
    chart_->ShowBars(set, true);
    QVERIFY(chart_->GradientVisible());
    QImage image = Drawn(*chart_);
    QVERIFY2(CloseColour(image.pixelColor(2, 1), QColor(254, 233, 222)), qPrintable(image.pixelColor(2, 1).name()));
    QVERIFY2(CloseColour(image.pixelColor(2, image.height() - 2), QColor(225, 225, 255)),
             qPrintable(image.pixelColor(2, image.height() - 2).name()));

    chart_->SetGradientVisible(false);
    QTRY_VERIFY(Drawn(*chart_).pixelColor(2, 1) == QColor(Qt::white));
    image = Drawn(*chart_);
    QCOMPARE(image.pixelColor(2, image.height() - 2), QColor(Qt::white));
    QCOMPARE(chart_->Series1()->dataCount(), 30);
}

QTEST_MAIN(HistoryChartTest)
#include "HistoryChartTest.moc"
