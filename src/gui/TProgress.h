#pragma once
// The progress window of a generation run: the current activity, a gauge and an Abort
// button. It cannot be closed by the user, stays on top and opens centred on the screen.
// As the run's ProgressSink it lets Qt deliver pending events at most every few
// milliseconds, so that Abort can be pressed while synthesis barely slows down.

#include "synthesis/ProgressSink.h"

#include <QElapsedTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class TProgress;
}

namespace tickforge {

class TProgress : public QWidget, public ProgressSink {
    Q_OBJECT

public:
    explicit TProgress(QWidget* parent = nullptr);
    ~TProgress() override;

    void SetActivity(const std::string& text) override;
    int GaugePosition() const override;
    void SetGaugePosition(int position) override;
    // Lets Qt deliver pending events when the last delivery is PumpIntervalMs old.
    void PumpMessages() override;

    // The shortest time between two deliveries of pending events.
    static constexpr int PumpIntervalMs = 10;

public Q_SLOTS:
    void btnAbortClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TProgress> ui_;
    QElapsedTimer sincePump_;
};

}  // namespace tickforge
