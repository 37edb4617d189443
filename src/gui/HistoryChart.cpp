#include "HistoryChart.h"

#include <QEasingCurve>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tickforge {

namespace {

enum AxisIndex { Bottom = 0, Price = 1, Volume = 2 };

// Sentinels of the extreme values: an empty history spans 0 to 999999.
constexpr double NoHigh = 0.0;
constexpr double NoLow = 999999.0;
// The narrowest fixed range; narrower ones are widened to it.
constexpr double NarrowestRange = 1e-10;
// Half a day of padding keeps the first and last bars whole at the plot's edges.
constexpr double DatePaddingSeconds = 43200.0;
constexpr int ZoomAnimationMs = 250;
// A smaller drag is taken for a click.
constexpr int SmallestDrag = 3;

const QColor RisingColour(0, 0, 255);
const QColor FallingColour(255, 0, 0);
const QColor VolumeColour(0, 128, 0);
const QColor GradientBottom(225, 225, 255);
const QColor GradientTop(254, 233, 222);

// Orders a range given the wrong way round and widens one narrower than 1e-10.
QCPRange FixedRange(double lower, double upper)
{
    if (lower > upper)
        std::swap(lower, upper);
    if (upper - lower < NarrowestRange)
        upper = std::max(lower + NarrowestRange, std::nextafter(lower, std::numeric_limits<double>::infinity()));
    return {lower, upper};
}

QCPRange Blend(const QCPRange& from, const QCPRange& to, double t)
{
    return {from.lower + (to.lower - from.lower) * t, from.upper + (to.upper - from.upper) * t};
}

}  // namespace

double HistoryChart::AxisKeyOfDate(DateTimeValue date)
{
    return (date - UnixEpochDay) * 86400.0;
}

HistoryChart::HistoryChart(QWidget* parent) : QCustomPlot(parent)
{
    setToolTip(QStringLiteral("Select area with left button to zoom, with right button to scroll"));
    setNoAntialiasingOnDrag(true);

    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeSpec(Qt::UTC);
    ticker->setDateTimeFormat(QStringLiteral("d MMM yyyy"));
    ticker->setTickCount(6);
    xAxis->setTicker(ticker);
    xAxis->grid()->setVisible(true);

    yAxis2->setVisible(true);
    yAxis2->setTickLabels(true);
    yAxis2->setLabel(QStringLiteral("Volume"));
    yAxis2->grid()->setVisible(false);
    xAxis2->setVisible(false);

    series1_ = new QCPFinancial(xAxis, yAxis);
    series1_->setName(QStringLiteral("Series1"));
    series1_->setWidthType(QCPFinancial::wtAbsolute);
    series1_->setTwoColored(true);
    series1_->setPen(QPen(FallingColour));
    series1_->setPenPositive(QPen(RisingColour));
    series1_->setPenNegative(QPen(FallingColour));
    series1_->setBrushPositive(QBrush(RisingColour));
    series1_->setBrushNegative(QBrush(FallingColour));
    SetCandleStyle(CandleStyle::Bar, 3);

    series2_ = addGraph(xAxis, yAxis2);
    series2_->setName(QStringLiteral("Series2"));
    series2_->setLineStyle(QCPGraph::lsImpulse);
    series2_->setPen(QPen(VolumeColour, 1));
    series2_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));

    setSelectionRectMode(QCP::srmCustom);
    connect(selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect& rect, QMouseEvent*) { OnRectangleDragged(rect); });

    zoomAnimation_ = new QVariantAnimation(this);
    zoomAnimation_->setDuration(ZoomAnimationMs);
    zoomAnimation_->setStartValue(0.0);
    zoomAnimation_->setEndValue(1.0);
    zoomAnimation_->setEasingCurve(QEasingCurve::OutCubic);
    connect(zoomAnimation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const double t = value.toDouble();
        std::array<QCPRange, 3> ranges;
        for (std::size_t i = 0; i < ranges.size(); ++i)
            ranges[i] = Blend(zoomFrom_[i], zoomTo_[i], t);
        SetRanges(ranges);
        replot(rpQueuedReplot);
    });

    SetGradientVisible(true);
    // Before the first history: 180 days (the panel's designed length) from an
    // arbitrary date, so that the date axis shows its labels, and the value ranges an
    // empty history gets.
    SetRanges({QCPRange(AxisKeyOfDate(45000), AxisKeyOfDate(45180)), FixedRange(NoLow, NoHigh), FixedRange(NoLow, NoHigh)});
    homePrice_ = yAxis->range();
    homeVolume_ = yAxis2->range();
    UpdateMargins();
}

void HistoryChart::ShowBars(const TTimeSeriesSet& bars, bool resetZoom)
{
    if (resetZoom)
        zoomed_ = false;
    zoomAnimation_->stop();

    const std::int32_t count = bars.Length();
    const TTimeSeries& close = bars.At(SeriesClose);
    const TTimeSeries& volume = bars.At(SeriesVolume);
    const TTimeSeries& open = bars.At(SeriesOpen);
    const TTimeSeries& high = bars.At(SeriesHigh);
    const TTimeSeries& low = bars.At(SeriesLow);

    double highestHigh = NoHigh;
    double lowestLow = NoLow;
    double highestVolume = NoHigh;
    double lowestVolume = NoLow;
    QVector<QCPFinancialData> candles;
    QVector<double> keys;
    QVector<double> volumes;
    candles.reserve(count);
    keys.reserve(count);
    volumes.reserve(count);
    for (std::int32_t i = 0; i < count; ++i) {
        const double h = high.GetValue(i);
        const double l = low.GetValue(i);
        const double v = volume.GetValue(i);
        highestHigh = std::max(highestHigh, h);
        lowestLow = std::min(lowestLow, l);
        highestVolume = std::max(highestVolume, v);
        lowestVolume = std::min(lowestVolume, v);
        const double key = AxisKeyOfDate(close.GetTime(i));
        candles.append(QCPFinancialData(key, open.GetValue(i), h, l, close.GetValue(i)));
        keys.append(key);
        volumes.append(v);
    }
    series1_->data()->set(candles, false);
    series2_->setData(keys, volumes, false);

    homePrice_ = FixedRange(lowestLow, highestHigh);
    homeVolume_ = FixedRange(lowestVolume, 4 * highestVolume);
    if (!zoomed_)
        UndoZoom();
    else
        replot(rpQueuedReplot);
}

void HistoryChart::SetCandleStyle(CandleStyle style, double widthPixels)
{
    series1_->setChartStyle(style == CandleStyle::Bar ? QCPFinancial::csOhlc : QCPFinancial::csCandlestick);
    series1_->setWidth(widthPixels);
    replot(rpQueuedReplot);
}

HistoryChart::CandleStyle HistoryChart::Style() const
{
    return series1_->chartStyle() == QCPFinancial::csOhlc ? CandleStyle::Bar : CandleStyle::Candlestick;
}

double HistoryChart::CandleWidth() const
{
    return series1_->width();
}

void HistoryChart::SetGradientVisible(bool visible)
{
    gradientVisible_ = visible;
    PaintBackground();
    replot(rpQueuedReplot);
}

void HistoryChart::PaintBackground()
{
    if (!gradientVisible_) {
        setBackground(QPixmap());
        setBackground(QBrush(Qt::white));
        return;
    }
    // The gradient is painted once per size: blitting it on every replot costs far
    // less than filling it.
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(QSize(std::max(1, width()), std::max(1, height())) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    QPainter painter(&pixmap);
    QLinearGradient gradient(0, height(), 0, 0);  // bottom to top of the whole chart
    gradient.setColorAt(0, GradientBottom);
    gradient.setColorAt(1, GradientTop);
    painter.fillRect(QRect(0, 0, width(), height()), gradient);
    painter.end();
    setBackground(QBrush(Qt::NoBrush));
    setBackground(pixmap, false);
}

void HistoryChart::UndoZoom()
{
    zoomAnimation_->stop();
    zoomed_ = false;
    // The data's own dates: the series' key range would add half a bar width, which
    // is in pixels, as if it were seconds on the date axis.
    bool haveDates = false;
    const QCPRange dates = series1_->data()->keyRange(haveDates);
    QCPRange bottom = xAxis->range();
    if (haveDates)
        bottom = QCPRange(dates.lower - DatePaddingSeconds, dates.upper + DatePaddingSeconds);
    SetRanges({bottom, homePrice_, homeVolume_});
    replot(rpQueuedReplot);
}

void HistoryChart::ZoomToRect(const QRect& rect, bool animated)
{
    const QRect r = rect.normalized();
    zoomFrom_ = CurrentRanges();
    zoomTo_ = {FixedRange(xAxis->pixelToCoord(r.left()), xAxis->pixelToCoord(r.right())),
               FixedRange(yAxis->pixelToCoord(r.bottom()), yAxis->pixelToCoord(r.top())),
               FixedRange(yAxis2->pixelToCoord(r.bottom()), yAxis2->pixelToCoord(r.top()))};
    zoomed_ = true;
    zoomAnimation_->stop();
    if (animated) {
        zoomAnimation_->start();
    } else {
        SetRanges(zoomTo_);
        replot(rpQueuedReplot);
    }
}

void HistoryChart::ScrollByPixels(QPoint delta)
{
    for (QCPAxis* axis : {xAxis, yAxis, yAxis2}) {
        const double origin = axis->orientation() == Qt::Horizontal ? axisRect()->left() : axisRect()->bottom();
        const double moved = origin + (axis->orientation() == Qt::Horizontal ? delta.x() : delta.y());
        axis->moveRange(axis->pixelToCoord(origin) - axis->pixelToCoord(moved));
    }
    zoomed_ = true;
    replot(rpQueuedReplot);
}

bool HistoryChart::IsAnimating() const
{
    return zoomAnimation_->state() == QAbstractAnimation::Running;
}

void HistoryChart::OnRectangleDragged(const QRect& rect)
{
    const QPoint start = rect.topLeft();
    const QPoint end = rect.bottomRight();
    if (std::abs(end.x() - start.x()) < SmallestDrag || std::abs(end.y() - start.y()) < SmallestDrag)
        return;
    if (end.x() < start.x() && end.y() < start.y()) {
        UndoZoom();
        return;
    }
    ZoomToRect(rect, true);
}

void HistoryChart::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        zoomAnimation_->stop();
        scrolling_ = true;
        scrollOrigin_ = event->position().toPoint();
        scrollStart_ = CurrentRanges();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton)
        QCustomPlot::mousePressEvent(event);
}

void HistoryChart::mouseMoveEvent(QMouseEvent* event)
{
    if (scrolling_) {
        SetRanges(scrollStart_);
        ScrollByPixels(event->position().toPoint() - scrollOrigin_);
        event->accept();
        return;
    }
    QCustomPlot::mouseMoveEvent(event);
}

void HistoryChart::mouseReleaseEvent(QMouseEvent* event)
{
    if (scrolling_ && event->button() == Qt::RightButton) {
        scrolling_ = false;
        event->accept();
        return;
    }
    QCustomPlot::mouseReleaseEvent(event);
}

void HistoryChart::resizeEvent(QResizeEvent* event)
{
    UpdateMargins();
    if (gradientVisible_)
        PaintBackground();
    QCustomPlot::resizeEvent(event);
}

std::array<QCPRange, 3> HistoryChart::CurrentRanges() const
{
    return {xAxis->range(), yAxis->range(), yAxis2->range()};
}

void HistoryChart::SetRanges(const std::array<QCPRange, 3>& ranges)
{
    xAxis->setRange(ranges[Bottom]);
    yAxis->setRange(ranges[Price]);
    yAxis2->setRange(ranges[Volume]);
}

void HistoryChart::UpdateMargins()
{
    // 2 percent of the chart's size above, 1 to the right, 5 below.
    plotLayout()->setMargins(QMargins(0, height() * 2 / 100, width() / 100, height() * 5 / 100));
}

}  // namespace tickforge
