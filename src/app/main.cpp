// Starts the desktop program: the windows in their order with the splash window up for
// three seconds, then the main window until it is closed.

#include "gui/StartUp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    return tickforge::RunProgram(tickforge::StartUp());
}
