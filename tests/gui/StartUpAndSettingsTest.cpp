// Start-up of the desktop program and the settings file of its main window. The
// windows appear in their order with the splash window up during the (here skipped) wait;
// the main window opens centred with the focus on GO; the about box is the same
// splash window shown modally; closing the main window ends the program. The panel is
// restored as the last step of the main window's creation and saved as the first step
// of its destruction, errors shown without stopping either. The settings folder is a
// scratch folder. The splash window's pictures, the maker's addresses and the modal
// about and credits displays.

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

    void firstStartShowsTheDefaultsAndExitSavesThePanel()
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
        panel.SetChecked("cbActiveShock", true);
        panel.SetText("ebShockMag", "4.5");
        window.reset();
        const QByteArray saved = ReadFile(SettingsPath());
        QVERIFY(saved.startsWith("[Generator]\n"));
        for (const char* entry : {"\nSecurityName=XJO\n", "\nActiveShock=1\n", "\nShockMag=4.5\n"})
            QVERIFY2(saved.contains(entry), entry);
        QVERIFY(boxes.boxes.empty());

        TGenerator again(nullptr, "TKF.ini");
        QCOMPARE(again.Panel().Text("ebSecurityName"), std::string("XJO"));
        QVERIFY(again.Panel().Checked("cbActiveShock"));
        QCOMPARE(again.Panel().Text("ebShockMag"), std::string("4.5"));
    }

    void restoredValuesRunTheirRules()
    {
        QVERIFY(WriteFile(SettingsPath(), "[Generator]\nLength=400\nBar=1\nCandle=0\n"));
        TGenerator window(nullptr, "TKF.ini");
        // The length pulls the random minimum's default along and moves the end date.
        QCOMPARE(window.Panel().Text("ebRandomPeriodMin"), std::string("400"));
        QVERIFY(std::abs(window.Panel().Date("EndDate") - window.Panel().Date("StartDate") - 400) < 1.0 / 24);
        QVERIFY(window.Panel().Checked("rbBar") && !window.Panel().Checked("rbCandle"));
        QCOMPARE(window.Chart().Style(), HistoryChart::CandleStyle::Bar);
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
        // format dialog (F) made, the main window shown (G), and its security name.
        QStringList seen;
        std::vector<int> waits;
        QRect splashFrame;
        bool splashUpDuringWait = false;
        const ProgramWindows* current = nullptr;
        StartUpOptions options;
        options.observer = [&](StartUpStep step, const ProgramWindows& windows) {
            const char* const names[] = {"MainWindowCreated", "SplashShown", "ProgressCreated", "CreditsCreated",
                                         "SplashRepainted", "FormatDialogCreated", "Waited", "SplashHidden"};
            QString record = QString::fromLatin1(names[static_cast<int>(step)]) + QLatin1Char(':');
            record += windows.frmSplash && windows.frmSplash->isVisible() ? "S" : "";
            record += windows.Progress ? "P" : "";
            record += windows.frmBetaTesters ? "C" : "";
            record += windows.frmWriteMarket ? "F" : "";
            record += windows.Generator->isVisible() ? "G" : "";
            seen << record + QLatin1Char(' ') + Find<QLineEdit>(*windows.Generator, "ebSecurityName")->text();
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
        // The main window is made first, with its settings restored, and not shown.
        QCOMPARE(seen, (QStringList{"MainWindowCreated: XJO", "SplashShown:S XJO", "ProgressCreated:SP XJO",
                                    "CreditsCreated:SPC XJO", "SplashRepainted:SPC XJO", "FormatDialogCreated:SPCF XJO",
                                    "Waited:SPCF XJO", "SplashHidden:PCF XJO"}));
        QCOMPARE(waits, std::vector<int>{3000});
        QVERIFY(splashUpDuringWait);
        QVERIFY(CentredOnItsScreen(*windows->frmSplash, splashFrame));
        QVERIFY(!windows->Progress->isVisible());
    }

    void mainWindowOpensCentredAndItsAboutBoxIsTheProgramsSplash()
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

        // About shows the program's splash window modally.
        TfrmSplash& splash = *windows->frmSplash;
        QWidget* modalInAbout = nullptr;
        QTimer::singleShot(0, &splash, [&] {
            modalInAbout = QApplication::activeModalWidget();
            QTest::keyClick(&splash, Qt::Key_Return);
        });
        GuardAgainstHanging(&splash);
        Find<QAbstractButton>(main, "BitBtn1")->click();
        QCOMPARE(modalInAbout, static_cast<QWidget*>(&splash));
        QVERIFY(!splash.isVisible() && main.isVisible());
    }

    void picturesDecodeFromTheirContent()
    {
        InitPictures();
        QCOMPARE(LoadPicture(SplashPicturePath).size(), QSize(448, 358));
        QCOMPARE(LoadPicture(CreditsPicturePath).size(), QSize(322, 257));
        QCOMPARE(LoadPicture(ApplicationIconPath).size(), QSize(256, 256));
        QVERIFY(LoadPicture(QStringLiteral(":/pictures/missing.jpg")).isNull());
    }

    void addressLabelsOpenTheMakersAddresses()
    {
        std::vector<QString> opened;
        Seam<UrlOpener> opener{SetUrlOpener, [&opened](const QUrl& url) {
                                   opened.push_back(url.toString());
                                   return true;
                               }};
        TfrmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        auto* email = Find<QLabel>(splash, "lblEmail");
        auto* www = Find<QLabel>(splash, "lblWWW");
        QTest::mouseClick(email, Qt::LeftButton);
        QTest::mouseClick(www, Qt::LeftButton);
        QTest::mouseClick(www, Qt::RightButton);  // not a click on a label
        QCOMPARE(opened, (std::vector<QString>{"mailto:tickforge@example.org", "https://tickforge.example.org/"}));

        // Targets are cut to 79 characters.
        const QString longTarget = QStringLiteral("https://tickforge.example.org/") + QString(80, QLatin1Char('a'));
        OpenWithShell(longTarget);
        QCOMPARE(opened.back(), longTarget.left(79));
    }

    void aboutBoxIsModalUntilOkAndShowsTheCreditsModally()
    {
        QWidget mainWindow;
        mainWindow.show();
        TfrmSplash splash;
        TfrmBetaTesters credits;
        QCOMPARE(credits.windowTitle(), QStringLiteral("Beta Testers"));
        splash.SetCreditsWindow(&credits);
        Find(splash, "sbtnOK")->setVisible(false);  // as at start-up's end
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
        GuardAgainstHanging(&splash, 5000);
        splash.ShowAbout();
        QCOMPARE(modal, static_cast<QWidget*>(&splash));
        QVERIFY(okVisible);
        QCOMPARE(modalInCredits, static_cast<QWidget*>(&credits));
        QCOMPARE(modalAfterCredits, static_cast<QWidget*>(&splash));
        QVERIFY(!splash.isVisible() && !credits.isVisible());
        QCOMPARE(splash.result(), int(QDialog::Accepted));
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

        const QByteArray text = ReadFile(SettingsPath());
        QVERIFY(text.startsWith("[Generator]\n"));
        QVERIFY(text.contains("\nSecurityName=ZZZ\n"));
    }
};

QTEST_MAIN(StartUpAndSettingsTest)
#include "StartUpAndSettingsTest.moc"
