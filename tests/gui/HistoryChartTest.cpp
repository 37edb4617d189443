// The chart of a bar set: axis ranges from the extremes (widened when flat), colours and widths of the drawn
// bars, date labels that fit, edge bars kept whole, zoom by a dragged rectangle (animated) or the wheel, undo,
// scroll by a right drag, the read-out, the context menu, the saved picture and the gradient.

#include "GuiTestSupport.h"
#include "export/ExportError.h"
#include "support/DailyBars.h"

#include <QFileDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <tuple>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

const QColor Rising(0, 0, 255), Falling(255, 0, 0), Volume(0, 128, 0);

// A daily bar set holding bars; only the close time places a bar.
struct SetOf : TTimeSeriesSet {
    explicit SetOf(const std::vector<Bar>& bars) { FillDailyBars(*this, bars); }
};

// A wavy history of n days whose bars close at 16:48.
SetOf Wave(int n)
{
    std::vector<Bar> bars;
    for (int i = 0; i < n; ++i) {
        const double mid = 100 + 10 * std::sin(i / 7.0);
        bars.push_back({45000 + i + 0.7, mid - 1, mid + 2, mid - 2, mid + 1, 500.0 + 10 * (i % 13)});
    }
    return SetOf(bars);
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void Hover(QWidget* widget, QPoint at) { SendMouse(widget, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }

void Drag(QWidget* widget, Qt::MouseButton button, QPoint from, QPoint to)
{
    SendMouse(widget, QEvent::MouseButtonPress, from, button, button);
    for (int step = 1; step <= 4; ++step)
        SendMouse(widget, QEvent::MouseMove, from + (to - from) * step / 4, Qt::NoButton, button);
    SendMouse(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

void Wheel(QWidget* widget, QPoint at, QPoint degrees)
{
    QWheelEvent wheel(at, widget->mapToGlobal(at), {}, degrees * 8, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

bool Near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

bool SameRange(const QCPRange& a, const QCPRange& b)
{
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(a.upper) + std::fabs(a.lower));
    return Near(a.lower, b.lower, tolerance) && Near(a.upper, b.upper, tolerance);
}

// Whether colour is drawn in row y within two columns of x.
bool DrawnAt(const QImage& image, const QColor& colour, int x, int y)
{
    for (int column = x - 2; column <= x + 2; ++column)
        if (image.pixelColor(column, y) == colour)
            return true;
    return false;
}

// Sets of bars and the axis ranges that show them whole.
struct RangeCase {
    const char* name;
    std::vector<Bar> bars;
    QCPRange price, volume;
};

const RangeCase RangeCases[] = {
    {"one bar: its prices, four times its volume", {{45000.75, 100, 105, 95, 102, 500}}, {95, 105}, {500, 2000}},
    {"no bars: the sentinels", {}, {0, 999999}, {0, 999999}},
    {"lows above the sentinel start the price axis there",
     {{45000.7, 1.6e6, 2.0e6, 1.5e6, 1.7e6, 10}, {45001.7, 1.7e6, 1.9e6, 1.55e6, 1.8e6, 20}}, {999999, 2.0e6}, {10, 80}},
    {"every bar counts, spoiled ones too",
     {{45000.7, 50, 52, 49, 51, 300}, {45001.7, 51, 51, 51, 51, 0}, {45002.7, 58, 59, 40, 41, 900}}, {40, 59}, {0, 3600}},
    {"a flat history widened about its price, no volume upwards from zero",
     {{45000.7, 3000, 3000, 3000, 3000, 0}, {45001.7, 3000, 3000, 3000, 3000, 0}}, {2998.5, 3001.5}, {0, 1}},
};

// No two labels overlap or repeat, ticks lie on midnights a whole step apart (equal days, or the first of
// each month), and the year shows at the first tick and where it changes, or on every label.
void VerifyDateLabels(HistoryChart& chart)
{
    chart.replot(QCustomPlot::rpImmediateRefresh);
    QCPAxis* axis = chart.BottomAxis();
    const QVector<double> ticks = axis->tickVector();
    const QVector<QString> labels = axis->tickVectorLabels();
    const QFontMetrics metrics(axis->tickLabelFont());
    QVERIFY(labels.size() >= 2 || axis->range().size() < 3 * 86400);
    QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
    QSet<qint64> gaps;
    bool firstsOfMonths = true, everyYear = true, yearWhereItChanges = true;
    const auto dateOf = [](double tick) { return QDate(1970, 1, 1).addDays(static_cast<qint64>(tick / 86400)); };
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        QCOMPARE(std::fmod(ticks[i], 86400.0), 0.0);
        const QDate date = dateOf(ticks[i]);
        firstsOfMonths = firstsOfMonths && date.day() == 1;
        const bool newYear = i == 0 || dateOf(ticks[i - 1]).year() != date.year();
        everyYear = everyYear && labels[i].contains(QString::number(date.year()));
        yearWhereItChanges = yearWhereItChanges && labels[i].contains(QString::number(date.year())) == newYear;
        if (i == 0)
            continue;
        gaps.insert(static_cast<qint64>((ticks[i] - ticks[i - 1]) / 86400));
        const double apart = axis->coordToPixel(ticks[i]) - axis->coordToPixel(ticks[i - 1]);
        QVERIFY(apart >= (metrics.horizontalAdvance(labels[i]) + metrics.horizontalAdvance(labels[i - 1])) / 2.0);
    }
    QVERIFY(gaps.size() <= 1 || firstsOfMonths);
    QVERIFY(everyYear || yearWhereItChanges);
}

}  // namespace

class HistoryChartTest : public QObject {
    Q_OBJECT

    std::unique_ptr<HistoryChart> chart;

    std::array<QCPRange, 3> Ranges() const { return ViewOf(*chart); }
    QRect Area() const { return chart->axisRect()->rect(); }
    int X(const TTimeSeriesSet& set, int bar) const { return qRound(chart->BottomAxis()->coordToPixel(KeyOf(set, bar))); }

private Q_SLOTS:
    void init()
    {
        chart = std::make_unique<HistoryChart>();
        chart->resize(700, 360);
        chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(chart.get()));
    }
    void cleanup() { chart.reset(); }

    void axesSpanTheExtremesOfTheWholeSet_data() { AddRows(RangeCases); }

    void axesSpanTheExtremesOfTheWholeSet()
    {
        const RangeCase& row = FetchRow(RangeCases);
        QVERIFY(!chart->BottomAxis()->ticks());  // no dates before the first history
        chart->ShowBars(Wave(20), true);  // replaced entirely by the set below
        const SetOf set(row.bars);
        chart->ShowBars(set, true);
        QVERIFY(ChartShows(*chart, set));
        QCOMPARE(chart->PriceAxis()->range(), row.price);
        QCOMPARE(chart->VolumeAxis()->range(), row.volume);
        QCOMPARE(chart->BottomAxis()->ticks(), !row.bars.empty());
    }

    void risingBarsBlueFallingRedOverTheVolumeAtTheStylesWidth()
    {
        // Rising, falling, and rising clear above the volume lines, two days apart.
        const SetOf set({{45000.7, 10, 16, 8, 14, 100}, {45002.7, 14, 16, 8, 8.2, 300}, {45004.7, 14, 16, 13, 15, 300}});
        for (const auto& [style, width] : {std::pair{HistoryChart::CandleStyle::Bar, 6}, {HistoryChart::CandleStyle::Candlestick, 4}}) {
            chart->SetCandleStyle(style, width);
            QCOMPARE(chart->Style(), style);
            chart->ShowBars(set, true);
            const QImage image = DrawnSharp(*chart);
            const auto y = [&](double price) { return qRound(chart->PriceAxis()->coordToPixel(price)); };
            QVERIFY(DrawnAt(image, Rising, X(set, 0), y(12)) && !DrawnAt(image, Falling, X(set, 0), y(12)));
            QVERIFY(DrawnAt(image, Falling, X(set, 1), y(12)) && !DrawnAt(image, Rising, X(set, 1), y(12)));
            QCOMPARE(ColumnsCovered(image, Rising, X(set, 0)), width + 1);
            QCOMPARE(ColumnsCovered(image, Falling, X(set, 1)), width + 1);
            // A volume line shows green below a bar and lies beneath a candle's body.
            QVERIFY(DrawnAt(image, Volume, X(set, 2), y(8.4)));
            QCOMPARE(ColumnsCovered(image, Volume, X(set, 2)), 1);
            if (style == HistoryChart::CandleStyle::Candlestick)
                QVERIFY(DrawnAt(image, Falling, X(set, 1), y(8.4)) && !DrawnAt(image, Volume, X(set, 1), y(8.4)));
        }
    }

    void dateLabelsFitTheAxis()
    {
        // Days in charts so wide, the labels checked unzoomed and after so many wheel notches.
        for (const auto& [days, width, notches] : {std::tuple{2, 709, 0}, {60, 709, 0}, {120, 709, 0}, {60, 300, 0}, {400, 709, 8},
                                                   {3650, 709, 0}, {3650, 300, 0}, {3650, 1900, 0}, {3650, 709, 60}}) {
            chart->resize(width, 360);
            chart->ShowBars(Wave(days), true);
            for (const int zoom : {0, notches}) {
                chart->WheelZoom(chart->axisRect()->center().x(), zoom);
                VerifyDateLabels(*chart);
                QVERIFY2(!QTest::currentTestFailed(), qPrintable(QStringLiteral("%1 days, %2 px, %3 notches").arg(days).arg(width).arg(zoom)));
            }
        }
    }

    void edgeBarsStayWholeAndDenseBarsNarrowToFit()
    {
        for (const int days : {30, 150, 400, 3650}) {
            for (const double style : {6.0, 4.0}) {
                chart->SetCandleStyle(style == 6 ? HistoryChart::CandleStyle::Bar : HistoryChart::CandleStyle::Candlestick, style);
                const SetOf set = Wave(days);
                chart->ShowBars(set, true);
                chart->resize(chart->width() == 700 ? 760 : 700, 360);  // laid out anew by the replot it makes
                QCPAxis* axis = chart->BottomAxis();
                const double pixelsPerDay = axis->coordToPixel(86400) - axis->coordToPixel(0), drawn = chart->DrawnCandleWidth();
                // The style's width where a pixel is left between days, else narrower down to a line.
                QVERIFY2(drawn == std::min(style, std::max(1.0, std::floor(pixelsPerDay - 1))), qPrintable(QString::number(days)));
                // Beyond each end half a day, or half a drawn bar and two pixels where that is more.
                const double least = std::max(pixelsPerDay / 2, drawn / 2 + 2);
                for (const double room : {axis->coordToPixel(KeyOf(set, 0)) - Area().left(),
                                          Area().left() + Area().width() - axis->coordToPixel(KeyOf(set, days - 1))})
                    QVERIFY2(Near(room, least, 1e-6), qPrintable(QString::number(days)));
            }
        }
    }

    void daysSharingAPixelColumnDrawOneLinePerColourWithTheLastDayOnTop()
    {
        std::vector<Bar> bars;
        for (int i = 0; i < 3650; ++i) {
            const double mid = 100 + 10 * std::sin(i / 70.0) + i % 11, move = i % 3 == 0 ? -1 : 1;
            bars.push_back({45000 + i + 0.7, mid - move, mid + 1 + i % 5, mid - 1 - i % 4, mid + move, 1});
        }
        for (QCPAxis* axis : chart->axisRect()->axes())
            axis->setTickLength(0, 0), axis->setSubTickLength(0, 0);  // so that every column can be read
        chart->ShowBars(SetOf(bars), true);
        chart->replot(QCustomPlot::rpImmediateRefresh);
        const QImage image = chart->grab().toImage();  // sharp without being told
        // Per pixel column, the rows its rising and its falling days reach, the last day's first.
        struct Reach {
            QColor colour;
            double top = 1e9, bottom = -1e9;
        };
        std::map<int, std::array<Reach, 2>> columns;
        for (const Bar& bar : bars) {
            auto& column = columns[qRound(chart->BottomAxis()->coordToPixel(HistoryChart::AxisKeyOfDate(bar.CloseTime)))];
            const QColor colour = bar.Close >= bar.Open ? Rising : Falling;
            if (column[0].colour != colour)
                std::swap(column[0], column[1]);
            column[0] = {colour, std::min(column[0].top, chart->PriceAxis()->coordToPixel(bar.High)),
                         std::max(column[0].bottom, chart->PriceAxis()->coordToPixel(bar.Low))};
        }
        QVERIFY(columns.size() < bars.size() / 4);
        const QRect inside = Area().adjusted(1, 1, -1, -1);  // within the axes' lines
        for (const auto& [x, column] : columns) {
            for (int y = inside.top(); x >= inside.left() && x <= inside.right() && y <= inside.bottom(); ++y) {
                // 1 within a reach, -1 clear of it; the pixel at each end may go either way.
                const auto holds = [y](const Reach& r) { return y > r.top + 1 && y < r.bottom - 1 ? 1 : y < r.top - 1 || y > r.bottom + 1 ? -1 : 0; };
                const int last = holds(column[0]), under = holds(column[1]);
                const QColor drawn = image.pixelColor(x, y);
                const QByteArray at = QStringLiteral("%1,%2").arg(x).arg(y).toLatin1();
                if (last == 1 || (last == -1 && under == 1))  // the last day's colour where it reaches, else the other's
                    QVERIFY2(drawn == column[last == 1 ? 0 : 1].colour, at.constData());
                else if (last == -1 && under == -1)  // clear of both
                    QVERIFY2(drawn != Rising && drawn != Falling, at.constData());
            }
        }
        // Days without a range still show, and nothing of the last history stays.
        for (Bar& bar : bars)
            bar.Open = bar.High = bar.Low = bar.Close = 100;
        bars[0].High = 130, bars[0].Low = 70;
        chart->ShowBars(SetOf(bars), true);
        const QImage flat = DrawnSharp(*chart);
        const auto y = [&](double price) { return qRound(chart->PriceAxis()->coordToPixel(price)); };
        for (int x = Area().center().x(); x < Area().center().x() + 20; ++x) {
            QCOMPARE(flat.pixelColor(x, y(100)), Rising);
            for (const QColor away : {flat.pixelColor(x, y(110)), flat.pixelColor(x, y(90))})
                QVERIFY(away != Rising && away != Falling);
        }
    }

    void readOutNamesTheBarUnderTheCursorAwayFromIt()
    {
        chart->setLocale(QLocale::c());
        const SetOf set({{45000.7, 58, 59, 40, 41, 900}, {45001.7, 50.123456, 52, 49, 51, 300}, {45009.7, 51, 53, 50, 52.5, 1234}});
        chart->ShowBars(set, true);
        const QImage before = DrawnSharp(*chart);
        // Just left of the second bar, nearer to it than to the first.
        const QPoint at(X(set, 1) - 2, Area().center().y());
        QTest::mouseMove(chart.get(), at);  // as the window system delivers it, no button held
        QCOMPARE(chart->ReadOutText(), QStringLiteral("16 Mar 2023\nOpen 50.12346\nHigh 52\nLow 49\nClose 51\nVolume 300"));
        const QString second = chart->ReadOutText();
        Hover(chart.get(), at + QPoint(4, 0));  // just right of it: still the second bar
        QCOMPARE(chart->ReadOutText(), second);
        // In the plot's far half from the bar, and a crosshair through the cursor's row.
        const QCPItemText* label = chart->ReadOut();
        QVERIFY(label->left->pixelPosition().x() > Area().center().x() && label->right->pixelPosition().x() <= Area().right());
        QVERIFY(label->top->pixelPosition().y() >= Area().top());
        const QRect row(Area().left(), at.y(), Area().width(), 1);
        const QImage after = DrawnSharp(*chart);
        QVERIFY(after.copy(row) != before.copy(row));
        const QColor box = after.pixelColor(label->topLeft->pixelPosition().toPoint() + QPoint(2, 1));
        QVERIFY(box.red() > 240 && box.green() > 240 && box.blue() > 240);  // a white box
        // Days away from every bar, and outside the plot, nothing shows.
        for (const QPoint away : {QPoint((X(set, 1) + X(set, 2)) / 2, at.y()), QPoint(1, 1)}) {
            Hover(chart.get(), at);
            Hover(chart.get(), away);
            QCOMPARE(chart->ReadOutText(), QString());
        }
        // A press, new bars, a save or leaving the chart hide it too.
        QTemporaryDir folder;
        const std::function<void()> hiders[] = {
            [&] { SendMouse(chart.get(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); },
            [&] { chart->ShowBars(set, false); },
            [&] { chart->SaveChart(folder.filePath(QStringLiteral("c.png"))); },
            [&] { QEvent leave(QEvent::Leave); QApplication::sendEvent(chart.get(), &leave); }};
        for (const auto& hide : hiders) {
            SendMouse(chart.get(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
            Hover(chart.get(), at);
            QVERIFY(!chart->ReadOutText().isEmpty());
            hide();
            QCOMPARE(chart->ReadOutText(), QString());
        }
    }

    void wheelZoomsTheDatesAboutTheCursorRightDragScrollsAndBothUndo()
    {
        chart->ShowBars(Wave(100), true);
        const auto whole = Ranges();
        const QPoint at = chart->axisRect()->center() + QPoint(80, 0);
        const double key = chart->BottomAxis()->pixelToCoord(at.x());
        Wheel(chart.get(), at, QPoint(15, 0));  // sideways: no zoom
        QVERIFY(!chart->IsZoomed() && Ranges() == whole);
        Wheel(chart.get(), at, QPoint(0, 30));
        QVERIFY(chart->IsZoomed());
        QVERIFY(Near(chart->BottomAxis()->pixelToCoord(at.x()), key, 1));
        QVERIFY(Near(chart->BottomAxis()->range().size(), whole[0].size() * 0.64, 1));
        QCOMPARE(chart->PriceAxis()->range(), whole[1]);
        Drag(chart.get(), Qt::LeftButton, at + QPoint(50, 50), at - QPoint(50, 50));
        QVERIFY(!chart->IsZoomed() && Ranges() == whole);

        // The content follows a right drag: the view moves left (earlier) and up (higher).
        const double secondsPerPixel = whole[0].size() / Area().width(), pricePerPixel = whole[1].size() / Area().height();
        QCoreApplication::processEvents();
        const QImage unscrolled = chart->grab().toImage();
        Drag(chart.get(), Qt::RightButton, at, at + QPoint(80, 30));
        QCoreApplication::processEvents();
        QVERIFY(chart->grab().toImage() != unscrolled);  // drawn as it scrolls
        QVERIFY(chart->IsZoomed() && !chart->IsAnimating());
        QVERIFY(Near(chart->BottomAxis()->range().lower, whole[0].lower - 80 * secondsPerPixel, secondsPerPixel));
        QVERIFY(Near(chart->BottomAxis()->range().size(), whole[0].size(), 1e-6));
        QVERIFY(Near(chart->PriceAxis()->range().lower, whole[1].lower + 30 * pricePerPixel, pricePerPixel));
        const auto scrolled = Ranges();
        Hover(chart.get(), at);  // the release ended the scroll
        QVERIFY(Ranges() == scrolled);
        chart->UndoZoom();
        QVERIFY(Ranges() == whole);
    }

    void leftDragZoomsIntoTheRectangleWithAnAnimationAndUndoes()
    {
        chart->ShowBars(Wave(100), true);
        const auto whole = Ranges();
        const QRect area = Area();
        const QPoint from(area.left() + area.width() * 3 / 10, area.top() + area.height() * 3 / 10);
        const QPoint to(area.left() + area.width() * 6 / 10, area.top() + area.height() * 7 / 10);
        // Drags under three pixels in either direction are clicks.
        for (const QPoint small : {QPoint(2, 50), QPoint(50, 2)}) {
            Drag(chart.get(), Qt::LeftButton, from, from + small);
            QVERIFY(!chart->IsZoomed() && !chart->IsAnimating());
        }
        const QCPRange dates(chart->BottomAxis()->pixelToCoord(from.x()), chart->BottomAxis()->pixelToCoord(to.x()));
        const QCPRange prices(chart->PriceAxis()->pixelToCoord(to.y()), chart->PriceAxis()->pixelToCoord(from.y()));
        const QCPRange volumes(chart->VolumeAxis()->pixelToCoord(to.y()), chart->VolumeAxis()->pixelToCoord(from.y()));
        Drag(chart.get(), Qt::LeftButton, from, to);
        QVERIFY(chart->IsZoomed() && chart->IsAnimating());
        QVERIFY(!SameRange(chart->PriceAxis()->range(), prices));
        QTRY_VERIFY(!chart->IsAnimating());
        QVERIFY(SameRange(chart->BottomAxis()->range(), dates));
        QVERIFY(SameRange(chart->PriceAxis()->range(), prices));
        QVERIFY(SameRange(chart->VolumeAxis()->range(), volumes));
        chart->ShowBars(Wave(100), false);  // bars shown again without a reset keep the zoom
        QVERIFY(chart->IsZoomed() && SameRange(chart->BottomAxis()->range(), dates));
        // Drawn down to the left, a rectangle zooms too.
        chart->UndoZoom();
        Drag(chart.get(), Qt::LeftButton, QPoint(to.x(), from.y()), QPoint(from.x(), to.y()));
        QVERIFY(chart->IsZoomed() && chart->IsAnimating());
        chart->ShowBars(Wave(100), false);  // new bars end the animation where it is
        QVERIFY(chart->IsZoomed() && !chart->IsAnimating());

        // UndoZoom shows the whole history again, even amid an animation.
        Drag(chart.get(), Qt::LeftButton, from, to);
        chart->UndoZoom();
        QTest::qWait(400);
        QVERIFY(!chart->IsZoomed() && Ranges() == whole);
        // A zoom without animation ends a running one; a one-pixel rectangle still spans a tenth of a billionth.
        Drag(chart.get(), Qt::LeftButton, from, to);
        chart->ZoomToRect(QRect(area.center(), QSize(1, 1)), false);
        QVERIFY(!chart->IsAnimating() && chart->PriceAxis()->range().size() >= 1e-10);
    }

    void savesThePictureFromItsMenuOrAsToldButNeverOverAFolder()
    {
        const mode_t mask = ::umask(022);
        chart->ShowBars(Wave(30), true);
        ZoomIntoAPart(*chart);
        const auto view = Ranges();
        QAction command(QStringLiteral("Copy command line"));
        chart->addAction(&command);
        QTemporaryDir folder;
        QStringList offered;
        QString title;
        QTimer::singleShot(0, chart.get(), [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            for (QAction* action : menu->actions())
                offered << action->text();
            QTimer::singleShot(0, chart.get(), [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                title = dialog->windowTitle();
                dialog->selectFile(folder.filePath(QStringLiteral("picture")));
                QMetaObject::invokeMethod(dialog, "accept");
            });
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().at(0)).center());
        });
        GuardAgainstHanging(chart.get());
        // A right click that moved a pixel opens the menu and leaves the view as it was.
        const QPoint at = Area().center();
        SendMouse(chart.get(), QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
        SendMouse(chart.get(), QEvent::MouseMove, at + QPoint(1, 1), Qt::NoButton, Qt::RightButton);
        SendMouse(chart.get(), QEvent::MouseButtonRelease, at + QPoint(1, 1), Qt::RightButton, Qt::NoButton);
        QCOMPARE(offered, (QStringList{"Save Chart as PNG...", "Save Chart as PDF...", "", "Copy command line"}));
        QCOMPARE(title, QStringLiteral("Save Chart"));
        QCOMPARE(QImage(folder.filePath(QStringLiteral("picture.png"))).size(), chart->size());
        QVERIFY(chart->IsZoomed() && Ranges() == view);

        chart->SaveChart(folder.filePath(QStringLiteral("chart.PDF")));
        QVERIFY(ReadFile(folder.filePath(QStringLiteral("chart.PDF"))).startsWith("%PDF"));
        // New files get the mode the user's mask leaves, each of them.
        for (const char* name : {"picture.png", "chart.PDF"})
            QCOMPARE(int(std::filesystem::status(folder.filePath(name).toStdString()).permissions()), 0644);
        ::umask(mask);
        // A folder in the file's place stays, and no staging file is left behind.
        const QString taken = folder.filePath(QStringLiteral("taken.png"));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("taken.png")));
        try {
            chart->SaveChart(taken);
            QFAIL("saved over a folder");
        } catch (const ExportError& error) {
            QCOMPARE(QString::fromStdString(error.what()), QStringLiteral("Error writing to file %1. Is it open elsewhere?").arg(taken));
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({QStringLiteral("chart.PDF"), QStringLiteral("picture.png"), QStringLiteral("taken.png")}));
        QVERIFY(QFileInfo(taken).isDir());
    }

    void gradientFromBlueBelowToPeachAboveAtEverySizeOrWhite()
    {
        chart->ShowBars(Wave(30), true);
        for (const int height : {360, 500}) {
            chart->resize(700, height);
            QCoreApplication::processEvents();
            const QImage image = chart->grab().toImage();
            QCOMPARE(image.pixelColor(2, 0), QColor(254, 233, 222));
            QCOMPARE(image.pixelColor(2, height - 1), QColor(225, 225, 255));
            // Around axes and labels: 2 percent of the size above, 1 to the right, 5 below.
            QCOMPARE(chart->axisRect()->outerRect(), QRect(0, height * 2 / 100, 700 - 7, height - height * 7 / 100));
        }
        chart->SetGradientVisible(false);
        QCoreApplication::processEvents();
        const QImage image = chart->grab().toImage();
        QCOMPARE(image.pixelColor(2, 0), QColor(Qt::white));
        QCOMPARE(image.pixelColor(2, image.height() - 1), QColor(Qt::white));
    }
};

QTEST_MAIN(HistoryChartTest)
#include "HistoryChartTest.moc"
