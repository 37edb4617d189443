#include "InputBlock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace tickforge {

namespace {

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

InputBlock::InputBlock(QWidget& window) : QObject(&window), window_(window) {}

InputBlock::~InputBlock()
{
    SetBlocking(false);
}

void InputBlock::SetBlocking(bool blocking)
{
    if (blocking == blocking_)
        return;
    blocking_ = blocking;
    if (blocking)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool InputBlock::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsInput(event->type()))
        return false;
    // Input first reaches the native window, then its widgets.
    auto* target = qobject_cast<QWidget*>(watched);
    const bool ours = target ? (target == &window_ || window_.isAncestorOf(target))
                             : (watched == window_.windowHandle() && watched != nullptr);
    if (!ours)
        return false;
    event->ignore();
    return true;
}

}  // namespace tickforge
