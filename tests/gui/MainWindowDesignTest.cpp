// The main window and the progress window as designed: captions, initial texts,
// enabled states, hints as the user sees them (inherited from the enclosing control
// where a control has none), tabs in front, focus, sizes and the window frames.

#include "GuiTestSupport.h"
#include "HistoryChart.h"
#include "TGenerator.h"
#include "TProgress.h"
#include "WidgetPanel.h"
#include "synthesis/Abort.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolTip>
#include <QtTest>

#include <cmath>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// The hint a user sees when resting the mouse on widget: a real tool-tip event, which
// Qt hands on to the enclosing controls until one of them shows a hint.
QString ShownHint(QWidget* widget)
{
    QToolTip::hideText();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QPoint inside(1, 1);
    QHelpEvent event(QEvent::ToolTip, inside, widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class MainWindowDesign : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void windowCaptionSizeAndFocus();
    void pageControlsShowTheirTabsWithTheRightOneInFront();
    void textFieldsStartWithTheirDesignedTexts_data();
    void textFieldsStartWithTheirDesignedTexts();
    void boxesAndButtonsStartWithTheirCaptionsAndTicks_data();
    void boxesAndButtonsStartWithTheirCaptionsAndTicks();
    void labelsAndGroupsCarryTheirCaptions_data();
    void labelsAndGroupsCarryTheirCaptions();
    void hintsAsTheUserSeesThem_data();
    void hintsAsTheUserSeesThem();
    void dirtyDataBoxShowsNoHintAtAll();
    void tickSizeFieldIsHiddenAndDisabled();
    void securityNameIsBold();
    void datePickersShowShortDatesWithCalendar();
    void datesStartAtNowAndNowPlusTheDays();
    void chartStartsInBarStyleWithGradient();

    void progressWindowDesign();
    void progressWindowCannotBeClosedByTheUser();
    void abortButtonOnlyRequestsAbort();

private:
    TGenerator* window_ = nullptr;
};

void MainWindowDesign::init()
{
    window_ = new TGenerator;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void MainWindowDesign::cleanup()
{
    delete window_;
    window_ = nullptr;
}

void MainWindowDesign::windowCaptionSizeAndFocus()
{
    QCOMPARE(window_->windowTitle(), QStringLiteral("Corvane Tickforge"));
    QCOMPARE(window_->size(), QSize(721, 573));
    // The outer 729 x 350 less a usual frame of 4 pixels a side and a 23-pixel caption.
    QCOMPARE(window_->minimumSize(), QSize(721, 319));
    window_->resize(300, 200);
    QCOMPARE(window_->size(), QSize(721, 319));
    QCOMPARE(window_->focusWidget(), Find<QWidget>(*window_, "btnGenerate"));
}

void MainWindowDesign::pageControlsShowTheirTabsWithTheRightOneInFront()
{
    auto* pages = Find<QTabWidget>(*window_, "pcParameters");
    QVERIFY(pages);
    QCOMPARE(pages->count(), 4);
    QCOMPARE(pages->tabText(0), QStringLiteral("Time"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Price"));
    QCOMPARE(pages->tabText(2), QStringLiteral("Volume"));
    QCOMPARE(pages->tabText(3), QStringLiteral("Dirty Data"));
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("tsDirtyData"));

    auto* distribution = Find<QTabWidget>(*window_, "pcDistribution");
    QVERIFY(distribution);
    QCOMPARE(distribution->count(), 3);
    QCOMPARE(distribution->tabText(0), QStringLiteral("Normal"));
    QCOMPARE(distribution->tabText(1), QStringLiteral("Bias"));
    QCOMPARE(distribution->tabText(2), QStringLiteral("Shock"));
    QCOMPARE(distribution->currentIndex(), 0);

    // Every control sits on the tab the panel lists it under.
    const auto onPage = [&](const char* control, const char* page) {
        QWidget* widget = Find<QWidget>(*window_, control);
        return widget && Find<QWidget>(*window_, page)->isAncestorOf(widget);
    };
    QVERIFY(onPage("ebLength", "tsTime"));
    QVERIFY(onPage("cbRandomPeriod", "tsTime"));
    QVERIFY(onPage("ebSeed", "gbSeed"));
    QVERIFY(onPage("ebMaxPrice", "gbBounds"));
    QVERIFY(onPage("rbSoft", "gbBounds"));
    QVERIFY(onPage("ebVolatility", "tsNormal"));
    QVERIFY(onPage("ebBias", "tsBias"));
    QVERIFY(onPage("ebShockMag", "tsShock"));
    QVERIFY(onPage("ebMaxVolume", "tsVolume"));
    QVERIFY(onPage("btnCorrupt", "tsDirtyData"));
    QVERIFY(onPage("BitBtn1", "Panel8"));
    QVERIFY(onPage("btnGenerate", "Panel8"));
    QVERIFY(onPage("btnExportMulti", "gbMulti"));
}

void MainWindowDesign::textFieldsStartWithTheirDesignedTexts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("days") << "ebLength" << "180" << true;
    QTest::newRow("random period minimum") << "ebRandomPeriodMin" << "90" << false;
    QTest::newRow("ticks per day") << "ebTicksPerDay" << "1000" << true;
    QTest::newRow("fixed seed") << "ebSeed" << "3000" << true;
    QTest::newRow("random seed minimum") << "ebSeedMin" << "0" << false;
    QTest::newRow("random seed maximum") << "ebSeedMax" << "5000" << false;
    QTest::newRow("minimum price") << "ebMinPrice" << "0" << false;
    QTest::newRow("maximum price") << "ebMaxPrice" << "5000" << false;
    QTest::newRow("volatility") << "ebVolatility" << "1" << true;
    QTest::newRow("bias") << "ebBias" << "4.5" << true;
    QTest::newRow("shock frequency") << "ebShockFreq" << "100" << true;
    QTest::newRow("shock magnitude") << "ebShockMag" << "3" << true;
    QTest::newRow("minimum volume") << "ebMinVolume" << "0" << true;
    QTest::newRow("maximum volume") << "ebMaxVolume" << "1000" << true;
    QTest::newRow("bad ticks") << "ebDirtydata" << "5" << true;
    QTest::newRow("security name") << "ebSecurityName" << "AOI" << true;
    QTest::newRow("batch count") << "ebMultiples" << "10" << true;
}

void MainWindowDesign::textFieldsStartWithTheirDesignedTexts()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    auto* edit = Find<QLineEdit>(*window_, control.toLatin1().constData());
    QVERIFY(edit);
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->isEnabled(), enabled);
    // No field restricts what can be typed.
    QVERIFY(!edit->validator());
    QVERIFY(edit->inputMask().isEmpty());
}

void MainWindowDesign::boxesAndButtonsStartWithTheirCaptionsAndTicks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("weekends") << "cbWeekends" << "Weekends" << false;
    QTest::newRow("random period") << "cbRandomPeriod" << "Random Min :" << false;
    QTest::newRow("fixed seed") << "cbSeedRandom" << "Fixed :" << true;
    QTest::newRow("minimum bound") << "cbMin" << "Min :" << false;
    QTest::newRow("maximum bound") << "cbMax" << "Max :" << false;
    QTest::newRow("hard") << "rbHard" << "Hard" << true;
    QTest::newRow("soft") << "rbSoft" << "Soft" << false;
    QTest::newRow("bias") << "cbActiveBias" << "Active" << false;
    QTest::newRow("shock") << "cbActiveShock" << "Active" << false;
    QTest::newRow("dirty data") << "cbDirtyDataActive" << "Active" << false;
    QTest::newRow("bar") << "rbBar" << "Bar" << true;
    QTest::newRow("candle") << "rbCandle" << "Candle" << false;
    QTest::newRow("color") << "cbColor" << "Color" << true;
    QTest::newRow("apply") << "btnCorrupt" << "Apply" << false;
    QTest::newRow("go") << "btnGenerate" << "GO" << false;
}

void MainWindowDesign::boxesAndButtonsStartWithTheirCaptionsAndTicks()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(bool, ticked);
    auto* button = Find<QAbstractButton>(*window_, control.toLatin1().constData());
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->isChecked(), ticked);
    QVERIFY(button->isEnabled());
}

void MainWindowDesign::labelsAndGroupsCarryTheirCaptions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::newRow("start") << "lblStartDate" << "Start :";
    QTest::newRow("end") << "lblEndDate" << "End :";
    QTest::newRow("days") << "lblLength" << "Days :";
    QTest::newRow("ticks per day") << "lblTicksPerDay" << "Ticks/Day :";
    QTest::newRow("random seed minimum") << "lblSeedMin" << "Random Min :";
    QTest::newRow("random seed maximum") << "lblSeedMax" << "Random Max :";
    QTest::newRow("tick size") << "lblTickSize" << "Tick Size :";
    QTest::newRow("volatility") << "lblVolatility" << "Daily Volatility (%) :";
    QTest::newRow("bias") << "lblBias" << "Rate (% pa) :";
    QTest::newRow("shock frequency") << "lblShockFreq" << "Days/Event :";
    QTest::newRow("shock magnitude") << "lblShockMag" << "Magnitude :";
    QTest::newRow("minimum volume") << "lblMinVolume" << "Min :";
    QTest::newRow("maximum volume") << "lblMaxVolume" << "Max :";
    QTest::newRow("bad ticks") << "lblDirtydata" << "Bad Ticks (%) :";
    QTest::newRow("security name") << "lblSecurityName" << "Name :";
    QTest::newRow("seed group") << "gbSeed" << "Seed";
    QTest::newRow("price bounds group") << "gbBounds" << "Bounds";
    QTest::newRow("volume bounds group") << "gbVolume" << "Bounds";
    QTest::newRow("batch box") << "gbMulti" << "Multi :";
}

void MainWindowDesign::labelsAndGroupsCarryTheirCaptions()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QWidget* widget = Find<QWidget>(*window_, control.toLatin1().constData());
    QVERIFY(widget);
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), caption);
    else
        QCOMPARE(qobject_cast<QGroupBox*>(widget)->title(), caption);
}

void MainWindowDesign::hintsAsTheUserSeesThem_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    QTest::newRow("start date") << "StartDate" << "Start date of series";
    QTest::newRow("end date") << "EndDate" << "End date of series";
    QTest::newRow("days") << "ebLength" << "Number of days in series";
    QTest::newRow("weekends") << "cbWeekends" << "Include weekends in series";
    QTest::newRow("random period") << "cbRandomPeriod" << "Select a random period within two dates";
    QTest::newRow("random period minimum, disabled") << "ebRandomPeriodMin" << "Minimum number of days in a random period";
    QTest::newRow("ticks per day") << "ebTicksPerDay" << "Number of trades per day";
    QTest::newRow("fixed seed box") << "cbSeedRandom" << "Use the fixed seed";
    QTest::newRow("fixed seed") << "ebSeed" << "Fixed seed value";
    QTest::newRow("random seed minimum") << "ebSeedMin" << "Minimum random seed value";
    QTest::newRow("random seed maximum") << "ebSeedMax" << "Maximum random seed value";
    QTest::newRow("minimum bound") << "cbMin" << "Enforce minimum bound";
    QTest::newRow("minimum price") << "ebMinPrice" << "Minimum Price bound";
    QTest::newRow("maximum bound") << "cbMax" << "Enforce maximum bound";
    QTest::newRow("maximum price") << "ebMaxPrice" << "Maximum Price bound";
    QTest::newRow("hard") << "rbHard" << "Enforce bound immediately";
    QTest::newRow("soft") << "rbSoft" << "Enforce bound gradually";
    QTest::newRow("tick size label") << "lblTickSize" << "Not available in this version";
    QTest::newRow("distribution pages") << "pcDistribution" << "Activate Shock";
    QTest::newRow("volatility") << "ebVolatility" << "Percentage Daily Volatility";
    QTest::newRow("bias box") << "cbActiveBias" << "Activate Biasing";
    QTest::newRow("bias") << "ebBias" << "Percentage bias per annum";
    QTest::newRow("shock box, from its page control") << "cbActiveShock" << "Activate Shock";
    QTest::newRow("shock label, from its page control") << "lblShockFreq" << "Activate Shock";
    QTest::newRow("shock frequency") << "ebShockFreq" << "Probability of Event eg 100 implies one event in 100 days";
    QTest::newRow("shock magnitude")
        << "ebShockMag"
        << "Multiples of daily volatility eg. 3 implies that an event creates a maximum of 3 times more volatility than normal";
    QTest::newRow("minimum volume") << "ebMinVolume" << "Minimum Volume bound";
    QTest::newRow("maximum volume") << "ebMaxVolume" << "Maximum Volume bound";
    QTest::newRow("bad ticks") << "ebDirtydata" << "Percentage of bad ticks per day";
    QTest::newRow("security name") << "ebSecurityName" << "Security Name";
    QTest::newRow("export") << "btnExport" << "Export the series to a file";
    QTest::newRow("export batch") << "btnExportMulti" << "Export the current series (and generate more) to files";
    QTest::newRow("bar") << "rbBar" << "Display as Bar Chart";
    QTest::newRow("candle") << "rbCandle" << "Display as Candle Stick Chart";
    QTest::newRow("expand") << "btnExpand" << "Expand Chart";
    QTest::newRow("go") << "btnGenerate" << "Generate the series";
    QTest::newRow("chart") << "Chart1" << "Select area with left button to zoom, with right button to scroll";
}

void MainWindowDesign::hintsAsTheUserSeesThem()
{
    QFETCH(QString, control);
    QFETCH(QString, hint);
    QWidget* widget = Find<QWidget>(*window_, control.toLatin1().constData());
    QVERIFY(widget);
    // Hidden pages cannot be pointed at: bring the control's pages to the front.
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        auto* pages = qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
        if (pages && pages->indexOf(w) >= 0)
            pages->setCurrentWidget(w);
    }
    QCOMPARE(ShownHint(widget), hint);
}

void MainWindowDesign::dirtyDataBoxShowsNoHintAtAll()
{
    auto* box = Find<QCheckBox>(*window_, "cbDirtyDataActive");
    QVERIFY(box);
    // Even a hint of an enclosing control stays hidden.
    Find<QWidget>(*window_, "tsDirtyData")->setToolTip(QStringLiteral("enclosing hint"));
    QCOMPARE(ShownHint(box), QString());
    QCOMPARE(ShownHint(Find<QWidget>(*window_, "lblDirtydata")), QStringLiteral("enclosing hint"));
}

void MainWindowDesign::tickSizeFieldIsHiddenAndDisabled()
{
    auto* field = Find<QLineEdit>(*window_, "ebTickSize");
    QVERIFY(field);
    QVERIFY(field->isHidden());
    QVERIFY(!field->isEnabled());
    QCOMPARE(field->toolTip(), QStringLiteral("Smallest change allowed on exchange"));
    QCOMPARE(field->text(), QString());
}

void MainWindowDesign::securityNameIsBold()
{
    QVERIFY(Find<QLineEdit>(*window_, "ebSecurityName")->font().bold());
}

void MainWindowDesign::datePickersShowShortDatesWithCalendar()
{
    for (const char* name : {"StartDate", "EndDate"}) {
        auto* picker = Find<QDateEdit>(*window_, name);
        QVERIFY2(picker, name);
        QVERIFY(picker->calendarPopup());
        // Only date fields: the time of day is kept but never shown.
        QCOMPARE(picker->displayedSections() & QDateTimeEdit::TimeSections_Mask, QDateTimeEdit::Section(0));
        QVERIFY(picker->displayedSections() & QDateTimeEdit::DaySection);
        QVERIFY(picker->displayedSections() & QDateTimeEdit::MonthSection);
        QVERIFY(picker->displayedSections() & QDateTimeEdit::YearSection);
    }
}

void MainWindowDesign::datesStartAtNowAndNowPlusTheDays()
{
    PanelControls& panel = window_->Panel();
    const DateTimeValue now = NowLocal();
    const DateTimeValue start = panel.Date("StartDate");
    // The start is now, time of day included (a minute's grace for a slow machine).
    QVERIFY2(std::fabs(now - start) < 1.0 / 1440, qPrintable(QString::number(now - start)));
    QVERIFY(std::fabs(panel.Date("EndDate") - (start + 180)) < 1.0 / 1440);
    QCOMPARE(Find<QDateEdit>(*window_, "StartDate")->date(), DateOfDays(start));
    QCOMPARE(Find<QDateEdit>(*window_, "EndDate")->date(), DateOfDays(start).addDays(180));
}

void MainWindowDesign::chartStartsInBarStyleWithGradient()
{
    auto* chart = Find<HistoryChart>(*window_, "Chart1");
    QVERIFY(chart);
    QCOMPARE(chart->Style(), HistoryChart::CandleStyle::Bar);
    QCOMPARE(chart->CandleWidth(), 3.0);
    QVERIFY(chart->GradientVisible());
    QCOMPARE(chart->Series1()->dataCount(), 0);
    QCOMPARE(chart->Series2()->dataCount(), 0);
    QCOMPARE(chart->VolumeAxis()->label(), QStringLiteral("Volume"));
}

void MainWindowDesign::progressWindowDesign()
{
    TProgress progress;
    QCOMPARE(progress.windowTitle(), QStringLiteral("Progress"));
    const Qt::WindowFlags flags = progress.windowFlags();
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(progress.minimumSize(), progress.maximumSize());

    auto* activity = Find<QLabel>(progress, "Activity");
    auto* gauge = Find<QProgressBar>(progress, "Gauge1");
    auto* abort = Find<QPushButton>(progress, "btnAbort");
    QVERIFY(activity && gauge && abort);
    QCOMPARE(activity->text(), QStringLiteral("Idle"));
    QCOMPARE(activity->toolTip(), QStringLiteral("Current Activity"));
    QCOMPARE(gauge->minimum(), 0);
    QCOMPARE(gauge->maximum(), 100);
    QCOMPARE(gauge->toolTip(), QStringLiteral("Progress so far"));
    QCOMPARE(abort->text(), QStringLiteral("&Abort"));
    QCOMPARE(abort->toolTip(), QStringLiteral("Abort the task"));

    // Bold white on navy; the gauge shows its percentage.
    progress.show();
    QVERIFY(QTest::qWaitForWindowExposed(&progress));
    const QImage caption = activity->grab().toImage();
    QCOMPARE(caption.pixelColor(caption.width() / 10, caption.height() / 2), QColor(0, 0, 128));
    QVERIFY(activity->font().bold() || activity->styleSheet().contains(QStringLiteral("bold")));
    progress.SetGaugePosition(37);
    QCOMPARE(progress.GaugePosition(), 37);
    QCOMPARE(gauge->text(), QStringLiteral("37%"));
    progress.SetActivity("Compressing...");
    QCOMPARE(activity->text(), QStringLiteral("Compressing..."));

    // Centred on the screen.
    const QPoint centre = progress.screen()->availableGeometry().center();
    QVERIFY((progress.frameGeometry().center() - centre).manhattanLength() <= 2);
}

void MainWindowDesign::progressWindowCannotBeClosedByTheUser()
{
    TProgress progress;
    progress.show();
    QVERIFY(QTest::qWaitForWindowExposed(&progress));
    QVERIFY(!progress.close());
    QVERIFY(progress.isVisible());
}

void MainWindowDesign::abortButtonOnlyRequestsAbort()
{
    TProgress progress;
    progress.show();
    ClearAbortRequest();
    progress.SetGaugePosition(12);
    QTest::mouseClick(Find<QPushButton>(progress, "btnAbort"), Qt::LeftButton);
    QVERIFY(AbortRequested());
    QCOMPARE(progress.GaugePosition(), 12);
    QVERIFY(progress.isVisible());
    ClearAbortRequest();
}

QTEST_MAIN(MainWindowDesign)
#include "MainWindowDesignTest.moc"
