// Start-up of the desktop program: the windows appear in their order with the splash
// window up from the moment it is made until the wait is over, the main window then
// opens centred with the focus on GO, the about box is the same splash window shown
// modally, and closing the main window ends the program and saves the settings.

#include "GuiTestSupport.h"
#include "TGenerator.h"
#include "TProgress.h"
#include "gui/CreditsWindow.h"
#include "gui/ExportFormatDialog.h"
#include "gui/SplashWindow.h"
#include "gui/StartUp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <vector>

using namespace tickforge;
using namespace tickforge::testing;

namespace {

struct Observation {
    StartUpStep step;
    bool progress, credits, formatDialog;
    bool splashVisible, generatorVisible;
    QString securityName;
};

// Closes whatever modal window is still up after a while, so that a fault cannot hang.
void GuardAgainstHanging(QObject* context)
{
    QTimer::singleShot(10000, context, [] {
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

class PostedEvent final : public QObject {
public:
    bool delivered = false;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            delivered = true;
            return true;
        }
        return QObject::event(e);
    }
};

StartUpOptions NoWait()
{
    StartUpOptions options;
    options.wait = [](int) {};
    return options;
}

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        QVERIFY(QDir(config_.path()).mkpath(QStringLiteral("tickforge")));
    }

    void init() { QFile::remove(SettingsPath()); }

    void windowsAppearInOrderWithTheSplashUp()
    {
        WriteSettings("[Generator]\nSecurityName=XJO\n");
        std::vector<Observation> seen;
        std::vector<int> waits;
        const ProgramWindows* current = nullptr;
        bool splashUpDuringWait = false;
        StartUpOptions options;
        options.observer = [&](StartUpStep step, const ProgramWindows& windows) {
            current = &windows;
            seen.push_back({step, windows.Progress != nullptr, windows.frmBetaTesters != nullptr,
                            windows.frmWriteMarket != nullptr, windows.frmSplash && windows.frmSplash->isVisible(),
                            windows.Generator->isVisible(),
                            Find<QLineEdit>(*windows.Generator, "ebSecurityName")->text()});
        };
        options.wait = [&](int milliseconds) {
            waits.push_back(milliseconds);
            splashUpDuringWait = current->frmSplash->isVisible();
        };
        const std::unique_ptr<ProgramWindows> windows = StartUp(options);

        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tickforge"));
        const std::vector<StartUpStep> order = {
            StartUpStep::MainWindowCreated, StartUpStep::SplashShown,         StartUpStep::ProgressCreated,
            StartUpStep::CreditsCreated,    StartUpStep::SplashRepainted,     StartUpStep::FormatDialogCreated,
            StartUpStep::Waited,            StartUpStep::SplashHidden};
        QCOMPARE(seen.size(), order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            QVERIFY(seen[i].step == order[i]);
            // The main window is made first, with its settings restored, and not shown.
            QCOMPARE(seen[i].securityName, QStringLiteral("XJO"));
            QVERIFY(!seen[i].generatorVisible);
        }
        QVERIFY(!seen[0].splashVisible);
        for (std::size_t i = 1; i <= 6; ++i)
            QVERIFY(seen[i].splashVisible);
        QVERIFY(!seen[7].splashVisible);
        QVERIFY(!seen[1].progress && seen[2].progress);
        QVERIFY(!seen[2].credits && seen[3].credits);
        QVERIFY(!seen[4].formatDialog && seen[5].formatDialog);
        QCOMPARE(waits, std::vector<int>{3000});
        QVERIFY(splashUpDuringWait);

        QVERIFY(!windows->Progress->isVisible());
        QVERIFY(!windows->frmBetaTesters->isVisible());
        QVERIFY(!windows->frmWriteMarket->isVisible());
    }

    void theSplashIsCentredAndOnTop()
    {
        QRect splashFrame;
        StartUpOptions options = NoWait();
        options.observer = [&](StartUpStep step, const ProgramWindows& windows) {
            if (step == StartUpStep::SplashRepainted)
                splashFrame = windows.frmSplash->frameGeometry();
        };
        const std::unique_ptr<ProgramWindows> windows = StartUp(options);
        QVERIFY(windows->frmSplash->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(splashFrame.size(), QSize(465, 376));
        const QPoint centre = windows->frmSplash->screen()->availableGeometry().center();
        QVERIFY((splashFrame.center() - centre).manhattanLength() <= 2);
    }

    void theWaitBlocksEveryEvent()
    {
        PostedEvent receiver;
        bool deliveredDuringWait = true;
        StartUpOptions options;
        options.splashMilliseconds = 30;
        options.observer = [&](StartUpStep step, const ProgramWindows&) {
            if (step == StartUpStep::FormatDialogCreated)
                QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
            if (step == StartUpStep::Waited)
                deliveredDuringWait = receiver.delivered;
        };
        const std::unique_ptr<ProgramWindows> windows = StartUp(options);
        QVERIFY(!deliveredDuringWait);
        QCoreApplication::processEvents();
        QVERIFY(receiver.delivered);
    }

    void mainWindowOpensCentredWithTheFocusOnGo()
    {
        const std::unique_ptr<ProgramWindows> windows = StartUp(NoWait());
        ShowMainWindow(*windows);
        TGenerator& main = *windows->Generator;
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(main.isVisible());
        QVERIFY(!windows->frmSplash->isVisible());
        QCOMPARE(main.focusWidget(), Find<QWidget>(main, "btnGenerate"));
        const QPoint centre = main.screen()->availableGeometry().center();
        QVERIFY((main.frameGeometry().center() - centre).manhattanLength() <= 2);
    }

    void aboutShowsTheSplashModallyWithItsCredits()
    {
        const std::unique_ptr<ProgramWindows> windows = StartUp(NoWait());
        ShowMainWindow(*windows);
        TfrmSplash& splash = *windows->frmSplash;
        TfrmBetaTesters& credits = *windows->frmBetaTesters;
        QWidget* modalInAbout = nullptr;
        QWidget* modalInCredits = nullptr;
        QWidget* modalAfterCredits = nullptr;
        bool okVisible = false;
        QTimer::singleShot(0, &splash, [&] {
            modalInAbout = QApplication::activeModalWidget();
            okVisible = Find<QPushButton>(splash, "sbtnOK")->isVisible();
            QTimer::singleShot(0, &credits, [&] {
                modalInCredits = QApplication::activeModalWidget();
                Find<QPushButton>(credits, "btnOK")->click();
            });
            Find<QPushButton>(splash, "Button1")->click();
            modalAfterCredits = QApplication::activeModalWidget();
            QTest::keyClick(&splash, Qt::Key_Return);
        });
        GuardAgainstHanging(&splash);
        Find<QAbstractButton>(*windows->Generator, "BitBtn1")->click();

        QCOMPARE(modalInAbout, static_cast<QWidget*>(&splash));
        QVERIFY(okVisible);
        QCOMPARE(modalInCredits, static_cast<QWidget*>(&credits));
        QCOMPARE(modalAfterCredits, static_cast<QWidget*>(&splash));
        QVERIFY(!splash.isVisible());
        QVERIFY(!credits.isVisible());
        QVERIFY(windows->Generator->isVisible());
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

        QFile file(SettingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("[Generator]\n"));
        QVERIFY(text.contains("\nSecurityName=ZZZ\n"));
        QCOMPARE(text.count('\n'), 29);
    }

private:
    QString SettingsPath() const { return config_.filePath(QStringLiteral("tickforge/TKF.ini")); }

    void WriteSettings(const QByteArray& text)
    {
        QFile file(SettingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir config_;
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
