// Start-up of the desktop program in a scratch settings folder: the windows in their
// order, the main window centred with the focus on GO, its about box (the splash window
// with the credits), the panel restored at creation and saved at destruction, and
// closing the main window ending the program. The pictures and the maker's addresses.

#include "GuiTestSupport.h"
#include "gui/CreditsWindow.h"
#include "gui/ExportFormatDialog.h"
#include "gui/Pictures.h"
#include "gui/ShellOpen.h"
#include "gui/SplashWindow.h"
#include "gui/StartUp.h"
#include "platform/DateTime.h"

#include <QLabel>
#include <QScreen>

#include <cmath>
#include <memory>
#include <vector>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

StartUpOptions NoWait()
{
    StartUpOptions options;
    options.wait = [](int) {};
    return options;
}

bool CentredOnItsScreen(const QWidget& window, const QRect& frame)
{
    return (frame.center() - window.screen()->availableGeometry().center()).manhattanLength() <= 2;
}

}  // namespace

class StartUpAndSettingsTest : public QObject {
    Q_OBJECT

    QTemporaryDir config;  // the settings folder's parent (XDG_CONFIG_HOME)

    QString SettingsPath() const { return config.filePath(QStringLiteral("tickforge/TKF.ini")); }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        QVERIFY(QDir(config.path()).mkpath(QStringLiteral("tickforge")));
    }

    void init()
    {
        QFile::remove(SettingsPath());
        QDir(SettingsPath()).removeRecursively();
    }

    void firstStartShowsTheDefaultsAndTheSavedPanelComesBackThroughItsRules()
    {
        AlertRecorder boxes;
        const DateTimeValue before = NowLocal();
        auto window = std::make_unique<TGenerator>(nullptr, "TKF.ini");
        PanelControls& panel = window->Panel();
        QCOMPARE(window->Chart().Style(), HistoryChart::CandleStyle::Candlestick);  // as the panel's box says
        // Start now, end the length later.
        const DateTimeValue start = panel.Date("StartDate");
        QVERIFY(start >= before - 1e-6 && start <= NowLocal() + 1e-6);
        QVERIFY(std::abs(panel.Date("EndDate") - start - 180) < 1.0 / 24);
        QVERIFY(!QFile::exists(SettingsPath()));  // nothing is written at start

        panel.SetText("ebSecurityName", "XJO");
        panel.SetText("ebLength", "400");
        panel.SetChecked("rbBar", true);
        window.reset();
        QVERIFY(boxes.boxes.empty());
        // The restored length moves the end date; the restored box sets the chart's style.
        TGenerator again(nullptr, "TKF.ini");
        QCOMPARE(again.Panel().Text("ebSecurityName"), std::string("XJO"));
        QVERIFY(std::abs(again.Panel().Date("EndDate") - again.Panel().Date("StartDate") - 400) < 1.0 / 24);
        QCOMPARE(again.Chart().Style(), HistoryChart::CandleStyle::Bar);
    }

    void aSaveThatFailsIsShownOnceAndTheWindowStillGoes()
    {
        // A folder where the file should be: it reads as empty and cannot be written.
        QVERIFY(QDir().mkpath(SettingsPath()));
        AlertRecorder boxes;
        {
            TGenerator window(nullptr, "TKF.ini");
            QVERIFY(boxes.boxes.empty());
            QCOMPARE(window.Panel().Text("ebSeedMin"), std::string("2000"));
        }
        QCOMPARE(boxes.Texts(), QStringList{QStringLiteral("Unable to write to TKF.ini.")});
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Tickforge"));
        QCOMPARE(boxes.boxes[0].icon, AlertIcon::Stop);
    }

    void windowsAppearInOrderWithTheSplashUpCentredOnTop()
    {
        QVERIFY(WriteFile(SettingsPath(), "[Generator]\nSecurityName=XJO\n"));
        // Per step: the splash up (S), the progress window (P), credits window (C) and
        // format dialog (F) made, and the main window shown (G).
        QStringList seen;
        std::vector<int> waits;
        QRect splashFrame;
        QString nameAtCreation;
        bool splashUpDuringWait = false;
        const ProgramWindows* current = nullptr;
        StartUpOptions options;
        options.observer = [&](StartUpStep step, const ProgramWindows& windows) {
            seen << QStringLiteral("%1:%2%3%4%5%6").arg(static_cast<int>(step))
                        .arg(windows.frmSplash && windows.frmSplash->isVisible() ? "S" : "", windows.Progress ? "P" : "",
                             windows.frmBetaTesters ? "C" : "", windows.frmWriteMarket ? "F" : "",
                             windows.Generator->isVisible() ? "G" : "");
            if (step == StartUpStep::MainWindowCreated)
                nameAtCreation = Find<QLineEdit>(*windows.Generator, "ebSecurityName")->text();
            if (step == StartUpStep::SplashRepainted)
                splashFrame = windows.frmSplash->frameGeometry();
            current = &windows;
        };
        options.wait = [&](int milliseconds) {
            waits.push_back(milliseconds);
            splashUpDuringWait = current->frmSplash->isVisible();
        };
        const std::unique_ptr<ProgramWindows> windows = StartUp(options);

        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tickforge"));
        // The main window is made first, with its settings restored, and not shown; then
        // the splash shown, the progress window, credits, repaint, format dialog, wait, hide.
        QCOMPARE(nameAtCreation, QStringLiteral("XJO"));
        QCOMPARE(seen, (QStringList{"0:", "1:S", "2:SP", "3:SPC", "4:SPC", "5:SPCF", "6:SPCF", "7:PCF"}));
        QCOMPARE(waits, std::vector<int>{3000});
        QVERIFY(splashUpDuringWait);
        QVERIFY(CentredOnItsScreen(*windows->frmSplash, splashFrame));
        QVERIFY(!windows->Progress->isVisible());
    }

    void mainWindowOpensCentredAndItsAboutBoxShowsTheCreditsModally()
    {
        const std::unique_ptr<ProgramWindows> windows = StartUp(NoWait());
        ShowMainWindow(*windows);
        TGenerator& main = *windows->Generator;
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCOMPARE(main.focusWidget(), Find(main, "btnGenerate"));
        QVERIFY(CentredOnItsScreen(main, main.frameGeometry()));
        main.move(main.pos() + QPoint(40, 30));  // centred only when first shown
        const QPoint moved = main.pos();
        main.hide();
        main.show();
        QCOMPARE(main.pos(), moved);

        // About shows the program's splash window modally with its OK, and the credits over it.
        TfrmSplash& splash = *windows->frmSplash;
        TfrmBetaTesters& credits = *windows->frmBetaTesters;
        QCOMPARE(credits.windowTitle(), QStringLiteral("Beta Testers"));
        bool okVisible = false;
        QWidget *modal = nullptr, *modalInCredits = nullptr, *modalAfterCredits = nullptr;
        QTimer::singleShot(0, &splash, [&] {
            modal = QApplication::activeModalWidget();
            okVisible = Find(splash, "sbtnOK")->isVisible();
            QTimer::singleShot(0, &credits, [&] {
                modalInCredits = QApplication::activeModalWidget();
                QTest::mouseClick(Find(credits, "btnOK"), Qt::LeftButton);
            });
            QTest::mouseClick(Find(splash, "Button1"), Qt::LeftButton);
            modalAfterCredits = QApplication::activeModalWidget();
            QTest::keyClick(&splash, Qt::Key_Return);
        });
        GuardAgainstHanging(&splash);
        Find<QAbstractButton>(main, "BitBtn1")->click();
        QVERIFY(modal == &splash && okVisible && modalInCredits == &credits && modalAfterCredits == &splash);
        QVERIFY(!splash.isVisible() && !credits.isVisible() && main.isVisible());
        QCOMPARE(splash.result(), int(QDialog::Accepted));
    }

    void splashPicturesDecodeAndItsAddressLabelsOpenTheMakersAddresses()
    {
        InitPictures();
        QCOMPARE(LoadPicture(SplashPicturePath).size(), QSize(448, 358));
        QCOMPARE(LoadPicture(CreditsPicturePath).size(), QSize(322, 257));
        QCOMPARE(LoadPicture(ApplicationIconPath).size(), QSize(256, 256));
        QVERIFY(LoadPicture(QStringLiteral(":/pictures/missing.jpg")).isNull());

        std::vector<QString> opened;
        Seam<UrlOpener> opener{SetUrlOpener, [&opened](const QUrl& url) {
                                   opened.push_back(url.toString());
                                   return true;
                               }};
        TfrmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::mouseClick(Find(splash, "lblEmail"), Qt::LeftButton);
        QTest::mouseClick(Find(splash, "lblWWW"), Qt::LeftButton);
        QTest::mouseClick(Find(splash, "lblWWW"), Qt::RightButton);  // not a click on a label
        QCOMPARE(opened, (std::vector<QString>{"mailto:tickforge@example.org", "https://tickforge.example.org/"}));
        // Targets are cut to 79 characters.
        const QString longTarget = QStringLiteral("https://tickforge.example.org/") + QString(80, QLatin1Char('a'));
        OpenWithShell(longTarget);
        QCOMPARE(opened.back(), longTarget.left(79));
    }

    // Last: it runs the application's event loop to its end.
    void closingTheMainWindowEndsTheProgramAndSavesTheSettings()
    {
        std::unique_ptr<ProgramWindows> windows = StartUp(NoWait());
        TGenerator* main = windows->Generator.get();
        QTimer::singleShot(0, main, [main] {
            main->Panel().SetText("ebSecurityName", "ZZZ");
            main->close();
        });
        GuardAgainstHanging(main);
        QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });
        QCOMPARE(RunProgram(std::move(windows)), 0);

        QVERIFY(ReadFile(SettingsPath()).contains("\nSecurityName=ZZZ\n"));
    }
};

QTEST_MAIN(StartUpAndSettingsTest)
#include "StartUpAndSettingsTest.moc"
