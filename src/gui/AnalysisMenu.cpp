#include "AnalysisMenu.h"

#include "StatisticsWindow.h"
#include "TGenerator.h"
#include "UserAlerts.h"
#include "analysis/FitModel.h"
#include "analysis/HistoryCsv.h"
#include "platform/NumericText.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace tickforge {

namespace {

OpenFileChooser& InstalledChooser()
{
    static OpenFileChooser chooser;
    return chooser;
}

std::optional<QString> ChooseFile(QWidget* parent)
{
    if (InstalledChooser())
        return InstalledChooser()(parent);
    const QString file = QFileDialog::getOpenFileName(parent, QObject::tr("Fit to data"), QString(),
                                                      QObject::tr("CSV files (*.csv *.txt);;All files (*)"));
    return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

// The wait cursor while a fit runs the model.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

OpenFileChooser SetOpenFileChooser(OpenFileChooser chooser)
{
    return std::exchange(InstalledChooser(), std::move(chooser));
}

AnalysisMenu::AnalysisMenu(TGenerator& window)
    : QObject(&window),
      window_(window),
      fit_(new QAction(tr("Fit to data\u2026"), &window)),
      statistics_(new QAction(tr("Statistics"), &window))
{
    setObjectName(QStringLiteral("AnalysisMenu"));
    fit_->setObjectName(QStringLiteral("actFitToData"));
    fit_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    fit_->setToolTip(tr("Set the panel from a real daily history (CSV) and show its statistics"));
    statistics_->setObjectName(QStringLiteral("actStatistics"));
    statistics_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    statistics_->setToolTip(tr("Statistics of the current history"));
    for (QAction* action : {fit_, statistics_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
    }
    connect(fit_, &QAction::triggered, this, &AnalysisMenu::FitToData);
    connect(statistics_, &QAction::triggered, this, &AnalysisMenu::ShowStatistics);

    // A right click on the panel area (outside its fields and the chart) offers both.
    if (auto* panelArea = window.findChild<QWidget*>(QStringLiteral("pnlTop"))) {
        panelArea->setContextMenuPolicy(Qt::ActionsContextMenu);
        panelArea->addAction(fit_);
        panelArea->addAction(statistics_);
    }
}

void AnalysisMenu::FitToData()
{
    if (!window_.TakesInput())
        return;
    const std::optional<QString> file = ChooseFile(&window_);
    if (!file)
        return;
    try {
        const WaitCursor wait;
        PanelControls& panel = window_.Panel();
        DailyHistory real = ReadHistoryCsv(file->toLocal8Bit().toStdString(), panel.Formats());
        const FittedPanel fit = FitHistory(real, StrToInt(panel.Text(PanelControl::ebTicksPerDay)));
        ApplyFit(fit, panel);
        real.source = QFileInfo(*file).fileName().toStdString();
        real_ = std::move(real);
        for (const std::string& note : fit.notes)
            ShowAlertBox(&window_, {QString::fromStdString(note), QString::fromLatin1(ApplicationTitle)});
    } catch (const std::exception& error) {
        ShowErrorBox(&window_, error.what());
        return;
    }
    ShowStatistics();
}

std::vector<DailyHistory> AnalysisMenu::Histories() const
{
    std::vector<DailyHistory> histories;
    const GenerationRun& run = window_.Run();
    const TTimeSeriesSet& shown = run.WorkingSet.SeriesCount() > 0 ? run.WorkingSet : run.GeneratedSet;
    if (shown.SeriesCount() > 0 && shown.Length() > 0)
        histories.push_back(HistoryFromBars(shown, window_.Panel().Text(PanelControl::ebSecurityName)));
    if (real_)
        histories.push_back(*real_);
    return histories;
}

void AnalysisMenu::ShowStatistics()
{
    if (!window_.TakesInput())
        return;
    const std::vector<DailyHistory> histories = Histories();
    if (histories.empty()) {
        ShowAlertBox(&window_, {tr("There is no history yet: press GO, or fit to a real file first."),
                                QString::fromLatin1(ApplicationTitle)});
        return;
    }
    if (statisticsWindow_ == nullptr)
        statisticsWindow_ = new StatisticsWindow(&window_);
    statisticsWindow_->ShowHistories(histories);
    statisticsWindow_->show();
    statisticsWindow_->raise();
    statisticsWindow_->activateWindow();
}

void AnalysisMenu::RefreshStatistics()
{
    if (statisticsWindow_ == nullptr || !statisticsWindow_->isVisible())
        return;
    const std::vector<DailyHistory> histories = Histories();
    if (histories.empty())
        statisticsWindow_->close();
    else
        statisticsWindow_->ShowHistories(histories);
}

}  // namespace tickforge
