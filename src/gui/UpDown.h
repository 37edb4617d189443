#pragma once
// An up-down control: two small arrow buttons that step a whole number between a
// minimum and a maximum and write it into an associated, usually read-only, edit box.
// The Up and Down keys in that edit box step it as well. Without wrap-around a step
// beyond either end changes nothing.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tickforge {

class TUpDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int position READ position WRITE setPosition NOTIFY positionChanged)
    Q_PROPERTY(bool wrap READ wrap WRITE setWrap)

public:
    explicit TUpDown(QWidget* parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }
    bool wrap() const { return wrap_; }

    void setMinimum(int value);
    void setMaximum(int value);
    // Clamped to the range; writes the associated edit box.
    void setPosition(int value);
    void setWrap(bool value) { wrap_ = value; }

    // The edit box that shows the position; it gets the position's text at once.
    void setAssociate(QLineEdit* edit);
    QLineEdit* associate() const { return associate_; }

public slots:
    void stepUp();
    void stepDown();

signals:
    void positionChanged(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(int delta);
    void showPosition();

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    bool wrap_ = false;
    QLineEdit* associate_ = nullptr;
    QToolButton* upButton_;
    QToolButton* downButton_;
};

}  // namespace tickforge
