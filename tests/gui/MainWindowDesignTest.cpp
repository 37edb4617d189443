// The main window and the progress window as the user first sees them: captions,
// initial texts and hints, the tabs and the focus.

#include "GuiTestSupport.h"
#include "generation/DesignedPanel.h"

#include <QProgressBar>
#include <QDateEdit>
#include <QTabWidget>
#include <QToolTip>

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

// A control's text (caption, title or field text) and the hint a user sees on it
// (inherited from an enclosing control where it has none of its own); null where not
// checked.
struct Design {
    const char *name, *control, *text, *hint;
};

const Design Designs[] = {
    {"start date", "StartDate", nullptr, "Start date of series"},
    {"end date", "EndDate", nullptr, "End date of series"},
    {"days", "ebLength", nullptr, "Number of days in series"},
    {"random period minimum", "ebRandomPeriodMin", nullptr, "Minimum number of days in a random period"},
    {"ticks per day", "ebTicksPerDay", nullptr, "Number of trades per day"},
    {"fixed seed", "ebSeed", nullptr, "Fixed seed value"},
    {"random seed minimum", "ebSeedMin", nullptr, "Minimum random seed value"},
    {"random seed maximum", "ebSeedMax", nullptr, "Maximum random seed value"},
    {"minimum price", "ebMinPrice", nullptr, "Minimum Price bound"},
    {"maximum price", "ebMaxPrice", nullptr, "Maximum Price bound"},
    {"volatility", "ebVolatility", nullptr, "Percentage Daily Volatility"},
    {"bias", "ebBias", nullptr, "Percentage bias per annum"},
    {"shock frequency", "ebShockFreq", nullptr, "Probability of Event eg 100 implies one event in 100 days"},
    {"shock magnitude", "ebShockMag", "3",
     "Multiples of daily volatility eg. 3 implies that an event creates a maximum of 3 times more volatility than normal"},
    {"minimum volume", "ebMinVolume", nullptr, "Minimum Volume bound"},
    {"maximum volume", "ebMaxVolume", nullptr, "Maximum Volume bound"},
    {"bad ticks", "ebDirtydata", nullptr, "Percentage of bad ticks per day"},
    {"security name", "ebSecurityName", nullptr, "Security Name"},
    {"batch count", "ebMultiples", nullptr, nullptr},
    {"weekends", "cbWeekends", "Weekends", "Include weekends in series"},
    {"random period", "cbRandomPeriod", "Random Min :", "Select a random period within two dates"},
    {"fixed seed box", "cbSeedRandom", "Fixed :", "Use the fixed seed"},
    {"minimum bound", "cbMin", "Min :", "Enforce minimum bound"},
    {"maximum bound", "cbMax", "Max :", "Enforce maximum bound"},
    {"hard", "rbHard", "Hard", "Enforce bound immediately"},
    {"soft", "rbSoft", "Soft", "Enforce bound gradually"},
    {"bias box", "cbActiveBias", "Active", "Activate Biasing"},
    {"shock box, hint from its page control", "cbActiveShock", "Active", "Activate Shock"},
    {"dirty data box, no hint", "cbDirtyDataActive", "Active", ""},
    {"bar", "rbBar", "Bar", "Display as Bar Chart"},
    {"candle", "rbCandle", "Candle", "Display as Candle Stick Chart"},
    {"color", "cbColor", "Color", nullptr},
    {"apply", "btnCorrupt", "Apply", nullptr},
    {"go", "btnGenerate", "GO", "Generate the series"},
    {"export", "btnExport", nullptr, "Export the series to a file"},
    {"export batch", "btnExportMulti", nullptr, "Export the current series (and generate more) to files"},
    {"expand", "btnExpand", nullptr, "Expand Chart"},
    {"chart", "Chart1", nullptr, "Select area with left button to zoom, with right button to scroll"},
    {"start label", "lblStartDate", "Start :", nullptr},
    {"end label", "lblEndDate", "End :", nullptr},
    {"days label", "lblLength", "Days :", nullptr},
    {"ticks per day label", "lblTicksPerDay", "Ticks/Day :", nullptr},
    {"random seed minimum label", "lblSeedMin", "Random Min :", nullptr},
    {"random seed maximum label", "lblSeedMax", "Random Max :", nullptr},
    {"tick size label", "lblTickSize", "Tick Size :", "Not available in this version"},
    {"volatility label", "lblVolatility", "Daily Volatility (%) :", nullptr},
    {"bias label", "lblBias", "Rate (% pa) :", nullptr},
    {"shock frequency label, hint from its page control", "lblShockFreq", "Days/Event :", "Activate Shock"},
    {"shock magnitude label", "lblShockMag", "Magnitude :", nullptr},
    {"minimum volume label", "lblMinVolume", "Min :", nullptr},
    {"maximum volume label", "lblMaxVolume", "Max :", nullptr},
    {"bad ticks label", "lblDirtydata", "Bad Ticks (%) :", nullptr},
    {"security name label", "lblSecurityName", "Name :", nullptr},
    {"seed group", "gbSeed", "Seed", nullptr},
    {"price bounds group", "gbBounds", "Bounds", nullptr},
    {"volume bounds group", "gbVolume", "Bounds", nullptr},
    {"batch box", "gbMulti", "Multi :", nullptr},
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

    void captionTabsAndFocus()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Corvane Tickforge"));
        QCOMPARE(window->focusWidget(), Find(*window, "btnGenerate"));
        auto* parameters = Find<QTabWidget>(*window, "pcParameters");
        QCOMPARE(TabCaptions(parameters), (QStringList{"Time", "Price", "Volume", "Dirty Data"}));
        QCOMPARE(parameters->currentWidget()->objectName(), QStringLiteral("tsDirtyData"));
        QCOMPARE(TabCaptions(Find<QTabWidget>(*window, "pcDistribution")), (QStringList{"Normal", "Bias", "Shock"}));
        // The pickers take the years a history may span, as the command line does.
        for (const char* picker : {"StartDate", "EndDate"}) {
            QCOMPARE(Find<QDateEdit>(*window, picker)->minimumDate(), QDate(1, 1, 1));
            QCOMPARE(Find<QDateEdit>(*window, picker)->maximumDate(), QDate(9999, 12, 31));
        }
    }

    void formIsTheDesignedPanel()
    {
        for (const DesignedControl& designed : DesignedPanel) {
            QWidget* widget = Find(*window, designed.Name);
            QVERIFY2(widget->isEnabled() == designed.Enabled, designed.Name);
            if (designed.Kind == ControlKind::Text) {
                QCOMPARE(Find<QLineEdit>(*window, designed.Name)->text(), QString::fromUtf8(designed.Text));
            } else if (designed.Kind != ControlKind::Date) {
                QVERIFY2(Find<QAbstractButton>(*window, designed.Name)->isChecked() == designed.Checked, designed.Name);
            }
        }
    }

    void controlsShowTheirTextsAndHints_data() { AddRows(Designs); }

    void controlsShowTheirTextsAndHints()
    {
        const Design& row = FetchRow(Designs);
        QWidget* widget = Find(*window, row.control);
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

    void progressWindowTextsAndHints()
    {
        TProgress progress;
        QCOMPARE(progress.windowTitle(), QStringLiteral("Progress"));
        const std::pair<const char*, const char*> shown[] = {
            {"Activity", "Idle"}, {"btnAbort", "&Abort"}};
        for (const auto& [name, text] : shown)
            QCOMPARE(ShownText(Find(progress, name)), QString::fromUtf8(text));
        const std::pair<const char*, const char*> hints[] = {
            {"Activity", "Current Activity"}, {"Gauge1", "Progress so far"}, {"btnAbort", "Abort the task"}};
        for (const auto& [name, hint] : hints)
            QCOMPARE(Find(progress, name)->toolTip(), QString::fromUtf8(hint));
        progress.SetGaugePosition(37);
        QCOMPARE(Find<QProgressBar>(progress, "Gauge1")->text(), QStringLiteral("37%"));
        QVERIFY(!progress.close());  // the user cannot close it
    }
};

QTEST_MAIN(MainWindowDesign)
#include "MainWindowDesignTest.moc"
