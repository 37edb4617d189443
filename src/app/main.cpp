// Starts the desktop program: the main window, centred, until it is closed.

#include "TGenerator.h"
#include "TProgress.h"
#include "UserAlerts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tickforge::ApplicationTitle));

    tickforge::TGenerator generator;
    tickforge::TProgress progress;
    generator.SetProgressWindow(&progress);
    generator.show();
    return QApplication::exec();
}
