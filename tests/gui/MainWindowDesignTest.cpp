// The main window and the progress window as designed: captions, initial texts,
// states, hints as the user sees them, tabs in front, focus, sizes and window frames.

#include "GuiTestSupport.h"
#include "WidgetPanel.h"

#include <QDateEdit>
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

enum State { Enabled, Disabled, Ticked };

// A control of the main window as designed: its text (caption, title or field text),
// state and the hint a user sees on it (inherited from an enclosing control where it
// has none of its own); null where not checked.
struct Design {
    const char *name, *control, *text;
    State state;
    const char* hint;
};

const Design Designs[] = {
    {"start date", "StartDate", nullptr, Enabled, "Start date of series"},
    {"end date", "EndDate", nullptr, Enabled, "End date of series"},
    {"days", "ebLength", "180", Enabled, "Number of days in series"},
    {"random period minimum", "ebRandomPeriodMin", "90", Disabled, "Minimum number of days in a random period"},
    {"ticks per day", "ebTicksPerDay", "1000", Enabled, "Number of trades per day"},
    {"fixed seed", "ebSeed", "3000", Enabled, "Fixed seed value"},
    {"random seed minimum", "ebSeedMin", "0", Disabled, "Minimum random seed value"},
    {"random seed maximum", "ebSeedMax", "5000", Disabled, "Maximum random seed value"},
    {"minimum price", "ebMinPrice", "0", Disabled, "Minimum Price bound"},
    {"maximum price", "ebMaxPrice", "5000", Disabled, "Maximum Price bound"},
    {"volatility", "ebVolatility", "1", Enabled, "Percentage Daily Volatility"},
    {"bias", "ebBias", "4.5", Enabled, "Percentage bias per annum"},
    {"shock frequency", "ebShockFreq", "100", Enabled, "Probability of Event eg 100 implies one event in 100 days"},
    {"shock magnitude", "ebShockMag", "3", Enabled,
     "Multiples of daily volatility eg. 3 implies that an event creates a maximum of 3 times more volatility than normal"},
    {"minimum volume", "ebMinVolume", "0", Enabled, "Minimum Volume bound"},
    {"maximum volume", "ebMaxVolume", "1000", Enabled, "Maximum Volume bound"},
    {"bad ticks", "ebDirtydata", "5", Enabled, "Percentage of bad ticks per day"},
    {"security name", "ebSecurityName", "AOI", Enabled, "Security Name"},
    {"batch count", "ebMultiples", "10", Enabled, nullptr},
    {"weekends", "cbWeekends", "Weekends", Enabled, "Include weekends in series"},
    {"random period", "cbRandomPeriod", "Random Min :", Enabled, "Select a random period within two dates"},
    {"fixed seed box", "cbSeedRandom", "Fixed :", Ticked, "Use the fixed seed"},
    {"minimum bound", "cbMin", "Min :", Enabled, "Enforce minimum bound"},
    {"maximum bound", "cbMax", "Max :", Enabled, "Enforce maximum bound"},
    {"hard", "rbHard", "Hard", Ticked, "Enforce bound immediately"},
    {"soft", "rbSoft", "Soft", Enabled, "Enforce bound gradually"},
    {"bias box", "cbActiveBias", "Active", Enabled, "Activate Biasing"},
    {"shock box, hint from its page control", "cbActiveShock", "Active", Enabled, "Activate Shock"},
    {"dirty data box, no hint", "cbDirtyDataActive", "Active", Enabled, ""},
    {"bar", "rbBar", "Bar", Ticked, "Display as Bar Chart"},
    {"candle", "rbCandle", "Candle", Enabled, "Display as Candle Stick Chart"},
    {"color", "cbColor", "Color", Ticked, nullptr},
    {"apply", "btnCorrupt", "Apply", Enabled, nullptr},
    {"go", "btnGenerate", "GO", Enabled, "Generate the series"},
    {"export", "btnExport", nullptr, Enabled, "Export the series to a file"},
    {"export batch", "btnExportMulti", nullptr, Enabled, "Export the current series (and generate more) to files"},
    {"expand", "btnExpand", nullptr, Enabled, "Expand Chart"},
    {"chart", "Chart1", nullptr, Enabled, "Select area with left button to zoom, with right button to scroll"},
    {"distribution pages", "pcDistribution", nullptr, Enabled, "Activate Shock"},
    {"start label", "lblStartDate", "Start :", Enabled, nullptr},
    {"end label", "lblEndDate", "End :", Enabled, nullptr},
    {"days label", "lblLength", "Days :", Enabled, nullptr},
    {"ticks per day label", "lblTicksPerDay", "Ticks/Day :", Enabled, nullptr},
    {"random seed minimum label", "lblSeedMin", "Random Min :", Enabled, nullptr},
    {"random seed maximum label", "lblSeedMax", "Random Max :", Enabled, nullptr},
    {"tick size label", "lblTickSize", "Tick Size :", Disabled, "Not available in this version"},
    {"volatility label", "lblVolatility", "Daily Volatility (%) :", Enabled, nullptr},
    {"bias label", "lblBias", "Rate (% pa) :", Enabled, nullptr},
    {"shock frequency label, hint from its page control", "lblShockFreq", "Days/Event :", Enabled, "Activate Shock"},
    {"shock magnitude label", "lblShockMag", "Magnitude :", Enabled, nullptr},
    {"minimum volume label", "lblMinVolume", "Min :", Enabled, nullptr},
    {"maximum volume label", "lblMaxVolume", "Max :", Enabled, nullptr},
    {"bad ticks label", "lblDirtydata", "Bad Ticks (%) :", Enabled, nullptr},
    {"security name label", "lblSecurityName", "Name :", Enabled, nullptr},
    {"seed group", "gbSeed", "Seed", Enabled, nullptr},
    {"price bounds group", "gbBounds", "Bounds", Enabled, nullptr},
    {"volume bounds group", "gbVolume", "Bounds", Enabled, nullptr},
    {"batch box", "gbMulti", "Multi :", Enabled, nullptr},
};

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

    void controlsStartAsDesigned_data() { AddRows(Designs); }

    void controlsStartAsDesigned()
    {
        const Design& row = FetchRow(Designs);
        QWidget* widget = Find(*window, row.control);
        QCOMPARE(widget->isEnabled(), row.state != Disabled);
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QCOMPARE(button->isChecked(), row.state == Ticked);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))  // no field restricts what can be typed
            QVERIFY(!edit->validator() && edit->inputMask().isEmpty());
        if (row.text)
            QCOMPARE(ShownText(widget), QString::fromUtf8(row.text));
        if (row.hint) {
            // Hidden pages cannot be pointed at: bring the control's pages to the front.
            for (QWidget* w = widget; w; w = w->parentWidget()) {
                auto* pages = qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
                if (pages && pages->indexOf(w) >= 0)
                    pages->setCurrentWidget(w);
            }
            QCOMPARE(ShownHint(widget), QString::fromUtf8(row.hint));
        }
    }

    void dirtyDataBoxShowsNoHintAtAll()
    {
        // Not even a hint of an enclosing control.
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
