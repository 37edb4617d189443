#pragma once
// The main window: the parameter panel, the display and export controls, the GO
// button and the chart. Its handlers keep the panel consistent (PanelRules), run the
// generation ("GO", "Apply") and change the chart's look. The form's minimum client
// size, 721 x 319, is the smallest outer size 729 x 350 less a usual window frame.

#include "generation/GenerationRun.h"
#include "generation/GenerationUi.h"

#include <QWidget>

#include <memory>
#include <string>

namespace Ui {
class TGenerator;
}

class QAction;
class QDateTimeEdit;

namespace tickforge {

class AnalysisMenu;
class HistoryChart;
class InputBlock;
class TProgress;
class TfrmSplash;
class TfrmWriteMarket;
class WidgetPanel;

class TGenerator : public QWidget, public GenerationUi {
    Q_OBJECT

public:
    // settingsFile: the settings file that creation restores the panel from and
    // destruction saves it to ("TKF.ini" for the program); none when empty.
    explicit TGenerator(QWidget* parent = nullptr, std::string settingsFile = {});
    ~TGenerator() override;

    // The progress window that runs show; without one the window makes its own.
    void SetProgressWindow(TProgress* progress);
    // The splash window that serves as the about box, and the export format dialog;
    // without them the window makes its own when first needed.
    void SetSplashWindow(TfrmSplash* splash);
    void SetExportFormatDialog(TfrmWriteMarket* dialog);

    GenerationRun& Run() { return *run_; }
    PanelControls& Panel();
    HistoryChart& Chart();
    // True while a generation run is under way.
    bool Busy() const { return busy_; }
    // False while a run keeps the window from taking input.
    bool TakesInput() const;

    // GenerationUi
    PanelValues ReadPanel() override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    void ShowBusyCursor() override;
    void RestoreCursor() override;
    void SetMainWindowEnabled(bool enabled) override;
    void ShowProgressWindow() override;
    void HideProgressWindow() override;
    ProgressSink& Progress() override;
    void ShowBars(const TTimeSeriesSet& bars, bool resetZoom) override;

public Q_SLOTS:
    void btnGenerateClick();
    void btnCorruptClick();
    void btnExportClick();
    void btnExportMultiClick();
    void btnAboutClick();
    void rbBarClick();
    void rbCandleClick();
    void cbColorClick();
    void btnExpandClick();
    // Puts the tickforge-cli command that makes the shown history again on the clipboard.
    void btnCopyCommandClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void ConnectPanelRules();
    void ConfigureDatePicker(QDateTimeEdit& picker, const LocaleFormats& formats);
    // Shows the error box of a failed run.
    void ShowFailure(const GenerationOutcome& outcome);
    void RunExportCommand(bool batch);
    TProgress& ProgressWindow();
    TfrmSplash& SplashWindow();
    TfrmWriteMarket& ExportFormatDialog();
    // The line under the chart: bars, first and last date, starting price and seed.
    void UpdateHistoryLine(const TTimeSeriesSet& bars);

    std::unique_ptr<Ui::TGenerator> ui_;
    std::unique_ptr<WidgetPanel> panel_;
    std::unique_ptr<GenerationRun> run_;
    TProgress* progress_ = nullptr;
    std::unique_ptr<TProgress> ownProgress_;
    bool busy_ = false;
    bool shownOnce_ = false;
    InputBlock* inputBlock_ = nullptr;
    std::string settingsFile_;
    TfrmSplash* splash_ = nullptr;
    TfrmWriteMarket* formatDialog_ = nullptr;
    QAction* copyCommand_ = nullptr;
    AnalysisMenu* analysisMenu_ = nullptr;
};

}  // namespace tickforge
