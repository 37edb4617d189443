#pragma once
// Helpers of the window tests: boxes and beeps answered through the program's seams,
// controls by object name, tables of rows, files, the main window and its chart.

#include "HistoryChart.h"
#include "TGenerator.h"
#include "TProgress.h"
#include "UserAlerts.h"
#include "support/ScopedChange.h"
#include "support/ScratchFolder.h"
#include "synthesis/Abort.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <array>
#include <type_traits>
#include <utility>
#include <vector>

namespace tickforge::testing {

// Puts handler in one of the program's seams (Set...Handler, Set...Chooser) for one scope.
template <typename Handler>
Undo Replace(Handler (*install)(Handler), std::type_identity_t<Handler> handler)
{
    return Undo([install, previous = install(std::move(handler))] { install(previous); });
}

// Records every box the program shows, and its text, instead of showing it.
struct AlertRecorder {
    std::vector<AlertBox> boxes;
    QStringList texts;
    Undo seam = Replace(SetAlertBoxHandler, [this](const AlertBox& box) {
        boxes.push_back(box);
        texts << box.text;
    });
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

// Closes any modal window still up after a while, so that a fault cannot hang a test.
inline void GuardAgainstHanging(QObject* context, int milliseconds = 10000)
{
    QTimer::singleShot(milliseconds, context, [] {
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

// A table of rows as a Qt test's data, tagged with each row's name; FetchRow gives the current row.
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

inline QByteArray ReadFile(const QString& path) { return QByteArray::fromStdString(ReadFileBytes(path.toStdString())); }
inline bool WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The main window as shown, with its own progress window; destroyed window first.
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
        for (const QString& step : steps)
            step.contains(QLatin1Char('=')) ? Paste(step.section(QLatin1Char('='), 0, 0), step.section(QLatin1Char('='), 1))
                                            : Press(step);
    }
    HistoryChart& Chart() { return window.Chart(); }
    const GenerationRun& Run() { return window.Run(); }

    AlertRecorder boxes;
    int beeps = 0;  // counted instead of sounded
    Undo beeper = Replace(SetBeepHandler, [this] { ++beeps; });
    TProgress progress;
    TGenerator window;
};

inline double KeyOf(const TTimeSeriesSet& set, std::int32_t bar) { return HistoryChart::AxisKeyOfDate(set.GetTime(SeriesClose, bar)); }

// The chart holds exactly the bars of set, candle and volume at each bar's close time.
inline bool ChartShows(HistoryChart& chart, const TTimeSeriesSet& set)
{
    bool same = chart.Series1()->dataCount() == set.Length() && chart.Series2()->dataCount() == set.Length();
    auto candle = chart.Series1()->data()->constBegin();
    auto volume = chart.Series2()->data()->constBegin();
    for (std::int32_t i = 0; same && i < set.Length(); ++i, ++candle, ++volume)
        same = candle->key == KeyOf(set, i) && volume->key == KeyOf(set, i) && candle->open == set.GetValue(SeriesOpen, i) &&
               candle->high == set.GetValue(SeriesHigh, i) && candle->low == set.GetValue(SeriesLow, i) &&
               candle->close == set.GetValue(SeriesClose, i) && volume->value == set.GetValue(SeriesVolume, i);
    return same;
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

// The chart as drawn without antialiasing, so that every pixel has a pen's or brush's colour.
inline QImage DrawnSharp(HistoryChart& chart)
{
    chart.setNotAntialiasedElements(QCP::aeAll);
    chart.replot(QCustomPlot::rpImmediateRefresh);
    return chart.grab().toImage();
}

// How many columns, from the first to the last, pixels of colour cover within ten of column x.
inline int ColumnsCovered(const QImage& image, const QColor& colour, int x)
{
    int first = x + 11, last = x - 11;
    for (int column = x - 10; column <= x + 10; ++column)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(column, y) == colour) {
                first = std::min(first, column);
                last = std::max(last, column);
            }
    return last - first + 1;
}

}  // namespace tickforge::testing
