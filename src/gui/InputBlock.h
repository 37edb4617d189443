#pragma once
// Keeps a window and all its controls from taking input (mouse, keyboard, wheel, touch,
// drops, closing) while it is switched on, without greying them: the window keeps its
// look, and nothing needs repainting when the block starts or ends.

#include <QObject>
#include <QPointer>

class QWidget;

namespace tickforge {

class InputBlock final : public QObject {
public:
    explicit InputBlock(QWidget& window);
    ~InputBlock() override;

    void SetBlocking(bool blocking);
    bool Blocking() const { return blocking_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    bool blocking_ = false;
};

}  // namespace tickforge
