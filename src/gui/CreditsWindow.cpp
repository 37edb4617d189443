#include "gui/CreditsWindow.h"

#include "gui/Pictures.h"
#include "gui/ScreenPlacement.h"
#include "ui_CreditsWindow.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

namespace tickforge {

TfrmBetaTesters::TfrmBetaTesters(QWidget* parent) : QDialog(parent), ui(new Ui::TfrmBetaTesters)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(size());

    QPalette red = palette();
    red.setColor(QPalette::Window, Qt::red);
    setPalette(red);
    QPalette blue = ui->Panel1->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    ui->Panel1->setPalette(blue);

    ui->Image1->setPixmap(LoadPicture(CreditsPicturePath));
    ui->btnOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    // The button keeps the usual colours over the red and blue around it.
    ui->btnOK->setPalette(QApplication::palette(ui->btnOK));
    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmBetaTesters::~TfrmBetaTesters() = default;

void TfrmBetaTesters::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

}  // namespace tickforge
