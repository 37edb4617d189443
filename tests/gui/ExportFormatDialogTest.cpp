// The export format dialog: its example line, the precision's up-down control, the
// choices it keeps between exports and the record it hands to the export command.

#include "GuiTestSupport.h"
#include "gui/ExportFormatDialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

// The included columns as letters, "-" for a left-out one.
QString Columns(const ExportFormat& f)
{
    QString letters;
    for (const ExportColumnInfo& column : ExportColumns)
        letters += QLatin1Char(f.Includes(column.Column) ? column.Letter : '-');
    return letters;
}

}  // namespace

class ExportFormatDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TfrmWriteMarket> dialog;

    QString Example() const { return Find<QLabel>(*dialog, "pnlExample")->text(); }
    QString Precision() const { return Find<QLineEdit>(*dialog, "ebPrec")->text(); }
    void Click(const char* name) const { QTest::mouseClick(Find<QAbstractButton>(*dialog, name), Qt::LeftButton); }

    // Runs the modal dialog while act works on it from inside its event loop; act must
    // close the dialog. A second timer closes it anyway so that a fault cannot hang.
    bool ExecuteWhile(const std::function<void()>& act)
    {
        dialog->hide();
        QTimer::singleShot(0, dialog.get(), act);
        QTimer::singleShot(5000, dialog.get(), [this] { dialog->done(QDialog::Rejected); });
        return dialog->Execute();
    }

private Q_SLOTS:
    void init()
    {
        dialog = std::make_unique<TfrmWriteMarket>();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void cleanup() { dialog.reset(); }

    void precisionStaysWithinOneToNineAndCannotBeTyped()
    {
        for (int i = 0; i < 5; ++i)
            Click("upButton");
        QCOMPARE(Precision(), QStringLiteral("9"));  // no further than 9
        QCOMPARE(dialog->ReadExportFormat().Precision, 9);
        for (int i = 0; i < 9; ++i)
            Click("downButton");
        QCOMPARE(Precision(), QStringLiteral("1"));  // nor below 1
        QCOMPARE(dialog->ReadExportFormat().Precision, 1);

        // Typing does nothing; the arrow keys step.
        auto* prec = Find<QLineEdit>(*dialog, "ebPrec");
        QVERIFY(prec->isReadOnly());
        prec->setFocus();
        QTest::keyClicks(prec, "7");
        QTest::keyClick(prec, Qt::Key_Backspace);
        QCOMPARE(Precision(), QStringLiteral("1"));
        QTest::keyClick(prec, Qt::Key_Up);
        QTest::keyClick(prec, Qt::Key_Up);
        QCOMPARE(Precision(), QStringLiteral("3"));
    }

    void everyControlReachesTheExampleAndTheRecord()
    {
        Click("cbTicker");
        QCOMPARE(Example(), QStringLiteral("T,D,O,H,L,C,V"));
        for (const char* name : {"cbDate", "cbOpen", "cbHigh", "cbLow", "cbClose", "cbVolume", "cbHeadings",
                                 "cbQuotes", "rbTab", "rbMultiFile", "downButton"})
            Click(name);
        QCOMPARE(Example(), QStringLiteral("T"));  // only the columns show
        Find<QLineEdit>(*dialog, "ebTicker")->setText("Sym");
        Find<QLineEdit>(*dialog, "ebDate")->setText("");
        Find<QLineEdit>(*dialog, "ebVolume")->setText("Vol Traded");
        const ExportFormat f = dialog->ReadExportFormat();
        QCOMPARE(Columns(f), QStringLiteral("T------"));
        QCOMPARE(std::vector<std::string>(f.Headings.begin(), f.Headings.end()),
                 (std::vector<std::string>{"Sym", "", "OPEN", "HIGH", "LOW", "CLOSE", "Vol Traded"}));
        QVERIFY(f.WriteHeadings && !f.QuoteValues && f.MultipleFiles);
        QCOMPARE(f.Delimiter, '\t');
        QCOMPARE(f.Precision, 4);
    }

    void choicesMadeBeforeCancelAreKept()
    {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Export Format"));
        QVERIFY(!ExecuteWhile([this] {
            Click("cbTicker");
            Click("rbTab");
            Click("upButton");
            Find<QLineEdit>(*dialog, "ebClose")->setText("LAST");
            Click("BitBtn2");
        }));
        QString exampleSeenAgain;
        QVERIFY(ExecuteWhile([this, &exampleSeenAgain] {
            exampleSeenAgain = Example();
            Click("BitBtn1");
        }));
        QCOMPARE(exampleSeenAgain, QStringLiteral("T,D,O,H,L,C,V"));
        const ExportFormat f = dialog->ReadExportFormat();
        QCOMPARE(Columns(f), QStringLiteral("TDOHLCV"));
        QCOMPARE(f.Delimiter, '\t');
        QCOMPARE(f.Precision, 6);
        QCOMPARE(f.Heading(ExportColumn::Close), std::string("LAST"));

        // A new dialog starts from the design again.
        TfrmWriteMarket fresh;
        QCOMPARE(Find<QLabel>(fresh, "pnlExample")->text(), QStringLiteral("D,O,H,L,C,V"));
        QCOMPARE(fresh.ReadExportFormat().Delimiter, ',');
    }
};

QTEST_MAIN(ExportFormatDialogTest)
#include "ExportFormatDialogTest.moc"
