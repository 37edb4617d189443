#include "TGenerator.h"

#include "ui_TGenerator.h"

#include "AnalysisMenu.h"
#include "ButtonIcons.h"
#include "HistoryChart.h"
#include "InputBlock.h"
#include "ScreenPlacement.h"
#include "TProgress.h"
#include "UserAlerts.h"
#include "WidgetPanel.h"
#include "generation/CliCommandLine.h"
#include "generation/PanelRules.h"
#include "gui/ExportFormatDialog.h"
#include "platform/DateFormat.h"
#include "platform/NumericText.h"
#include "platform/UserLocale.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QStyle>

namespace tickforge {

TGenerator::TGenerator(QWidget* parent, std::string settingsFile)
    : QWidget(parent), ui_(std::make_unique<Ui::TGenerator>()), settingsFile_(std::move(settingsFile))
{
    ui_->setupUi(this);
    const LocaleFormats formats = UserLocaleFormats();
    ConfigureDatePicker(*ui_->StartDate, formats);
    ConfigureDatePicker(*ui_->EndDate, formats);
    panel_ = std::make_unique<WidgetPanel>(*this, formats);
    // A form without one of the panel's controls is refused at once, not at first use.
    panel_->CheckDesignedControls();
    run_ = std::make_unique<GenerationRun>(*this, formats);
    inputBlock_ = new InputBlock(*this);

    ui_->btnExport->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ui_->btnExportMulti->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ui_->btnExpand->setIcon(ExpandChartIcon());
    ui_->btnExpand->setIconSize(QSize(18, 18));
    ui_->BitBtn1->setIcon(AboutIcon());
    ui_->BitBtn1->setIconSize(QSize(22, 22));

    ConnectPanelRules();
    connect(ui_->btnGenerate, &QPushButton::clicked, this, &TGenerator::btnGenerateClick);
    connect(ui_->btnCorrupt, &QPushButton::clicked, this, &TGenerator::btnCorruptClick);
    connect(ui_->btnExport, &QPushButton::clicked, this, &TGenerator::btnExportClick);
    connect(ui_->btnExportMulti, &QPushButton::clicked, this, &TGenerator::btnExportMultiClick);
    connect(ui_->BitBtn1, &QToolButton::clicked, this, &TGenerator::btnAboutClick);
    connect(ui_->rbBar, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            rbBarClick();
    });
    connect(ui_->rbCandle, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            rbCandleClick();
    });
    connect(ui_->cbColor, &QCheckBox::toggled, this, &TGenerator::cbColorClick);
    connect(ui_->btnExpand, &QToolButton::clicked, this, &TGenerator::btnExpandClick);
    analysisMenu_ = new AnalysisMenu(*this);  // "Fit to data..." and "Statistics", by shortcut and context menu
    connect(ui_->btnCopyCommand, &QToolButton::clicked, this, &TGenerator::btnCopyCommandClick);
    // The chart's own menu offers the same command.
    copyCommand_ = new QAction(ui_->btnCopyCommand->text(), ui_->Chart1);
    copyCommand_->setEnabled(false);
    connect(copyCommand_, &QAction::triggered, this, &TGenerator::btnCopyCommandClick);
    ui_->Chart1->addAction(copyCommand_);

    ui_->btnGenerate->setFocus();
    FormCreate();
}

TGenerator::~TGenerator()
{
    FormDestroy();
}

void TGenerator::FormCreate()
{
    ShowErrorsOf(this, [this] {
        ui_->Chart1->SetGradientVisible(ui_->cbColor->isChecked());
        panel_->SetDate(PanelControl::StartDate, NowLocal());
        panel_->SetDate(PanelControl::EndDate, NowLocal() + StrToInt(panel_->Text(PanelControl::ebLength)));
        if (!settingsFile_.empty())
            RestoreSettings(*panel_, settingsFile_);
    });
}

void TGenerator::FormDestroy()
{
    ShowErrorsOf(this, [this] {
        if (!settingsFile_.empty())
            SaveSettings(*panel_, settingsFile_);
    });
}

void TGenerator::ConfigureDatePicker(QDateTimeEdit& picker, const LocaleFormats& formats)
{
    // The years a history may span, for both front ends.
    picker.setDateRange(QDate(FirstYear, 1, 1), QDate(LastYear, 12, 31));
    // The user's short date, the same pattern that exported files use.
    picker.setDisplayFormat(QString::fromStdString(formats.shortDatePattern));
    picker.setCalendarPopup(true);
}

void TGenerator::ConnectPanelRules()
{
    const auto onText = [this](QLineEdit* edit, void (*rule)(PanelControls&)) {
        connect(edit, &QLineEdit::textChanged, this, [this, rule] { ShowErrorsOf(this, [this, rule] { rule(*panel_); }); });
    };
    onText(ui_->ebLength, &ebLengthChange);
    onText(ui_->ebRandomPeriodMin, &ebRandomPeriodMinChange);
    onText(ui_->ebMinPrice, &ebMinPriceChange);

    // A box's rule runs on every change of its state, by the user or by a rule.
    const auto onToggle = [this](QCheckBox* box, void (*rule)(PanelControls&)) {
        connect(box, &QCheckBox::toggled, this, [this, rule] { ShowErrorsOf(this, [this, rule] { rule(*panel_); }); });
    };
    onToggle(ui_->cbMin, &cbMinClick);
    onToggle(ui_->cbMax, &cbMaxClick);
    onToggle(ui_->cbSeedRandom, &cbSeedRandomClick);
    onToggle(ui_->cbRandomPeriod, &cbRandomPeriodClick);

    // Dates set by code arrive with the pickers' signals blocked, so this is the user.
    for (QDateTimeEdit* picker : {static_cast<QDateTimeEdit*>(ui_->StartDate), static_cast<QDateTimeEdit*>(ui_->EndDate)}) {
        connect(picker, &QDateTimeEdit::dateChanged, this, [this, picker] {
            ShowErrorsOf(this, [this, picker] {
                panel_->AdoptPickedDate(*picker);
                StartDateChange(*panel_);
            });
        });
    }
}

void TGenerator::SetProgressWindow(TProgress* progress)
{
    progress_ = progress;
}

TProgress& TGenerator::ProgressWindow()
{
    if (!progress_) {
        ownProgress_ = std::make_unique<TProgress>();
        progress_ = ownProgress_.get();
    }
    return *progress_;
}

bool TGenerator::TakesInput() const
{
    return !inputBlock_->Blocking();
}

PanelControls& TGenerator::Panel()
{
    return *panel_;
}

HistoryChart& TGenerator::Chart()
{
    return *ui_->Chart1;
}

// --- Generation run -------------------------------------------------------------

void TGenerator::btnGenerateClick()
{
    if (busy_)
        return;
    busy_ = true;
    ShowFailure(run_->btnGenerateClick());
    busy_ = false;
}

void TGenerator::btnCorruptClick()
{
    if (busy_)
        return;
    busy_ = true;
    ShowFailure(run_->btnCorruptClick());
    busy_ = false;
}

void TGenerator::ShowFailure(const GenerationOutcome& outcome)
{
    if (outcome.kind == GenerationOutcome::Failed)
        ShowErrorBox(this, outcome.Error);
}

PanelValues TGenerator::ReadPanel()
{
    return ReadPanelValues(*panel_);
}

void TGenerator::ShowMessage(const std::string& text, const std::string& title)
{
    ShowAlertBox(this, AlertBox{QString::fromStdString(text), QString::fromStdString(title), AlertIcon::None});
}

void TGenerator::ShowBusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TGenerator::RestoreCursor()
{
    QApplication::restoreOverrideCursor();
}

void TGenerator::SetMainWindowEnabled(bool enabled)
{
    // The window ignores all input but keeps its look: greying a hundred controls and
    // back again would cost more than a short run itself.
    inputBlock_->SetBlocking(!enabled);
}

void TGenerator::ShowProgressWindow()
{
    TProgress& progress = ProgressWindow();
    progress.show();
    progress.raise();
    progress.activateWindow();
}

void TGenerator::HideProgressWindow()
{
    ProgressWindow().hide();
}

ProgressSink& TGenerator::Progress()
{
    return ProgressWindow();
}

void TGenerator::ShowBars(const TTimeSeriesSet& bars, bool resetZoom)
{
    ui_->Chart1->ShowBars(bars, resetZoom);
    UpdateHistoryLine(bars);
    analysisMenu_->RefreshStatistics();
}

void TGenerator::UpdateHistoryLine(const TTimeSeriesSet& bars)
{
    const bool made = run_->LastRun.has_value() && bars.Length() > 0;
    ui_->btnCopyCommand->setEnabled(made);
    copyCommand_->setEnabled(made);
    if (!made) {
        ui_->lblHistory->setText(QStringLiteral("No bars"));
        return;
    }
    const LocaleFormats& formats = run_->Formats();
    const auto date = [&](std::int32_t bar) {
        return QString::fromStdString(FormatShortDate(bars.GetTime(SeriesClose, bar), formats.shortDatePattern));
    };
    ui_->lblHistory->setText(QStringLiteral("%1 bars from %2 to %3, starting price %4, seed %5")
                                 .arg(bars.Length())
                                 .arg(date(0), date(bars.Length() - 1),
                                      QString::fromStdString(ExactNumberText(run_->LastRun->price, formats)))
                                 .arg(run_->LastRun->seed));
}

void TGenerator::btnCopyCommandClick()
{
    if (!run_->LastRun || run_->GeneratedSet.Length() == 0)
        return;
    const std::string line = CliCommandLine(*run_->LastRun, panel_->Text("ebSecurityName"),
                                            ExportFormatDialog().ReadExportFormat(), run_->Formats());
    QApplication::clipboard()->setText(QString::fromStdString(line));
}

// --- Display controls -----------------------------------------------------------

void TGenerator::rbBarClick()
{
    ui_->Chart1->SetCandleStyle(HistoryChart::CandleStyle::Bar, 6);
}

void TGenerator::rbCandleClick()
{
    ui_->Chart1->SetCandleStyle(HistoryChart::CandleStyle::Candlestick, 4);
}

void TGenerator::cbColorClick()
{
    ui_->Chart1->SetGradientVisible(ui_->cbColor->isChecked());
}

void TGenerator::btnExpandClick()
{
    ui_->Chart1->UndoZoom();
}

// --- Window ---------------------------------------------------------------------

void TGenerator::showEvent(QShowEvent* event)
{
    if (!shownOnce_) {
        shownOnce_ = true;
        CentreOnScreen(*this);
    }
    QWidget::showEvent(event);
}

void TGenerator::closeEvent(QCloseEvent* event)
{
    // The bar sets must outlive a run that is still pumping events.
    if (busy_) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace tickforge
