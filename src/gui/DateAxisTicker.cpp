#include "DateAxisTicker.h"

#include <QFontMetrics>
#include <QSet>

#include <cmath>

namespace tickforge {

namespace {

enum class Unit { Day, Week, Month, Year };

struct Step {
    Unit unit;
    int count;
    double shortestDays;  // the step's fewest days: months and years vary
};

const QDate Epoch(1970, 1, 1);  // key 0

// 1 January 1970 was a Thursday; weeks start on Mondays, the 5th.
constexpr qint64 FirstMonday = 4;

qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

QDate DateOfDay(qint64 day) { return Epoch.addDays(day); }

// The tick days of step within [first, last] days since 1970.
QVector<qint64> TickDays(const Step& step, qint64 first, qint64 last)
{
    QVector<qint64> days;
    switch (step.unit) {
    case Unit::Day:
    case Unit::Week: {
        const qint64 period = step.unit == Unit::Day ? step.count : 7LL * step.count;
        const qint64 origin = step.unit == Unit::Day ? 0 : FirstMonday;
        for (qint64 d = origin + (FloorDiv(first - origin - 1, period) + 1) * period; d <= last; d += period)
            days.append(d);
        break;
    }
    case Unit::Month:
    case Unit::Year: {
        const int months = step.unit == Unit::Month ? step.count : 12 * step.count;
        const QDate from = DateOfDay(first);
        qint64 index = FloorDiv(from.year() * 12LL + from.month() - 1 + months - 1, months) * months;
        if (QDate(static_cast<int>(FloorDiv(index, 12)), static_cast<int>(index - FloorDiv(index, 12) * 12) + 1, 1) <
            from)
            index += months;
        for (;; index += months) {
            const QDate date(static_cast<int>(FloorDiv(index, 12)), static_cast<int>(index - FloorDiv(index, 12) * 12) + 1,
                             1);
            const qint64 day = Epoch.daysTo(date);
            if (!date.isValid() || day > last)
                break;
            days.append(day);
        }
        break;
    }
    }
    return days;
}

// The labels of the tick days, with the year where it changes; when a label would
// repeat (the same month in two years), every label has its year.
QVector<QString> Labels(const Step& step, const QVector<qint64>& days, const QLocale& locale, bool everyYear = false)
{
    QVector<QString> labels;
    int previousYear = 0;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QDate date = DateOfDay(days[i]);
        const bool yearChanges = everyYear || i == 0 || date.year() != previousYear;
        previousYear = date.year();
        switch (step.unit) {
        case Unit::Day:
        case Unit::Week:
            labels.append(locale.toString(date, yearChanges ? QStringLiteral("d MMM yyyy") : QStringLiteral("d MMM")));
            break;
        case Unit::Month:
            labels.append(locale.toString(date, yearChanges ? QStringLiteral("MMM yyyy") : QStringLiteral("MMM")));
            break;
        case Unit::Year:
            labels.append(QString::number(date.year()));
            break;
        }
    }
    if (!everyYear && QSet<QString>(labels.begin(), labels.end()).size() != labels.size())
        return Labels(step, days, locale, true);
    return labels;
}

// The next coarser step after step; years go on as 1, 2, 5 times powers of ten.
Step Coarser(const Step& step)
{
    switch (step.unit) {
    case Unit::Day:
        return step.count < 3 ? Step{Unit::Day, step.count + 1, step.count + 1.0} : Step{Unit::Week, 1, 7};
    case Unit::Week:
        return step.count < 2 ? Step{Unit::Week, 2, 14} : Step{Unit::Month, 1, 28};
    case Unit::Month:
        if (step.count == 1)
            return {Unit::Month, 2, 59};
        if (step.count == 2)
            return {Unit::Month, 3, 89};
        if (step.count == 3)
            return {Unit::Month, 6, 181};
        return {Unit::Year, 1, 365};
    case Unit::Year: {
        const double magnitude = std::pow(10.0, std::floor(std::log10(step.count)));
        const int lead = static_cast<int>(step.count / magnitude);
        const int next = static_cast<int>((lead == 1 ? 2 : lead == 2 ? 5 : 10) * magnitude);
        return {Unit::Year, next, 365.0 * next};
    }
    }
    return step;
}

}  // namespace

void DateAxisTicker::generate(const QCPRange& range, const QLocale& locale, QChar, int, QVector<double>& ticks,
                              QVector<double>* subTicks, QVector<QString>* tickLabels)
{
    ticks.clear();
    if (subTicks)
        subTicks->clear();
    if (tickLabels)
        tickLabels->clear();

    const double length = std::max(1, axis_->axisRect()->width());
    const double pixelsPerSecond = length / range.size();
    const QFontMetrics metrics(axis_->tickLabelFont());
    const double gap = metrics.horizontalAdvance(QStringLiteral("MM"));
    const double narrowest = metrics.horizontalAdvance(QStringLiteral("0000"));
    // Beyond some ten thousand years no date is worth a label (and QDate ends).
    constexpr double LongestSpanDays = 4e6;
    if (!(std::fabs(range.lower) / SecondsPerDay < LongestSpanDays && std::fabs(range.upper) / SecondsPerDay < LongestSpanDays))
        return;
    const qint64 first = static_cast<qint64>(std::ceil(range.lower / SecondsPerDay));
    const qint64 last = static_cast<qint64>(std::floor(range.upper / SecondsPerDay));
    if (last < first)
        return;

    QVector<qint64> days;
    QVector<QString> labels;
    for (Step step{Unit::Day, 1, 1};; step = Coarser(step)) {
        // Steps whose shortest span is narrower than any label cannot fit.
        const bool wholeRangeInOneStep = step.shortestDays > static_cast<double>(last - first);
        if (step.shortestDays * SecondsPerDay * pixelsPerSecond < narrowest + gap && !wholeRangeInOneStep)
            continue;
        days = TickDays(step, first, last);
        labels = Labels(step, days, locale);
        bool fits = true;
        for (qsizetype i = 1; i < days.size() && fits; ++i) {
            const double apart = static_cast<double>(days[i] - days[i - 1]) * SecondsPerDay * pixelsPerSecond;
            fits = apart >= (metrics.horizontalAdvance(labels[i - 1]) + metrics.horizontalAdvance(labels[i])) / 2.0 + gap;
        }
        if (fits || days.size() <= 1)
            break;
    }
    for (const qint64 day : days)
        ticks.append(static_cast<double>(day) * SecondsPerDay);
    if (tickLabels)
        *tickLabels = labels;
}

}  // namespace tickforge
