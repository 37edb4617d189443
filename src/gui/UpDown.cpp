#include "gui/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace tickforge {

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), upButton_(new QToolButton(this)), downButton_(new QToolButton(this))
{
    upButton_->setObjectName(QStringLiteral("upButton"));
    downButton_->setObjectName(QStringLiteral("downButton"));
    upButton_->setArrowType(Qt::UpArrow);
    downButton_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {upButton_, downButton_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(upButton_, &QToolButton::clicked, this, &TUpDown::stepUp);
    connect(downButton_, &QToolButton::clicked, this, &TUpDown::stepDown);
}

void TUpDown::setMinimum(int value)
{
    minimum_ = value;
    maximum_ = std::max(maximum_, minimum_);
    setPosition(position_);
}

void TUpDown::setMaximum(int value)
{
    maximum_ = value;
    minimum_ = std::min(minimum_, maximum_);
    setPosition(position_);
}

void TUpDown::setPosition(int value)
{
    const int clamped = std::clamp(value, minimum_, maximum_);
    const bool changed = clamped != position_;
    position_ = clamped;
    showPosition();
    if (changed)
        emit positionChanged(position_);
}

void TUpDown::setAssociate(QLineEdit* edit)
{
    if (associate_ != nullptr)
        associate_->removeEventFilter(this);
    associate_ = edit;
    if (associate_ != nullptr)
        associate_->installEventFilter(this);
    showPosition();
}

void TUpDown::stepUp()
{
    step(+1);
}

void TUpDown::stepDown()
{
    step(-1);
}

void TUpDown::step(int delta)
{
    int next = position_ + delta;
    if (next > maximum_)
        next = wrap_ ? minimum_ : maximum_;
    else if (next < minimum_)
        next = wrap_ ? maximum_ : minimum_;
    setPosition(next);
}

void TUpDown::showPosition()
{
    if (associate_ != nullptr)
        associate_->setText(QString::number(position_));
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) {
            stepUp();
            return true;
        }
        if (key == Qt::Key_Down) {
            stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int upperHeight = height() / 2;
    upButton_->setGeometry(0, 0, width(), upperHeight);
    downButton_->setGeometry(0, upperHeight, width(), height() - upperHeight);
}

}  // namespace tickforge
