// The main window's panel on real widgets: the form is the panel the command line also
// starts from; the panel's rules reached by keystrokes, pastes, box clicks and picked
// dates (beeps counted instead of sounded); texts kept as their bytes and dates as day
// numbers; the progress window the user cannot close.

#include "GuiTestSupport.h"
#include "WidgetPanel.h"
#include "generation/DesignedPanel.h"
#include "platform/DateFormat.h"
#include "platform/Error.h"
#include "platform/UserLocale.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QSignalSpy>
#include <QTabWidget>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// Text pasted into a field, or typed key by key over it, its box ticked first where it
// has one, and what the field and the random minimum (designed "90") show afterwards.
// The rules themselves are tested on the window-free record; these rows show that each
// field's changes reach them.
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

template <typename T>
T* Make(QWidget& root, const char* name)
{
    auto* widget = new T(&root);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QDateEdit* Picker(const MainWindowUnderTest& w, const char* name) { return Find<QDateEdit>(w.window, name); }

// The days shown, and both pickers and dates the days apart.
void VerifyDays(MainWindowUnderTest& w, int days)
{
    QCOMPARE(w.Edit("ebLength")->text(), QString::number(days));
    QCOMPARE(w.window.Panel().Date("EndDate"), w.window.Panel().Date("StartDate") + days);
    QCOMPARE(Picker(w, "EndDate")->date(), Picker(w, "StartDate")->date().addDays(days));
}

}  // namespace

class MainWindowPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formIsTheDesignedPanel()
    {
        MainWindowUnderTest w;
        TGenerator& window = w.window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Corvane Tickforge"));
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
        QVERIFY(!w.Button("btnCopyCommand")->isEnabled() && !w.Chart().actions().at(0)->isEnabled());
        // The pickers span the command line's years, show the exported files' date pattern
        // and drop down a calendar.
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
        MainWindowUnderTest w;
        const QString field = QString::fromLatin1(row.field);
        Find<QTabWidget>(w.window, "pcParameters")->setCurrentWidget(Find(w.window, field == "ebMinPrice" ? "tsPrice" : "tsTime"));
        if (*row.box) {
            QTest::mouseClick(w.Button(row.box), Qt::LeftButton);
            QVERIFY(w.Edit(field)->isEnabled());
        }
        if (row.typed) {
            w.Edit(field)->selectAll();
            w.Edit(field)->setFocus();
            QTest::keyClicks(w.Edit(field), row.input);
        } else {
            w.Paste(field, row.input);
        }
        QCOMPARE(w.Edit(field)->text(), QString::fromLatin1(row.shown));
        QCOMPARE(w.beeps, row.beeps);
        QCOMPARE(w.Edit("ebRandomPeriodMin")->text(), QString::fromLatin1(row.randomMinimum));
        VerifyDays(w, field == "ebLength" ? 60 : 180);  // the days move the end date
    }

    void boxClicksReachTheirRules()
    {
        MainWindowUnderTest w;
        Find<QTabWidget>(w.window, "pcParameters")->setCurrentWidget(Find(w.window, "tsPrice"));
        QTest::mouseClick(w.Button("cbMax"), Qt::LeftButton);
        QVERIFY(w.Edit("ebMaxPrice")->isEnabled());
        QTest::mouseClick(w.Button("cbSeedRandom"), Qt::LeftButton);
        QVERIFY(!w.Button("cbMax")->isChecked() && !w.Button("cbMax")->isEnabled());
    }

    void datePickedByTheUserGivesTheDays()
    {
        MainWindowUnderTest w;
        const DateTimeValue start = w.window.Panel().Date("StartDate");
        Picker(w, "EndDate")->setDate(Picker(w, "StartDate")->date().addDays(10));
        VerifyDays(w, 10);
        // A start after the end drags the end along; both keep the start's time of day.
        Picker(w, "StartDate")->setDate(Picker(w, "StartDate")->date().addDays(185));
        QCOMPARE(w.window.Panel().Date("StartDate"), start + 185);
        VerifyDays(w, 1);
        QCOMPARE(w.beeps, 0);
    }

    void panelTextsComeBackAsTheBytesTheyCameFrom()
    {
        QWidget root;
        auto* edit = Make<QLineEdit>(root, "ebSecurityName");
        WidgetPanel panel(root, {});
        // Bytes of an old Latin-1 file show as Latin-1 and, unedited, go back unchanged.
        for (const std::string bytes : {"Soci\xe9t\xe9", "Soci\xc3\xa9t\xc3\xa9"}) {
            panel.SetText("ebSecurityName", bytes);
            QCOMPARE(edit->text(), QStringLiteral("Soci\u00e9t\u00e9"));
            QCOMPARE(panel.Text("ebSecurityName"), bytes);
        }
        edit->setText(QStringLiteral("Soci\u00e9t\u00e9!"));  // an edit is written as UTF-8
        QCOMPARE(panel.Text("ebSecurityName"), std::string("Soci\xc3\xa9t\xc3\xa9!"));
    }

    void panelDatesKeepTheirTimeOfDay()
    {
        QWidget root;
        auto* picker = Make<QDateEdit>(root, "StartDate");
        WidgetPanel panel(root, {});
        QSignalSpy changes(picker, &QDateEdit::dateChanged);
        panel.SetDate("StartDate", 45000.25);
        QCOMPARE(changes.count(), 0);  // set by code: no change signal, so no rule
        QCOMPARE(picker->date(), QDate(2023, 3, 15));
        QCOMPARE(panel.Date("StartDate"), 45000.25);
        picker->setDate(QDate(2023, 3, 20));  // the user picks the 20th: six o'clock stays
        panel.AdoptPickedDate(*picker);
        QCOMPARE(panel.Date("StartDate"), 45005.25);
    }

    void panelNamesAMissingOrMistypedControl()
    {
        QWidget root;
        Make<QCheckBox>(root, "cbMin");
        WidgetPanel panel(root, {});
        const auto messageOf = [&panel](const char* control) {
            try {
                panel.Text(control);
            } catch (const Error& error) {
                return QString::fromUtf8(error.what());
            }
            return QString();
        };
        QCOMPARE(messageOf("ebNowhere"), QStringLiteral("The window has no control named ebNowhere"));
        QCOMPARE(messageOf("cbMin"), QStringLiteral("Control cbMin is of the wrong kind"));
        QVERIFY_THROWS_EXCEPTION(Error, panel.CheckDesignedControls());
    }

    void progressWindowCannotBeClosedByTheUser()
    {
        TProgress progress;
        QCOMPARE(progress.windowTitle(), QStringLiteral("Progress"));
        progress.show();
        QVERIFY(!progress.close());
    }
};

QTEST_MAIN(MainWindowPanel)
#include "MainWindowPanelTest.moc"
