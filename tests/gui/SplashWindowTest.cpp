// The splash window (also the about box) and the credits window: their layout, their
// pictures, the maker's addresses and the modal about and credits displays.

#include "gui/CreditsWindow.h"
#include "gui/ShellOpen.h"
#include "gui/SplashWindow.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <vector>

using tickforge::TfrmBetaTesters;
using tickforge::TfrmSplash;

namespace {

template <typename T>
T* Control(QWidget& window, const char* name)
{
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
        qFatal("control %s is missing", name);
    return control;
}

// Records what would be opened instead of starting a mail program or browser.
class OpenedTargets {
public:
    OpenedTargets()
    {
        previous_ = tickforge::SetUrlOpener([this](const QUrl& url) {
            urls.push_back(url.toString());
            return true;
        });
    }
    ~OpenedTargets() { tickforge::SetUrlOpener(previous_); }
    std::vector<QString> urls;

private:
    tickforge::UrlOpener previous_;
};

// Closes whatever modal window is still up after a while, so that a fault in the
// code under test cannot leave a test waiting for ever.
void GuardAgainstHanging(QObject* context)
{
    QTimer::singleShot(5000, context, [] {
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

}  // namespace

class SplashWindowTest : public QObject {
    Q_OBJECT

private slots:
    void splashLayout()
    {
        TfrmSplash splash;
        QCOMPARE(splash.size(), QSize(465, 376));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(splash.minimumSize(), splash.maximumSize());

        auto* panel = Control<QFrame>(splash, "Panel1");
        QCOMPARE(panel->geometry(), QRect(2, 2, 461, 372));
        QCOMPARE(panel->frameShadow(), QFrame::Sunken);

        auto* image = Control<QLabel>(splash, "Image1");
        QCOMPARE(image->parentWidget(), panel);
        QCOMPARE(image->geometry(), QRect(9, 8, 448, 358));
        QCOMPARE(image->pixmap().size(), QSize(448, 358));

        auto* ok = Control<QPushButton>(splash, "sbtnOK");
        QCOMPARE(ok->geometry(), QRect(392, 336, 59, 25));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());

        auto* credits = Control<QPushButton>(splash, "Button1");
        QCOMPARE(credits->geometry(), QRect(16, 16, 17, 25));
        QCOMPARE(credits->text(), QStringLiteral("ß"));
    }

    void addressLabelsAreInvisibleClickAreas()
    {
        TfrmSplash splash;
        auto* email = Control<QLabel>(splash, "lblEmail");
        auto* www = Control<QLabel>(splash, "lblWWW");
        QCOMPARE(email->geometry(), QRect(16, 328, 267, 13));
        QCOMPARE(www->geometry(), QRect(24, 344, 267, 13));
        QCOMPARE(email->toolTip(), QStringLiteral("Email Corvane"));
        QCOMPARE(www->toolTip(), QStringLiteral("Visit Corvane' web site"));
        for (QLabel* label : {email, www}) {
            QCOMPARE(label->text(), QString(89, QLatin1Char(' ')));
            QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(!label->autoFillBackground());
            // Above the picture, so that they receive the clicks.
            QVERIFY(label->parentWidget()->children().indexOf(label)
                    > label->parentWidget()->children().indexOf(Control<QLabel>(splash, "Image1")));
        }
    }

    void clicksOpenTheMakersAddresses()
    {
        OpenedTargets opened;
        TfrmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::mouseClick(Control<QLabel>(splash, "lblEmail"), Qt::LeftButton);
        QTest::mouseClick(Control<QLabel>(splash, "lblWWW"), Qt::LeftButton);
        QCOMPARE(opened.urls.size(), std::size_t(2));
        QCOMPARE(opened.urls[0], QStringLiteral("mailto:tickforge@example.org"));
        QCOMPARE(opened.urls[1], QStringLiteral("https://tickforge.example.org/"));
        // A right click is not a click on a label.
        QTest::mouseClick(Control<QLabel>(splash, "lblWWW"), Qt::RightButton);
        QCOMPARE(opened.urls.size(), std::size_t(2));
    }

    void targetsAreCutToSeventyNineCharacters()
    {
        OpenedTargets opened;
        const QString longTarget = QStringLiteral("https://tickforge.example.org/") + QString(80, QLatin1Char('a'));
        tickforge::OpenWithShell(longTarget);
        QCOMPARE(opened.urls.size(), std::size_t(1));
        QCOMPARE(opened.urls[0], longTarget.left(79));
    }

    void okHidesTheSplashOutsideTheAboutBox()
    {
        TfrmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::mouseClick(Control<QPushButton>(splash, "sbtnOK"), Qt::LeftButton);
        QVERIFY(!splash.isVisible());
        QCOMPARE(splash.result(), int(QDialog::Accepted));
    }

    void aboutBoxIsModalUntilOk()
    {
        QWidget mainWindow;
        mainWindow.show();
        TfrmSplash splash;
        Control<QPushButton>(splash, "sbtnOK")->setVisible(false);
        bool wasVisible = false;
        bool okVisible = false;
        bool wasModal = false;
        QTimer::singleShot(0, &splash, [&] {
            wasVisible = splash.isVisible();
            okVisible = Control<QPushButton>(splash, "sbtnOK")->isVisible();
            wasModal = QApplication::activeModalWidget() == &splash;
            QTest::keyClick(&splash, Qt::Key_Return);
        });
        GuardAgainstHanging(&splash);
        splash.ShowAbout();
        QVERIFY(wasVisible);
        QVERIFY(okVisible);
        QVERIFY(wasModal);
        QVERIFY(!splash.isVisible());
        QCOMPARE(splash.result(), int(QDialog::Accepted));
    }

    void aboutBoxCanBeShownAgain()
    {
        TfrmSplash splash;
        for (int time = 0; time < 2; ++time) {
            bool shown = false;
            QTimer::singleShot(0, &splash, [&] {
                shown = splash.isVisible();
                Control<QPushButton>(splash, "sbtnOK")->click();
            });
            GuardAgainstHanging(&splash);
            splash.ShowAbout();
            QVERIFY(shown);
        }
    }

    void creditsShownModallyFromTheAboutBox()
    {
        TfrmSplash splash;
        TfrmBetaTesters credits;
        splash.SetCreditsWindow(&credits);
        QWidget* modalDuringCredits = nullptr;
        QWidget* modalAfterCredits = nullptr;
        bool creditsVisible = false;
        QTimer::singleShot(0, &splash, [&] {
            QTimer::singleShot(0, &credits, [&] {
                modalDuringCredits = QApplication::activeModalWidget();
                creditsVisible = credits.isVisible();
                QTest::keyClick(&credits, Qt::Key_Return);
            });
            QTest::mouseClick(Control<QPushButton>(splash, "Button1"), Qt::LeftButton);
            modalAfterCredits = QApplication::activeModalWidget();
            Control<QPushButton>(splash, "sbtnOK")->click();
        });
        GuardAgainstHanging(&splash);
        splash.ShowAbout();
        QVERIFY(creditsVisible);
        QCOMPARE(modalDuringCredits, static_cast<QWidget*>(&credits));
        QCOMPARE(modalAfterCredits, static_cast<QWidget*>(&splash));
        QVERIFY(!credits.isVisible());
        QCOMPARE(credits.result(), int(QDialog::Accepted));
    }

    void creditsLayout()
    {
        TfrmBetaTesters credits;
        QCOMPARE(credits.windowTitle(), QStringLiteral("Beta Testers"));
        QCOMPARE(credits.size(), QSize(343, 269));
        QCOMPARE(credits.minimumSize(), credits.maximumSize());
        QVERIFY(credits.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!(credits.windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(credits.autoFillBackground());
        QCOMPARE(credits.palette().color(QPalette::Window), QColor(Qt::red));

        auto* panel = Control<QFrame>(credits, "Panel1");
        QCOMPARE(panel->geometry(), QRect(8, 8, 331, 254));
        QCOMPARE(panel->frameShadow(), QFrame::Sunken);
        QVERIFY(panel->autoFillBackground());
        QCOMPARE(panel->palette().color(QPalette::Window), QColor(Qt::blue));

        auto* ok = Control<QPushButton>(credits, "btnOK");
        QCOMPARE(ok->geometry(), QRect(264, 216, 57, 25));
        QVERIFY(ok->isDefault());
        QCOMPARE(ok->text(), QStringLiteral("OK"));
    }

    void creditsPictureIsCutNotScaled()
    {
        TfrmBetaTesters credits;
        credits.show();
        QVERIFY(QTest::qWaitForWindowExposed(&credits));
        auto* image = Control<QLabel>(credits, "Image1");
        QCOMPARE(image->geometry(), QRect(4, 4, 322, 245));
        const QPixmap picture = image->pixmap();
        QCOMPARE(picture.size(), QSize(322, 257));
        // Hide the button that lies over the picture, then compare pixel by pixel: the
        // label shows exactly the picture's top 245 rows.
        Control<QPushButton>(credits, "btnOK")->hide();
        const QImage shown = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage expected = picture.toImage().copy(0, 0, 322, 245).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), expected.size());
        QVERIFY(shown == expected);
    }

    void creditsOkCloses()
    {
        TfrmBetaTesters credits;
        QTimer::singleShot(0, &credits, [&] { QTest::mouseClick(Control<QPushButton>(credits, "btnOK"), Qt::LeftButton); });
        GuardAgainstHanging(&credits);
        QCOMPARE(credits.exec(), int(QDialog::Accepted));
        QVERIFY(!credits.isVisible());
    }
};

QTEST_MAIN(SplashWindowTest)
#include "SplashWindowTest.moc"
