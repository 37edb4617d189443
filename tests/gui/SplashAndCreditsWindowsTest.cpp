// The splash window (also the about box) and the credits window: their layout, their
// pictures compiled into the program, the maker's addresses and the modal about and
// credits displays.

#include "GuiTestSupport.h"
#include "gui/CreditsWindow.h"
#include "gui/Pictures.h"
#include "gui/ShellOpen.h"
#include "gui/SplashWindow.h"

#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

using namespace tickforge;
using namespace tickforge::testing;

class SplashAndCreditsWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void picturesDecodeFromTheirContent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::newRow("splash") << SplashPicturePath << QByteArray("jpeg") << QSize(448, 358);
        QTest::newRow("credits") << CreditsPicturePath << QByteArray("jpeg") << QSize(322, 257);
        QTest::newRow("icon") << ApplicationIconPath << QByteArray("png") << QSize(256, 256);
    }

    void picturesDecodeFromTheirContent()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        InitPictures();
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), format);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), size);
        // A real picture, not a blank area.
        const QRgb centre = image.pixel(size.width() / 2, size.height() / 2);
        QVERIFY(image.pixel(0, 0) != centre || image.pixel(size.width() / 3, size.height() / 4) != centre);
        QCOMPARE(LoadPicture(path).size(), size);
        QVERIFY(LoadPicture(QStringLiteral(":/pictures/missing.jpg")).isNull());
    }

    void controlsSitWhereDesigned_data()
    {
        QTest::addColumn<bool>("splash");  // else the credits window
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::newRow("splash panel") << true << "Panel1" << QRect(2, 2, 461, 372) << QString();
        QTest::newRow("splash picture") << true << "Image1" << QRect(9, 8, 448, 358) << QString();
        QTest::newRow("splash OK") << true << "sbtnOK" << QRect(392, 336, 59, 25) << "OK";
        QTest::newRow("credits button") << true << "Button1" << QRect(16, 16, 17, 25) << "ß";
        // Captions of 89 blanks: invisible click areas over the picture.
        QTest::newRow("mail address") << true << "lblEmail" << QRect(16, 328, 267, 13) << QString(89, QLatin1Char(' '));
        QTest::newRow("web address") << true << "lblWWW" << QRect(24, 344, 267, 13) << QString(89, QLatin1Char(' '));
        QTest::newRow("credits panel") << false << "Panel1" << QRect(8, 8, 331, 254) << QString();
        QTest::newRow("credits picture") << false << "Image1" << QRect(4, 4, 322, 245) << QString();
        QTest::newRow("credits OK") << false << "btnOK" << QRect(264, 216, 57, 25) << "OK";
    }

    void controlsSitWhereDesigned()
    {
        QFETCH(bool, splash);
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        TfrmSplash splashWindow;
        TfrmBetaTesters credits;
        QWidget* widget = Find(splash ? static_cast<QWidget&>(splashWindow) : credits, control);
        QCOMPARE(widget->geometry(), geometry);
        if (!text.isNull())
            QCOMPARE(ShownText(widget), text);
    }

    void windowsAreFramelessAndFixed()
    {
        TfrmSplash splash;
        QCOMPARE(splash.size(), QSize(465, 376));
        QCOMPARE(splash.minimumSize(), splash.maximumSize());
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(Find(splash, "Image1")->parentWidget(), Find(splash, "Panel1"));
        QVERIFY(Find<QPushButton>(splash, "sbtnOK")->isDefault() && !Find<QPushButton>(splash, "Button1")->isDefault());
        QCOMPARE(Find<QFrame>(splash, "Panel1")->frameShadow(), QFrame::Sunken);
        QCOMPARE(Find<QLabel>(splash, "Image1")->pixmap().size(), QSize(448, 358));

        TfrmBetaTesters credits;
        QCOMPARE(credits.windowTitle(), QStringLiteral("Beta Testers"));
        QCOMPARE(credits.size(), QSize(343, 269));
        QCOMPARE(credits.minimumSize(), credits.maximumSize());
        QVERIFY(credits.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!(credits.windowFlags() & Qt::WindowStaysOnTopHint));
        // Red around a blue panel.
        QVERIFY(credits.autoFillBackground());
        QCOMPARE(credits.palette().color(QPalette::Window), QColor(Qt::red));
        QVERIFY(Find(credits, "Panel1")->autoFillBackground());
        QCOMPARE(Find(credits, "Panel1")->palette().color(QPalette::Window), QColor(Qt::blue));
        QCOMPARE(Find<QFrame>(credits, "Panel1")->frameShadow(), QFrame::Sunken);
        QVERIFY(Find<QPushButton>(credits, "btnOK")->isDefault());
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
        QCOMPARE(email->toolTip(), QStringLiteral("Email Corvane"));
        QCOMPARE(www->toolTip(), QStringLiteral("Visit Corvane' web site"));
        for (QLabel* label : {email, www}) {
            QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(!label->autoFillBackground());
            // Above the picture, so that they receive the clicks.
            const QObjectList& siblings = label->parentWidget()->children();
            QVERIFY(siblings.indexOf(label) > siblings.indexOf(Find(splash, "Image1")));
        }
        QTest::mouseClick(email, Qt::LeftButton);
        QTest::mouseClick(www, Qt::LeftButton);
        QTest::mouseClick(www, Qt::RightButton);  // not a click on a label
        QCOMPARE(opened, (std::vector<QString>{"mailto:tickforge@example.org", "https://tickforge.example.org/"}));

        // Targets are cut to 79 characters.
        const QString longTarget = QStringLiteral("https://tickforge.example.org/") + QString(80, QLatin1Char('a'));
        OpenWithShell(longTarget);
        QCOMPARE(opened.back(), longTarget.left(79));
    }

    void okHidesTheSplashOutsideTheAboutBox()
    {
        TfrmSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::mouseClick(Find<QPushButton>(splash, "sbtnOK"), Qt::LeftButton);
        QVERIFY(!splash.isVisible());
        QCOMPARE(splash.result(), int(QDialog::Accepted));
    }

    void aboutBoxIsModalUntilOkAndShowsTheCreditsModally()
    {
        QWidget mainWindow;
        mainWindow.show();
        TfrmSplash splash;
        TfrmBetaTesters credits;
        splash.SetCreditsWindow(&credits);
        Find(splash, "sbtnOK")->setVisible(false);
        // The same window any number of times; the first time with a look at the credits.
        for (int time = 0; time < 2; ++time) {
            bool okVisible = false;
            QWidget *modal = nullptr, *modalInCredits = nullptr, *modalAfterCredits = nullptr;
            QTimer::singleShot(0, &splash, [&] {
                modal = QApplication::activeModalWidget();
                okVisible = Find(splash, "sbtnOK")->isVisible();
                if (time == 0) {
                    QTimer::singleShot(0, &credits, [&] {
                        modalInCredits = QApplication::activeModalWidget();
                        QTest::mouseClick(Find(credits, "btnOK"), Qt::LeftButton);
                    });
                    QTest::mouseClick(Find(splash, "Button1"), Qt::LeftButton);
                    modalAfterCredits = QApplication::activeModalWidget();
                }
                QTest::keyClick(&splash, Qt::Key_Return);
            });
            GuardAgainstHanging(&splash, 5000);
            splash.ShowAbout();
            QCOMPARE(modal, static_cast<QWidget*>(&splash));
            QVERIFY(okVisible);
            QVERIFY(!splash.isVisible());
            QCOMPARE(splash.result(), int(QDialog::Accepted));
            if (time == 0) {
                QCOMPARE(modalInCredits, static_cast<QWidget*>(&credits));
                QCOMPARE(modalAfterCredits, static_cast<QWidget*>(&splash));
                QVERIFY(!credits.isVisible());
                QCOMPARE(credits.result(), int(QDialog::Accepted));
            }
        }
    }

    void creditsPictureIsCutNotScaled()
    {
        TfrmBetaTesters credits;
        credits.show();
        QVERIFY(QTest::qWaitForWindowExposed(&credits));
        auto* image = Find<QLabel>(credits, "Image1");
        const QPixmap picture = image->pixmap();
        QCOMPARE(picture.size(), QSize(322, 257));
        // With the button over the picture hidden, the label shows exactly the picture's
        // top 245 rows.
        Find(credits, "btnOK")->hide();
        const QImage shown = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage expected = picture.toImage().copy(0, 0, 322, 245).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), expected.size());
        QVERIFY(shown == expected);
    }
};

QTEST_MAIN(SplashAndCreditsWindowsTest)
#include "SplashAndCreditsWindowsTest.moc"
