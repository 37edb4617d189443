#pragma once
// Helpers shared by the window tests: boxes and beeps answered through the program's
// seams, controls by object name, tables of rows, files, the main window under test
// and comparisons of bar sets with the chart.

#include "HistoryChart.h"
#include "TGenerator.h"
#include "TProgress.h"
#include "UserAlerts.h"
#include "synthesis/Abort.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <array>
#include <utility>
#include <vector>

namespace tickforge::testing {

// Installs a replacement through one of the program's seams (a Set...Handler function)
// and puts the previous one back when it goes out of scope.
template <typename Handler>
class Seam {
public:
    Seam(Handler (*install)(Handler), Handler handler) : install_(install), previous_(install(std::move(handler))) {}
    ~Seam() { install_(previous_); }
    Seam(const Seam&) = delete;
    Seam& operator=(const Seam&) = delete;

private:
    Handler (*install_)(Handler);
    Handler previous_;
};

// Records every box the program shows instead of showing it.
struct AlertRecorder {
    QStringList Texts() const
    {
        QStringList texts;
        for (const AlertBox& box : boxes)
            texts << box.text;
        return texts;
    }

    std::vector<AlertBox> boxes;
    Seam<AlertBoxHandler> seam{SetAlertBoxHandler, [this](const AlertBox& box) { boxes.push_back(box); }};
};

// The child of root with the given object name and type; a missing one ends the test run.
template <typename T = QWidget>
T* Find(const QWidget& root, const QString& name)
{
    T* found = root.findChild<T*>(name);
    if (found == nullptr)
        qFatal("no control %s of the expected kind", qPrintable(name));
    return found;
}

// What a control shows as its text: a field's text, a button's or label's caption, a
// group box's title.
inline QString ShownText(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    return QStringLiteral("(no text on %1)").arg(control->objectName());
}

// Closes any modal window still up after a while, so that a fault cannot hang a test.
inline void GuardAgainstHanging(QObject* context, int milliseconds = 10000)
{
    QTimer::singleShot(milliseconds, context, [] {
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

// A table of rows as the data of a Qt test, one data row per entry tagged with its
// name; FetchRow gives the current entry inside the test function.
template <typename Row, std::size_t N>
void AddRows(const Row (&rows)[N])
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i)
        QTest::newRow(rows[i].name) << static_cast<int>(i);
}

template <typename Row, std::size_t N>
const Row& FetchRow(const Row (&rows)[N])
{
    QFETCH(int, row);
    return rows[row];
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The main window as shown, with its own progress window. Members are destroyed in
// reverse order: the window first.
struct MainWindowUnderTest {
    MainWindowUnderTest()
    {
        window.SetProgressWindow(&progress);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the main window was not shown");
    }
    ~MainWindowUnderTest() { ClearAbortRequest(); }

    QLineEdit* Edit(const QString& name) const { return Find<QLineEdit>(window, name); }
    QAbstractButton* Button(const QString& name) const { return Find<QAbstractButton>(window, name); }
    void Press(const QString& name) const { Button(name)->click(); }
    // One change of the whole text, as a paste over a selection makes it.
    void Paste(const QString& name, const QString& text) const
    {
        Edit(name)->selectAll();
        Edit(name)->insert(text);
    }
    // Each step is a button to press or "field=text" to paste.
    void Do(const QStringList& steps) const
    {
        for (const QString& step : steps) {
            const qsizetype equals = step.indexOf(QLatin1Char('='));
            if (equals < 0)
                Press(step);
            else
                Paste(step.left(equals), step.mid(equals + 1));
        }
    }
    HistoryChart& Chart() { return window.Chart(); }
    const GenerationRun& Run() { return window.Run(); }

    AlertRecorder boxes;
    int beeps = 0;  // counted instead of sounded
    Seam<BeepHandler> beeper{SetBeepHandler, [this] { ++beeps; }};
    TProgress progress;
    TGenerator window;
};

inline void CopyBars(const TTimeSeriesSet& from, TTimeSeriesSet& to)
{
    to.SetSeriesCount(from.SeriesCount());
    to.Assign(from);
}

inline bool SameBars(const TTimeSeriesSet& a, const TTimeSeriesSet& b)
{
    if (a.SeriesCount() != b.SeriesCount() || a.Length() != b.Length())
        return false;
    for (std::int32_t s = 0; s < a.SeriesCount(); ++s)
        for (std::int32_t i = 0; i < a.Length(); ++i)
            if (a.GetValue(s, i) != b.GetValue(s, i) || a.GetTime(s, i) != b.GetTime(s, i))
                return false;
    return true;
}

// The chart holds exactly the bars of set, candle and volume at each bar's close time.
inline bool ChartShows(HistoryChart& chart, const TTimeSeriesSet& set)
{
    if (chart.Series1()->dataCount() != set.Length() || chart.Series2()->dataCount() != set.Length())
        return false;
    auto candle = chart.Series1()->data()->constBegin();
    auto volume = chart.Series2()->data()->constBegin();
    for (std::int32_t i = 0; i < set.Length(); ++i, ++candle, ++volume) {
        const double key = HistoryChart::AxisKeyOfDate(set.GetTime(SeriesClose, i));
        if (candle->key != key || volume->key != key || candle->open != set.GetValue(SeriesOpen, i) ||
            candle->high != set.GetValue(SeriesHigh, i) || candle->low != set.GetValue(SeriesLow, i) ||
            candle->close != set.GetValue(SeriesClose, i) || volume->value != set.GetValue(SeriesVolume, i))
            return false;
    }
    return true;
}

// The ranges of the date, price and volume axes.
inline std::array<QCPRange, 3> ViewOf(HistoryChart& chart)
{
    return {chart.BottomAxis()->range(), chart.PriceAxis()->range(), chart.VolumeAxis()->range()};
}

// Zooms without animation into the part between the upper left and the centre.
inline void ZoomIntoAPart(HistoryChart& chart)
{
    const QRect area = chart.axisRect()->rect();
    chart.ZoomToRect(QRect(area.topLeft() + QPoint(area.width() / 4, 10), area.center()), false);
}

// The view of a whole set, not zoomed: prices from the lowest low to the highest high,
// volumes from the lowest to four times the highest, every bar's date in view.
inline bool ShowsWholeHistory(HistoryChart& chart, const TTimeSeriesSet& set)
{
    double low = 1e300, high = -1e300, fewest = 1e300, most = -1e300;
    for (std::int32_t i = 0; i < set.Length(); ++i) {
        low = std::min(low, set.GetValue(SeriesLow, i));
        high = std::max(high, set.GetValue(SeriesHigh, i));
        fewest = std::min(fewest, set.GetValue(SeriesVolume, i));
        most = std::max(most, set.GetValue(SeriesVolume, i));
    }
    const QCPRange dates = chart.BottomAxis()->range();
    return !chart.IsZoomed() && chart.PriceAxis()->range() == QCPRange(low, high) &&
           chart.VolumeAxis()->range() == QCPRange(fewest, 4 * most) &&
           dates.contains(HistoryChart::AxisKeyOfDate(set.GetTime(SeriesClose, 0))) &&
           dates.contains(HistoryChart::AxisKeyOfDate(set.GetTime(SeriesClose, set.Length() - 1)));
}

}  // namespace tickforge::testing
