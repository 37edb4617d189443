// The main window on real widgets: the designed panel and its rules, GO, Apply, Abort, the
// display controls, the copied command line run by tickforge-cli, Statistics and Fit; and
// start-up in a scratch settings folder: the windows in order, the about box, the settings.

#include "ExportFormatDialog.h"
#include "GuiTestSupport.h"
#include "WidgetPanel.h"
#include "export/ExportHistories.h"
#include "generation/DesignedPanel.h"
#include "gui/CreditsWindow.h"
#include "gui/AnalysisMenu.h"
#include "gui/Pictures.h"
#include "gui/ShellOpen.h"
#include "gui/SplashWindow.h"
#include "gui/StartUp.h"
#include "gui/StatisticsWindow.h"
#include "platform/DateFormat.h"
#include "platform/Error.h"
#include "platform/UserLocale.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QWindow>

#include <cmath>
#include <memory>
#include <vector>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// Text pasted into a field or typed key by key, its box ticked first where it has one, and
// what the field and the random minimum (designed "90") show: each field reaches its rule.
struct FieldCase {
    const char *name, *field, *box, *input;
    bool typed;
    const char* shown;
    int beeps;
    const char* randomMinimum;
};

const FieldCase FieldCases[] = {
    {"fewer days pull the random minimum down", "ebLength", "", "60", false, "60", 0, "60"},
    // "2" and "20" pass; "200" exceeds the 180 days and takes the days' text.
    {"random minimum never above the days", "ebRandomPeriodMin", "cbRandomPeriod", "200", true, "180", 0, "180"},
    // Emptied, then the emptied field beeps once more.
    {"minimum price not a number", "ebMinPrice", "cbMin", "cheap", false, "", 2, "90"},
};

QDateEdit* Picker(const MainWindowUnderTest& w, const char* name) { return Find<QDateEdit>(w.window, name); }

// The days shown, and both pickers and dates the days apart.
void VerifyDays(MainWindowUnderTest& w, int days)
{
    QCOMPARE(w.Edit("ebLength")->text(), QString::number(days));
    QCOMPARE(w.window.Panel().Date("EndDate"), w.window.Panel().Date("StartDate") + days);
    QCOMPARE(Picker(w, "EndDate")->date(), Picker(w, "StartDate")->date().addDays(days));
}

// 60 daily bars from Saturday 2024-01-06, weekends included.
QByteArray RealFile()
{
    QString text = QStringLiteral("Date,Open,High,Low,Close,Volume\n");
    for (double i = 0, close = 100, next = 0; i < 60; ++i, close = next) {
        next = close * std::exp(0.01 * std::sin(i * 2.3));
        text += QStringLiteral("%1,%2,%3,%4,%5,%6\n").arg(QDate(2024, 1, 6).addDays(qint64(i)).toString(Qt::ISODate)).arg(close)
                    .arg(std::max(close, next) * 1.01).arg(std::min(close, next) * 0.99).arg(next).arg(1000 + 10 * i);
    }
    return text.toLatin1();
}

bool CentredOnItsScreen(const QWidget& window, const QRect& frame)
{
    return (frame.center() - window.screen()->availableGeometry().center()).manhattanLength() <= 2;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowUnderTest> w;
    QTemporaryDir config;  // the settings folder's parent (XDG_CONFIG_HOME)

    QString SettingsPath() const { return config.filePath(QStringLiteral("tickforge/TKF.ini")); }

    QString Activity() const { return Find<QLabel>(w->progress, "Activity")->text(); }
    QString HistoryLine() const { return Find<QLabel>(w->window, "lblHistory")->text(); }

    void VerifyIdle()
    {
        QVERIFY(w->window.TakesInput() && !w->window.Busy() && !w->progress.isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(Activity(), QStringLiteral("Idle"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        QVERIFY(QDir(config.path()).mkpath(QStringLiteral("tickforge")));
    }

    void init()
    {
        QFile::remove(SettingsPath());
        w = std::make_unique<MainWindowUnderTest>();
    }
    void cleanup() { w.reset(); }

    void formIsTheDesignedPanel()
    {
        TGenerator& window = w->window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Corvane Tickforge"));
        QCOMPARE(w->progress.windowTitle(), QStringLiteral("Progress"));
        for (const DesignedControl& designed : DesignedPanel) {
            QVERIFY2(Find(window, designed.Name)->isEnabled() == designed.Enabled, designed.Name);
            if (designed.Kind == ControlKind::Text)
                QCOMPARE(Find<QLineEdit>(window, designed.Name)->text(), QString::fromUtf8(designed.Text));
            else if (designed.Kind != ControlKind::Date)
                QVERIFY2(Find<QAbstractButton>(window, designed.Name)->isChecked() == designed.Checked, designed.Name);
        }
        QCOMPARE(Find(window, "Chart1")->toolTip(), QStringLiteral("Select area with left button to zoom, with right button to scroll"));
        for (const char* pictured : {"btnExport", "btnExportMulti", "btnExpand", "BitBtn1"})
            QVERIFY2(!Find<QAbstractButton>(window, pictured)->icon().isNull(), pictured);
        // No history to copy yet, by the button or the chart's menu.
        QVERIFY(!w->Button("btnCopyCommand")->isEnabled() && !w->Chart().actions().at(0)->isEnabled());
        // The pickers span the command line's years, show the exported files' date pattern and drop down a calendar.
        for (const char* name : {"StartDate", "EndDate"}) {
            auto* picker = Find<QDateEdit>(window, name);
            QVERIFY(picker->minimumDate() == QDate(1, 1, 1) && picker->maximumDate() == QDate(9999, 12, 31));
            QCOMPARE(picker->text(), QString::fromStdString(FormatShortDate(window.Panel().Date(name), UserLocaleFormats().shortDatePattern)));
            QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(picker->width() - 6, picker->height() / 2));
            QVERIFY(picker->calendarWidget() != nullptr && picker->calendarWidget()->isVisible());
            picker->calendarWidget()->window()->close();
        }
    }

    void textFieldsAreRepaired_data() { AddRows(FieldCases); }

    void textFieldsAreRepaired()
    {
        const FieldCase& row = FetchRow(FieldCases);
        const QString field = QString::fromLatin1(row.field);
        Find<QTabWidget>(w->window, "pcParameters")->setCurrentWidget(Find(w->window, field == "ebMinPrice" ? "tsPrice" : "tsTime"));
        if (*row.box) {
            QTest::mouseClick(w->Button(row.box), Qt::LeftButton);
            QVERIFY(w->Edit(field)->isEnabled());
        }
        if (row.typed) {
            w->Edit(field)->selectAll();
            w->Edit(field)->setFocus();
            QTest::keyClicks(w->Edit(field), row.input);
        } else {
            w->Paste(field, row.input);
        }
        QCOMPARE(w->Edit(field)->text(), QString::fromLatin1(row.shown));
        QCOMPARE(w->beeps, row.beeps);
        QCOMPARE(w->Edit("ebRandomPeriodMin")->text(), QString::fromLatin1(row.randomMinimum));
        VerifyDays(*w, field == "ebLength" ? 60 : 180);  // the days move the end date
    }

    void boxClicksReachTheirRules()
    {
        Find<QTabWidget>(w->window, "pcParameters")->setCurrentWidget(Find(w->window, "tsPrice"));
        QTest::mouseClick(w->Button("cbMax"), Qt::LeftButton);
        QVERIFY(w->Edit("ebMaxPrice")->isEnabled());
        QTest::mouseClick(w->Button("cbSeedRandom"), Qt::LeftButton);
        QVERIFY(!w->Button("cbMax")->isChecked() && !w->Button("cbMax")->isEnabled());
    }

    void datePickedByTheUserGivesTheDays()
    {
        const DateTimeValue start = w->window.Panel().Date("StartDate");
        Picker(*w, "EndDate")->setDate(Picker(*w, "StartDate")->date().addDays(10));
        VerifyDays(*w, 10);
        // A start after the end drags the end along; both keep the start's time of day.
        Picker(*w, "StartDate")->setDate(Picker(*w, "StartDate")->date().addDays(185));
        QCOMPARE(w->window.Panel().Date("StartDate"), start + 185);
        VerifyDays(*w, 1);
        QCOMPARE(w->beeps, 0);
    }

    void panelKeepsTextsAsTheirBytesAndNamesAMissingOrMistypedControl()
    {
        QWidget root;
        auto* edit = new QLineEdit(&root);
        edit->setObjectName(QStringLiteral("ebSecurityName"));
        (new QCheckBox(&root))->setObjectName(QStringLiteral("cbMin"));
        WidgetPanel panel(root, {});
        // Bytes of an old Latin-1 file show as Latin-1 and, unedited, go back unchanged.
        for (const std::string bytes : {"Soci\xe9t\xe9", "Soci\xc3\xa9t\xc3\xa9"}) {
            panel.SetText("ebSecurityName", bytes);
            QCOMPARE(edit->text(), QStringLiteral("Soci\u00e9t\u00e9"));
            QCOMPARE(panel.Text("ebSecurityName"), bytes);
        }
        edit->setText(QStringLiteral("Soci\u00e9t\u00e9!"));  // an edit is written as UTF-8
        QCOMPARE(panel.Text("ebSecurityName"), std::string("Soci\xc3\xa9t\xc3\xa9!"));
        // A form that lacks a control, or holds one of another kind, is refused.
        QVERIFY_THROWS_EXCEPTION(Error, panel.Text("ebNowhere"));
        QVERIFY_THROWS_EXCEPTION(Error, panel.Text("cbMin"));
        QVERIFY_THROWS_EXCEPTION(Error, panel.CheckDesignedControls());
    }
    void goDrawsTheHistoryAndTheDisplayControlsChangeOnlyTheDrawing()
    {
        w->Paste("ebLength", QStringLiteral("20"));  // days wide enough for bars of full width
        QTest::mouseClick(w->Button("btnGenerate"), Qt::LeftButton);
        QVERIFY(w->boxes.boxes.empty());
        VerifyIdle();
        const TTimeSeriesSet& history = w->Run().GeneratedSet;
        HistoryChart& chart = w->Chart();
        QVERIFY(history.Length() > 0 && ChartShows(chart, history) && !chart.IsZoomed());
        const QImage shot = w->window.grab().toImage();
        QCOMPARE(shot.size(), QSize(721, 573));
        QVERIFY(shot.save(QStringLiteral(TICKFORGE_TEST_ARTEFACTS "/MainWindowAfterGo.png")));

        const auto whole = ViewOf(chart);
        const double firstClose = history.GetValue(SeriesClose, 0);
        ZoomIntoAPart(chart);
        QTest::mouseClick(w->Button("btnExpand"), Qt::LeftButton);
        QVERIFY(!chart.IsZoomed() && ViewOf(chart) == whole);
        // Candles 4 pixels wide, bars 6; colour turns the gradient off and on.
        QTest::mouseClick(w->Button("rbCandle"), Qt::LeftButton);
        QVERIFY(chart.Style() == HistoryChart::CandleStyle::Candlestick && chart.CandleWidth() == 4);
        QTest::mouseClick(w->Button("rbBar"), Qt::LeftButton);
        QVERIFY(chart.Style() == HistoryChart::CandleStyle::Bar && chart.CandleWidth() == 6);
        QTest::mouseClick(w->Button("cbColor"), Qt::LeftButton);
        QVERIFY(!chart.GradientVisible());
        QTest::mouseClick(w->Button("cbColor"), Qt::LeftButton);
        QVERIFY(chart.GradientVisible());
        QVERIFY(history.GetValue(SeriesClose, 0) == firstClose && ChartShows(chart, history) && ViewOf(chart) == whole);
    }

    void panelTakesNoInputDuringARun_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("GO") << "btnGenerate";
        QTest::newRow("Apply, which makes a history first") << "btnCorrupt";
    }

    void panelTakesNoInputDuringARun()
    {
        QFETCH(QString, button);
        // 36 million ticks: longer than the first interval before events are delivered.
        w->Paste("ebTicksPerDay", QStringLiteral("200000"));
        Find<QTabWidget>(w->window, "pcParameters")->setCurrentWidget(Find(w->window, "tsTime"));
        w->Edit("ebLength")->setFocus();
        w->Edit("ebLength")->end(false);
        // Input as the window system delivers it: to the native window first.
        QWindow* native = w->window.windowHandle();
        bool sampled = false, closed = true;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        QString activity, daysTyped;
        // Fires at the first delivery of events inside the run.
        QTimer::singleShot(0, this, [&] {
            sampled = w->progress.isVisible() && !w->window.TakesInput() && w->window.Busy();
            cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
            activity = Activity();
            closed = w->window.close() || w->progress.close();  // neither can be closed
            QTest::keyClick(native, Qt::Key_9);
            daysTyped = w->Edit("ebLength")->text();
        });
        w->Press(button);
        QVERIFY(sampled && !closed);
        QCOMPARE(daysTyped, QStringLiteral("180"));
        QCOMPARE(cursor, Qt::WaitCursor);
        QCOMPARE(activity, QStringLiteral("Making History..."));
        VerifyIdle();
        QTest::keyClick(native, Qt::Key_9);  // afterwards the panel takes input again
        QCOMPARE(w->Edit("ebLength")->text(), QStringLiteral("1809"));
    }

    // The text is checked on the window-free run; the window shows it in a box.
    void conversionErrorShowsItsBox()
    {
        w->Do({"ebTicksPerDay=abc", "btnGenerate"});
        QCOMPARE(w->boxes.texts, QStringList{QStringLiteral("'abc' is not a valid integer value.")});
        QCOMPARE(w->boxes.boxes[0].title, QStringLiteral("Tickforge"));
        QCOMPARE(w->boxes.boxes[0].icon, AlertIcon::Stop);
        QCOMPARE(w->Chart().Series1()->dataCount(), 0);
        VerifyIdle();
    }

    void abortFromTheProgressWindowLeavesNoBarsAndNothingToCopy()
    {
        // Forty million ticks: far longer than the moment the gauge reaches 10.
        w->Do({"ebLength=400", "ebTicksPerDay=100000", "btnGenerate"});  // a history for the abort to empty
        int gaugeAtAbort = -1;
        QTimer presser;
        presser.setInterval(1);
        connect(&presser, &QTimer::timeout, this, [&] {
            const int gauge = Find<QProgressBar>(w->progress, "Gauge1")->value();
            if (w->progress.isVisible() && gauge >= 10 && gaugeAtAbort < 0) {
                gaugeAtAbort = gauge;
                QTest::mouseClick(Find<QAbstractButton>(w->progress, "btnAbort"), Qt::LeftButton);
            }
        });
        presser.start();
        w->Press("btnGenerate");
        presser.stop();

        QVERIFY(gaugeAtAbort >= 10 && gaugeAtAbort < 50);
        QCOMPARE(w->Run().GeneratedSet.Length(), 0);
        QCOMPARE(w->Chart().Series1()->dataCount(), 0);
        QCOMPARE(HistoryLine(), QStringLiteral("No bars"));
        QVERIFY(!w->Button("btnCopyCommand")->isEnabled() && !w->Chart().actions().at(0)->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        w->window.btnCopyCommandClick();  // nothing to copy
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
        QVERIFY(w->boxes.boxes.empty());
        VerifyIdle();
    }

    void copiedCommandMakesTheSameSpoiledFileWithTheDialogsFormat()
    {
        // Drawn price and period, weekends, shocks, bias and dirty data.
        w->Do({"cbSeedRandom", "cbRandomPeriod", "ebLength=40", "ebRandomPeriodMin=20", "cbWeekends", "cbActiveShock",
               "ebShockFreq=5", "cbActiveBias", "ebSecurityName=O'Neil & Co", "cbDirtyDataActive", "ebDirtydata=30",
               "btnGenerate", "btnCopyCommand"});
        auto* dialog = w->window.findChild<TfrmWriteMarket*>();
        for (const char* box : {"cbTicker", "cbHeadings", "cbQuotes", "rbTab", "cbVolume"})
            Find<QAbstractButton>(*dialog, box)->click();
        Find<QLineEdit>(*dialog, "ebPrec")->setText(QStringLiteral("8"));
        // The same command by the button and in the chart's own menu.
        QAction* inMenu = w->Chart().actions().value(0);
        QVERIFY(inMenu != nullptr && inMenu->isEnabled() && inMenu->text() == w->Button("btnCopyCommand")->text());
        QApplication::clipboard()->clear();
        inMenu->trigger();
        const QString command = QApplication::clipboard()->text();
        QApplication::clipboard()->clear();
        w->Press("btnCopyCommand");
        QCOMPARE(QApplication::clipboard()->text(), command);
        // The line under the chart names the bars, the price and the seed the command carries.
        const TTimeSeriesSet& shown = w->Run().GeneratedSet;
        const auto date = [&](std::int32_t bar) {
            return QString::fromStdString(FormatShortDate(shown.GetTime(SeriesClose, bar), w->Run().Formats().shortDatePattern));
        };
        const QString price = QRegularExpression(QStringLiteral(" --price (\\S+) ")).match(command).captured(1);
        QCOMPARE(HistoryLine(), QStringLiteral("%1 bars from %2 to %3, starting price %4, seed %5")
                                    .arg(shown.Length()).arg(date(0), date(shown.Length() - 1), price).arg(w->Run().LastRun->seed));
        QVERIFY(!price.isEmpty() && command.endsWith(QStringLiteral(" --rng-seed %1").arg(w->Run().LastRun->seed)));
        QVERIFY(command.contains(QStringLiteral(" --dirty 30 --columns TDOHLC --headings --no-quotes --tab --precision 8 ")));

        QTemporaryDir folder;
        QProcess cli;
        const Undo path =
            SetEnvironment("PATH", QFileInfo(TICKFORGE_CLI_PATH).path().toStdString() + ":" + qgetenv("PATH").constData());
        cli.setWorkingDirectory(folder.path());
        cli.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command + QStringLiteral(" -q -o cli.csv")});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.readAllStandardError(), QByteArray());
        QCOMPARE(cli.exitCode(), 0);

        const QString exported = folder.filePath(QStringLiteral("desktop.csv"));
        ExportJob job;
        job.SecurityName = [this] { return w->window.Panel().Text("ebSecurityName"); };
        job.Bars = &w->Run().WorkingSet;
        job.Formats = w->Run().Formats();
        QCOMPARE(ExportHistories(dialog->ReadExportFormat(), exported.toStdString(), job).Stop, ExportResult::Finished);
        const QByteArray bytes = ReadFile(folder.filePath(QStringLiteral("cli.csv")));
        QVERIFY(bytes.size() > 100);
        QCOMPARE(bytes, ReadFile(exported));
    }
    void statisticsAndFitToDataShowTheirReportsAndFitSetsThePanelThroughItsRules()
    {
        QWidget* panelArea = Find(w->window, QStringLiteral("pnlTop"));
        const auto chooseStatisticsFromContextMenu = [&] {
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
        chooseStatisticsFromContextMenu();
        QCOMPARE(w->boxes.texts, QStringList{QStringLiteral("There is no history yet: press GO, or fit to a real file first.")});
        w->Do({QStringLiteral("ebLength=20"), QStringLiteral("ebTicksPerDay=50"), QStringLiteral("btnGenerate")});
        chooseStatisticsFromContextMenu();
        StatisticsWindow& statistics = *w->window.findChild<AnalysisMenu*>()->Statistics();
        QVERIFY(statistics.isVisible());
        QCOMPARE(statistics.Table().columnCount(), 1);
        QCOMPARE(statistics.Table().item(0, 0)->text(), QString::number(w->Run().GeneratedSet.Length()));
        QCOMPARE(statistics.Plot().plottableCount(), 2);  // the histogram and the normal curve
        statistics.close();
        w->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w->window));

        // Fit to data by its shortcut: a file with too few bars, then a real history.
        QTemporaryDir folder;
        const QString real = folder.filePath(QStringLiteral("real.csv")), bad = folder.filePath(QStringLiteral("bad.csv"));
        QVERIFY(WriteFile(real, RealFile()));
        QVERIFY(WriteFile(bad, "Date,Open,High,Low,Close\n2024-01-01,1,1,1,1\n"));
        QString chosen = bad;
        const Undo chooser = Replace(SetOpenFileChooser, [&](QWidget*) { return std::optional<QString>(chosen); });
        w->Button(QStringLiteral("cbSeedRandom"))->setChecked(false);
        QTest::keyClick(&w->window, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->boxes.texts.value(1), bad + QStringLiteral(":2: only 1 usable bars; at least 30 are needed."));
        QCOMPARE(w->Edit(QStringLiteral("ebLength"))->text(), QStringLiteral("20"));

        chosen = real;
        QTest::keyClick(&w->window, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->boxes.boxes.size(), std::size_t{2});
        QCOMPARE(w->Edit(QStringLiteral("ebLength"))->text(), QStringLiteral("60"));
        QCOMPARE(w->Edit(QStringLiteral("ebSeed"))->text(), QStringLiteral("100.0000"));
        // The fixed price's rule ran on the widgets: its field is open again.
        QVERIFY(w->Edit(QStringLiteral("ebSeed"))->isEnabled());
        QCOMPARE(w->Edit(QStringLiteral("ebTicksPerDay"))->text(), QStringLiteral("50"));
        // The current history as bars, the real one over it, and the normal curve.
        QVERIFY(statistics.isVisible());
        QCOMPARE(statistics.Table().columnCount(), 2);
        QCOMPARE(statistics.Table().horizontalHeaderItem(1)->text(), QStringLiteral("real.csv"));
        QCOMPARE(statistics.Table().item(0, 1)->text(), QStringLiteral("60"));
        QCOMPARE(statistics.Plot().plottableCount(), 3);
        QCOMPARE(statistics.Plot().graph(0)->name(), QStringLiteral("real.csv"));
        w->Press(QStringLiteral("btnGenerate"));  // the open window follows the next history
        QVERIFY(statistics.Table().item(0, 0)->text() == QStringLiteral("60") && statistics.Table().columnCount() == 2);
    }
    void firstStartShowsTheDefaultsAndTheSavedPanelComesBackThroughItsRules()
    {
        AlertRecorder boxes;
        const DateTimeValue before = NowLocal();
        auto window = std::make_unique<TGenerator>(nullptr, "TKF.ini");
        PanelControls& panel = window->Panel();
        QCOMPARE(window->Chart().Style(), HistoryChart::CandleStyle::Candlestick);  // as the panel's box says
        // Start now, end the length later.
        const DateTimeValue start = panel.Date("StartDate");
        QVERIFY(start >= before - 1e-6 && start <= NowLocal() + 1e-6);
        QVERIFY(std::abs(panel.Date("EndDate") - start - 180) < 1.0 / 24);
        QVERIFY(!QFile::exists(SettingsPath()));  // nothing is written at start

        panel.SetText("ebSecurityName", "XJO");
        panel.SetText("ebLength", "400");
        panel.SetChecked("rbBar", true);
        window.reset();
        QVERIFY(boxes.boxes.empty());
        // The restored length moves the end date; the restored box sets the chart's style.
        TGenerator again(nullptr, "TKF.ini");
        QCOMPARE(again.Panel().Text("ebSecurityName"), std::string("XJO"));
        QVERIFY(std::abs(again.Panel().Date("EndDate") - again.Panel().Date("StartDate") - 400) < 1.0 / 24);
        QCOMPARE(again.Chart().Style(), HistoryChart::CandleStyle::Bar);
    }

    void windowsAppearInOrderWithTheSplashUpCentredOnTop()
    {
        QVERIFY(WriteFile(SettingsPath(), "[Generator]\nSecurityName=XJO\n"));
        // Per step: the splash up (S); the progress window (P), credits (C), format dialog (F) made; the main window shown (G).
        QStringList seen;
        std::vector<int> waits;
        QRect splashFrame;
        QString nameAtCreation;
        bool splashUpDuringWait = false;
        const ProgramWindows* current = nullptr;
        StartUpOptions options;
        options.observer = [&](StartUpStep step, const ProgramWindows& windows) {
            seen << QStringLiteral("%1:%2%3%4%5%6").arg(static_cast<int>(step))
                        .arg(windows.frmSplash && windows.frmSplash->isVisible() ? "S" : "", windows.Progress ? "P" : "",
                             windows.frmBetaTesters ? "C" : "", windows.frmWriteMarket ? "F" : "",
                             windows.Generator->isVisible() ? "G" : "");
            if (step == StartUpStep::MainWindowCreated)
                nameAtCreation = Find<QLineEdit>(*windows.Generator, "ebSecurityName")->text();
            if (step == StartUpStep::SplashRepainted)
                splashFrame = windows.frmSplash->frameGeometry();
            current = &windows;
        };
        options.wait = [&](int milliseconds) {
            waits.push_back(milliseconds);
            splashUpDuringWait = current->frmSplash->isVisible();
        };
        const std::unique_ptr<ProgramWindows> windows = StartUp(options);

        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tickforge"));
        // First the main window, settings restored, unshown; then splash, progress, credits, repaint, format dialog, wait, hide.
        QCOMPARE(nameAtCreation, QStringLiteral("XJO"));
        QCOMPARE(seen, (QStringList{"0:", "1:S", "2:SP", "3:SPC", "4:SPC", "5:SPCF", "6:SPCF", "7:PCF"}));
        QCOMPARE(waits, std::vector<int>{3000});
        QVERIFY(splashUpDuringWait);
        QVERIFY(CentredOnItsScreen(*windows->frmSplash, splashFrame));
        QVERIFY(!windows->Progress->isVisible());
    }

    void mainWindowOpensCentredAndItsAboutBoxShowsTheCreditsModally()
    {
        const std::unique_ptr<ProgramWindows> windows = StartUp({.wait = [](int) {}, .observer = {}});
        ShowMainWindow(*windows);
        TGenerator& main = *windows->Generator;
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCOMPARE(main.focusWidget(), Find(main, "btnGenerate"));
        QVERIFY(CentredOnItsScreen(main, main.frameGeometry()));
        main.move(main.pos() + QPoint(40, 30));  // centred only when first shown
        const QPoint moved = main.pos();
        main.hide();
        main.show();
        QCOMPARE(main.pos(), moved);

        // About shows the program's splash window modally with its OK, and the credits over it.
        TfrmSplash& splash = *windows->frmSplash;
        TfrmBetaTesters& credits = *windows->frmBetaTesters;
        QCOMPARE(credits.windowTitle(), QStringLiteral("Beta Testers"));
        bool okVisible = false;
        QWidget *modal = nullptr, *modalInCredits = nullptr, *modalAfterCredits = nullptr;
        QTimer::singleShot(0, &splash, [&] {
            modal = QApplication::activeModalWidget();
            okVisible = Find(splash, "sbtnOK")->isVisible();
            QTimer::singleShot(0, &credits, [&] {
                modalInCredits = QApplication::activeModalWidget();
                QTest::mouseClick(Find(credits, "btnOK"), Qt::LeftButton);
            });
            QTest::mouseClick(Find(splash, "Button1"), Qt::LeftButton);
            modalAfterCredits = QApplication::activeModalWidget();
            QTest::keyClick(&splash, Qt::Key_Return);
        });
        GuardAgainstHanging(&splash);
        Find<QAbstractButton>(main, "BitBtn1")->click();
        QVERIFY(modal == &splash && okVisible && modalInCredits == &credits && modalAfterCredits == &splash);
        QVERIFY(!splash.isVisible() && !credits.isVisible() && main.isVisible());
        QCOMPARE(splash.result(), int(QDialog::Accepted));
    }

    void splashPicturesDecodeAndItsAddressLabelsOpenTheMakersAddresses()
    {
        InitPictures();
        QCOMPARE(LoadPicture(SplashPicturePath).size(), QSize(448, 358));
        QCOMPARE(LoadPicture(CreditsPicturePath).size(), QSize(322, 257));
        QCOMPARE(LoadPicture(ApplicationIconPath).size(), QSize(256, 256));

        std::vector<QString> opened;
        const Undo opener = Replace(SetUrlOpener, [&opened](const QUrl& url) { return opened.push_back(url.toString()), true; });
        TfrmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::mouseClick(Find(splash, "lblEmail"), Qt::LeftButton);
        QTest::mouseClick(Find(splash, "lblWWW"), Qt::LeftButton);
        QCOMPARE(opened, (std::vector<QString>{"mailto:tickforge@example.org", "https://tickforge.example.org/"}));
        // Targets are cut to 79 characters.
        const QString longTarget = QStringLiteral("https://tickforge.example.org/") + QString(80, QLatin1Char('a'));
        OpenWithShell(longTarget);
        QCOMPARE(opened.back(), longTarget.left(79));
    }

    // Last: it runs the application's event loop to its end.
    void closingTheMainWindowEndsTheProgramAndSavesTheSettings()
    {
        w.reset();  // the program's own windows only
        std::unique_ptr<ProgramWindows> windows = StartUp({.wait = [](int) {}, .observer = {}});
        TGenerator* main = windows->Generator.get();
        QTimer::singleShot(0, main, [main] {
            main->Panel().SetText("ebSecurityName", "ZZZ");
            main->close();
        });
        GuardAgainstHanging(main);
        QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });
        QCOMPARE(RunProgram(std::move(windows)), 0);

        QVERIFY(ReadFile(SettingsPath()).contains("\nSecurityName=ZZZ\n"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
