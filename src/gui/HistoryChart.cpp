#include "HistoryChart.h"

#include "DateAxisTicker.h"
#include "PriceBars.h"
#include "UserAlerts.h"
#include "export/ExportError.h"

#include <QEasingCurve>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryFile>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <limits>
#include <cstdio>
#include <utility>

#include <sys/stat.h>

namespace tickforge {

namespace {

enum AxisIndex { Bottom = 0, Price = 1, Volume = 2 };

// Sentinels of the extreme values: an empty history spans 0 to 999999.
constexpr double NoHigh = 0.0;
constexpr double NoLow = 999999.0;
// The narrowest fixed range; narrower ones are widened to it.
constexpr double NarrowestRange = 1e-10;
constexpr double SecondsPerDay = DateAxisTicker::SecondsPerDay;
// At least half a day beyond the first and last bars, and at least half a drawn bar
// and this many pixels more, keeps both whole at the plot's edges.
constexpr double DatePaddingSeconds = SecondsPerDay / 2;
constexpr double DatePaddingPixels = 2.0;
// Neighbouring days keep this many pixels between their bars while bars can narrow.
constexpr double PixelsBetweenDays = 1.0;
// A price span below this share of the prices' size gives labels that repeat.
constexpr double NarrowestRelativeSpan = 1e-3;
constexpr double NarrowestPriceSpan = 1e-6;
constexpr double NarrowestVolumeSpan = 1.0;
// Wheel zoom: one notch scales the date span by this factor; no closer than a day and
// no wider than ten times the whole history.
constexpr double WheelZoomFactor = 0.8;
constexpr double ClosestDateSpan = SecondsPerDay;
constexpr double WidestZoomOut = 10.0;
// The read-out follows bars within half a day, or this many pixels when days are narrower.
constexpr double ReadOutReachPixels = 4.0;
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

QCPRange FixedRange(const QCPRange& range) { return FixedRange(range.lower, range.upper); }

// A span too narrow for distinct labels widened to the narrowest one: about its middle,
// or upwards from its lower end.
QCPRange Widened(const QCPRange& range, double narrowestSpan, bool fromLowerEnd)
{
    const double span = std::max(narrowestSpan, NarrowestRelativeSpan * std::max(std::fabs(range.lower), std::fabs(range.upper)));
    if (range.size() >= span)
        return range;
    if (fromLowerEnd)
        return {range.lower, range.lower + span};
    const double middle = range.center();
    return {middle - span / 2, middle + span / 2};
}

// The style's width while it leaves a pixel between days, narrower down to a line.
double FittedWidth(double styleWidth, double pixelsPerDay)
{
    return std::clamp(std::floor(pixelsPerDay - PixelsBetweenDays), 1.0, styleWidth);
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

    xAxis->setTicker(QSharedPointer<DateAxisTicker>::create(xAxis));
    xAxis->setSubTicks(false);
    xAxis->setTicks(false);  // no dates until there are bars

    yAxis2->setVisible(true);
    yAxis2->setLabel(QStringLiteral("Volume"));

    series1_ = new PriceBars(xAxis, yAxis);
    series1_->setName(QStringLiteral("Series1"));
    series1_->setWidthType(QCPFinancial::wtAbsolute);
    series1_->setTwoColored(true);
    series1_->setPenPositive(QPen(RisingColour));
    series1_->setPenNegative(QPen(FallingColour));
    series1_->setBrushPositive(QBrush(RisingColour));
    series1_->setBrushNegative(QBrush(FallingColour));
    SetCandleStyle(CandleStyle::Bar, 3);

    series2_ = addGraph(xAxis, yAxis2);
    series2_->setName(QStringLiteral("Series2"));
    // Beneath the bars, so that dense volume lines do not cover the lowest prices.
    addLayer(QStringLiteral("volume"), layer(QStringLiteral("main")), limBelow);
    series2_->setLayer(QStringLiteral("volume"));
    series2_->setLineStyle(QCPGraph::lsImpulse);
    series2_->setPen(QPen(VolumeColour, 1));

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

    // The read-out has a layer of its own, redrawn alone as the mouse moves.
    addLayer(QStringLiteral("readout"), layer(QStringLiteral("axes")), limAbove);
    readOutLayer_ = layer(QStringLiteral("readout"));
    readOutLayer_->setMode(QCPLayer::lmBuffered);
    crosshair_ = new QCPItemTracer(this);
    crosshair_->setLayer(readOutLayer_);
    crosshair_->setStyle(QCPItemTracer::tsCrosshair);
    crosshair_->setPen(QPen(QColor(64, 64, 64, 160), 0, Qt::DotLine));
    crosshair_->setVisible(false);
    readOut_ = new QCPItemText(this);
    readOut_->setLayer(readOutLayer_);
    readOut_->setClipToAxisRect(true);
    readOut_->position->setType(QCPItemPosition::ptAxisRectRatio);
    readOut_->setTextAlignment(Qt::AlignLeft);
    readOut_->setPadding(QMargins(4, 2, 4, 2));
    readOut_->setPen(QPen(QColor(128, 128, 128)));
    readOut_->setBrush(QBrush(QColor(255, 255, 255, 230)));
    readOut_->setVisible(false);
    connect(this, &QCustomPlot::beforeReplot, this, &HistoryChart::FitToPixels);

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

    hasBars_ = count > 0;
    homePrice_ = homeVolume_ = FixedRange(NoLow, NoHigh);
    if (hasBars_) {
        const auto ordered = [](double a, double b) { return QCPRange(std::min(a, b), std::max(a, b)); };
        homePrice_ = FixedRange(Widened(ordered(lowestLow, highestHigh), NarrowestPriceSpan, false));
        homeVolume_ = FixedRange(Widened(ordered(lowestVolume, 4 * highestVolume), NarrowestVolumeSpan, true));
    }
    xAxis->setTicks(hasBars_);
    HideReadOut();
    if (!zoomed_)
        UndoZoom();
    else
        replot(rpQueuedReplot);
}

void HistoryChart::SetCandleStyle(CandleStyle style, double widthPixels)
{
    series1_->setChartStyle(style == CandleStyle::Bar ? QCPFinancial::csOhlc : QCPFinancial::csCandlestick);
    styleWidth_ = widthPixels;
    series1_->setWidth(widthPixels);
    replot(rpQueuedReplot);
}

HistoryChart::CandleStyle HistoryChart::Style() const
{
    return series1_->chartStyle() == QCPFinancial::csOhlc ? CandleStyle::Bar : CandleStyle::Candlestick;
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
    SetRanges({xAxis->range(), homePrice_, homeVolume_});
    if (hasBars_) {
        // The axis's length depends on the price labels' widths: lay out first.
        updateLayout();
        xAxis->setRange(HomeDates());
    }
    replot(rpQueuedReplot);
}

QCPRange HistoryChart::HomeDates() const
{
    // The data's own dates: the series' key range would add half a bar width, which
    // is in pixels, as if it were seconds on the date axis.
    bool haveDates = false;
    const QCPRange dates = series1_->data()->keyRange(haveDates);
    const double span = dates.size();
    const double length = std::max(1, axisRect()->width());
    // The width drawn at half a day's padding; more padding only narrows it.
    const double width = FittedWidth(styleWidth_, length * SecondsPerDay / (span + SecondsPerDay));
    const double reach = width / 2 + DatePaddingPixels;
    // reach pixels of a range span + 2 * padding over length pixels.
    double padding = DatePaddingSeconds;
    if (length > 2 * reach)
        padding = std::max(padding, reach * span / (length - 2 * reach));
    return {dates.lower - padding, dates.upper + padding};
}

void HistoryChart::FitToPixels()
{
    if (!zoomed_ && hasBars_) {
        // The layout of this replot, so that the dates fit the axis's new length.
        updateLayout();
        xAxis->setRange(HomeDates());
    }
    const double pixelsPerDay = axisRect()->width() * SecondsPerDay / xAxis->range().size();
    series1_->setWidth(FittedWidth(styleWidth_, pixelsPerDay));
}

void HistoryChart::WheelZoom(double x, double notches)
{
    if (!hasBars_)
        return;
    zoomAnimation_->stop();
    const QCPRange range = xAxis->range();
    const double centre = xAxis->pixelToCoord(x);
    const double widest = WidestZoomOut * HomeDates().size();
    const double span = std::clamp(range.size() * std::pow(WheelZoomFactor, notches), ClosestDateSpan, widest);
    const double factor = span / range.size();
    xAxis->setRange(centre + (range.lower - centre) * factor, centre + (range.upper - centre) * factor);
    zoomed_ = true;
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
    HideReadOut();
    if (event->button() == Qt::RightButton) {
        zoomAnimation_->stop();
        scrolling_ = true;
        zoomedBeforeScroll_ = zoomed_;
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
    if (event->buttons() == Qt::NoButton)
        ShowReadOutAt(event->position());
    QCustomPlot::mouseMoveEvent(event);
}

void HistoryChart::mouseReleaseEvent(QMouseEvent* event)
{
    if (scrolling_ && event->button() == Qt::RightButton) {
        scrolling_ = false;
        event->accept();
        // A right click without a drag opens the menu and leaves the view as it was.
        if ((event->position().toPoint() - scrollOrigin_).manhattanLength() < SmallestDrag) {
            SetRanges(scrollStart_);
            zoomed_ = zoomedBeforeScroll_;
            replot(rpQueuedReplot);
            ShowContextMenu(event->globalPosition().toPoint());
        }
        return;
    }
    QCustomPlot::mouseReleaseEvent(event);
}

void HistoryChart::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0 || !hasBars_) {
        event->ignore();
        return;
    }
    WheelZoom(event->position().x(), notches);
    ShowReadOutAt(event->position());
    event->accept();
}

void HistoryChart::leaveEvent(QEvent* event)
{
    HideReadOut();
    QCustomPlot::leaveEvent(event);
}

// --- Read-out -------------------------------------------------------------------

int HistoryChart::BarNear(double x) const
{
    const auto& bars = *series1_->data();
    if (bars.isEmpty())
        return -1;
    const double key = xAxis->pixelToCoord(x);
    auto at = std::lower_bound(bars.constBegin(), bars.constEnd(), key,
                               [](const QCPFinancialData& bar, double k) { return bar.key < k; });
    if (at == bars.constEnd() || (at != bars.constBegin() && key - (at - 1)->key < at->key - key))
        --at;
    const double pixelsPerDay = axisRect()->width() * SecondsPerDay / xAxis->range().size();
    if (std::fabs(xAxis->coordToPixel(at->key) - x) > std::max(pixelsPerDay / 2, ReadOutReachPixels))
        return -1;
    return static_cast<int>(at - bars.constBegin());
}

void HistoryChart::ShowReadOutAt(QPointF at)
{
    const int bar = axisRect()->rect().contains(at.toPoint()) ? BarNear(at.x()) : -1;
    if (bar < 0) {
        HideReadOut();
        return;
    }
    const QCPFinancialData& d = *(series1_->data()->constBegin() + bar);
    const double volume = (series2_->data()->constBegin() + bar)->value;
    const QLocale shown = locale();
    const QDate date = QDate(1970, 1, 1).addDays(static_cast<qint64>(std::floor(d.key / SecondsPerDay)));
    const auto price = [&shown](double value) { return shown.toString(value, 'g', 7); };
    readOut_->setText(QStringLiteral("%1\nOpen %2\nHigh %3\nLow %4\nClose %5\nVolume %6")
                          .arg(shown.toString(date, QStringLiteral("d MMM yyyy")), price(d.open), price(d.high),
                               price(d.low), price(d.close), shown.toString(volume, 'f', 0)));
    // In the half of the plot away from the bar, so that it never hides it.
    const bool barOnLeft = xAxis->coordToPixel(d.key) < axisRect()->center().x();
    readOut_->position->setCoords(barOnLeft ? 0.99 : 0.01, 0.02);
    readOut_->setPositionAlignment(Qt::AlignTop | (barOnLeft ? Qt::AlignRight : Qt::AlignLeft));
    crosshair_->position->setCoords(d.key, yAxis->pixelToCoord(at.y()));
    readOut_->setVisible(true);
    crosshair_->setVisible(true);
    readOutLayer_->replot();
}

QString HistoryChart::ReadOutText() const
{
    return readOut_->visible() ? readOut_->text() : QString();
}

void HistoryChart::HideReadOut()
{
    if (!readOut_->visible())
        return;
    readOut_->setVisible(false);
    crosshair_->setVisible(false);
    readOutLayer_->replot();
}

// --- Saving the picture ---------------------------------------------------------

void HistoryChart::ShowContextMenu(QPoint globalAt)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Save Chart as PNG..."), this, [this] { AskAndSave(false); });
    menu.addAction(QStringLiteral("Save Chart as PDF..."), this, [this] { AskAndSave(true); });
    if (!actions().isEmpty()) {
        menu.addSeparator();
        menu.addActions(actions());
    }
    menu.exec(globalAt);
}

void HistoryChart::AskAndSave(bool pdf)
{
    const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Chart"), QStringLiteral("chart") + suffix,
                                                pdf ? QStringLiteral("PDF document (*.pdf)") : QStringLiteral("PNG image (*.png)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    try {
        SaveChart(path);
    } catch (const ExportError& error) {
        ShowAlertBox(this, AlertBox{QString::fromStdString(error.what()), QString::fromStdString(error.Title()), AlertIcon::None});
    }
}

void HistoryChart::SaveChart(const QString& path)
{
    HideReadOut();
    const QFileInfo target(path);
    // Written beside the target under another name and renamed over it when whole.
    QTemporaryFile staged(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    bool saved = staged.open();
    if (saved) {
        staged.close();
        const QString stagedPath = staged.fileName();
        saved = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? savePdf(stagedPath, width(), height())
                                                                           : savePng(stagedPath, width(), height());
        // The mode a new file gets (or the one the file has), not the staging file's 0600.
        struct stat existing {};
        mode_t mode = 0666;
        if (::stat(QFile::encodeName(path).constData(), &existing) == 0) {
            mode = existing.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode &= ~mask;
        }
        saved = saved && ::chmod(QFile::encodeName(stagedPath).constData(), mode) == 0 &&
                std::rename(QFile::encodeName(stagedPath).constData(), QFile::encodeName(path).constData()) == 0;
        if (saved)
            staged.setAutoRemove(false);
    }
    if (!saved)
        throw ExportError(FileErrorMessage(path.toStdString()), messages::FileErrorTitle);
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
