// The chart of a bar set: axis ranges from the extremes with their sentinels, points at
// the close times, zoom by a dragged rectangle (animated), undo by a reverse drag or
// by UndoZoom, scroll by a right drag, and the background gradient.

#include "GuiTestSupport.h"

#include <QMouseEvent>

#include <cmath>
#include <memory>
#include <vector>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

struct Bar {
    double time, open, high, low, close, volume;
};
using Bars = std::vector<Bar>;

// A daily bar set holding bars, every series at the bar's time.
struct SetOf : TTimeSeriesSet {
    explicit SetOf(const Bars& bars)
    {
        SetSeriesCount(DailyBarSeriesCount);
        SetLength(static_cast<std::int32_t>(bars.size()));
        for (std::int32_t i = 0; i < Length(); ++i) {
            const Bar& b = bars[static_cast<std::size_t>(i)];
            const std::pair<std::int32_t, double> values[] = {
                {SeriesOpen, b.open}, {SeriesHigh, b.high}, {SeriesLow, b.low}, {SeriesClose, b.close}, {SeriesVolume, b.volume}};
            for (const auto& [series, value] : values) {
                SetTime(series, i, b.time);
                SetValue(series, i, value);
            }
        }
    }
};

// A wavy history of n days whose bars close at 16:48.
SetOf Wave(int n, double level = 100.0)
{
    Bars bars;
    for (int i = 0; i < n; ++i) {
        const double mid = level + 10 * std::sin(i / 7.0);
        bars.push_back({45000 + i + 0.7, mid - 1, mid + 2, mid - 2, mid + 1, 500.0 + 10 * (i % 13)});
    }
    return SetOf(bars);
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

// Sets of bars and the axis ranges that show them whole.
struct RangeCase {
    const char* name;
    Bars bars;
    QCPRange price, volume;
};

const RangeCase RangeCases[] = {
    {"one bar: its prices, four times its volume", {{45000.75, 100, 105, 95, 102, 500}}, {95, 105}, {500, 2000}},
    {"no bars: the sentinels", {}, {0, 999999}, {0, 999999}},
    {"lows above the sentinel start the price axis there",
     {{45000.7, 1.6e6, 2.0e6, 1.5e6, 1.7e6, 10}, {45001.7, 1.7e6, 1.9e6, 1.55e6, 1.8e6, 20}}, {999999, 2.0e6}, {10, 80}},
    {"every bar counts, spoiled ones too",
     {{45000.7, 50, 52, 49, 51, 300}, {45001.7, 51, 51, 51, 51, 0}, {45002.7, 58, 59, 40, 41, 900}}, {40, 59}, {0, 3600}},
};

}  // namespace

class HistoryChartTest : public QObject {
    Q_OBJECT

    std::unique_ptr<HistoryChart> chart;

    std::array<QCPRange, 3> Ranges() const { return ViewOf(*chart); }

private Q_SLOTS:
    void init()
    {
        chart = std::make_unique<HistoryChart>();
        chart->resize(700, 360);
        chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(chart.get()));
    }
    void cleanup() { chart.reset(); }

    void axesSpanTheExtremesOfTheWholeSet_data() { AddRows(RangeCases); }

    void axesSpanTheExtremesOfTheWholeSet()
    {
        const RangeCase& row = FetchRow(RangeCases);
        chart->ShowBars(Wave(20), true);  // replaced entirely by the set below
        SetOf set(row.bars);
        if (!row.bars.empty()) {
            // Only the close time places a bar; the other series' times play no part.
            set.SetTime(SeriesOpen, 0, row.bars[0].time - 0.5);
            set.SetTime(SeriesHigh, 0, row.bars[0].time + 0.1);
        }
        chart->ShowBars(set, true);
        QVERIFY(ChartShows(*chart, set));
        QCOMPARE(chart->PriceAxis()->range(), row.price);
        QCOMPARE(chart->VolumeAxis()->range(), row.volume);
    }

    void dateAxisCountsSecondsSince1970()
    {
        // 15 March 2023, 18:00 wall-clock time.
        const QDateTime expected(QDate(2023, 3, 15), QTime(18, 0), Qt::UTC);
        QCOMPARE(HistoryChart::AxisKeyOfDate(45000.75), static_cast<double>(expected.toSecsSinceEpoch()));
    }

    void leftDragZoomsIntoTheRectangleWithAnAnimationAndAnUpwardDragUndoes()
    {
        const SetOf set = Wave(100);
        chart->ShowBars(set, true);
        const auto whole = Ranges();
        const QRect area = chart->axisRect()->rect();
        const QPoint from(area.left() + area.width() * 3 / 10, area.top() + area.height() * 3 / 10);
        const QPoint to(area.left() + area.width() * 6 / 10, area.top() + area.height() * 7 / 10);
        const QCPRange dates(chart->BottomAxis()->pixelToCoord(from.x()), chart->BottomAxis()->pixelToCoord(to.x()));
        const QCPRange prices(chart->PriceAxis()->pixelToCoord(to.y()), chart->PriceAxis()->pixelToCoord(from.y()));
        const QCPRange volumes(chart->VolumeAxis()->pixelToCoord(to.y()), chart->VolumeAxis()->pixelToCoord(from.y()));

        Drag(chart.get(), Qt::LeftButton, from, to);
        QVERIFY(chart->IsZoomed());
        QVERIFY(chart->IsAnimating());
        QVERIFY(!SameRange(chart->PriceAxis()->range(), prices));
        QTRY_VERIFY(!chart->IsAnimating());
        QVERIFY(SameRange(chart->BottomAxis()->range(), dates));
        QVERIFY(SameRange(chart->PriceAxis()->range(), prices));
        QVERIFY(SameRange(chart->VolumeAxis()->range(), volumes));

        // An upward drag or UndoZoom shows the whole history again.
        const QPoint centre = area.center();
        Drag(chart.get(), Qt::LeftButton, centre + QPoint(50, 50), centre - QPoint(50, 50));
        QVERIFY(Ranges() == whole);
        ZoomIntoAPart(*chart);
        chart->UndoZoom();
        QVERIFY(ShowsWholeHistory(*chart, set));
    }

    void rightDragScrollsTheView()
    {
        chart->ShowBars(Wave(60), true);
        const auto whole = Ranges();
        const QCPRange dates = whole[0], price = whole[1];
        const QPoint centre = chart->axisRect()->rect().center();
        const double secondsPerPixel = dates.size() / chart->axisRect()->width();
        const double pricePerPixel = price.size() / chart->axisRect()->height();

        Drag(chart.get(), Qt::RightButton, centre, centre + QPoint(80, 30));
        QVERIFY(chart->IsZoomed());
        QVERIFY(!chart->IsAnimating());
        // The content follows the mouse: the view moves left (earlier) and up (higher).
        QVERIFY(Near(chart->BottomAxis()->range().lower, dates.lower - 80 * secondsPerPixel, secondsPerPixel));
        QVERIFY(Near(chart->BottomAxis()->range().size(), dates.size(), 1e-6));
        QVERIFY(Near(chart->PriceAxis()->range().lower, price.lower + 30 * pricePerPixel, pricePerPixel));

        chart->UndoZoom();
        QVERIFY(Ranges() == whole);
    }

    void gradientBackgroundOffIsWhite()
    {
        chart->ShowBars(Wave(30), true);
        QImage image = Drawn(*chart);
        const QPoint top(2, 1), bottom(2, image.height() - 2);
        QVERIFY(image.pixelColor(top) != image.pixelColor(bottom));
        chart->SetGradientVisible(false);
        QTRY_VERIFY(Drawn(*chart).pixelColor(top) == QColor(Qt::white));
        QCOMPARE(Drawn(*chart).pixelColor(bottom), QColor(Qt::white));
    }
};

QTEST_MAIN(HistoryChartTest)
#include "HistoryChartTest.moc"
