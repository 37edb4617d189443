#pragma once
// The command line's progress window: a one-line bar on standard error with the
// current activity, the gauge and the batch member. Synthesis feeds it through the
// same ProgressSink as the desktop progress window. It draws only when standard error
// is a terminal, and at most once per redraw interval, so a long run pays a clock
// read every few thousand ticks and nothing more.

#include "synthesis/ProgressSink.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace tickforge::cli {

class TerminalProgress final : public ProgressSink {
public:
    // Draws on stream when enabled; a disabled bar keeps the gauge and draws nothing.
    TerminalProgress(std::FILE* stream, bool enabled);

    void SetActivity(const std::string& text) override;
    int GaugePosition() const override { return gauge_; }
    void SetGaugePosition(int position) override;

    // The member in hand, shown beside the bar in a batch.
    void SetMember(int member, int count);
    // ShowProgressWindow / HideProgressWindow: the bar appears, or its line is cleared.
    void Show();
    void Hide();

    // Redraws when the last drawing is RedrawInterval old.
    void PumpMessages() override;

    static constexpr std::chrono::milliseconds RedrawInterval{50};

private:
    void DrawIfDue();
    void Draw();

    std::FILE* stream_;
    bool enabled_;
    bool visible_ = false;
    int gauge_ = 0;
    int member_ = 1;
    int count_ = 1;
    std::string activity_;
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace tickforge::cli
