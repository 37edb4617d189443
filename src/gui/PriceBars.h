#pragma once
// The chart's open-high-low-close series. Once bars have narrowed to a single pixel,
// several days share each pixel column of a long history, and QCPFinancial's three
// antialiased lines per day cost most of the chart's repaint while showing no more
// than one line per column. Then each column is drawn as one sharp line from its
// highest high to its lowest low: in the rising colour where rising days reach, in
// the falling colour where falling days do, the colour of the column's last day on
// top as when each day is drawn over the one before. Wider bars are QCPFinancial's own.

#include <qcustomplot.h>

namespace tickforge {

class PriceBars : public QCPFinancial {
public:
    PriceBars(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPFinancial(keyAxis, valueAxis) {}

protected:
    void draw(QCPPainter* painter) override;

private:
    void DrawColumns(QCPPainter* painter);

    // Kept between repaints so that drawing allocates nothing once they have grown.
    QVector<QLineF> lowerRising_, lowerFalling_, upperRising_, upperFalling_;
};

}  // namespace tickforge
