#include "TProgress.h"

#include "ui_TProgress.h"

#include "ScreenPlacement.h"
#include "synthesis/Abort.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QStyle>

namespace tickforge {

TProgress::TProgress(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TProgress>())
{
    ui_->setupUi(this);
    // A fixed dialog frame with a title but no title-bar buttons, above every window.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setFixedSize(size());
    ui_->btnAbort->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
    connect(ui_->btnAbort, &QPushButton::clicked, this, &TProgress::btnAbortClick);
}

TProgress::~TProgress() = default;

void TProgress::SetActivity(const std::string& text)
{
    ui_->Activity->setText(QString::fromStdString(text));
}

int TProgress::GaugePosition() const
{
    return ui_->Gauge1->value();
}

void TProgress::SetGaugePosition(int position)
{
    ui_->Gauge1->setValue(position);
}

void TProgress::btnAbortClick()
{
    RequestAbort();
}

void TProgress::PumpMessages()
{
    // The first interval counts from the run's first call, so a run shorter than that
    // never stops to paint; Abort still answers within one interval.
    if (!sincePump_.isValid()) {
        sincePump_.start();
        return;
    }
    if (sincePump_.elapsed() < PumpIntervalMs)
        return;
    QCoreApplication::processEvents();
    sincePump_.start();
}

void TProgress::showEvent(QShowEvent* event)
{
    CentreOnScreen(*this);
    QWidget::showEvent(event);
}

void TProgress::hideEvent(QHideEvent* event)
{
    sincePump_.invalidate();  // the next run starts its own first interval
    QWidget::hideEvent(event);
}

void TProgress::closeEvent(QCloseEvent* event)
{
    // Only the end of the run hides the window.
    event->ignore();
}

}  // namespace tickforge
