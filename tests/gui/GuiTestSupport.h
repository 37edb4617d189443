#pragma once
// Helpers shared by the window tests: boxes and beeps answered through the program's
// seams, controls found by object name, the main window with its progress window, a
// scratch settings folder, files, and comparisons of bar sets with the chart.

#include "HistoryChart.h"
#include "TGenerator.h"
#include "TProgress.h"
#include "UserAlerts.h"
#include "synthesis/Abort.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

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

// Counts beeps instead of sounding them.
struct BeepCounter {
    int count = 0;
    Seam<BeepHandler> seam{SetBeepHandler, [this] { ++count; }};
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

// One change of the whole text, as a paste over a selection makes it.
inline void Paste(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    edit->insert(text);
}

// Closes any modal window still up after a while, so that a fault cannot hang a test.
inline void GuardAgainstHanging(QObject* context, int milliseconds = 10000)
{
    QTimer::singleShot(milliseconds, context, [] {
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

inline QString ArtefactPath(const QString& fileName)
{
    return QStringLiteral(TICKFORGE_TEST_ARTEFACTS) + QLatin1Char('/') + fileName;
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

// A scratch folder in place of the user's settings folder (XDG_CONFIG_HOME) for the
// whole test program; Path() is where the main window keeps its panel.
class ScratchSettings {
public:
    ScratchSettings()
    {
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        QDir(folder_.path()).mkpath(QStringLiteral("tickforge"));
    }
    QString Path() const { return folder_.filePath(QStringLiteral("tickforge/TKF.ini")); }
    void Clear() const
    {
        QFile::remove(Path());
        QDir(Path()).removeRecursively();
    }

private:
    QTemporaryDir folder_;
};

// The main window as the program shows it, with its own progress window; every box is
// recorded and every beep counted. Members go in reverse order: the window first.
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
    void Paste(const QString& name, const QString& text) const { testing::Paste(Edit(name), text); }
    HistoryChart& Chart() { return window.Chart(); }
    const GenerationRun& Run() { return window.Run(); }

    AlertRecorder boxes;
    BeepCounter beeps;
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
