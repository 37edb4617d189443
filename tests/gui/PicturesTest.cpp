// The pictures compiled into the program decode through Qt's JPEG (and PNG) readers
// at the sizes their windows are laid out for.

#include "gui/Pictures.h"

#include <QImageReader>
#include <QtTest>

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tickforge::InitPictures(); }

    void jpegReaderIsAvailable()
    {
        QVERIFY(QImageReader::supportedImageFormats().contains("jpeg"));
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::newRow("splash") << tickforge::SplashPicturePath << QByteArray("jpeg") << QSize(448, 358);
        QTest::newRow("credits") << tickforge::CreditsPicturePath << QByteArray("jpeg") << QSize(322, 257);
        QTest::newRow("icon") << tickforge::ApplicationIconPath << QByteArray("png") << QSize(256, 256);
    }

    void pictures()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QImageReader reader(path);
        // Decided from the content, not from the name.
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), format);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), size);
        // A real picture, not a blank area.
        QVERIFY(image.pixel(0, 0) != image.pixel(size.width() / 2, size.height() / 2)
                || image.pixel(size.width() / 3, size.height() / 4) != image.pixel(size.width() / 2, size.height() / 2));
    }

    void loadPictureGivesTheDecodedPixmap()
    {
        QCOMPARE(tickforge::LoadPicture(tickforge::SplashPicturePath).size(), QSize(448, 358));
        QVERIFY(tickforge::LoadPicture(QStringLiteral(":/pictures/missing.jpg")).isNull());
    }
};

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
