// The splash window (also the about box) and the credits window: the pictures compiled
// into the program, the maker's addresses and the modal about and credits displays.

#include "GuiTestSupport.h"
#include "gui/CreditsWindow.h"
#include "gui/Pictures.h"
#include "gui/ShellOpen.h"
#include "gui/SplashWindow.h"

#include <QLabel>

using namespace tickforge;
using namespace tickforge::testing;

class SplashAndCreditsWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
};

QTEST_MAIN(SplashAndCreditsWindowsTest)
#include "SplashAndCreditsWindowsTest.moc"
