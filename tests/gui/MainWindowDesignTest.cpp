// The main window and the progress window as designed: captions, initial texts,
// enabled states, hints as the user sees them (inherited from the enclosing control
// where a control has none), tabs in front, focus, sizes and the window frames.

#include "GuiTestSupport.h"
#include "WidgetPanel.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolTip>

#include <cmath>
#include <memory>

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

QStringList TabCaptions(const QTabWidget* pages)
{
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i)
        captions << pages->tabText(i);
    return captions;
}

}  // namespace

class MainWindowDesign : public QObject {
    Q_OBJECT

    std::unique_ptr<TGenerator> window;

private Q_SLOTS:
    void init()
    {
        window = std::make_unique<TGenerator>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void windowCaptionSizeAndFocus()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Corvane Tickforge"));
        QCOMPARE(window->size(), QSize(721, 573));
        // The outer 729 x 350 less a usual frame of 4 pixels a side and a 23-pixel caption.
        QCOMPARE(window->minimumSize(), QSize(721, 319));
        window->resize(300, 200);
        QCOMPARE(window->size(), QSize(721, 319));
        QCOMPARE(window->focusWidget(), Find(*window, "btnGenerate"));
        QVERIFY(Find<QLineEdit>(*window, "ebSecurityName")->font().bold());
    }

    void pageControlsShowTheirTabsWithTheRightOneInFront()
    {
        auto* parameters = Find<QTabWidget>(*window, "pcParameters");
        QCOMPARE(TabCaptions(parameters), (QStringList{"Time", "Price", "Volume", "Dirty Data"}));
        QCOMPARE(parameters->currentWidget()->objectName(), QStringLiteral("tsDirtyData"));
        auto* distribution = Find<QTabWidget>(*window, "pcDistribution");
        QCOMPARE(TabCaptions(distribution), (QStringList{"Normal", "Bias", "Shock"}));
        QCOMPARE(distribution->currentIndex(), 0);

        // Every control sits on the tab or in the box the panel lists it under.
        const std::pair<const char*, const char*> placed[] = {
            {"ebLength", "tsTime"},    {"cbRandomPeriod", "tsTime"}, {"ebSeed", "gbSeed"},
            {"ebMaxPrice", "gbBounds"}, {"rbSoft", "gbBounds"},       {"ebVolatility", "tsNormal"},
            {"ebBias", "tsBias"},      {"ebShockMag", "tsShock"},    {"ebMaxVolume", "tsVolume"},
            {"btnCorrupt", "tsDirtyData"}, {"BitBtn1", "Panel8"},    {"btnGenerate", "Panel8"},
            {"btnExportMulti", "gbMulti"}};
        for (const auto& [control, page] : placed)
            QVERIFY2(Find(*window, page)->isAncestorOf(Find(*window, control)), control);
    }

    // Text fields with their text and enabled state; boxes and buttons with their
    // caption and tick, all enabled; labels and group boxes with their caption.
    void controlsStartWithTheirDesignedTexts_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("ticked");
        const struct {
            const char *control, *text;
            bool enabled, ticked;
        } rows[] = {
            {"ebLength", "180", true, false}, {"ebRandomPeriodMin", "90", false, false},
            {"ebTicksPerDay", "1000", true, false}, {"ebSeed", "3000", true, false},
            {"ebSeedMin", "0", false, false}, {"ebSeedMax", "5000", false, false},
            {"ebMinPrice", "0", false, false}, {"ebMaxPrice", "5000", false, false},
            {"ebVolatility", "1", true, false}, {"ebBias", "4.5", true, false},
            {"ebShockFreq", "100", true, false}, {"ebShockMag", "3", true, false},
            {"ebMinVolume", "0", true, false}, {"ebMaxVolume", "1000", true, false},
            {"ebDirtydata", "5", true, false}, {"ebSecurityName", "AOI", true, false},
            {"ebMultiples", "10", true, false},
            {"cbWeekends", "Weekends", true, false}, {"cbRandomPeriod", "Random Min :", true, false},
            {"cbSeedRandom", "Fixed :", true, true}, {"cbMin", "Min :", true, false},
            {"cbMax", "Max :", true, false}, {"rbHard", "Hard", true, true},
            {"rbSoft", "Soft", true, false}, {"cbActiveBias", "Active", true, false},
            {"cbActiveShock", "Active", true, false}, {"cbDirtyDataActive", "Active", true, false},
            {"rbBar", "Bar", true, true}, {"rbCandle", "Candle", true, false},
            {"cbColor", "Color", true, true}, {"btnCorrupt", "Apply", true, false},
            {"btnGenerate", "GO", true, false},
            {"lblStartDate", "Start :", true, false}, {"lblEndDate", "End :", true, false},
            {"lblLength", "Days :", true, false}, {"lblTicksPerDay", "Ticks/Day :", true, false},
            {"lblSeedMin", "Random Min :", true, false}, {"lblSeedMax", "Random Max :", true, false},
            {"lblTickSize", "Tick Size :", false, false}, {"lblVolatility", "Daily Volatility (%) :", true, false},
            {"lblBias", "Rate (% pa) :", true, false}, {"lblShockFreq", "Days/Event :", true, false},
            {"lblShockMag", "Magnitude :", true, false}, {"lblMinVolume", "Min :", true, false},
            {"lblMaxVolume", "Max :", true, false}, {"lblDirtydata", "Bad Ticks (%) :", true, false},
            {"lblSecurityName", "Name :", true, false}, {"gbSeed", "Seed", true, false},
            {"gbBounds", "Bounds", true, false}, {"gbVolume", "Bounds", true, false},
            {"gbMulti", "Multi :", true, false},
        };
        for (const auto& row : rows)
            QTest::newRow(row.control) << row.control << row.text << row.enabled << row.ticked;
    }

    void controlsStartWithTheirDesignedTexts()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(bool, ticked);
        QWidget* widget = Find(*window, control);
        QCOMPARE(widget->isEnabled(), enabled);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(edit->text(), text);
            // No field restricts what can be typed.
            QVERIFY(!edit->validator());
            QVERIFY(edit->inputMask().isEmpty());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QCOMPARE(button->text(), text);
            QCOMPARE(button->isChecked(), ticked);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), text);
        } else {
            auto* group = qobject_cast<QGroupBox*>(widget);
            QVERIFY(group);
            QCOMPARE(group->title(), text);
        }
    }

    void hintsAsTheUserSeesThem_data()
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

    void hintsAsTheUserSeesThem()
    {
        QFETCH(QString, control);
        QFETCH(QString, hint);
        QWidget* widget = Find(*window, control);
        // Hidden pages cannot be pointed at: bring the control's pages to the front.
        for (QWidget* w = widget; w; w = w->parentWidget()) {
            auto* pages = qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
            if (pages && pages->indexOf(w) >= 0)
                pages->setCurrentWidget(w);
        }
        QCOMPARE(ShownHint(widget), hint);
    }

    void dirtyDataBoxShowsNoHintAtAll()
    {
        // Even a hint of an enclosing control stays hidden.
        Find(*window, "tsDirtyData")->setToolTip(QStringLiteral("enclosing hint"));
        QCOMPARE(ShownHint(Find(*window, "cbDirtyDataActive")), QString());
        QCOMPARE(ShownHint(Find(*window, "lblDirtydata")), QStringLiteral("enclosing hint"));
    }

    void tickSizeFieldIsHiddenAndDisabled()
    {
        auto* field = Find<QLineEdit>(*window, "ebTickSize");
        QVERIFY(field->isHidden() && !field->isEnabled());
        QCOMPARE(field->toolTip(), QStringLiteral("Smallest change allowed on exchange"));
        QCOMPARE(field->text(), QString());
    }

    void datePickersShowShortDatesFromNowToNowPlusTheDays()
    {
        for (const char* name : {"StartDate", "EndDate"}) {
            auto* picker = Find<QDateEdit>(*window, name);
            QVERIFY(picker->calendarPopup());
            // Only date fields: the time of day is kept but never shown.
            QCOMPARE(picker->displayedSections() & QDateTimeEdit::TimeSections_Mask, QDateTimeEdit::Section(0));
            QCOMPARE(picker->displayedSections() & QDateTimeEdit::DateSections_Mask,
                     QDateTimeEdit::DaySection | QDateTimeEdit::MonthSection | QDateTimeEdit::YearSection);
        }
        PanelControls& panel = window->Panel();
        const DateTimeValue start = panel.Date("StartDate");
        // The start is now, time of day included (a minute's grace for a slow machine).
        QVERIFY2(std::fabs(NowLocal() - start) < 1.0 / 1440, qPrintable(QString::number(NowLocal() - start)));
        QVERIFY(std::fabs(panel.Date("EndDate") - (start + 180)) < 1.0 / 1440);
        QCOMPARE(Find<QDateEdit>(*window, "StartDate")->date(), DateOfDays(start));
        QCOMPARE(Find<QDateEdit>(*window, "EndDate")->date(), DateOfDays(start).addDays(180));
    }

    void chartStartsInBarStyleWithGradient()
    {
        auto* chart = Find<HistoryChart>(*window, "Chart1");
        QCOMPARE(chart->Style(), HistoryChart::CandleStyle::Bar);
        QCOMPARE(chart->CandleWidth(), 3.0);
        QVERIFY(chart->GradientVisible());
        QCOMPARE(chart->Series1()->dataCount(), 0);
        QCOMPARE(chart->Series2()->dataCount(), 0);
        QCOMPARE(chart->VolumeAxis()->label(), QStringLiteral("Volume"));
    }

    void progressWindowDesign()
    {
        TProgress progress;
        QCOMPARE(progress.windowTitle(), QStringLiteral("Progress"));
        const Qt::WindowFlags flags = progress.windowFlags();
        QVERIFY(flags & Qt::WindowStaysOnTopHint && flags & Qt::CustomizeWindowHint);
        QVERIFY(!(flags & Qt::WindowCloseButtonHint) && !(flags & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(progress.minimumSize(), progress.maximumSize());

        auto* activity = Find<QLabel>(progress, "Activity");
        auto* gauge = Find<QProgressBar>(progress, "Gauge1");
        auto* abort = Find<QPushButton>(progress, "btnAbort");
        QCOMPARE(activity->text(), QStringLiteral("Idle"));
        QCOMPARE(activity->toolTip(), QStringLiteral("Current Activity"));
        QCOMPARE(gauge->minimum(), 0);
        QCOMPARE(gauge->maximum(), 100);
        QCOMPARE(gauge->toolTip(), QStringLiteral("Progress so far"));
        QCOMPARE(abort->text(), QStringLiteral("&Abort"));
        QCOMPARE(abort->toolTip(), QStringLiteral("Abort the task"));

        // Bold white on navy, centred on the screen; the gauge shows its percentage.
        progress.show();
        QVERIFY(QTest::qWaitForWindowExposed(&progress));
        const QImage caption = activity->grab().toImage();
        QCOMPARE(caption.pixelColor(caption.width() / 10, caption.height() / 2), QColor(0, 0, 128));
        QVERIFY(activity->font().bold() || activity->styleSheet().contains(QStringLiteral("bold")));
        const QPoint centre = progress.screen()->availableGeometry().center();
        QVERIFY((progress.frameGeometry().center() - centre).manhattanLength() <= 2);
        progress.SetGaugePosition(37);
        QCOMPARE(progress.GaugePosition(), 37);
        QCOMPARE(gauge->text(), QStringLiteral("37%"));
        progress.SetActivity("Compressing...");
        QCOMPARE(activity->text(), QStringLiteral("Compressing..."));

        // The user cannot close it, and Abort only requests the abort.
        QVERIFY(!progress.close());
        ClearAbortRequest();
        QTest::mouseClick(abort, Qt::LeftButton);
        QVERIFY(AbortRequested());
        ClearAbortRequest();
        QCOMPARE(progress.GaugePosition(), 37);
        QVERIFY(progress.isVisible());
    }
};

QTEST_MAIN(MainWindowDesign)
#include "MainWindowDesignTest.moc"
