#include "gui/ExportFormatDialog.h"

#include "gui/FormControl.h"
#include "gui/ScreenPlacement.h"
#include "platform/NumericText.h"
#include "ui_ExportFormatDialog.h"

#include <QCheckBox>
#include <QLineEdit>
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

    for (const ExportColumnInfo& column : ExportColumns) {
        const auto i = static_cast<std::size_t>(column.Column);
        columnBoxes_[i] = FormControl<QCheckBox>(*this, QStringLiteral("cb") + QLatin1String(column.Name));
        headingEdits_[i] = FormControl<QLineEdit>(*this, QStringLiteral("eb") + QLatin1String(column.Name));
        connect(columnBoxes_[i], &QCheckBox::toggled, this, &TfrmWriteMarket::cbClick);
    }
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
    for (std::size_t i = 0; i < ExportColumnCount; ++i) {
        format.Included[i] = columnBoxes_[i]->isChecked();
        format.Headings[i] = headingEdits_[i]->text().toStdString();
    }
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
