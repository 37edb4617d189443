// The export format dialog: its example line, the precision's up-down control, the
// choices it keeps between exports and the record it hands to the export command.

#include "gui/ExportFormatDialog.h"
#include "gui/UpDown.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

using tickforge::ExportFormat;
using tickforge::TfrmWriteMarket;
using tickforge::TUpDown;

namespace {

template <typename T>
T* Control(QWidget& window, const char* name)
{
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
        qFatal("control %s is missing", name);
    return control;
}

QString Example(TfrmWriteMarket& dialog)
{
    return Control<QLabel>(dialog, "pnlExample")->text();
}

void Click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs the modal dialog while `act` works on it from inside its event loop; `act`
// must close the dialog. A second timer closes it anyway so a fault cannot hang.
bool ExecuteWhile(TfrmWriteMarket& dialog, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dialog, act);
    QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(QDialog::Rejected); });
    return dialog.Execute();
}

const char* const ColumnBoxes[] = {"cbTicker", "cbDate", "cbOpen", "cbHigh", "cbLow", "cbClose", "cbVolume"};

}  // namespace

class ExportFormatDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dialog = new TfrmWriteMarket;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
    }

    void cleanup()
    {
        delete dialog;
        dialog = nullptr;
    }

    void layoutMatchesTheDesign()
    {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Export Format"));
        QCOMPARE(dialog->size(), QSize(373, 263));
        QCOMPARE(Control<QGroupBox>(*dialog, "GroupBox1")->title(), QStringLiteral("Columns"));
        QCOMPARE(Control<QGroupBox>(*dialog, "GroupBox2")->title(), QStringLiteral("Delimiter"));
        QCOMPARE(Control<QGroupBox>(*dialog, "GroupBox3")->title(), QStringLiteral("Files"));
        QCOMPARE(Control<QLabel>(*dialog, "Label2")->text(), QStringLiteral("Precision (digits):"));
        QCOMPARE(Control<QCheckBox>(*dialog, "cbHeadings")->text(), QStringLiteral("Headings"));
        QCOMPARE(Control<QCheckBox>(*dialog, "cbQuotes")->text(), QStringLiteral("Quote Values"));
        QCOMPARE(Control<QRadioButton>(*dialog, "rbComma")->text(), QStringLiteral("Comma"));
        QCOMPARE(Control<QRadioButton>(*dialog, "rbTab")->text(), QStringLiteral("Tab"));
        QCOMPARE(Control<QRadioButton>(*dialog, "rbSingleFile")->text(), QStringLiteral("Single"));
        QCOMPARE(Control<QRadioButton>(*dialog, "rbMultiFile")->text(), QStringLiteral("Multiple"));
        QCOMPARE(Control<QPushButton>(*dialog, "BitBtn1")->text(), QStringLiteral("OK"));
        QCOMPARE(Control<QPushButton>(*dialog, "BitBtn2")->text(), QStringLiteral("Cancel"));
        QVERIFY(Control<QPushButton>(*dialog, "BitBtn1")->isDefault());

        // One row per column, check box left of its heading text, in column order.
        const char* captions[] = {"Ticker", "Date", "Open", "High", "Low", "Close", "Volume"};
        const char* headings[] = {"TICKER", "DATE", "OPEN", "HIGH", "LOW", "CLOSE", "VOLUME"};
        int previousRow = -1;
        for (int i = 0; i < 7; ++i) {
            auto* box = Control<QCheckBox>(*dialog, ColumnBoxes[i]);
            auto* heading = Control<QLineEdit>(*dialog, (QByteArray("eb") + captions[i]).constData());
            QCOMPARE(box->text(), QString::fromLatin1(captions[i]));
            QCOMPARE(heading->text(), QString::fromLatin1(headings[i]));
            QVERIFY(box->geometry().right() < heading->geometry().left());
            QVERIFY(box->y() > previousRow);
            previousRow = box->y();
        }
        QVERIFY(Control<QCheckBox>(*dialog, "cbHeadings")->y() < Control<QCheckBox>(*dialog, "cbTicker")->y());
        QVERIFY(Control<QLabel>(*dialog, "pnlExample")->y() > previousRow);
    }

    void nothingIsEverDisabled()
    {
        for (const char* name : ColumnBoxes)
            Click(Control<QCheckBox>(*dialog, name));
        Click(Control<QRadioButton>(*dialog, "rbTab"));
        for (QWidget* control : dialog->findChildren<QWidget*>())
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    }

    void exampleAfterCreation()
    {
        QCOMPARE(Example(*dialog), QStringLiteral("D,O,H,L,C,V"));
    }

    void exampleFollowsEveryColumnClick()
    {
        Click(Control<QCheckBox>(*dialog, "cbTicker"));
        QCOMPARE(Example(*dialog), QStringLiteral("T,D,O,H,L,C,V"));
        Click(Control<QCheckBox>(*dialog, "cbDate"));
        QCOMPARE(Example(*dialog), QStringLiteral("T,O,H,L,C,V"));
        Click(Control<QCheckBox>(*dialog, "cbHigh"));
        Click(Control<QCheckBox>(*dialog, "cbVolume"));
        QCOMPARE(Example(*dialog), QStringLiteral("T,O,L,C"));
        for (const char* name : {"cbTicker", "cbOpen", "cbLow", "cbClose"})
            Click(Control<QCheckBox>(*dialog, name));
        QCOMPARE(Example(*dialog), QString());
        Click(Control<QCheckBox>(*dialog, "cbVolume"));
        QCOMPARE(Example(*dialog), QStringLiteral("V"));
    }

    void otherChoicesLeaveTheExampleAlone()
    {
        Click(Control<QRadioButton>(*dialog, "rbTab"));
        Click(Control<QCheckBox>(*dialog, "cbHeadings"));
        Click(Control<QCheckBox>(*dialog, "cbQuotes"));
        Click(Control<QRadioButton>(*dialog, "rbMultiFile"));
        Control<TUpDown>(*dialog, "UpDown1")->stepUp();
        auto* heading = Control<QLineEdit>(*dialog, "ebOpen");
        heading->clear();
        QTest::keyClicks(heading, "Opening price");
        QCOMPARE(Example(*dialog), QStringLiteral("D,O,H,L,C,V"));
    }

    void precisionStopsAtNineAndOne()
    {
        auto* prec = Control<QLineEdit>(*dialog, "ebPrec");
        auto* upDown = Control<TUpDown>(*dialog, "UpDown1");
        auto* up = Control<QToolButton>(*upDown, "upButton");
        auto* down = Control<QToolButton>(*upDown, "downButton");
        QCOMPARE(prec->text(), QStringLiteral("5"));
        QCOMPARE(upDown->minimum(), 1);
        QCOMPARE(upDown->maximum(), 9);
        QVERIFY(!upDown->wrap());

        for (int i = 0; i < 4; ++i)
            Click(up);
        QCOMPARE(prec->text(), QStringLiteral("9"));
        Click(up);
        QCOMPARE(prec->text(), QStringLiteral("9"));
        QCOMPARE(dialog->ReadExportFormat().Precision, 9);

        for (int i = 0; i < 8; ++i)
            Click(down);
        QCOMPARE(prec->text(), QStringLiteral("1"));
        Click(down);
        QCOMPARE(prec->text(), QStringLiteral("1"));
        QCOMPARE(dialog->ReadExportFormat().Precision, 1);
    }

    void precisionCannotBeTypedButArrowKeysStep()
    {
        auto* prec = Control<QLineEdit>(*dialog, "ebPrec");
        QVERIFY(prec->isReadOnly());
        prec->setFocus();
        QTest::keyClicks(prec, "7");
        QTest::keyClick(prec, Qt::Key_Backspace);
        QCOMPARE(prec->text(), QStringLiteral("5"));
        QTest::keyClick(prec, Qt::Key_Up);
        QTest::keyClick(prec, Qt::Key_Up);
        QCOMPARE(prec->text(), QStringLiteral("7"));
        QTest::keyClick(prec, Qt::Key_Down);
        QCOMPARE(prec->text(), QStringLiteral("6"));
    }

    void readExportFormatWithTheDefaults()
    {
        const ExportFormat f = dialog->ReadExportFormat();
        QVERIFY(!f.TickerColumn);
        QVERIFY(f.DateColumn && f.OpenColumn && f.HighColumn && f.LowColumn && f.CloseColumn && f.VolumeColumn);
        QCOMPARE(f.TickerHeading, std::string("TICKER"));
        QCOMPARE(f.DateHeading, std::string("DATE"));
        QCOMPARE(f.OpenHeading, std::string("OPEN"));
        QCOMPARE(f.HighHeading, std::string("HIGH"));
        QCOMPARE(f.LowHeading, std::string("LOW"));
        QCOMPARE(f.CloseHeading, std::string("CLOSE"));
        QCOMPARE(f.VolumeHeading, std::string("VOLUME"));
        QVERIFY(!f.WriteHeadings);
        QVERIFY(f.QuoteValues);
        QCOMPARE(f.Delimiter, ',');
        QCOMPARE(f.Precision, 5);
        QVERIFY(!f.MultipleFiles);
    }

    void readExportFormatMapsEveryControl()
    {
        for (const char* name : ColumnBoxes)
            Click(Control<QCheckBox>(*dialog, name));
        Click(Control<QCheckBox>(*dialog, "cbHeadings"));
        Click(Control<QCheckBox>(*dialog, "cbQuotes"));
        Click(Control<QRadioButton>(*dialog, "rbTab"));
        Click(Control<QRadioButton>(*dialog, "rbMultiFile"));
        Control<TUpDown>(*dialog, "UpDown1")->stepDown();
        Control<QLineEdit>(*dialog, "ebTicker")->setText("Sym");
        Control<QLineEdit>(*dialog, "ebDate")->setText("");
        Control<QLineEdit>(*dialog, "ebVolume")->setText("Vol Traded");

        const ExportFormat f = dialog->ReadExportFormat();
        QVERIFY(f.TickerColumn);
        QVERIFY(!f.DateColumn && !f.OpenColumn && !f.HighColumn && !f.LowColumn && !f.CloseColumn
                && !f.VolumeColumn);
        QCOMPARE(f.TickerHeading, std::string("Sym"));
        QCOMPARE(f.DateHeading, std::string());
        QCOMPARE(f.VolumeHeading, std::string("Vol Traded"));
        QVERIFY(f.WriteHeadings);
        QVERIFY(!f.QuoteValues);
        QCOMPARE(f.Delimiter, '\t');
        QCOMPARE(f.Precision, 4);
        QVERIFY(f.MultipleFiles);

        Click(Control<QRadioButton>(*dialog, "rbComma"));
        Click(Control<QRadioButton>(*dialog, "rbSingleFile"));
        QCOMPARE(dialog->ReadExportFormat().Delimiter, ',');
        QVERIFY(!dialog->ReadExportFormat().MultipleFiles);
    }

    void okAndEnterAccept()
    {
        dialog->hide();
        QVERIFY(ExecuteWhile(*dialog, [this] { Click(Control<QPushButton>(*dialog, "BitBtn1")); }));
        QVERIFY(ExecuteWhile(*dialog, [this] { QTest::keyClick(dialog, Qt::Key_Return); }));
    }

    void cancelCloseAndEscapeRefuse()
    {
        dialog->hide();
        QVERIFY(!ExecuteWhile(*dialog, [this] { Click(Control<QPushButton>(*dialog, "BitBtn2")); }));
        QVERIFY(!ExecuteWhile(*dialog, [this] { dialog->close(); }));
        QVERIFY(!ExecuteWhile(*dialog, [this] { QTest::keyClick(dialog, Qt::Key_Escape); }));
    }

    void choicesMadeBeforeCancelAreKept()
    {
        dialog->hide();
        const bool accepted = ExecuteWhile(*dialog, [this] {
            Click(Control<QCheckBox>(*dialog, "cbTicker"));
            Click(Control<QRadioButton>(*dialog, "rbTab"));
            Control<TUpDown>(*dialog, "UpDown1")->stepUp();
            Control<QLineEdit>(*dialog, "ebClose")->setText("LAST");
            Click(Control<QPushButton>(*dialog, "BitBtn2"));
        });
        QVERIFY(!accepted);

        QString exampleSeenAgain;
        const bool acceptedAgain = ExecuteWhile(*dialog, [this, &exampleSeenAgain] {
            exampleSeenAgain = Example(*dialog);
            Click(Control<QPushButton>(*dialog, "BitBtn1"));
        });
        QVERIFY(acceptedAgain);
        QCOMPARE(exampleSeenAgain, QStringLiteral("T,D,O,H,L,C,V"));
        const ExportFormat f = dialog->ReadExportFormat();
        QVERIFY(f.TickerColumn);
        QCOMPARE(f.Delimiter, '\t');
        QCOMPARE(f.Precision, 6);
        QCOMPARE(f.CloseHeading, std::string("LAST"));
    }

    void aNewDialogStartsWithTheDefaults()
    {
        Click(Control<QCheckBox>(*dialog, "cbTicker"));
        Click(Control<QRadioButton>(*dialog, "rbTab"));
        TfrmWriteMarket fresh;
        QCOMPARE(Example(fresh), QStringLiteral("D,O,H,L,C,V"));
        QCOMPARE(fresh.ReadExportFormat().Delimiter, ',');
    }

private:
    TfrmWriteMarket* dialog = nullptr;
};

QTEST_MAIN(ExportFormatDialogTest)
#include "ExportFormatDialogTest.moc"
