#pragma once
// Start-up of the desktop program: the windows in their fixed order, the splash window
// for three seconds while nothing else happens, then the main window until it is closed.

#include <functional>
#include <memory>

namespace tickforge {

class TGenerator;
class TProgress;
class TfrmBetaTesters;
class TfrmSplash;
class TfrmWriteMarket;

// The program's windows, created once and living until it ends.
struct ProgramWindows {
    ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;
    // The main window goes first: its destruction saves the settings while the
    // windows it uses still exist.
    ~ProgramWindows();

    std::unique_ptr<TGenerator> Generator;
    std::unique_ptr<TfrmSplash> frmSplash;
    std::unique_ptr<TProgress> Progress;
    std::unique_ptr<TfrmBetaTesters> frmBetaTesters;
    std::unique_ptr<TfrmWriteMarket> frmWriteMarket;
};

// The moments of start-up, in their order.
enum class StartUpStep {
    MainWindowCreated,    // settings restored; not shown yet
    SplashShown,
    ProgressCreated,
    CreditsCreated,
    SplashRepainted,
    FormatDialogCreated,
    Waited,
    SplashHidden,
};

struct StartUpOptions {
    int splashMilliseconds = 3000;
    // Blocks the GUI thread for the given milliseconds; events wait until it ends.
    std::function<void(int milliseconds)> wait;
    // Told of every step as it completes; for tests.
    std::function<void(StartUpStep, const ProgramWindows&)> observer;
};

// Sets the application title and icon, creates the windows in order with the splash
// window up, waits and hides the splash again. The main window is not shown yet.
std::unique_ptr<ProgramWindows> StartUp(const StartUpOptions& options = {});

// Shows the main window centred with the focus on GO.
void ShowMainWindow(ProgramWindows& windows);

// ShowMainWindow, then the event loop until the main window is closed; the windows
// are destroyed before it returns, which saves the settings.
int RunProgram(std::unique_ptr<ProgramWindows> windows);

}  // namespace tickforge
