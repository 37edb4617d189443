// The user's formats taken from Qt's locale, and the panel over a small tree of real
// widgets with its dates kept as day numbers.

#include "GuiTestSupport.h"
#include "QtLocaleFormats.h"
#include "WidgetPanel.h"
#include "platform/Error.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QSignalSpy>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

template <typename T>
T* Make(QWidget& root, const char* name)
{
    auto* widget = new T(&root);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

class QtConversions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void datePatternsKeepTheirNumericFields_data()
    {
        QTest::addColumn<QString>("qtFormat");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("british") << "dd/MM/yyyy" << "dd/MM/yyyy";
        QTest::newRow("quoted text stays") << "d.MM.yy 'г'." << "d.MM.yy 'г'.";
        QTest::newRow("month names become numbers") << "d MMM yyyy" << "d MM yyyy";
        QTest::newRow("weekday dropped with its separator") << "dddd, d MMMM yyyy" << "d MM yyyy";
        QTest::newRow("odd year lengths become four digits") << "d/M/y" << "d/M/yyyy";
    }

    void datePatternsKeepTheirNumericFields()
    {
        QFETCH(QString, qtFormat);
        QFETCH(QString, pattern);
        QCOMPARE(QString::fromStdString(ShortDatePatternOf(qtFormat)), pattern);
    }

    void localesGiveTheirSeparatorAndShortDate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<char>("separator");
        QTest::newRow("de_DE") << "de_DE" << ',';
        QTest::newRow("en_US") << "en_US" << '.';
    }

    void localesGiveTheirSeparatorAndShortDate()
    {
        QFETCH(QString, locale);
        QFETCH(char, separator);
        const QLocale qt(locale);
        const LocaleFormats formats = LocaleFormatsOf(qt);
        QCOMPARE(formats.decimalSeparator, separator);
        // The locale's own short format, reduced to numeric fields.
        QCOMPARE(formats.shortDatePattern, ShortDatePatternOf(qt.dateFormat(QLocale::ShortFormat)));
        for (const char* field : {"d", "M", "yy"})
            QVERIFY(formats.shortDatePattern.find(field) != std::string::npos);
    }

    void processWithoutLocaleGetsTheDefaults()
    {
        const LocaleFormats formats = LocaleFormatsOf(QLocale::c());
        QCOMPARE(formats.decimalSeparator, '.');
        QCOMPARE(formats.shortDatePattern, std::string("d/MM/yyyy"));
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
        // The user picks the 20th: the value keeps its six o'clock.
        picker->setDate(QDate(2023, 3, 20));
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
        QVERIFY_THROWS_EXCEPTION(Error, panel.CheckDesignedControls());
        QCOMPARE(messageOf("cbMin"), QStringLiteral("Control cbMin is of the wrong kind"));
    }
};

QTEST_MAIN(QtConversions)
#include "QtConversionsTest.moc"
