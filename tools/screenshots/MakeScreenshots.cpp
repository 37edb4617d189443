// Pictures of the main window at its smallest size: a 60-day history as candlesticks
// and a 10-year history as bars, each from a fixed seed so that a run draws the same
// history every time. Writes chart-60-day-candles.png and chart-10-year-bars.png into
// the folder given as the only argument.

#include "TGenerator.h"
#include "TProgress.h"
#include "platform/DateFormat.h"
#include "platform/Random.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include <cstdio>

using namespace tickforge;

namespace {

void Settle()
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
}

bool Picture(TGenerator& window, const char* days, const char* style, const QString& path)
{
    window.findChild<QLineEdit*>(QStringLiteral("ebLength"))->setText(QString::fromLatin1(days));
    window.findChild<QAbstractButton*>(QString::fromLatin1(style))->click();
    window.findChild<QAbstractButton*>(QStringLiteral("btnGenerate"))->click();
    Settle();
    return window.grab().save(path);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tickforge_screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    SharedRandom().SetClockSeedSource([] { return 20261206u; });

    TGenerator window;
    TProgress progress;
    window.SetProgressWindow(&progress);
    window.Panel().SetDate("StartDate", *ParseIsoDate("2026-01-05"));
    window.resize(721, 573);
    window.show();
    Settle();

    const bool made = Picture(window, "60", "rbCandle", folder.filePath(QStringLiteral("chart-60-day-candles.png"))) &&
                      Picture(window, "3650", "rbBar", folder.filePath(QStringLiteral("chart-10-year-bars.png")));
    if (!made)
        std::fprintf(stderr, "tickforge_screenshots: cannot write the pictures into %s\n", argv[1]);
    return made ? 0 : 1;
}
