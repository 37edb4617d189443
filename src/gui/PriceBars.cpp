#include "PriceBars.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tickforge {

namespace {

// The pixel span that the days of one colour in a column reach; top < bottom on screen.
struct Reach {
    double top = std::numeric_limits<double>::infinity();
    double bottom = -std::numeric_limits<double>::infinity();

    bool Empty() const { return top > bottom; }
    void Add(double highPixel, double lowPixel)
    {
        top = std::min(top, highPixel);
        bottom = std::max(bottom, lowPixel);
    }
    QLineF At(double column) const { return {column, top, column, bottom}; }
};

}  // namespace

void PriceBars::draw(QCPPainter* painter)
{
    if (widthType() == wtAbsolute && width() <= 1 && twoColored() && keyAxis() && valueAxis())
        DrawColumns(painter);
    else
        QCPFinancial::draw(painter);
}

void PriceBars::DrawColumns(QCPPainter* painter)
{
    QCPFinancialDataContainer::const_iterator begin;
    QCPFinancialDataContainer::const_iterator end;
    getVisibleDataBounds(begin, end);
    for (auto* lines : {&lowerRising_, &lowerFalling_, &upperRising_, &upperFalling_})
        lines->clear();

    const QCPAxis* keys = keyAxis();
    const QCPAxis* values = valueAxis();
    double column = std::numeric_limits<double>::quiet_NaN();
    Reach rising;
    Reach falling;
    bool lastRising = true;
    const auto endColumn = [&] {
        const Reach& upper = lastRising ? rising : falling;
        const Reach& lower = lastRising ? falling : rising;
        if (!lower.Empty())
            (lastRising ? lowerFalling_ : lowerRising_).append(lower.At(column));
        if (!upper.Empty())
            (lastRising ? upperRising_ : upperFalling_).append(upper.At(column));
        rising = falling = Reach();
    };
    for (auto it = begin; it != end; ++it) {
        const double x = std::round(keys->coordToPixel(it->key));
        if (x != column) {
            endColumn();
            column = x;
        }
        lastRising = it->close >= it->open;
        (lastRising ? rising : falling).Add(values->coordToPixel(it->high), values->coordToPixel(it->low));
    }
    endColumn();

    // Whole-pixel columns need no antialiasing, and skipping it is what makes them cheap.
    painter->setAntialiasing(false);
    const auto drawIn = [painter](const QPen& pen, const QVector<QLineF>& lines) {
        painter->setPen(pen);
        painter->drawLines(lines);
    };
    drawIn(penNegative(), lowerFalling_);
    drawIn(penPositive(), lowerRising_);
    drawIn(penNegative(), upperFalling_);
    drawIn(penPositive(), upperRising_);
}

}  // namespace tickforge
