// The panel's repair and coupling rules as the user meets them on the real widgets:
// keystrokes, pastes over the whole text, clicks on boxes and changes of the date
// pickers, with beeps counted instead of sounded.

#include "GuiTestSupport.h"
#include "WidgetPanel.h"

#include <QDateEdit>
#include <QTabWidget>

#include <memory>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// Text put into a field (pasted over it, or typed key by key after selecting it, its
// box ticked first where it has one) and what the field and the random minimum
// (designed "90") show afterwards.
struct FieldCase {
    const char *name, *field, *box;
    QString input;
    bool typed;
    QString shown;
    int beeps;
    QString randomMinimum;
};

// The rules themselves are tested on the record; these rows only show that keystrokes,
// pastes and beeps reach them through the real widgets.
const FieldCase FieldCases[] = {
    {"fewer days pull the random minimum down", "ebLength", "", "60", false, "60", 0, "60"},
    // "2" and "20" pass; "200" exceeds the 180 days and takes the days' text.
    {"random minimum never above the days", "ebRandomPeriodMin", "cbRandomPeriod", "200", true, "180", 0, "180"},
    // Emptied, then the emptied field beeps once more.
    {"minimum price not a number", "ebMinPrice", "cbMin", "cheap", false, "", 2, "90"},
};

}  // namespace

class PanelRulesOnWidgets : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowUnderTest> w;

    QDateEdit* Picker(const char* name) const { return Find<QDateEdit>(w->window, name); }
    DateTimeValue Date(const char* name) const { return w->window.Panel().Date(name); }
    int Beeps() const { return w->beeps; }
    void ShowPage(const char* page) const
    {
        Find<QTabWidget>(w->window, "pcParameters")->setCurrentWidget(Find(w->window, page));
    }
    void Type(const char* field, const QString& text) const
    {
        w->Edit(field)->setFocus();
        QTest::keyClicks(w->Edit(field), text);
    }
    QString Text(const char* field) const { return w->Edit(field)->text(); }

private Q_SLOTS:
    void init()
    {
        w = std::make_unique<MainWindowUnderTest>();
        QCOMPARE(Beeps(), 0);  // the rules run at creation without complaint
    }
    void cleanup() { w.reset(); }

    void textFieldsAreRepaired_data() { AddRows(FieldCases); }

    void textFieldsAreRepaired()
    {
        const FieldCase& row = FetchRow(FieldCases);
        const QString field = QString::fromLatin1(row.field);
        ShowPage(field == QStringLiteral("ebMinPrice") ? "tsPrice" : "tsTime");
        if (*row.box) {
            QTest::mouseClick(w->Button(row.box), Qt::LeftButton);
            QVERIFY(w->Edit(field)->isEnabled());
        }
        const DateTimeValue start = Date("StartDate");
        if (row.typed) {
            w->Edit(field)->selectAll();
            Type(row.field, row.input);
        } else {
            w->Paste(field, row.input);
        }
        QCOMPARE(Text(row.field), row.shown);
        QCOMPARE(Beeps(), row.beeps);
        QCOMPARE(Text("ebRandomPeriodMin"), row.randomMinimum);
        // The days move the end date, which keeps the start's time of day.
        QCOMPARE(Text("ebLength"), field == QStringLiteral("ebLength") ? row.shown : QStringLiteral("180"));
        QCOMPARE(Date("EndDate"), start + Text("ebLength").toInt());
        QCOMPARE(Picker("EndDate")->date(), Picker("StartDate")->date().addDays(Text("ebLength").toInt()));
    }

    void boxClicksReachTheirRules()
    {
        ShowPage("tsPrice");
        QTest::mouseClick(w->Button("cbMax"), Qt::LeftButton);
        QVERIFY(w->Edit("ebMaxPrice")->isEnabled());
        QTest::mouseClick(w->Button("cbSeedRandom"), Qt::LeftButton);
        QVERIFY(!w->Button("cbMax")->isChecked() && !w->Button("cbMax")->isEnabled());
    }

    void datePickedByTheUserGivesTheDays_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<int>("offset");  // days from the start date
        QTest::addColumn<int>("days");
        QTest::newRow("end ten days after the start") << "EndDate" << 10 << 10;
        QTest::newRow("start after the end drags the end along") << "StartDate" << 185 << 1;
    }

    void datePickedByTheUserGivesTheDays()
    {
        QFETCH(QString, picker);
        QFETCH(int, offset);
        QFETCH(int, days);
        ShowPage("tsTime");
        const DateTimeValue start = Date("StartDate");
        Find<QDateEdit>(w->window, picker)->setDate(Picker("StartDate")->date().addDays(offset));
        QCOMPARE(Text("ebLength"), QString::number(days));
        // Both dates keep the start's time of day.
        QCOMPARE(Date("StartDate"), picker == QStringLiteral("StartDate") ? start + offset : start);
        QCOMPARE(Date("EndDate"), Date("StartDate") + days);
        QCOMPARE(Picker("EndDate")->date(), Picker("StartDate")->date().addDays(days));
        QCOMPARE(Beeps(), 0);
    }
};

QTEST_MAIN(PanelRulesOnWidgets)
#include "PanelRulesOnWidgetsTest.moc"
