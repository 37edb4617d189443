// The panel over a small tree of real widgets: texts kept as their bytes, dates kept as
// day numbers.

#include "GuiTestSupport.h"
#include "WidgetPanel.h"
#include "platform/Error.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
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
