#pragma once
// Date ticks for an axis whose keys count seconds since 1 January 1970 (UTC). The step
// is the smallest whole unit (1, 2 or 3 days, 1 or 2 weeks, 1 or 2 months, a quarter,
// half a year, 1, 2 or 5 years times a power of ten) whose labels leave a gap between
// each other at the axis's present length, so that no two labels overlap and none
// repeats. Ticks lie on midnights only, also when the axis spans less than a day. The
// label follows the step ("6 Dec", "Dec", "2027") and adds the year at the first tick
// and wherever the year changes, or to every label where one would otherwise repeat.

#include <qcustomplot.h>

namespace tickforge {

class DateAxisTicker : public QCPAxisTicker {
public:
    // axis: the axis that uses this ticker, for its length and its label font.
    explicit DateAxisTicker(const QCPAxis* axis) : axis_(axis) {}

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) override;

    static constexpr double SecondsPerDay = 86400.0;

private:
    const QCPAxis* axis_;
};

}  // namespace tickforge
