// The main window's "Fit to data..." (by its shortcut) and "Statistics" (by the panel
// area's context menu) commands.

#include "GuiTestSupport.h"
#include "gui/AnalysisMenu.h"
#include "gui/StatisticsWindow.h"

#include <QMenu>
#include <QTableWidget>
#include <qcustomplot.h>

#include <cmath>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// 60 daily bars from Saturday 2024-01-06, weekends included.
QByteArray RealFile()
{
    QByteArray text = "Date,Open,High,Low,Close,Volume\n";
    double close = 100.0;
    for (int i = 0; i < 60; ++i) {
        const double next = close * std::exp(0.01 * std::sin(i * 2.3));
        text += QDate(2024, 1, 6).addDays(i).toString(Qt::ISODate).toLatin1() + "," + QByteArray::number(close) + "," +
                QByteArray::number(std::max(close, next) * 1.01) + "," +
                QByteArray::number(std::min(close, next) * 0.99) + "," + QByteArray::number(next) + "," +
                QByteArray::number(1000 + 10 * i) + "\n";
        close = next;
    }
    return text;
}

StatisticsWindow& Statistics(TGenerator& window)
{
    auto* menu = window.findChild<AnalysisMenu*>();
    if (menu == nullptr || menu->Statistics() == nullptr)
        qFatal("no statistics window");
    return *menu->Statistics();
}

}  // namespace

class AnalysisMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fitToDataSetsThePanelThroughItsRulesAndShowsTheRealReport()
    {
        MainWindowUnderTest w;
        QTemporaryDir folder;
        const QString real = folder.filePath(QStringLiteral("real.csv"));
        const QString bad = folder.filePath(QStringLiteral("bad.csv"));
        QVERIFY(WriteFile(real, RealFile()));
        QVERIFY(WriteFile(bad, "Date,Open,High,Low,Close\n2024-01-01,1,1,1,1\n"));
        QString chosen = bad;
        Seam<OpenFileChooser> chooser{SetOpenFileChooser, [&](QWidget*) { return std::optional<QString>(chosen); }};
        w.Do({QStringLiteral("ebLength=20"), QStringLiteral("ebTicksPerDay=50"), QStringLiteral("btnGenerate")});
        w.Button(QStringLiteral("cbSeedRandom"))->setChecked(false);

        QTest::keyClick(&w.window, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.boxes.Texts(), QStringList{bad + QStringLiteral(":2: only 1 usable bars; at least 30 are needed.")});
        QCOMPARE(w.Edit(QStringLiteral("ebLength"))->text(), QStringLiteral("20"));

        chosen = real;
        QTest::keyClick(&w.window, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.boxes.boxes.size(), std::size_t{1});
        QCOMPARE(w.Edit(QStringLiteral("ebLength"))->text(), QStringLiteral("60"));
        QCOMPARE(w.Edit(QStringLiteral("ebSeed"))->text(), QStringLiteral("100.0000"));
        // The fixed price's rule ran on the widgets: its field is open again.
        QVERIFY(w.Edit(QStringLiteral("ebSeed"))->isEnabled());
        QCOMPARE(w.Edit(QStringLiteral("ebTicksPerDay"))->text(), QStringLiteral("50"));

        StatisticsWindow& statistics = Statistics(w.window);
        QVERIFY(statistics.isVisible());
        QCOMPARE(statistics.Table().columnCount(), 2);
        QCOMPARE(statistics.Table().horizontalHeaderItem(1)->text(), QStringLiteral("real.csv"));
        QCOMPARE(statistics.Table().item(0, 1)->text(), QStringLiteral("60"));
        // The current history as bars, the real one over it, and the normal curve.
        QCOMPARE(statistics.Plot().plottableCount(), 3);
        QCOMPARE(statistics.Plot().graph(0)->name(), QStringLiteral("real.csv"));
    }

    void statisticsShowsTheCurrentHistoryFromThePanelAreasContextMenu()
    {
        MainWindowUnderTest w;
        QWidget* panelArea = Find(w.window, QStringLiteral("pnlTop"));
        const auto chooseFromContextMenu = [&] {
            QTimer::singleShot(0, [] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu != nullptr);
                QCOMPARE(menu->actions().size(), 2);
                QAction* statistics = menu->actions().at(1);
                QCOMPARE(statistics->text(), QStringLiteral("Statistics"));
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(statistics).center());
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), panelArea->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(panelArea, &event);
        };
        chooseFromContextMenu();
        QCOMPARE(w.boxes.Texts(), QStringList{QStringLiteral("There is no history yet: press GO, or fit to a real file first.")});

        w.Do({QStringLiteral("ebLength=40"), QStringLiteral("ebTicksPerDay=50"), QStringLiteral("btnGenerate")});
        chooseFromContextMenu();
        StatisticsWindow& statistics = Statistics(w.window);
        QVERIFY(statistics.isVisible());
        QCOMPARE(statistics.Table().columnCount(), 1);
        QCOMPARE(statistics.Table().item(0, 0)->text(), QString::number(w.Run().GeneratedSet.Length()));
        QCOMPARE(statistics.Plot().plottableCount(), 2);  // the histogram and the normal curve
    }
};

QTEST_MAIN(AnalysisMenuTest)
#include "AnalysisMenuTest.moc"
