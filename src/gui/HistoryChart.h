#pragma once
// The chart of one daily bar set: open-high-low-close bars or candlesticks on the left
// axis, the day's volume as thin green lines on the right axis, dates along the bottom.
// Left-drag a rectangle to zoom into it (animated), drag towards the upper left to
// undo the zoom, right-drag to scroll, turn the wheel to zoom the dates about the
// cursor; a right click without a drag opens the menu that saves the picture. Hovering
// shows the values of the bar under the cursor.
//
// Bar and candle widths are given in screen pixels (QCPFinancial::wtAbsolute), so a
// style keeps its look at every zoom level; where the days lie closer than the style's
// width, bars narrow to leave a pixel between days, down to a single line. Every change
// is drawn at the next turn of the event loop, so that a load and the window's own
// repaint are drawn together.

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
    // the lowest volume to four times the highest; a span too narrow for distinct
    // labels is widened about its middle (the volume's from its lower end). With
    // resetZoom the view returns to the whole history; without it a zoomed or scrolled
    // view stays where it is and the new ranges take effect at the next UndoZoom.
    // Without bars the date axis shows no ticks.
    void ShowBars(const TTimeSeriesSet& bars, bool resetZoom);

    void SetCandleStyle(CandleStyle style, double widthPixels);
    CandleStyle Style() const;
    // The style's width; DrawnCandleWidth is the width that fits the days in view.
    double CandleWidth() const { return styleWidth_; }
    double DrawnCandleWidth() const { return series1_->width(); }

    void SetGradientVisible(bool visible);
    bool GradientVisible() const { return gradientVisible_; }

    // Back to the whole history: the price and volume ranges of the last ShowBars,
    // the date axis over all bars with room for half a drawn bar beyond each end.
    void UndoZoom();
    // Zooms every axis into a rectangle of widget pixels.
    void ZoomToRect(const QRect& rect, bool animated = true);
    // Moves the view as a right-drag by delta pixels would.
    void ScrollByPixels(QPoint delta);
    // Zooms the date axis about widget column x by wheel notches (positive: in).
    void WheelZoom(double x, double notches);
    bool IsZoomed() const { return zoomed_; }
    bool IsAnimating() const;

    // The read-out as the mouse at widget point at would show it; empty when hidden.
    void ShowReadOutAt(QPointF at);
    QString ReadOutText() const;
    QCPItemText* ReadOut() const { return readOut_; }

    // Saves the chart at its size through QCustomPlot's export: PDF for a name ending
    // in ".pdf", PNG otherwise. A file that cannot be written raises an ExportError
    // ("File Error") and leaves an existing file as it was.
    void SaveChart(const QString& path);

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
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnRectangleDragged(const QRect& rect);
    std::array<QCPRange, 3> CurrentRanges() const;
    void SetRanges(const std::array<QCPRange, 3>& ranges);
    void UpdateMargins();
    void PaintBackground();
    // Before each replot: the whole history's dates for the present size when not
    // zoomed, and the bar width that fits the days in view.
    void FitToPixels();
    QCPRange HomeDates() const;
    int BarNear(double x) const;
    void HideReadOut();
    void ShowContextMenu(QPoint globalAt);
    void AskAndSave(bool pdf);

    QCPFinancial* series1_ = nullptr;
    QCPGraph* series2_ = nullptr;
    double styleWidth_ = 3;
    bool hasBars_ = false;
    QCPRange homePrice_{0, 1};
    QCPRange homeVolume_{0, 1};
    bool zoomed_ = false;
    bool gradientVisible_ = true;

    QVariantAnimation* zoomAnimation_ = nullptr;
    std::array<QCPRange, 3> zoomFrom_{};
    std::array<QCPRange, 3> zoomTo_{};

    bool scrolling_ = false;
    bool zoomedBeforeScroll_ = false;
    QPoint scrollOrigin_;
    std::array<QCPRange, 3> scrollStart_{};

    QCPLayer* readOutLayer_ = nullptr;
    QCPItemTracer* crosshair_ = nullptr;
    QCPItemText* readOut_ = nullptr;
};

}  // namespace tickforge
