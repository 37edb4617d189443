// The panel's repair and coupling rules as the user meets them on the real widgets:
// keystrokes, pastes over the whole text, clicks on boxes and changes of the date
// pickers, with beeps counted instead of sounded.

#include "GuiTestSupport.h"
#include "TGenerator.h"
#include "WidgetPanel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

#include <cmath>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// One change of the whole text, as a paste over a selection makes it.
void Paste(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    edit->insert(text);
}

void Type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

void Backspace(QLineEdit* edit)
{
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
}

}  // namespace

class PanelRulesOnWidgets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void daysBelowOneOrNotANumberBecomeOne_data();
    void daysBelowOneOrNotANumberBecomeOne();
    void daysMoveTheEndDateAndKeepTheTimeOfDay();
    void emptyingDaysKeyByKeyGivesOneWithABeep();
    void randomMinimumFollowsDaysDownInOneChange();
    void randomMinimumNeverRisesAboveDays();
    void randomMinimumThatIsNoNumberIsEmptiedWithTwoBeeps();
    void randomPeriodBoxEnablesItsFieldOnly();
    void minimumPriceIsRepaired_data();
    void minimumPriceIsRepaired();
    void minusSignAsFirstCharacterEmptiesTheMinimumPrice();
    void boundBoxesEnableTheirPriceFields();
    void fixedSeedBoxLocksTheBounds();
    void endDateSetByTheUserGivesTheDays();
    void endDateBeforeStartSnapsBackAndDaysBecomeOne();
    void startDateMovedByTheUserKeepsTheEndDate();
    void keyboardChangeOfAPickerRunsTheRule();
    void datesSetByCodeRunNoRule();

private:
    QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(*window_, name); }
    QCheckBox* Box(const char* name) const { return Find<QCheckBox>(*window_, name); }
    QDateEdit* Picker(const char* name) const { return Find<QDateEdit>(*window_, name); }
    DateTimeValue Date(const char* name) const { return window_->Panel().Date(name); }
    void ShowPage(const char* page);

    TGenerator* window_ = nullptr;
    BeepCounter* beeps_ = nullptr;
};

void PanelRulesOnWidgets::init()
{
    beeps_ = new BeepCounter;
    window_ = new TGenerator;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QCOMPARE(beeps_->count, 0);
}

void PanelRulesOnWidgets::cleanup()
{
    delete window_;
    window_ = nullptr;
    delete beeps_;
    beeps_ = nullptr;
}

void PanelRulesOnWidgets::ShowPage(const char* page)
{
    Find<QTabWidget>(*window_, "pcParameters")->setCurrentWidget(Find<QWidget>(*window_, page));
}

void PanelRulesOnWidgets::daysBelowOneOrNotANumberBecomeOne_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("beeps");
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-5" << 0;
    QTest::newRow("not a number") << "abc" << 1;
    QTest::newRow("decimal") << "2.5" << 1;
}

void PanelRulesOnWidgets::daysBelowOneOrNotANumberBecomeOne()
{
    QFETCH(QString, pasted);
    QFETCH(int, beeps);
    ShowPage("tsTime");
    Paste(Edit("ebLength"), pasted);
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("1"));
    QCOMPARE(beeps_->count, beeps);
    QCOMPARE(Date("EndDate"), Date("StartDate") + 1);
    QCOMPARE(Picker("EndDate")->date(), Picker("StartDate")->date().addDays(1));
    // The random minimum followed the length down.
    QCOMPARE(Edit("ebRandomPeriodMin")->text(), QStringLiteral("1"));
}

void PanelRulesOnWidgets::daysMoveTheEndDateAndKeepTheTimeOfDay()
{
    ShowPage("tsTime");
    const DateTimeValue start = Date("StartDate");
    Paste(Edit("ebLength"), QStringLiteral("365"));
    QCOMPARE(Date("EndDate"), start + 365);
    QCOMPARE(Picker("EndDate")->date(), DateOfDays(start + 365));
    QCOMPARE(beeps_->count, 0);
}

void PanelRulesOnWidgets::emptyingDaysKeyByKeyGivesOneWithABeep()
{
    ShowPage("tsTime");
    QLineEdit* days = Edit("ebLength");
    QLineEdit* minimum = Edit("ebRandomPeriodMin");
    Backspace(days);
    QCOMPARE(days->text(), QStringLiteral("18"));
    QCOMPARE(minimum->text(), QStringLiteral("18"));
    Backspace(days);
    QCOMPARE(days->text(), QStringLiteral("1"));
    QCOMPARE(minimum->text(), QStringLiteral("1"));
    QCOMPARE(beeps_->count, 0);
    Backspace(days);
    QCOMPARE(days->text(), QStringLiteral("1"));
    QCOMPARE(beeps_->count, 1);
    QCOMPARE(Date("EndDate"), Date("StartDate") + 1);
    // Typing the days back does not raise the minimum again.
    Type(days, QStringLiteral("80"));
    QCOMPARE(days->text(), QStringLiteral("180"));
    QCOMPARE(minimum->text(), QStringLiteral("1"));
    QCOMPARE(Date("EndDate"), Date("StartDate") + 180);
}

void PanelRulesOnWidgets::randomMinimumFollowsDaysDownInOneChange()
{
    ShowPage("tsTime");
    Paste(Edit("ebLength"), QStringLiteral("60"));
    QCOMPARE(Edit("ebRandomPeriodMin")->text(), QStringLiteral("60"));
    // A longer range leaves the minimum where it is.
    Paste(Edit("ebLength"), QStringLiteral("400"));
    QCOMPARE(Edit("ebRandomPeriodMin")->text(), QStringLiteral("60"));
    QCOMPARE(beeps_->count, 0);
}

void PanelRulesOnWidgets::randomMinimumNeverRisesAboveDays()
{
    ShowPage("tsTime");
    QTest::mouseClick(Box("cbRandomPeriod"), Qt::LeftButton);
    QLineEdit* minimum = Edit("ebRandomPeriodMin");
    QVERIFY(minimum->isEnabled());
    minimum->selectAll();
    Type(minimum, QStringLiteral("200"));
    // "2" and "20" pass; "200" exceeds the 180 days and takes the days' text.
    QCOMPARE(minimum->text(), QStringLiteral("180"));
    QCOMPARE(beeps_->count, 0);
}

void PanelRulesOnWidgets::randomMinimumThatIsNoNumberIsEmptiedWithTwoBeeps()
{
    ShowPage("tsTime");
    QTest::mouseClick(Box("cbRandomPeriod"), Qt::LeftButton);
    QLineEdit* minimum = Edit("ebRandomPeriodMin");
    minimum->selectAll();
    Type(minimum, QStringLiteral("x"));
    QCOMPARE(minimum->text(), QString());
    // Once for "x", once more for the emptied field.
    QCOMPARE(beeps_->count, 2);
}

void PanelRulesOnWidgets::randomPeriodBoxEnablesItsFieldOnly()
{
    ShowPage("tsTime");
    QLineEdit* minimum = Edit("ebRandomPeriodMin");
    QVERIFY(!minimum->isEnabled());
    QTest::mouseClick(Box("cbRandomPeriod"), Qt::LeftButton);
    QVERIFY(minimum->isEnabled());
    Paste(minimum, QStringLiteral("45"));
    QTest::mouseClick(Box("cbRandomPeriod"), Qt::LeftButton);
    QVERIFY(!minimum->isEnabled());
    QCOMPARE(minimum->text(), QStringLiteral("45"));
}

void PanelRulesOnWidgets::minimumPriceIsRepaired_data()
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

void PanelRulesOnWidgets::minimumPriceIsRepaired()
{
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    ShowPage("tsPrice");
    QTest::mouseClick(Box("cbMin"), Qt::LeftButton);
    Paste(Edit("ebMinPrice"), pasted);
    QCOMPARE(Edit("ebMinPrice")->text(), shown);
    QCOMPARE(beeps_->count, beeps);
}

void PanelRulesOnWidgets::minusSignAsFirstCharacterEmptiesTheMinimumPrice()
{
    ShowPage("tsPrice");
    QTest::mouseClick(Box("cbMin"), Qt::LeftButton);
    QLineEdit* price = Edit("ebMinPrice");
    price->setFocus();
    price->selectAll();
    QTest::keyClick(price, Qt::Key_Delete);
    // Deleting "0" leaves an empty text, which does not convert: one beep, and the
    // field, already empty, does not change again.
    QCOMPARE(price->text(), QString());
    QCOMPARE(beeps_->count, 1);
    // "-" is emptied with a beep, and the emptied field beeps once more.
    Type(price, QStringLiteral("-"));
    QCOMPARE(price->text(), QString());
    QCOMPARE(beeps_->count, 3);
    // Digits can be typed one by one.
    Type(price, QStringLiteral("25"));
    QCOMPARE(price->text(), QStringLiteral("25"));
    QCOMPARE(beeps_->count, 3);
}

void PanelRulesOnWidgets::boundBoxesEnableTheirPriceFields()
{
    ShowPage("tsPrice");
    QTest::mouseClick(Box("cbMin"), Qt::LeftButton);
    QVERIFY(Edit("ebMinPrice")->isEnabled());
    QVERIFY(!Edit("ebMaxPrice")->isEnabled());
    QTest::mouseClick(Box("cbMax"), Qt::LeftButton);
    QVERIFY(Edit("ebMaxPrice")->isEnabled());
    QTest::mouseClick(Box("cbMin"), Qt::LeftButton);
    QVERIFY(!Edit("ebMinPrice")->isEnabled());
    QVERIFY(Edit("ebMaxPrice")->isEnabled());
}

void PanelRulesOnWidgets::fixedSeedBoxLocksTheBounds()
{
    ShowPage("tsPrice");
    QTest::mouseClick(Box("cbMin"), Qt::LeftButton);
    QTest::mouseClick(Box("cbMax"), Qt::LeftButton);
    QVERIFY(Box("cbMin")->isChecked() && Box("cbMax")->isChecked());

    QTest::mouseClick(Box("cbSeedRandom"), Qt::LeftButton);
    QVERIFY(!Box("cbSeedRandom")->isChecked());
    QVERIFY(!Edit("ebSeed")->isEnabled());
    QVERIFY(Edit("ebSeedMin")->isEnabled());
    QVERIFY(Edit("ebSeedMax")->isEnabled());
    // Unticked through their own rules, which disabled the price fields.
    QVERIFY(!Box("cbMin")->isChecked());
    QVERIFY(!Box("cbMax")->isChecked());
    QVERIFY(!Box("cbMin")->isEnabled());
    QVERIFY(!Box("cbMax")->isEnabled());
    QVERIFY(!Edit("ebMinPrice")->isEnabled());
    QVERIFY(!Edit("ebMaxPrice")->isEnabled());

    QTest::mouseClick(Box("cbSeedRandom"), Qt::LeftButton);
    QVERIFY(Edit("ebSeed")->isEnabled());
    QVERIFY(!Edit("ebSeedMin")->isEnabled());
    QVERIFY(!Edit("ebSeedMax")->isEnabled());
    QVERIFY(Box("cbMin")->isEnabled());
    QVERIFY(Box("cbMax")->isEnabled());
    QVERIFY(!Box("cbMin")->isChecked());
    QVERIFY(!Box("cbMax")->isChecked());
    QVERIFY(!Edit("ebMinPrice")->isEnabled());
    // The boxes are clickable again.
    QTest::mouseClick(Box("cbMax"), Qt::LeftButton);
    QVERIFY(Box("cbMax")->isChecked());
    QVERIFY(Edit("ebMaxPrice")->isEnabled());
    QCOMPARE(beeps_->count, 0);
}

void PanelRulesOnWidgets::endDateSetByTheUserGivesTheDays()
{
    ShowPage("tsTime");
    const DateTimeValue start = Date("StartDate");
    Picker("EndDate")->setDate(Picker("StartDate")->date().addDays(10));
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("10"));
    // The days' rule moved the end date to start + 10 with the start's time of day.
    QCOMPARE(Date("EndDate"), start + 10);
    QCOMPARE(Date("StartDate"), start);
    QCOMPARE(beeps_->count, 0);
}

void PanelRulesOnWidgets::endDateBeforeStartSnapsBackAndDaysBecomeOne()
{
    ShowPage("tsTime");
    const DateTimeValue start = Date("StartDate");
    Picker("EndDate")->setDate(Picker("StartDate")->date().addDays(-3));
    // End := start, so "0" days, repaired to "1" without a beep; the end is one day on.
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("1"));
    QCOMPARE(Date("EndDate"), start + 1);
    QCOMPARE(Picker("EndDate")->date(), Picker("StartDate")->date().addDays(1));
    QCOMPARE(Date("StartDate"), start);
    QCOMPARE(beeps_->count, 0);
}

void PanelRulesOnWidgets::startDateMovedByTheUserKeepsTheEndDate()
{
    ShowPage("tsTime");
    const DateTimeValue start = Date("StartDate");
    const DateTimeValue end = Date("EndDate");
    Picker("StartDate")->setDate(Picker("StartDate")->date().addDays(30));
    QCOMPARE(Date("StartDate"), start + 30);  // the time of day stays
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("150"));
    QCOMPARE(Date("EndDate"), end);

    // A start after the end drags the end along: 0 days, then 1.
    Picker("StartDate")->setDate(Picker("EndDate")->date().addDays(5));
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("1"));
    QCOMPARE(Date("EndDate"), Date("StartDate") + 1);
    QCOMPARE(Date("StartDate"), start + 185);
}

void PanelRulesOnWidgets::keyboardChangeOfAPickerRunsTheRule()
{
    ShowPage("tsTime");
    QDateEdit* end = Picker("EndDate");
    end->setFocus();
    end->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(end, Qt::Key_Up);
    QCOMPARE(end->date(), Picker("StartDate")->date().addDays(181));
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("181"));
}

void PanelRulesOnWidgets::datesSetByCodeRunNoRule()
{
    ShowPage("tsTime");
    PanelControls& panel = window_->Panel();
    const DateTimeValue start = panel.Date("StartDate");
    panel.SetDate("EndDate", start + 7.25);
    QCOMPARE(panel.Date("EndDate"), start + 7.25);
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("180"));
    panel.SetDate("StartDate", start - 100);
    QCOMPARE(Edit("ebLength")->text(), QStringLiteral("180"));
    QCOMPARE(Picker("StartDate")->date(), DateOfDays(start - 100));
}

QTEST_MAIN(PanelRulesOnWidgets)
#include "PanelRulesOnWidgetsTest.moc"
