// The main window keeps its panel in the settings file: restored as the last step of
// its creation, saved as the first step of its destruction, errors shown in the
// application's error box without stopping either. The settings folder is a scratch
// folder (XDG_CONFIG_HOME).

#include "GuiTestSupport.h"
#include "HistoryChart.h"
#include "TGenerator.h"
#include "platform/DateTime.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace tickforge;
using namespace tickforge::testing;

class SettingsOfTheMainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        QVERIFY(QDir(config_.path()).mkpath(QStringLiteral("tickforge")));
    }

    void init()
    {
        QFile::remove(SettingsPath());
        QDir(SettingsPath()).removeRecursively();
    }

    void firstStartShowsTheDefaults()
    {
        AlertRecorder boxes;
        const DateTimeValue before = NowLocal();
        auto window = std::make_unique<TGenerator>(nullptr, "TKF.ini");
        PanelControls& panel = window->Panel();
        QVERIFY(boxes.boxes.empty());
        QCOMPARE(panel.Text("ebSeedMin"), std::string("2000"));
        QCOMPARE(panel.Text("ebDirtydata"), std::string("1"));
        QCOMPARE(panel.Text("ebBias"), std::string("5"));
        QCOMPARE(panel.Text("ebRandomPeriodMin"), std::string("180"));
        QVERIFY(panel.Checked("cbWeekends"));
        QVERIFY(panel.Checked("rbSoft") && !panel.Checked("rbHard"));
        QVERIFY(panel.Checked("rbCandle") && !panel.Checked("rbBar"));
        // The rules ran: candle style in the chart, random starting price.
        QCOMPARE(window->Chart().Style(), HistoryChart::CandleStyle::Candlestick);
        QVERIFY(!panel.Enabled("ebSeed"));
        QVERIFY(panel.Enabled("ebSeedMin") && panel.Enabled("ebSeedMax"));
        QVERIFY(!panel.Enabled("cbMin") && !panel.Checked("cbMin"));
        QVERIFY(!panel.Enabled("cbMax") && !panel.Checked("cbMax"));
        // Start now, end the length later.
        const DateTimeValue start = panel.Date("StartDate");
        QVERIFY(start >= before - 1e-6 && start <= NowLocal() + 1e-6);
        QVERIFY(std::abs(panel.Date("EndDate") - start - 180) < 1.0 / 24);
        // Nothing is written at start.
        QVERIFY(!QFile::exists(SettingsPath()));
    }

    void exitWritesEveryKeyInOrder()
    {
        {
            TGenerator window(nullptr, "TKF.ini");
        }
        QFile file(SettingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QStringList expected = {
            "[Generator]", "Seed=3000", "RandomSeed=0", "SeedMin=2000", "SeedMax=4000", "Length=180",
            "TicksPerDay=1000", "RandomPeriodMin=180", "RandomPeriod=0", "Weekends=1", "Min=0", "Max=0",
            "MinPrice=2000", "MaxPrice=4000", "MinVolume=100", "MaxVolume=4000", "Hard=0", "Soft=1", "TickSize=",
            "Volatility=1", "SecurityName=AOI", "Bar=0", "Candle=1", "Dirtydata=1", "ActiveBias=0",
            "ActiveShock=0", "Bias=5", "ShockFreq=100", "ShockMag=3"};
        QCOMPARE(lines, expected);
    }

    void theUsersChangesComeBack()
    {
        {
            TGenerator window(nullptr, "TKF.ini");
            window.Panel().SetText("ebSecurityName", "XJO");
            window.Panel().SetChecked("cbActiveShock", true);
            window.Panel().SetText("ebShockMag", "4.5");
        }
        TGenerator again(nullptr, "TKF.ini");
        QCOMPARE(again.Panel().Text("ebSecurityName"), std::string("XJO"));
        QVERIFY(again.Panel().Checked("cbActiveShock"));
        QCOMPARE(again.Panel().Text("ebShockMag"), std::string("4.5"));
    }

    void barStyleStoredKeepsTheDesignedBars()
    {
        WriteSettings("[Generator]\nBar=1\nCandle=0\n");
        TGenerator window(nullptr, "TKF.ini");
        QVERIFY(window.Panel().Checked("rbBar"));
        QVERIFY(!window.Panel().Checked("rbCandle"));
        QCOMPARE(window.Chart().Style(), HistoryChart::CandleStyle::Bar);
        QCOMPARE(window.Chart().CandleWidth(), 3.0);
    }

    void restoredLengthMovesTheEndDate()
    {
        WriteSettings("[Generator]\nLength=400\n");
        TGenerator window(nullptr, "TKF.ini");
        QCOMPARE(window.Panel().Text("ebRandomPeriodMin"), std::string("400"));
        const DateTimeValue start = window.Panel().Date("StartDate");
        QVERIFY(std::abs(window.Panel().Date("EndDate") - start - 400) < 1.0 / 24);
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
        QCOMPARE(boxes.boxes.size(), std::size_t(1));
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("Unable to write to TKF.ini."));
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Tickforge"));
        QCOMPARE(boxes.boxes[0].icon, AlertIcon::Stop);
    }

    void aWindowWithoutSettingsFileReadsAndWritesNothing()
    {
        WriteSettings("[Generator]\nSecurityName=XJO\n");
        {
            TGenerator window;
            QCOMPARE(window.Panel().Text("ebSecurityName"), std::string("AOI"));
            QCOMPARE(window.Panel().Text("ebSeedMin"), std::string("0"));
        }
        QFile file(SettingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Generator]\nSecurityName=XJO\n"));
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

QTEST_MAIN(SettingsOfTheMainWindowTest)
#include "SettingsOfTheMainWindowTest.moc"
