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

class PanelRulesOnWidgets : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowUnderTest> w;

    QDateEdit* Picker(const char* name) const { return Find<QDateEdit>(w->window, name); }
    DateTimeValue Date(const char* name) const { return w->window.Panel().Date(name); }
    int Beeps() const { return w->beeps.count; }
    void ShowPage(const char* page) const
    {
        Find<QTabWidget>(w->window, "pcParameters")->setCurrentWidget(Find(w->window, page));
    }
    void Type(const char* field, const QString& text) const
    {
        w->Edit(field)->setFocus();
        QTest::keyClicks(w->Edit(field), text);
    }
    void Backspace(const char* field) const
    {
        w->Edit(field)->setFocus();
        w->Edit(field)->end(false);
        QTest::keyClick(w->Edit(field), Qt::Key_Backspace);
    }
    QString Text(const char* field) const { return w->Edit(field)->text(); }

private Q_SLOTS:
    void init()
    {
        w = std::make_unique<MainWindowUnderTest>();
        QCOMPARE(Beeps(), 0);  // the rules run at creation without complaint
    }
    void cleanup() { w.reset(); }

    void daysAreRepairedAndMoveTheEndDate_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("days");
        QTest::addColumn<QString>("randomMinimum");  // designed "90"
        QTest::addColumn<int>("beeps");
        QTest::newRow("zero") << "0" << "1" << "1" << 0;
        QTest::newRow("negative") << "-5" << "1" << "1" << 0;
        QTest::newRow("not a number") << "abc" << "1" << "1" << 1;
        QTest::newRow("decimal") << "2.5" << "1" << "1" << 1;
        QTest::newRow("fewer days pull the random minimum down") << "60" << "60" << "60" << 0;
        QTest::newRow("more days leave the random minimum") << "365" << "365" << "90" << 0;
    }

    void daysAreRepairedAndMoveTheEndDate()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, days);
        QFETCH(QString, randomMinimum);
        QFETCH(int, beeps);
        ShowPage("tsTime");
        const DateTimeValue start = Date("StartDate");
        w->Paste("ebLength", pasted);
        QCOMPARE(Text("ebLength"), days);
        QCOMPARE(Text("ebRandomPeriodMin"), randomMinimum);
        QCOMPARE(Beeps(), beeps);
        // The end moves with the days, keeping the start's time of day.
        QCOMPARE(Date("StartDate"), start);
        QCOMPARE(Date("EndDate"), start + days.toInt());
        QCOMPARE(Picker("EndDate")->date(), Picker("StartDate")->date().addDays(days.toInt()));
    }

    void emptyingDaysKeyByKeyGivesOneWithABeep()
    {
        ShowPage("tsTime");
        Backspace("ebLength");
        QCOMPARE(Text("ebLength"), QStringLiteral("18"));
        QCOMPARE(Text("ebRandomPeriodMin"), QStringLiteral("18"));
        Backspace("ebLength");
        QCOMPARE(Text("ebLength"), QStringLiteral("1"));
        QCOMPARE(Text("ebRandomPeriodMin"), QStringLiteral("1"));
        QCOMPARE(Beeps(), 0);
        Backspace("ebLength");
        QCOMPARE(Text("ebLength"), QStringLiteral("1"));
        QCOMPARE(Beeps(), 1);
        QCOMPARE(Date("EndDate"), Date("StartDate") + 1);
        // Typing the days back does not raise the minimum again.
        Type("ebLength", QStringLiteral("80"));
        QCOMPARE(Text("ebLength"), QStringLiteral("180"));
        QCOMPARE(Text("ebRandomPeriodMin"), QStringLiteral("1"));
        QCOMPARE(Date("EndDate"), Date("StartDate") + 180);
    }

    void randomMinimumIsRepairedWhileTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        // "2" and "20" pass; "200" exceeds the 180 days and takes the days' text.
        QTest::newRow("never above the days") << "200" << "180" << 0;
        // Once for "x", once more for the emptied field.
        QTest::newRow("not a number is emptied") << "x" << "" << 2;
        QTest::newRow("a number within the days stays") << "45" << "45" << 0;
    }

    void randomMinimumIsRepairedWhileTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        ShowPage("tsTime");
        QVERIFY(!w->Edit("ebRandomPeriodMin")->isEnabled());
        QTest::mouseClick(w->Button("cbRandomPeriod"), Qt::LeftButton);
        QVERIFY(w->Edit("ebRandomPeriodMin")->isEnabled());
        w->Edit("ebRandomPeriodMin")->selectAll();
        Type("ebRandomPeriodMin", typed);
        QCOMPARE(Text("ebRandomPeriodMin"), shown);
        QCOMPARE(Beeps(), beeps);
        // Unticking disables the field and keeps its text.
        QTest::mouseClick(w->Button("cbRandomPeriod"), Qt::LeftButton);
        QVERIFY(!w->Edit("ebRandomPeriodMin")->isEnabled());
        QCOMPARE(Text("ebRandomPeriodMin"), shown);
        QCOMPARE(Text("ebLength"), QStringLiteral("180"));
    }

    void minimumPriceIsRepaired_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::newRow("negative") << "-3" << "0" << 0;
        QTest::newRow("zero with decimals") << "0.0" << "0" << 0;
        QTest::newRow("two zeros") << "00" << "0" << 0;
        QTest::newRow("positive fraction kept") << "0.5" << "0.5" << 0;
        QTest::newRow("positive kept") << "2500" << "2500" << 0;
        // Emptied, then the emptied field beeps once more.
        QTest::newRow("not a number") << "cheap" << "" << 2;
    }

    void minimumPriceIsRepaired()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        ShowPage("tsPrice");
        QTest::mouseClick(w->Button("cbMin"), Qt::LeftButton);
        w->Paste("ebMinPrice", pasted);
        QCOMPARE(Text("ebMinPrice"), shown);
        QCOMPARE(Beeps(), beeps);
    }

    void minusSignAsFirstCharacterEmptiesTheMinimumPrice()
    {
        ShowPage("tsPrice");
        QTest::mouseClick(w->Button("cbMin"), Qt::LeftButton);
        QLineEdit* price = w->Edit("ebMinPrice");
        price->setFocus();
        price->selectAll();
        QTest::keyClick(price, Qt::Key_Delete);
        // The empty text does not convert: one beep; the field, already empty, stays so.
        QCOMPARE(price->text(), QString());
        QCOMPARE(Beeps(), 1);
        // "-" is emptied with a beep, and the emptied field beeps once more.
        Type("ebMinPrice", QStringLiteral("-"));
        QCOMPARE(price->text(), QString());
        QCOMPARE(Beeps(), 3);
        Type("ebMinPrice", QStringLiteral("25"));
        QCOMPARE(price->text(), QStringLiteral("25"));
        QCOMPARE(Beeps(), 3);
    }

    void boundBoxesEnableTheirFieldsAndTheRandomSeedLocksThem()
    {
        ShowPage("tsPrice");
        const auto enabled = [this](const char* name) { return Find(w->window, name)->isEnabled(); };
        const auto ticked = [this](const char* name) { return w->Button(name)->isChecked(); };
        QTest::mouseClick(w->Button("cbMin"), Qt::LeftButton);
        QVERIFY(enabled("ebMinPrice") && !enabled("ebMaxPrice"));
        QTest::mouseClick(w->Button("cbMax"), Qt::LeftButton);
        QVERIFY(enabled("ebMinPrice") && enabled("ebMaxPrice"));

        // Unticking "Fixed :" unticks and locks both bounds through their own rules.
        QTest::mouseClick(w->Button("cbSeedRandom"), Qt::LeftButton);
        QVERIFY(!ticked("cbSeedRandom"));
        QVERIFY(!enabled("ebSeed") && enabled("ebSeedMin") && enabled("ebSeedMax"));
        for (const char* name : {"cbMin", "cbMax", "ebMinPrice", "ebMaxPrice"})
            QVERIFY2(!enabled(name), name);
        QVERIFY(!ticked("cbMin") && !ticked("cbMax"));

        // Ticking it again frees the boxes, still unticked.
        QTest::mouseClick(w->Button("cbSeedRandom"), Qt::LeftButton);
        QVERIFY(enabled("ebSeed") && !enabled("ebSeedMin") && !enabled("ebSeedMax"));
        QVERIFY(enabled("cbMin") && enabled("cbMax") && !ticked("cbMin") && !ticked("cbMax"));
        QVERIFY(!enabled("ebMinPrice") && !enabled("ebMaxPrice"));
        QTest::mouseClick(w->Button("cbMax"), Qt::LeftButton);
        QVERIFY(ticked("cbMax") && enabled("ebMaxPrice"));
        QCOMPARE(Beeps(), 0);
    }

    void endDatePickedByTheUserGivesTheDays_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("days");
        QTest::newRow("ten days after the start") << 10 << 10;
        // The end snaps back to the start: "0" days, repaired to "1" without a beep.
        QTest::newRow("before the start") << -3 << 1;
    }

    void endDatePickedByTheUserGivesTheDays()
    {
        QFETCH(int, offset);
        QFETCH(int, days);
        ShowPage("tsTime");
        const DateTimeValue start = Date("StartDate");
        Picker("EndDate")->setDate(Picker("StartDate")->date().addDays(offset));
        QCOMPARE(Text("ebLength"), QString::number(days));
        // The days' rule put the end at start + days with the start's time of day.
        QCOMPARE(Date("EndDate"), start + days);
        QCOMPARE(Picker("EndDate")->date(), Picker("StartDate")->date().addDays(days));
        QCOMPARE(Date("StartDate"), start);
        QCOMPARE(Beeps(), 0);
    }

    void startDatePickedByTheUserKeepsTheEndDate()
    {
        ShowPage("tsTime");
        const DateTimeValue start = Date("StartDate");
        const DateTimeValue end = Date("EndDate");
        Picker("StartDate")->setDate(Picker("StartDate")->date().addDays(30));
        QCOMPARE(Date("StartDate"), start + 30);  // the time of day stays
        QCOMPARE(Text("ebLength"), QStringLiteral("150"));
        QCOMPARE(Date("EndDate"), end);

        // A start after the end drags the end along: 0 days, then 1.
        Picker("StartDate")->setDate(Picker("EndDate")->date().addDays(5));
        QCOMPARE(Text("ebLength"), QStringLiteral("1"));
        QCOMPARE(Date("EndDate"), Date("StartDate") + 1);
        QCOMPARE(Date("StartDate"), start + 185);
    }

    void keyboardChangeOfAPickerRunsTheRule()
    {
        ShowPage("tsTime");
        QDateEdit* end = Picker("EndDate");
        end->setFocus();
        end->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(end, Qt::Key_Up);
        QCOMPARE(end->date(), Picker("StartDate")->date().addDays(181));
        QCOMPARE(Text("ebLength"), QStringLiteral("181"));
    }

    void datesSetByCodeRunNoRule()
    {
        PanelControls& panel = w->window.Panel();
        const DateTimeValue start = panel.Date("StartDate");
        panel.SetDate("EndDate", start + 7.25);
        QCOMPARE(panel.Date("EndDate"), start + 7.25);
        panel.SetDate("StartDate", start - 100);
        QCOMPARE(Picker("StartDate")->date(), DateOfDays(start - 100));
        QCOMPARE(Text("ebLength"), QStringLiteral("180"));
    }
};

QTEST_MAIN(PanelRulesOnWidgets)
#include "PanelRulesOnWidgetsTest.moc"
