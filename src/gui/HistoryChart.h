#pragma once
// The chart of one daily bar set: open-high-low-close bars or candlesticks on the left
// axis, the day's volume as thin green lines on the right axis, dates along the bottom.
// Left-drag a rectangle to zoom into it (animated), drag towards the upper left to
// undo the zoom, right-drag to scroll.
//
// Bar and candle widths are given in screen pixels (QCPFinancial::wtAbsolute), so a
// style keeps its look at every zoom level. Every change is drawn at the next turn of
// the event loop, so that a load and the window's own repaint are drawn together.

#include "platform/DateTime.h"
#include "series/TimeSeries.h"

#include <qcustomplot.h>

#include <array>

class QVariantAnimation;

namespace tickforge {

class HistoryChart : public QCustomPlot {
    Q_OBJECT

public:
    enum class CandleStyle { Bar, Candlestick };

    explicit HistoryChart(QWidget* parent = nullptr);

    // Loads the bars: one candle and one volume line per bar, both at the bar's close
    // time. The price axis spans the lowest low to the highest high, the volume axis
    // the lowest volume to four times the highest. With resetZoom the view returns to
    // the whole history; without it a zoomed or scrolled view stays where it is and
    // the new ranges take effect at the next UndoZoom.
    void ShowBars(const TTimeSeriesSet& bars, bool resetZoom);

    void SetCandleStyle(CandleStyle style, double widthPixels);
    CandleStyle Style() const;
    double CandleWidth() const;

    void SetGradientVisible(bool visible);
    bool GradientVisible() const { return gradientVisible_; }

    // Back to the whole history: the price and volume ranges of the last ShowBars,
    // the date axis over all bars.
    void UndoZoom();
    // Zooms every axis into a rectangle of widget pixels.
    void ZoomToRect(const QRect& rect, bool animated = true);
    // Moves the view as a right-drag by delta pixels would.
    void ScrollByPixels(QPoint delta);
    bool IsZoomed() const { return zoomed_; }
    bool IsAnimating() const;

    QCPFinancial* Series1() const { return series1_; }
    QCPGraph* Series2() const { return series2_; }
    QCPAxis* BottomAxis() const { return xAxis; }
    QCPAxis* PriceAxis() const { return yAxis; }
    QCPAxis* VolumeAxis() const { return yAxis2; }

    // The bottom axis counts seconds since 1 January 1970 (UTC, i.e. wall-clock time).
    static double AxisKeyOfDate(DateTimeValue date);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnRectangleDragged(const QRect& rect);
    std::array<QCPRange, 3> CurrentRanges() const;
    void SetRanges(const std::array<QCPRange, 3>& ranges);
    void UpdateMargins();
    void PaintBackground();

    QCPFinancial* series1_ = nullptr;
    QCPGraph* series2_ = nullptr;
    QCPRange homePrice_{0, 1};
    QCPRange homeVolume_{0, 1};
    bool zoomed_ = false;
    bool gradientVisible_ = true;

    QVariantAnimation* zoomAnimation_ = nullptr;
    std::array<QCPRange, 3> zoomFrom_{};
    std::array<QCPRange, 3> zoomTo_{};

    bool scrolling_ = false;
    QPoint scrollOrigin_;
    std::array<QCPRange, 3> scrollStart_{};
};

}  // namespace tickforge
