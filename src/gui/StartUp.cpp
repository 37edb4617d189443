#include "gui/StartUp.h"

#include "TGenerator.h"
#include "TProgress.h"
#include "UserAlerts.h"
#include "gui/CreditsWindow.h"
#include "gui/ExportFormatDialog.h"
#include "gui/Pictures.h"
#include "gui/SplashWindow.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QIcon>
#include <QThread>

#include <algorithm>

namespace tickforge {

ProgramWindows::ProgramWindows() = default;

ProgramWindows::~ProgramWindows()
{
    Generator.reset();
}

std::unique_ptr<ProgramWindows> StartUp(const StartUpOptions& options)
{
    const auto step = [&options](StartUpStep done, const ProgramWindows& windows) {
        if (options.observer)
            options.observer(done, windows);
    };

    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("tickforge"));
    QApplication::setWindowIcon(QIcon(LoadPicture(ApplicationIconPath)));

    auto windows = std::make_unique<ProgramWindows>();
    windows->Generator = std::make_unique<TGenerator>(nullptr, SettingsFileName);
    step(StartUpStep::MainWindowCreated, *windows);

    windows->frmSplash = std::make_unique<TfrmSplash>();
    windows->frmSplash->show();
    step(StartUpStep::SplashShown, *windows);

    windows->Progress = std::make_unique<TProgress>();
    windows->Generator->SetProgressWindow(windows->Progress.get());
    step(StartUpStep::ProgressCreated, *windows);

    windows->frmBetaTesters = std::make_unique<TfrmBetaTesters>();
    windows->frmSplash->SetCreditsWindow(windows->frmBetaTesters.get());
    windows->Generator->SetSplashWindow(windows->frmSplash.get());
    step(StartUpStep::CreditsCreated, *windows);

    // No events are handled before the event loop: the splash window is drawn now, and
    // the window system is allowed to put it on the screen, user input still waiting.
    windows->frmSplash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    step(StartUpStep::SplashRepainted, *windows);

    windows->frmWriteMarket = std::make_unique<TfrmWriteMarket>();
    windows->Generator->SetExportFormatDialog(windows->frmWriteMarket.get());
    step(StartUpStep::FormatDialogCreated, *windows);

    if (options.wait)
        options.wait(options.splashMilliseconds);
    else
        QThread::msleep(static_cast<unsigned long>(std::max(options.splashMilliseconds, 0)));
    step(StartUpStep::Waited, *windows);

    windows->frmSplash->hide();
    step(StartUpStep::SplashHidden, *windows);
    return windows;
}

void ShowMainWindow(ProgramWindows& windows)
{
    windows.Generator->show();
}

int RunProgram(std::unique_ptr<ProgramWindows> windows)
{
    ShowMainWindow(*windows);
    const int result = QApplication::exec();
    windows.reset();
    return result;
}

}  // namespace tickforge
