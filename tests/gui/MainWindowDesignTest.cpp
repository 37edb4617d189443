// The main window and the progress window as the user first sees them: the form is the
// panel the command line also starts from, with the chart's hint and the buttons'
// pictures; the date pickers.

#include "GuiTestSupport.h"
#include "generation/DesignedPanel.h"
#include "platform/DateFormat.h"
#include "platform/UserLocale.h"

#include <QDateEdit>

#include <memory>

using namespace tickforge;
using namespace tickforge::testing;

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

    void formIsTheDesignedPanel()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Corvane Tickforge"));
        for (const DesignedControl& designed : DesignedPanel) {
            QWidget* widget = Find(*window, designed.Name);
            QVERIFY2(widget->isEnabled() == designed.Enabled, designed.Name);
            if (designed.Kind == ControlKind::Text)
                QCOMPARE(Find<QLineEdit>(*window, designed.Name)->text(), QString::fromUtf8(designed.Text));
            else if (designed.Kind != ControlKind::Date)
                QVERIFY2(Find<QAbstractButton>(*window, designed.Name)->isChecked() == designed.Checked, designed.Name);
        }
        QCOMPARE(Find(*window, "Chart1")->toolTip(),
                 QStringLiteral("Select area with left button to zoom, with right button to scroll"));
        for (const char* pictured : {"btnExport", "btnExportMulti", "btnExpand", "BitBtn1"})
            QVERIFY2(!Find<QAbstractButton>(*window, pictured)->icon().isNull(), pictured);
    }

    void datePickersSpanTheCommandLinesYearsInTheExportedFilesPattern()
    {
        const std::string pattern = UserLocaleFormats().shortDatePattern;
        for (const char* name : {"StartDate", "EndDate"}) {
            auto* picker = Find<QDateEdit>(*window, name);
            QCOMPARE(picker->minimumDate(), QDate(1, 1, 1));
            QCOMPARE(picker->maximumDate(), QDate(9999, 12, 31));
            QCOMPARE(picker->text(), QString::fromStdString(FormatShortDate(window->Panel().Date(name), pattern)));
        }
    }

    void progressWindowCannotBeClosedByTheUser()
    {
        TProgress progress;
        QCOMPARE(progress.windowTitle(), QStringLiteral("Progress"));
        progress.show();
        QVERIFY(!progress.close());
    }
};

QTEST_MAIN(MainWindowDesign)
#include "MainWindowDesignTest.moc"
