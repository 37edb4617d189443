#include "gui/ExportFormatDialog.h"

#include "gui/ScreenPlacement.h"
#include "platform/NumericText.h"
#include "ui_ExportFormatDialog.h"

#include <QCheckBox>
#include <QStyle>

namespace tickforge {

TfrmWriteMarket::TfrmWriteMarket(QWidget* parent) : QDialog(parent), ui(new Ui::TfrmWriteMarket)
{
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui->UpDown1->setAssociate(ui->ebPrec);
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    for (QCheckBox* column : {ui->cbTicker, ui->cbDate, ui->cbOpen, ui->cbHigh, ui->cbLow,
                              ui->cbClose, ui->cbVolume})
        connect(column, &QCheckBox::toggled, this, &TfrmWriteMarket::cbClick);
    cbClick();
}

TfrmWriteMarket::~TfrmWriteMarket() = default;

bool TfrmWriteMarket::Execute()
{
    return exec() == QDialog::Accepted;
}

ExportFormat TfrmWriteMarket::ReadExportFormat() const
{
    ExportFormat format;
    format.TickerColumn = ui->cbTicker->isChecked();
    format.DateColumn = ui->cbDate->isChecked();
    format.OpenColumn = ui->cbOpen->isChecked();
    format.HighColumn = ui->cbHigh->isChecked();
    format.LowColumn = ui->cbLow->isChecked();
    format.CloseColumn = ui->cbClose->isChecked();
    format.VolumeColumn = ui->cbVolume->isChecked();
    format.TickerHeading = ui->ebTicker->text().toStdString();
    format.DateHeading = ui->ebDate->text().toStdString();
    format.OpenHeading = ui->ebOpen->text().toStdString();
    format.HighHeading = ui->ebHigh->text().toStdString();
    format.LowHeading = ui->ebLow->text().toStdString();
    format.CloseHeading = ui->ebClose->text().toStdString();
    format.VolumeHeading = ui->ebVolume->text().toStdString();
    format.WriteHeadings = ui->cbHeadings->isChecked();
    format.QuoteValues = ui->cbQuotes->isChecked();
    format.Delimiter = ui->rbTab->isChecked() ? '\t' : ',';
    format.Precision = StrToInt(ui->ebPrec->text().toStdString());
    format.MultipleFiles = !ui->rbSingleFile->isChecked();
    return format;
}

void TfrmWriteMarket::cbClick()
{
    ui->pnlExample->setText(QString::fromStdString(ExampleLine(ReadExportFormat())));
}

void TfrmWriteMarket::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (parentWidget() == nullptr)
        CentreOnScreen(*this);
}

}  // namespace tickforge
