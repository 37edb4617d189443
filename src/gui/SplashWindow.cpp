#include "gui/SplashWindow.h"

#include "gui/CreditsWindow.h"
#include "gui/Pictures.h"
#include "gui/ScreenPlacement.h"
#include "gui/ShellOpen.h"
#include "ui_SplashWindow.h"

#include <QMouseEvent>
#include <QStyle>
#include <QWindow>

namespace tickforge {

TfrmSplash::TfrmSplash(QWidget* parent) : QDialog(parent), ui(new Ui::TfrmSplash)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Fixed pixels: the picture and the click areas over it must stay in register.
    setFixedSize(size());
    ui->Image1->setPixmap(LoadPicture(SplashPicturePath));
    // Blank captions make the address labels invisible click areas over the picture;
    // the form loader drops texts made only of blanks, so they are set here.
    ui->lblEmail->setText(QString(89, QLatin1Char(' ')));
    ui->lblWWW->setText(QString(89, QLatin1Char(' ')));
    ui->sbtnOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ui->lblEmail->installEventFilter(this);
    ui->lblWWW->installEventFilter(this);
    connect(ui->sbtnOK, &QPushButton::clicked, this, &TfrmSplash::sbtnOKClick);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmSplash::Button1Click);
}

TfrmSplash::~TfrmSplash() = default;

void TfrmSplash::ShowAbout()
{
    ui->sbtnOK->setVisible(true);
    exec();
}

void TfrmSplash::sbtnOKClick()
{
    // Ends the modal about box; outside it, simply hides the window.
    accept();
}

void TfrmSplash::Button1Click()
{
    if (credits_ == nullptr)
        return;
    // Keeps the credits above the always-on-top splash while both are up.
    credits_->winId();
    if (QWindow* creditsWindow = credits_->windowHandle()) {
        winId();
        creditsWindow->setTransientParent(windowHandle());
    }
    credits_->exec();
}

void TfrmSplash::lblEmailClick()
{
    OpenWithShell(QStringLiteral("mailto:") + QString::fromLatin1(MakerMailAddress));
}

void TfrmSplash::lblWWWClick()
{
    OpenWithShell(QString::fromLatin1(MakerWebAddress));
}

bool TfrmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->lblEmail) {
            lblEmailClick();
            return true;
        }
        if (watched == ui->lblWWW) {
            lblWWWClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmSplash::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

}  // namespace tickforge
